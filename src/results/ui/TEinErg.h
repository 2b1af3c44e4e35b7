#pragma once
// The results window "Ergebnisse": the result catalogue (table `result`),
// from which up to six result files are loaded side by side in the output
// units chosen now; monthly and annual charts of a quantity through the chart
// window "Funktion", the overviews "Ergebnisse (Fläche)" and "Ergebnisse
// (Zeit)", and every loaded table shown as a grid that can be copied or saved
// as CSV. The data set of each result is loaded with it (worker thread).

#include <QDialog>

#include <filesystem>
#include <memory>
#include <vector>

#include "results/ergebnisgraphik.h"
#include "results/ergebnisvergleich.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableView;
class TGraphKalk;
class TGrafErgebnisse;
class TGrafErgebnisse_M;
class TNavigator;
class ergebnistabellen_panel;
class tabellen_modell;

class TEinErg : public QDialog {
    Q_OBJECT
public:
    explicit TEinErg(QWidget* eltern = nullptr);
    ~TEinErg() override;

    // Reads the catalogue and shows the window modally.
    void zeige_modal();
    // FormActivate: the catalogue, the quantity lists (display order of the
    // settings), the area field "4", the row of the data set's result file.
    void aktivieren();
    void beschriften();
    void katalog_lesen();
    // Selects the catalogue row of file `name`; false when there is none.
    bool waehle_ergebnis(const QString& name);

    // "Mittelwerte lesen": the selected row's data set is loaded, its file
    // chosen in the open dialog and added to the comparison. True when added.
    bool mittelwerte_lesen();
    // Adds `datei` to the comparison with the data set loaded now (its
    // demand and plant data go to the overviews). True when added.
    bool lade_datei(const std::filesystem::path& datei);
    // "Zeitabhängige Daten": the control file of the selected row's data set.
    bool zeitabhaengige_daten();
    // "Graphik": the monthly chart (a monthly quantity marked) or the annual
    // chart through the chart window.
    void graphik();
    // "Übersicht": "Ergebnisse (Fläche)" for the marked month.
    void uebersicht_zeigen();
    // "Ergebnisse (Zeit)" for the first file and the marked area.
    void uebersicht_zeit_zeigen();

    const ergebnisvergleich& vergleich() const { return vergleich_; }
    QListWidget* monatsgroessen() const { return monatsgroessen_; }
    QListWidget* jahresgroessen() const { return jahresgroessen_; }
    QListWidget* monate() const { return monate_; }
    QListWidget* flaechen() const { return flaechen_; }
    QLineEdit* flaechenfeld() const { return flaechenfeld_; }
    QRadioButton* konstant_monat() const { return konstant_monat_; }
    QRadioButton* konstant_flaeche() const { return konstant_flaeche_; }
    QCheckBox* winkel() const { return winkel_; }
    ergebnistabellen_panel* tabellen() const { return tabellen_; }
    QTabWidget* seiten() const { return seiten_; }
    QLabel* anzahl_label() const { return anzahl_; }
    // Marks the monthly (annual) quantity q; -1 clears the monthly mark.
    bool waehle_monatsgroesse(int q);
    bool waehle_jahresgroesse(int q);

    TGraphKalk& graphfenster();
    TGrafErgebnisse& uebersicht_flaeche();
    TGrafErgebnisse_M& uebersicht_zeit();

protected:
    void changeEvent(QEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    QWidget* baue_katalog();
    QWidget* baue_graphikseite();
    void nach_laden();
    void tabellen_fuellen(int auswahl = -1);
    void navigator(int knopf);
    void memo_zeigen();
    bool lade_datensatz(const std::string& name);
    QString zeile(const char* spalte) const;

    ergebnisvergleich vergleich_;
    std::vector<uebersicht_angaben> angaben_;  // per loaded file
    ergebnisvergleich zeitdaten_;              // control file of "Zeitabhängige Daten"
    std::unique_ptr<TGraphKalk> eigenes_graphfenster_;
    TGrafErgebnisse* uebersicht_flaeche_ = nullptr;
    TGrafErgebnisse_M* uebersicht_zeit_ = nullptr;
    bool vorbereitet_ = false;

    QTableView* raster_;
    tabellen_modell* katalog_;
    TNavigator* navigator_;
    QPlainTextEdit* memo_;
    QPushButton *einlesen_, *zeitdaten_knopf_, *suchen_, *fix_loeschen_, *nicht_fixierte_;
    QLabel *anzahl_, *kollektoreinheit_;
    QTabWidget* seiten_;
    QListWidget *monatsgroessen_, *jahresgroessen_, *monate_, *flaechen_;
    QLabel *l_monatsgroessen_, *l_jahresgroessen_, *l_monate_, *l_flaechen_, *l_wert_;
    QGroupBox* konstante_;
    QRadioButton *konstant_monat_, *konstant_flaeche_;
    QLineEdit* flaechenfeld_;
    QCheckBox* winkel_;
    QPushButton *graphik_, *uebersicht_, *schliessen_;
    ergebnistabellen_panel* tabellen_;
};
