#pragma once
// The settings window ("Einstellungen"): the numeric run-control values, the
// working directories from the saved path profiles (`respfad`), the
// conversion of old tables, the interface language, and the unit catalogue
// with the output units. Settings are not kept between program runs.

#include <QDialog>

#include <map>
#include <string>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableView;
class TNavigator;
class auswahlgruppe;
class tabellen_modell;

class TWP_einstellungen : public QDialog {
    Q_OBJECT
public:
    explicit TWP_einstellungen(QWidget* eltern = nullptr);

    // "Vorgaben": fills the window (numeric fields from the current `rech`
    // row, paths, language, units) and shows it modally.
    void vorbereiten();
    // The filling without showing (tests show the window themselves).
    void fuellen();
    void beschriften();

    // Language choice: 0 German, 1 English. Rebuilds the language-dependent
    // state when the language changed; then the window re-captions itself and
    // its grids.
    void waehle_sprache(int index);

    // Actions.
    void numerik_default();
    void numerik_setzen();
    void datenbank_setzen();
    void ergebnispfad_setzen();
    void klimadaten_setzen();
    void pfad_kopieren();
    void konvertieren();
    void ausgabeeinheit_setzen();
    void einheit_uebernehmen();
    void einheiten_alle_loeschen();
    void einheiten_default();
    void skalierung_setzen(int index);

    QLineEdit* feld(const char* name) const;
    QRadioButton* sprachknopf(int index) const;
    QTableView* einheitenraster() const { return einheiten_raster_; }
    tabellen_modell* einheitenmodell() const { return einheiten_; }
    QListWidget* groessenliste() const { return groessen_; }
    QTabWidget* seiten() const { return seiten_; }

protected:
    void changeEvent(QEvent* e) override;

private:
    QWidget* baue_allgemein();
    QWidget* baue_einheiten();
    void pfade_zeigen();
    void numerik_zeigen(double maxge, double minge, int anzge, double maxwp);
    void pfade_lesen();
    void einheiten_lesen();
    bool einheitenzeile_waehlen();
    bool pfadzeile_waehlen();
    void einheit_gewaehlt();

    QTabWidget* seiten_;
    std::map<std::string, QLineEdit*> felder_;
    std::map<std::string, QLabel*> titel_;
    std::map<std::string, QPushButton*> knoepfe_;
    QGroupBox *numerik_, *pfadgruppe_, *sprache_, *einheiten_gruppe_;
    QButtonGroup* sprachwahl_;
    QRadioButton *deutsch_, *englisch_;
    QTableView* pfad_raster_;
    tabellen_modell* pfade_;
    TNavigator* pfad_navigator_;
    QTableView* einheiten_raster_;
    tabellen_modell* einheiten_;
    QListWidget* groessen_;
    auswahlgruppe* skalierung_;
    QLabel* hinweis_;
};
