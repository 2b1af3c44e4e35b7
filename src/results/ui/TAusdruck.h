#pragma once
// "Ausdruck": prints the current site data set, either the list of its
// fields with their values ("Namen") or the full records it refers to
// ("Werte", those marked in the list), on the program's printer or into a PDF
// file when the system has no printer.

#include <QDialog>

#include <vector>

#include "results/listendrucker.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QListWidget;
class QPrinter;
class QPushButton;
class QRadioButton;

class TAusdruck : public QDialog {
    Q_OBJECT
public:
    explicit TAusdruck(QWidget* eltern = nullptr);

    // Name of the data set and the records it refers to.
    void vorbereiten();
    void zeige_modal();
    void beschriften();

    // "Daten": 0 "Namen" (every record marked), 1 "Werte".
    void waehle_daten(int index);
    // The lines the printout holds for the present choice.
    std::vector<druckzeile> zeilen() const;
    // "Drucken": printer (or PDF file) chosen, then printed.
    void drucken();
    bool drucke_auf(QPrinter& drucker);

    QListWidget* liste() const { return liste_; }
    QPushButton* knopf(const char* name) const;

protected:
    void changeEvent(QEvent* e) override;

private:
    QLabel* datensatz_;
    QListWidget* liste_;
    QGroupBox* daten_;
    QButtonGroup* wahl_;
    QRadioButton *namen_, *werte_;
    QPushButton *drucken_, *schliessen_;
    QString name_;
};
