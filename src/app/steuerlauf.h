#pragma once
// Control runs of the runner and the desktop: the weather station, the device
// protocol and the clock behind the control points of the interval kernel,
// the start of the run through `Steuern_Starten`, and the switch-off of the
// plant on every way out.

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>

#include "app/standard_laufdienste.h"
#include "engine/steuerpunkte.h"
#include "station/simulierte_ports.h"
#include "station/steuerschritt.h"
#include "station/wetterstation.h"

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
    // The control file says "STOP", or the process was asked to end. A
    // missing or unreadable control file does not stop the run.
    bool stopp_angefordert(const flagchar& numchar, const ::date3& d3) override;
    std::optional<uhrzeitintervall> jetzt() override;

    // Called after each live interval (the runner prints it).
    std::function<void(const liveintervall_zeile&)> nach_liveintervall;
    int liveintervalle() const { return anzahl_; }

private:
    wetterstation& w_;
    anlage& a_;
    int anzahl_ = 0;
};

// Set by SIGINT and SIGTERM while a control run of the runner is running.
bool ende_angefordert();
void setze_ende_angefordert(bool an);

// Options of a control run.
struct steuerlauf_optionen {
    bool testmodus = false;           // "Testmodus": no devices, start point from the fields
    bool simulierte_geraete = false;  // simulated boards on COM3..COM6
    bool schnelle_uhr = false;        // the wait for the next measurement ends at the next hour
    std::optional<double> flaeche;    // collector area; default: the run's maximum area
    std::optional<int> startmonat, startintervall;  // test mode: start point (default: the clock)
    std::optional<datum_uhrzeit> uhrstart;          // fast clock: start (default: now)
    std::filesystem::path arbeitsverzeichnis;       // folder of the control file
    // A clock and a simulated installation of the caller's (tests watch the
    // boards); the ports must run on that clock.
    uhr* zeit = nullptr;
    simulierte_ports* ports = nullptr;
};

// How a control run ended.
struct steuerlauf_ergebnis {
    int liveintervalle = 0;
    bool gestoppt = false;      // ended by "STOP" (or a signal)
    bool quellen_aus = false;   // the three sources were switched off at the end
};

// Runs a control run of the loaded data set into the output file `ausgabe`.
// Each live interval goes to `nach_liveintervall`. The sources are switched
// off on every way out in full mode (stop, abandonment, error); an exception
// propagates after that.
steuerlauf_ergebnis steuerlauf(const ausgabefile& ausgabe, const std::filesystem::path& ergebnisverzeichnis,
                               const std::string& datensatzname, const steuerlauf_optionen& o,
                               const std::function<void(const liveintervall_zeile&)>& nach_liveintervall);

// Prints a live interval as one line.
void schreibe_liveintervall(std::ostream& aus, const liveintervall_zeile& z);
