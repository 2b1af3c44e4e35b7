#pragma once
// The run parameters window: the calculation settings ("NUM") and the plant
// configuration ("AN") of the data set, read-only, with the collector units
// and areas of the run's area range, and the result-file catalogue ("AUS"),
// where the output file of the next run is created and notes on result files
// are kept. Opening it sets the run's area range.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QTabWidget;
class QTableView;
class TNavigator;
class auswahlgruppe;
class tabellen_modell;

class TSimulationsdaten : public QDialog {
    Q_OBJECT
public:
    explicit TSimulationsdaten(QWidget* eltern = nullptr);

    // Lays the window out and shows it modally.
    void zeige_modal();
    // What becoming active does: the groups show the codes of the current
    // `num` and `an` rows, the unit fields the area range, the coupling
    // picture, the area display (which may abandon the rest with the CMAXA
    // message), the captions and the catalogue's column titles.
    void aktivieren();
    void beschriften();
    // The area display; empty fields when no data set has been read.
    void flaechen_zeigen();
    // Reads the result catalogue again.
    void katalog_lesen();

    QTabWidget* seiten() const { return seiten_; }
    QLineEdit* feld(const char* name) const;
    QStackedWidget* bildseiten() const { return bilder_; }

protected:
    void changeEvent(QEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    QWidget* baue_num();
    QWidget* baue_an();
    QWidget* baue_aus();
    void kopplungsbild();
    void ausgabefile_anlegen(char optimierung);
    void navigator(int knopf);
    void memo_zeigen();

    QTabWidget* seiten_;
    auswahlgruppe *zeit_, *berechnung_, *sortierung_, *optimierung_, *speicheraussent_;
    auswahlgruppe *kopplung_, *heizung_, *anzahlkol_, *ohne_kopplung_, *zwischenkopplung_;
    QLineEdit *edit_max_, *edit_min_, *edit_amax_, *edit_amin_;
    QLabel *einheiten_label_, *flaeche_label_, *maximum_label_, *minimum_label_;
    QStackedWidget* bilder_;
    QLabel *ueberschrift_, *anmerkungen_;
    QPlainTextEdit* memo_;
    QPushButton *optimierungsfile_, *simulationsfile_, *kennlinien_, *suchen_, *schliessen_;
    TNavigator* navigator_;
    QTableView* raster_;
    tabellen_modell* katalog_;
    bool vorbereitet_ = false;
};
