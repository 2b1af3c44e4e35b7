#pragma once
// The detail data sheet ("Datenblatt 2"): a monthly record edited together
// with its detail rows, the weather record `ir_ta_m` with `ir_ta_d` (page
// "IR_TA"), a demand record `eh_m` or `ew_m` with `eh_d` or `ew_d` (page
// "EH, EW"), and the air table (page "LUFT"). Its tools derive monthly means
// from the detail rows and adopt them, fit the detail rows to the month
// value, fill detail rows by repetition, and convert between irradiation and
// intensity; every tool is an operation of core on the record the grids
// stand on.

#include <QDialog>

#include <map>
#include <string>
#include <vector>

#include "lang/sprache.h"
#include "sheets/detailblatt.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QTabWidget;
class auswahlgruppe;
class blatt_raster;

class Tdatenblatt_2 : public QDialog {
    Q_OBJECT
public:
    explicit Tdatenblatt_2(QWidget* eltern = nullptr);

    // Shows the page of `art` on the current row of its monthly table.
    void oeffnen(detailart art);
    void zeige_modal(detailart art);
    // The air table.
    void oeffne_luft();
    void beschriften();

    detailart art() const { return art_; }
    blatt_raster* monatsraster(detailart art) const;
    blatt_raster* detailraster(detailart art) const;
    QTabWidget* seiten() const { return seiten_; }
    QTabWidget* werkzeugseiten(detailart art) const;
    QPushButton* knopf(const char* name) const;
    QLineEdit* feld(const char* name) const;
    QSpinBox* monatsfeld(const char* name) const;
    auswahlgruppe* gruppe(const char* name) const;

protected:
    void changeEvent(QEvent* e) override;

private:
    struct paar {
        blatt_raster* monat = nullptr;
        blatt_raster* detail = nullptr;
        QTabWidget* werkzeuge = nullptr;
    };
    QWidget* baue_paar(QWidget* eltern, detailart art);
    QWidget* baue_wetterwerkzeuge(QWidget* eltern);
    QWidget* baue_bedarfswerkzeuge(QWidget* eltern, detailart art);
    QGroupBox* neue_gruppe(QWidget* eltern, const text_paar& titel);
    QPushButton* neuer_knopf(QWidget* eltern, const std::string& name, const text_paar& titel,
                             void (Tdatenblatt_2::*h)());
    QLineEdit* neues_feld(QWidget* eltern, const std::string& name);
    QSpinBox* neues_monatsfeld(QWidget* eltern, const std::string& name);
    QLabel* neues_label(QWidget* eltern, const text_paar& titel);
    void monat_gewechselt(detailart art);
    bool monat_positioniert();
    bool detail_positioniert();
    void nach_werkzeug();
    std::string name_fuer(detailart art) const;

    // Tools.
    void ir_aus_is();
    void is_aus_ir();
    void h_aus_breite();
    void mittelwerte_berechnen();
    void mittelwerte_uebernehmen();
    void alle_berechnen();
    void einstrahlung_berechnen();
    void einstrahlung_uebernehmen();
    void breitengrad();
    void kopiere_aus_ir_ta_m();
    void einlesen();
    void alle_loeschen();
    void normieren();
    void alle_normieren();
    void gleiche_tage();
    void erster_tag();
    void gleiche_monate();
    void alle_aendern();
    void gesamter_verbrauch();

    QTabWidget* seiten_;
    QStackedWidget* bedarf_stapel_;
    QPushButton* schliessen_;
    std::map<detailart, paar> paare_;
    blatt_raster* luft_ = nullptr;
    std::map<std::string, QPushButton*> knoepfe_;
    std::map<std::string, QLineEdit*> felder_;
    std::map<std::string, QSpinBox*> monate_;
    std::map<std::string, auswahlgruppe*> gruppen_;
    std::vector<std::pair<QGroupBox*, text_paar>> gruppentitel_;
    std::vector<std::pair<QLabel*, text_paar>> labels_;
    std::vector<std::pair<QPushButton*, text_paar>> knopftitel_;
    detailart art_ = detailart::wetter;
};
