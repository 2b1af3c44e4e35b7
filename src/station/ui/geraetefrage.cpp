#include "station/ui/geraetefrage.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QThread>

#include "lang/textglobale.h"

dialog_antwort geraetefrage::frage(const std::string& text) {
    if (QThread::currentThread() != QCoreApplication::instance()->thread()) return dialog_antwort::ignorieren;
    QWidget* eltern = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow();
    QMessageBox box(QMessageBox::Warning, QString::fromStdString(tgtext(tg::produkttitel)), QString::fromStdString(text),
                    QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore, eltern);
    box.setObjectName(QStringLiteral("geraetefrage"));
    box.setDefaultButton(QMessageBox::Ignore);
    box.setEscapeButton(QMessageBox::Ignore);
    switch (box.exec()) {
    case QMessageBox::Abort:
        return dialog_antwort::abbrechen;
    case QMessageBox::Retry:
        return dialog_antwort::wiederholen;
    default:
        return dialog_antwort::ignorieren;
    }
}
