#pragma once
// "Neuanlegen": the menu of catalogue tables in five groups, from which the
// data sheet is opened on exactly one table to create or edit its rows; the
// detail tables open the detail data sheet on their monthly record.

#include <QDialog>

#include <vector>

class QGroupBox;
class QListWidget;
class QPushButton;

class TNeuanlegen : public QDialog {
    Q_OBJECT
public:
    explicit TNeuanlegen(QWidget* eltern = nullptr);
    void beschriften();
    // Opens the sheet of menu entry `eintrag` (index of `neuanlegen_menue`).
    void waehle(int eintrag);
    // The list of a group (0..4) and the entry index of each of its rows.
    QListWidget* liste(int gruppe) const { return listen_[static_cast<std::size_t>(gruppe)]; }

protected:
    void changeEvent(QEvent* e) override;

private:
    std::vector<QGroupBox*> gruppen_;
    std::vector<QListWidget*> listen_;
    QPushButton* schliessen_;
};
