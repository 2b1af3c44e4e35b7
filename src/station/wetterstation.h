#pragma once
// The weather station: the operator's panel for the attached devices as a
// plain object. It measures sensors, normalises their readings, writes the
// measurements of a control run into the input series, sends manual set
// values, prepares and starts control runs, and keeps the texts of the
// station window's fields, which the window only shows.
//
// A device that drops out during a control run is reported once; the run
// goes on: a measurement that cannot be taken leaves the stored values of
// the series in place, and a set value that cannot be sent leaves the
// device at its last value. When the device answers again, this is
// reported too, and a later dropout is reported anew.

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "engine/WP_variables.h"
#include "lang/sprache.h"
#include "station/geraeteprotokoll.h"
#include "station/uhr.h"

// Sensor list of the sensor test (the item index is the sensor index).
inline constexpr int ANZ_SENSOREN = 10;
enum sensor : int {
    sensor_einstrahlung = 0,
    sensor_schnee = 1,
    sensor_feuchte = 2,
    sensor_temperatur = 3,  // AD22100 of the station; 4..7 free sensors 1..4
    sensor_lm235z_1 = 8,
    sensor_lm235z_2 = 9,
};

// Irradiation factor of the sensor used by the control run and the sensor test.
inline constexpr double NORMIERUNG_EINSTRAHLUNG = 1.3;
inline constexpr int MAX_MESSUNGEN = 1000;

// Mean of a series of readings and the standard error of that mean.
struct messwert {
    double umess = 0.0;
    double sab = 0.0;
};

// Converts a raw reading and its spread to physical units by the case of
// the sensor list: 0 irradiation (factor `normierung`), 1 snow (factor
// `normab`), 2 humidity %, 3-7 AD22100 °C, 8-9 LM235Z °C; other cases keep
// the values.
void normiere_messwerte_wetterstation(double& dmess, double& dsab, int itemindex, double umess,
                                      double sab, double normierung, double normab);

// The interval of a control run at clock time `t`: the hour of the month,
// (day - 1) * 24 + hour + 1.
inline int stunde_des_monats(const datum_uhrzeit& t) { return (t.tag - 1) * 24 + t.stunde + 1; }

// Name of a device by its letter: 'W' weather station, 'S' pump board,
// 'V' fan, 'A' sensor board.
const text_paar& geraetename(char g);

// Mean and standard error of the mean of `werte`; fewer than two readings
// have spread 0.
messwert mittelwert_und_streuung(const double* werte, int anzahl);

// Radiated heat (W) of a heating plate of area A (m²) at plate temperature
// tk and air temperature ta (°C).
double strahlung_platte(double A, double tk, double ta);

class wetterstation {
public:
    // Installs itself between the protocol and the protocol's dialog.
    wetterstation(geraeteprotokoll& protokoll, uhr& zeit);
    ~wetterstation();
    wetterstation(const wetterstation&) = delete;
    wetterstation& operator=(const wetterstation&) = delete;

    // --- window fields --------------------------------------------------------
    // Texts of the fields by their names ("Edit1" ... "Edit53"); the window
    // shows them. Values are written with 2 decimals unless said otherwise.
    std::map<std::string, std::string> felder;
    bool messung_laeuft = false;  // Label14 "Messung läuft"
    void setze(const std::string& feld, double wert, int stellen = 2);
    void setze_text(const std::string& feld, const std::string& text) { felder[feld] = text; }
    std::string feld(const std::string& name) const;
    // The number in a field; 0 when it holds none.
    double zahl(const std::string& name) const;

    // FormCreate: resets the fields from the plant's sources; FormActivate
    // does the same and refreshes the date and time fields.
    void zuruecksetzen(const anlage& a);
    void aktivieren(const anlage& a);
    // The maximum voltage and current of the plant's sources (Edit18, Edit19, Edit43).
    void quellenfelder(const anlage& a);
    // Month, day, hour and minute of the clock into Edit4, Edit5, Edit6, Edit11.
    void uhrzeit_felder();
    // Idle levels of the lines: both ADC chip selects inactive.
    void ausrichten();

    // --- measurement ------------------------------------------------------------
    // Reads `nanz` values (at most 1000) of sensor `imesswert` on port
    // `port`. False when the port did not open (after the no-device dialog)
    // or vanished during the reading; the result is then 0.
    bool lese_messwert(int nanz, int imesswert, int32_t port, messwert& m);
    // Sensor test ("Start"): count from Edit1, sensor `imesswert`.
    void sensortest(int imesswert, const anlage& a);
    // Irradiance G on the sensor plane over the mean of the last sensor test
    // into Edit7 ("Berechnen" of the irradiation normalisation).
    void setze_normierungskonstante(double G);
    // Measures irradiation and outdoor temperature for interval j of month i
    // into is0 and ta of the input series (full mode with a connected
    // station); otherwise shows the stored values.
    void messe_ta_is(datz3& pvdatz3, int i, int j, const anlage& a, const flagchar& numchar);

