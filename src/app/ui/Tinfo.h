#pragma once
// The information box: the product name and its version, and a close button.

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

class Tinfo : public QDialog {
    Q_OBJECT
public:
    explicit Tinfo(QWidget* eltern = nullptr);
    void beschriften();
    // Lays the box out and shows it modally.
    void zeige_modal();

protected:
    void changeEvent(QEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    QPlainTextEdit* text_;
    QPushButton* schliessen_;
};
