#pragma once
// The weather-station window: the operator's panel for the attached devices.
// Sensor test, normalisation of the irradiation sensor from a clear sky, the
// measurements and set values of a control run, the device ports and manual
// outputs, and the heat output of a heating plate. The window holds no
// device logic: it copies its fields into the core station, calls it and
// shows the station's fields.

#include <QDialog>

#include <filesystem>
#include <map>
#include <string>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class wetterstation;
struct anlage;

class TWetterstation : public QDialog {
    Q_OBJECT
public:
    TWetterstation(wetterstation& station, anlage& a, QWidget* eltern = nullptr);
    void beschriften();

    // FormActivate: fields reset from the plant, date and time from the clock.
    void aktivieren();
    // From the main menu: the window for sensor tests and the irradiation
    // normalisation ("Messwerte" hidden), the lines at their idle levels and
    // the ports of the devices searched; shown modally.
    void zeige_zum_messen();
    // After a data set was read for control and the station prepared: the
    // window with its group "Messwerte", the prepared start point and area
    // kept, the date and time fields refreshed; shown modally.
    void zeige_zum_steuern();
    // A control run begins: the groups "Messwerte", "Sensortest" and
    // "Strahlungsnormierung" are shown and "Berechnen" of the normalisation
    // is disabled until the run has ended.
    void steuerlauf_beginnt();
    void steuerlauf_endet();
    // During a run the window shows copies of the station's fields (the run
    // owns the station); `liveintervalle` live intervals have been computed.
    void zeige_kopie(const std::map<std::string, std::string>& felder, bool messung_laeuft, int liveintervalle);
    int gezeigte_liveintervalle() const { return liveintervalle_; }
    bool gruppe_sichtbar(const std::string& name) const;
    QPushButton* knopf(const std::string& name) const;
    // Shows the station's fields (after a core operation or during a run).
    void zeige_felder();

    // The window's buttons.
    void sensortest();        // "Start"
    void normieren();         // "Berechnen" of the irradiation normalisation
    void ssq_ausgeben();      // "Ausgeben" of "SSQ Typ 1"
    void heizplatte();        // "Berechnen" of the heating plate
    void uebernehmen();       // "Übernehmen"
    void quellen_null();      // "I-V-Quellen 0"
    void ventilator_ausgeben();  // "Ausgeben" of "Ventilator"
    // "Vollmodus" / "Testmodus": prepares the plant and the control file and
    // asks for the control run.
    void starte(bool vollmodus);

    QLineEdit* feld(const std::string& name) const;
    wetterstation& station() { return station_; }
    // The control file a run started here uses (default: "kontrolle.text"
    // in the working directory at start-up).
    void setze_kontrolldatei(const std::filesystem::path& datei) { kontrolldatei_ = datei; }

signals:
    // The control run is prepared; `messflag` "J" full mode, "N" test mode.
    void steuerlauf_gewaehlt(const QString& messflag);

private:
    QLineEdit* neues_feld(const std::string& name, bool nur_lesen);
    // Window fields and choices into the core station.
    void felder_uebernehmen();

    wetterstation& station_;
    anlage& a_;
    std::map<std::string, QLineEdit*> felder_;
    std::map<std::string, QLabel*> beschriftungen_;
    std::map<std::string, QGroupBox*> gruppen_;
    std::map<std::string, QPushButton*> knoepfe_;
    QComboBox* sensor_ = nullptr;
    QCheckBox* adc8_ = nullptr;
    QCheckBox* adc10_ = nullptr;
    QCheckBox* steuer_simulation_ = nullptr;
    QButtonGroup* dac_ = nullptr;
    QButtonGroup* usb_ = nullptr;
    QLabel* messung_ = nullptr;
    std::filesystem::path kontrolldatei_;
    int liveintervalle_ = 0;
};
