#pragma once
// "Detailtabelle einlesen": imports climate values into the current weather
// record: monthly, daily or hourly values of a station of the climate atlas
// (station list into `wmo`, resolution, quantity, station, year), and the
// hourly weather files users have today (EnergyPlus EPW, German test
// reference years) as a weather record of their own.

#include <QDialog>

#include <vector>

#include "input/klimaatlas.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTableView;
class tabellen_modell;

class TDetailtabelle_einlesen : public QDialog {
    Q_OBJECT
public:
    explicit TDetailtabelle_einlesen(QWidget* eltern = nullptr);

    // `vor_aufruf` on the current weather record, then the stations; the atlas
    // part stays disabled when the record cannot take atlas values (the
    // weather-file import works regardless).
    void vorbereiten();
    void zeige_modal();
    void beschriften();

    // Actions.
    void station_suchen(const QString& text);
    void sortieren(int art);  // 0 country and place, 1 latitude and longitude
    void filter_anwenden();
    void jahre_ermitteln();
    void daten_einlesen();
    void wetterdatei_einlesen();

    // Choices (tests set them as a user would).
    void waehle_aufloesung(atlas_aufloesung a);
    void waehle_groesse(atlas_groesse g);
    bool waehle_station(const QString& nummer);
    QListWidget* jahre() const { return jahre_; }
    QTableView* stationen() const { return stationen_; }
    QLineEdit* feld(const char* name) const;
    QCheckBox* ersetzen() const { return ersetzen_; }
    QPushButton* knopf(const char* name) const;
    QLabel* status() const { return status_; }
    bool atlas_bereit() const { return vorbereitung_.ok; }

protected:
    void changeEvent(QEvent* e) override;

private:
    void stationen_lesen();
    QString station() const;
    atlas_aufloesung aufloesung() const;
    atlas_groesse groesse() const;

    importvorbereitung vorbereitung_;
    std::vector<filterbedingung> filter_in_kraft_;
    QLabel* datensatz_;
    QGroupBox *atlas_, *datenart_, *groesse_, *jahrgruppe_, *suche_, *wetter_;
    QButtonGroup *datenart_wahl_, *groesse_wahl_, *sortier_wahl_;
    std::vector<QRadioButton*> datenart_knoepfe_, groesse_knoepfe_, sortier_knoepfe_;
    QLineEdit *suchfeld_, *landfeld_, *norm_ir_, *norm_ta_, *wettername_;
    QCheckBox *mittelwerte_aus_, *ersetzen_;
    QListWidget* jahre_;
    QTableView* stationen_;
    tabellen_modell* modell_;
    QPushButton *filter_anwenden_, *jahre_ermitteln_, *daten_einlesen_, *wetterdatei_, *schliessen_;
    std::vector<QLabel*> labels_;
    QLabel* status_;
    bool laedt_ = false;
};
