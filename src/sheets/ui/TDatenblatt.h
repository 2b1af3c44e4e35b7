#pragma once
// The data sheet ("Datenblatt"): the editor of the catalogue tables. The form
// is opened for one table and shows only that table's page: its grid (with
// navigator and search field), the radio groups bound to the table's code
// columns, the unit group, the description of the table, and the page's
// calculators (month sums and relative/absolute values, the weather-record
// tools, the heat-pump coefficient fits, the store-loss and exchange-area
// calculators, the store control check, the accessory lists). "Kopieren",
// "Suchen" and "Drucken" act on the table the form is opened for.
//
// Every value goes through the checks of core: a refused edit leaves the row
// as stored and the message names table, row and column.

#include <QDialog>

#include <map>
#include <string>
#include <vector>

#include "lang/sprache.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class auswahlgruppe;
class blatt_raster;

class TDatenblatt : public QDialog {
    Q_OBJECT
public:
    explicit TDatenblatt(QWidget* eltern = nullptr);

    // Shows the page of registry table `tabelle` alone and reads its rows
    // (the table in key order, without a filter).
    void oeffnen(int tabelle);
    // oeffnen, then shown modally.
    void zeige_modal(int tabelle);
    int tabelle() const { return tabelle_; }
    void beschriften();

    // The grid of a table of the page shown (nullptr when the page has none).
    blatt_raster* raster(int tabelle) const;
    QTabWidget* seiten() const { return seiten_; }
    QPushButton* knopf(const char* name) const;
    QLineEdit* feld(const char* name) const;
    QComboBox* auswahl(const char* name) const;
    auswahlgruppe* gruppe(const char* name) const;

    // The form's actions on its table.
    void kopieren();
    void suchen();
    void drucken();

protected:
    void changeEvent(QEvent* e) override;

private:
    struct seite {
        QWidget* widget = nullptr;
        text_paar titel{"", ""};
        std::vector<int> tabellen;
        std::vector<blatt_raster*> raster;  // every grid of the page
        QLabel* beschreibung = nullptr;
        QGroupBox* einheiten = nullptr;
        QComboBox* einheitenspalte = nullptr;
        QComboBox* einheit = nullptr;
        QWidget* werkzeuge = nullptr;  // the page's tool groups
        QWidget* werkzeugflaeche = nullptr;  // the scroll area around them
        int belegt = 0;                // tool groups placed so far
    };
    // A radio group bound to a code column of a grid.
    struct codebindung {
        auswahlgruppe* gruppe;
        blatt_raster* raster;
        std::string spalte;
    };

    int seite_fuer(int tabelle);
    // A page with a grid for each of `tabellen` (the tables it edits) and for
    // each of `quellen` (tables it only takes rows from).
    int baue_seite(const char* name, const text_paar& titel, const std::vector<int>& tabellen,
                   const std::vector<int>& quellen = {});
    // Places a tool group on the page's tool area (`breite` of its four columns).
    void platziere(int seite, QWidget* gruppe, int breite = 1);
    QGroupBox* neue_gruppe(QWidget* eltern, const char* name, const text_paar& titel);
    QPushButton* neuer_knopf(QWidget* eltern, const char* name, const text_paar& titel, void (TDatenblatt::*h)());
    QLineEdit* neues_feld(QWidget* eltern, const char* name, bool nur_lesen = false);
    auswahlgruppe* codegruppe(QWidget* eltern, const char* name, const text_paar& titel, blatt_raster* r,
                              const char* spalte, std::vector<std::pair<text_paar, const char*>> codes,
                              int spalten = 1);
    void baue_seiten();
    void baue_monatsseite(int seite, int tabelle);
    void baue_wetterseite(int seite);
    void baue_wp_seite(int seite);
    void baue_listenseite(int seite);
    void baue_einheitengruppe(int seite);
    void zeile_gewechselt(blatt_raster* r);
    void einheiten_zeigen();
    void beschreibung_zeigen();
    blatt_raster* eigenes_raster() const { return raster(tabelle_); }
    bool positioniert(int tabelle);
    void nach_aenderung(int tabelle);

    // Calculators.
    void berechne_summe();
    void monatswerte_gewaehlt(int tabelle, int index);
    void heizenergie_ziel();
    void h_aus_breite();
    void ir_in_kwh();
    void wetter_details();
    void monat_details(int tabelle);
    void detailtabelle_einlesen();
    void gesamtenergie();
    void zweipunkt_berechnen();
    void zweipunkt_uebertragen();
    void sieben_berechnen();
    void sieben_probe();
    void sieben_probe_db();
    void sieben_uebertragen();
    void steuer_pruefen();
    void gwt_berechnen();
    void gwt_titel();
    void spei_berechnen();
    void spei_uebernehmen();
    void liste_kopieren();
    void liste_gewaehlt(int index);

    QTabWidget* seiten_;
    QPushButton* kopieren_;
    QPushButton* suchen_;
    QPushButton* drucken_;
    QPushButton* schliessen_;
    std::vector<seite> seitenliste_;
    std::map<int, blatt_raster*> raster_;
    std::map<int, blatt_raster*> quellraster_;  // source grids of the list page
    std::map<int, int> seite_von_;
    std::vector<codebindung> bindungen_;
    std::map<std::string, QPushButton*> knoepfe_;
    std::map<std::string, QLineEdit*> felder_;
    std::map<std::string, QComboBox*> auswahlen_;
    std::map<std::string, auswahlgruppe*> gruppen_;
    // Captions of the groups, labels and buttons, re-set on a language switch.
    std::vector<std::pair<QGroupBox*, text_paar>> gruppentitel_;
    std::vector<std::pair<QLabel*, text_paar>> labels_;
    std::vector<std::pair<QPushButton*, text_paar>> knopftitel_;
    int tabelle_ = -1;
    int liste_ziel_ = -1;
    bool liest_ = false;
};
