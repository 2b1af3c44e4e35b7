#include "results/ui/dateidialoge.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QRegularExpression>
#include <QSpinBox>

#include "lang/sprache.h"

namespace {

constexpr text_paar breite{"Breite [Pixel]:", "Width [pixels]:"};
constexpr text_paar hoehe{"Höhe [Pixel]:", "Height [pixels]:"};
constexpr text_paar bildgroesse{"Bildgröße", "Picture size"};

std::optional<QString> zeige(QFileDialog& d) {
    d.setOption(QFileDialog::DontUseNativeDialog, true);
    d.setObjectName(QStringLiteral("dateidialog"));
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return std::nullopt;
    return d.selectedFiles().front();
}

// "*.svg" of a filter "SVG (*.svg)".
QString erweiterung(const QString& filter) {
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("\\*\\.(\\w+)")).match(filter);
    return m.hasMatch() ? m.captured(1) : QString();
}

}  // namespace

std::optional<QString> oeffne_datei(QWidget* eltern, const QString& titel, const QString& start,
                                    const QStringList& filter) {
    const QFileInfo i(start);
    QFileDialog d(eltern, titel, i.isDir() ? start : i.absolutePath(), filter.join(QStringLiteral(";;")));
    d.setAcceptMode(QFileDialog::AcceptOpen);
    d.setFileMode(QFileDialog::ExistingFile);
    if (!i.isDir() && !i.fileName().isEmpty()) d.selectFile(i.fileName());
    return zeige(d);
}

std::optional<QString> gewaehlte_datei(QWidget* eltern, const QString& titel, const QString& start,
                                       const QStringList& filter) {
    if (QFileInfo(start).isFile()) return start;
    return oeffne_datei(eltern, titel, start, filter);
}

std::optional<QString> speichere_datei(QWidget* eltern, const QString& titel, const QString& start,
                                       const QStringList& filter) {
    const QFileInfo i(start);
    QFileDialog d(eltern, titel, i.absolutePath(), filter.join(QStringLiteral(";;")));
    d.setAcceptMode(QFileDialog::AcceptSave);
    d.setFileMode(QFileDialog::AnyFile);
    if (!filter.isEmpty()) d.setDefaultSuffix(erweiterung(filter.front()));
    QObject::connect(&d, &QFileDialog::filterSelected, &d,
                     [&d](const QString& f) { d.setDefaultSuffix(erweiterung(f)); });
    d.selectFile(i.fileName());
    return zeige(d);
}

std::optional<QSize> frage_bildgroesse(QWidget* eltern, QSize vorschlag) {
    QDialog d(eltern);
    d.setObjectName(QStringLiteral("bildgroesse"));
    d.setWindowTitle(QString::fromStdString(bildgroesse.text()));
    auto* form = new QFormLayout(&d);
    auto* w = new QSpinBox(&d);
    auto* h = new QSpinBox(&d);
    for (QSpinBox* s : {w, h}) s->setRange(100, 10000);
    w->setValue(vorschlag.width());
    h->setValue(vorschlag.height());
    form->addRow(QString::fromStdString(breite.text()), w);
    form->addRow(QString::fromStdString(hoehe.text()), h);
    auto* knoepfe = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &d);
    form->addRow(knoepfe);
    QObject::connect(knoepfe, &QDialogButtonBox::accepted, &d, &QDialog::accept);
    QObject::connect(knoepfe, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    if (d.exec() != QDialog::Accepted) return std::nullopt;
    return QSize(w->value(), h->value());
}
