#include "app/ui/qt_speicherdialog.h"

#include <QFileDialog>

QString qt_filter(const std::string& filter) {
    const QString f = QString::fromStdString(filter);
    const qsizetype strich = f.indexOf(QLatin1Char('|'));
    return strich < 0 ? f : f.left(strich);
}

namespace {
std::optional<std::filesystem::path> zeige_dialog(QFileDialog& d) {
    d.setOption(QFileDialog::DontUseNativeDialog, true);
    d.setObjectName(QStringLiteral("dateidialog"));
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return std::nullopt;
    return std::filesystem::path(d.selectedFiles().front().toStdString());
}
}  // namespace

std::optional<std::filesystem::path> qt_speicherdialog::zeige(const speicherdialog_vorgabe& v) {
    QFileDialog d(eltern_, QString::fromStdString(v.titel), QString::fromStdString(v.verzeichnis.string()),
                  qt_filter(v.filter));
    d.setAcceptMode(QFileDialog::AcceptSave);
    d.setFileMode(QFileDialog::AnyFile);
    d.setDefaultSuffix(QString::fromStdString(v.erweiterung).remove(0, 1));
    d.selectFile(QString::fromStdString(v.dateiname + v.erweiterung));
    return zeige_dialog(d);
}

std::optional<std::filesystem::path> oeffnen_dialog(QWidget* eltern, const std::string& titel,
                                                    const std::filesystem::path& start, const std::string& filter) {
    std::error_code ec;
    const bool ordner = std::filesystem::is_directory(start, ec);
    QFileDialog d(eltern, QString::fromStdString(titel),
                  QString::fromStdString((ordner ? start : start.parent_path()).string()), qt_filter(filter));
    d.setAcceptMode(QFileDialog::AcceptOpen);
    d.setFileMode(QFileDialog::ExistingFile);
    if (!ordner && !start.filename().empty()) d.selectFile(QString::fromStdString(start.filename().string()));
    return zeige_dialog(d);
}