    // --- control run ------------------------------------------------------------
    // Start month and interval from the clock, ports of all devices, the
    // area of the control run and the test-mode interval length of 1 hour.
    void initialisiere_wetterstation_fuer_steuern(anlage& a, double maxa);
    // "Vollmodus" / "Testmodus": prepares plant, run record and control file
    // `kontrolldatei` and returns the measuring flag ("J" full, "N" test).
    // False when the control file could not be written (reported).
    bool steuerlauf_vorbereiten(bool vollmodus, bool steuer_simulation, anlage& a, ::date3& d3,
                                const std::filesystem::path& kontrolldatei, std::string& messflag);
    int startmonat = 1;
    int startintervall = 1;
    double flaeche = 0.0;        // Edit42 "Kollektorfläche"
    double test_stunden = 1.0;   // interval length in test mode

    // --- manual outputs -------------------------------------------------------------
    void ssq_ausgeben(const anlage& a);    // "Ausgeben" of "SSQ Typ 1"
    void quellen_null(const anlage& a);    // "I-V-Quellen 0"
    void ventilator_ausgeben(const anlage& a);  // "Ausgeben" of "Ventilator"
    void uebernehmen(anlage& a);           // "Übernehmen": ports from the fields
    // The port fields Edit37, Edit38, Edit47, Edit48 from and to the protocol's settings.
    void com_felder_zeigen();
    void com_felder_uebernehmen();

    // Sets a device output and reports once when the device does not answer.
    void ausgeben(double strom, double spannung, const ssq& quelle, char ivflag, char geraet,
                  char testmodus, const anlage& a);

    // Outputs of the pump board and the fan to 0 (end of a control run).
    void quellen_aus(const anlage& a);

    geraeteprotokoll& protokoll() { return p_; }
    uhr& zeit() { return zeit_; }

    // Devices reported as not answering ('W', 'S', 'V'); cleared when they
    // answer again.
    bool ausgefallen(char geraet) const;

    // "Steuer-Simulation": full mode without device output.
    bool steuer_simulation = false;
    // Set while a control run drives the plant: the no-device dialog is not
    // shown, the station reports the device once instead.
    bool im_steuerlauf = false;

    // Hooks of a control run. `neu_zeichnen` is called where the window
    // shows the fields anew (after a measurement, before the wait for the
    // next one); the desktop copies the fields to its window there.
    // `warten_beenden` ends the wait for the next measurement early (a
    // "STOP" written during the wait) and leaves out the readings of a
    // measurement that have not begun when it says so.
    std::function<void()> neu_zeichnen;
    std::function<bool()> warten_beenden;

    // The program's own question when no device answers (the desktop's
    // Abort/Retry/Ignore box); without one the question is a warning.
    void setze_rueckfrage(geraete_dialog* d) { dialog_.weiter = d; }

private:
    // Stands between the protocol and the dialog of the program; counts the
    // no-device questions, which tell that a device did not answer.
    struct zaehlender_dialog : geraete_dialog {
        dialog_antwort frage(const std::string& text) override;
        wetterstation* station = nullptr;
        geraete_dialog* weiter = nullptr;
    };
    void melde_ausfall(char geraet, bool ausgefallen);

    geraeteprotokoll& p_;
    uhr& zeit_;
    zaehlender_dialog dialog_;
    std::map<char, bool> ausfall_;
    int fragen_ = 0;
    double letzter_mittelwert_ = 0.0;
};

// Heat output of a heating plate ("Wärmeabgabe Platte"): area A (m²), ratio
// of length to width r, plate temperature tk and air temperature ta (°C),
// air properties from table `luft`. The convective part uses the natural
// convection of a heated horizontal plate as the air-swept collector computes
// it (characteristic length B L / (2 (B + L)) of the plate B = sqrt(A r),
// L = sqrt(A / r)), turned into a heat-transfer coefficient with the air's
// conductivity; the radiated part is `strahlung_platte`.
struct plattenleistung {
    double alpha = 0.0;         // W/(m² K)
    double konvektion_w = 0.0;  // W
    double strahlung_w = 0.0;   // W
};
plattenleistung waermeabgabe_platte(double A, double r, double tk, double ta, const stoffdaten_luft& luft);
