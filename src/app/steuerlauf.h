#pragma once
// Control runs of the runner and the desktop: the weather station, the device
// protocol and the clock behind the control points of the interval kernel,
// the start of the run through `Steuern_Starten`, and the switch-off of the
// plant on every way out.

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "app/standard_laufdienste.h"
#include "engine/steuerpunkte.h"
#include "station/simulierte_ports.h"
#include "station/steuerschritt.h"
#include "station/wetterstation.h"

class RSCOM;
class lauf_beobachter;

// Forecast after a measurement at interval s of month m: the irradiation and
// outdoor temperature of the intervals s + 1 .. s + blocklaenge - 1 (not past
// the month's last interval) from the hourly ratio of the day's irradiation
// and the day's temperature profile.
void prognose_nach_messung(datz3& pvdatz3, const datz& vdatz, const datt& vdatt, int m, int s,
                           int blocklaenge);

// Irradiance G (W/m²) of a clear sky on the irradiation sensor's plane (tilt
// 45°, the collector's azimuth, the site's latitude and ground reflection) at
// the given date and time; the normalisation constant is G over the sensor's
// mean reading.
double klarhimmel_einstrahlung_sensor(int jahr, int monat, int tag, int stunde, int minute, const datt& vdatt);

// One live interval as the runner prints it.
struct liveintervall_zeile {
    datum_uhrzeit zeit;
    int monat = 0, intervall = 0;
    double ta = 0.0, is = 0.0;
    std::string pumpe, zwischen_wp, ventilator, deckung;
};

// The control points of a control run, implemented with the station.
class station_steuerpunkte : public steuerpunkte {
public:
    station_steuerpunkte(wetterstation& station, anlage& a);

    bool ist_live(const flagchar& numchar, int m, int s, double A) override;
    void messe_liveintervall(periodenkontext& k, int m, int s, int blocklaenge, anlage& a) override;
    void zeige_blocktemperatur(double T) override;
    void steuerschritt(periodenkontext& k, int m, int s, anlage& a) override;
    // The control file says "STOP", or the process was asked to end, or (in
    // full mode) the clock has passed the end of the run's year (reported).
    // A missing or unreadable control file does not stop the run.
    bool stopp_angefordert(const flagchar& numchar, const ::date3& d3) override;
    std::optional<uhrzeitintervall> jetzt() override;

    // Called after each live interval (the runner prints it).
    std::function<void(const liveintervall_zeile&)> nach_liveintervall;
    int liveintervalle() const { return anzahl_; }

private:
    wetterstation& w_;
    anlage& a_;
    int anzahl_ = 0;
    bool jahreswechsel_ = false;
};

// Set by SIGINT and SIGTERM while a control run of the runner is running.
bool ende_angefordert();
void setze_ende_angefordert(bool an);

// Options of a control run.
struct steuerlauf_optionen {
    bool testmodus = false;           // "Testmodus": no devices, start point from the fields
    bool simulierte_geraete = false;  // simulated boards on COM3..COM6
    bool schnelle_uhr = false;        // the wait for the next measurement ends at the next hour
    bool steuer_simulation = false;   // "Steuer-Simulation": full mode without device output
    std::optional<double> flaeche;    // collector area; default: the run's maximum area
    std::optional<int> startmonat, startintervall;  // test mode: start point (default: the clock)
    std::optional<datum_uhrzeit> uhrstart;          // fast clock: start (default: now)
    std::filesystem::path arbeitsverzeichnis;       // folder of the control file
    // A clock and a simulated installation of the caller's (tests watch the
    // boards); the ports must run on that clock.
    uhr* zeit = nullptr;
    simulierte_ports* ports = nullptr;
    // The no-device dialog of the port search (default: the program's
    // messages).
    geraete_dialog* dialog = nullptr;
};

// How a control run ended.
struct steuerlauf_ergebnis {
    int liveintervalle = 0;
    bool gestoppt = false;      // ended by "STOP" (or a signal)
    bool quellen_aus = false;   // the three sources were switched off at the end
};

// The clock and the devices of control runs: the real or the fast clock (or
// the caller's), the program's ports or a simulated installation (or the
// caller's), the device protocol over them and the weather station. The
// runner makes one per run; the desktop one for the program's life.
class steuergeraete {
public:
    explicit steuergeraete(const steuerlauf_optionen& o);
    ~steuergeraete();
    steuergeraete(const steuergeraete&) = delete;
    steuergeraete& operator=(const steuergeraete&) = delete;

    wetterstation& station() { return *station_; }
    uhr& zeit() { return *zeit_; }
    // The simulated installation, if the devices are simulated here.
    simulierte_ports* simuliert() { return simuliert_.get(); }
    // With simulated devices, their chips replace the DAC types of plant `a`.
    void anlage_anpassen(anlage& a) const;

private:
    uhr* zeit_ = nullptr;
    std::unique_ptr<schnelle_uhr> schnell_;
    std::unique_ptr<simulierte_ports> simuliert_;
    std::unique_ptr<RSCOM> eigener_port_;
    stationseinstellungen einstellungen_;
    std::unique_ptr<geraeteprotokoll> protokoll_;
    std::unique_ptr<wetterstation> station_;
};

// The loaded data set can be run as a control run: its method follows the
// clock (the interval kernel). Reported otherwise.
bool steuerlauf_erlaubt();

// Runs a control run prepared by `w.steuerlauf_vorbereiten` (which gave
// `messflag`) into the output file `ausgabe`: `Steuern_Starten`, one call of
// `nach_liveintervall` per live interval, until "STOP" (or SIGINT/SIGTERM).
// A "STOP" written during the wait for the next measurement ends the wait.
// In full mode the sources are switched off on every way out (stop,
// abandonment, error); an exception propagates after that. `weiter`
// receives the run's progress (the desktop's run window).
steuerlauf_ergebnis steuerlauf_ausfuehren(wetterstation& w, anlage& a, const std::string& messflag,
                                          const ausgabefile& ausgabe,
                                          const std::filesystem::path& ergebnisverzeichnis,
                                          const std::string& datensatzname,
                                          const std::function<void(const liveintervall_zeile&)>& nach_liveintervall,
                                          lauf_beobachter* weiter = nullptr);

// The runner's control run of the loaded data set: devices and clock by the
// options, the station prepared (full mode: from the clock and the ports;
// test mode: from the options, without searching the ports), then
// `steuerlauf_ausfuehren`. In full mode the devices the run drives must be
// found (weather station, pump board, and the fan of a plant with one): the
// runner has no one to answer the no-device dialog, so a missing device ends
// it with an error naming the devices and the ways to run without them;
// with `steuer_simulation` the run goes on without them (one warning).
steuerlauf_ergebnis steuerlauf(const ausgabefile& ausgabe, const std::filesystem::path& ergebnisverzeichnis,
                               const std::string& datensatzname, const steuerlauf_optionen& o,
                               const std::function<void(const liveintervall_zeile&)>& nach_liveintervall);

// Prints a live interval as one line.
void schreibe_liveintervall(std::ostream& aus, const liveintervall_zeile& z);
