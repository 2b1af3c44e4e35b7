#pragma once
// The run driver behind every run of the engine (single simulation,
// optimisation and control run) and its three entry points.

#include <string>

#include "engine/WP_variables.h"
#include "engine/periode.h"
#include "results/ergebnisdatei_schreiben.h"

// The check marks of the run bound to the calling thread (the main window
// shows those of the program's run).
laufmarken& marken();

// Window effects of a run: cursor, progress bar, repaints, intermediate-result
// windows and the fields of the weather-station window. The desktop shell
// implements them with windows; the headless implementation records nothing
// and reads the station fields from its members.
class lauf_beobachter {
public:
    virtual ~lauf_beobachter() = default;
    virtual void sanduhr(bool /*an*/) {}
    virtual void fortschritt_beginnen(int /*maximum*/) {}
    virtual void fortschritt_auf_minimum() {}
    virtual void fortschritt_schritt() {}
    virtual void einlesefenster_neu_zeichnen() {}
    virtual void hauptfenster_neu_zeichnen() {}
    // "Zwischenergebnisse (T)" for area A.
    virtual void zwischenergebnisse_t_oeffnen(double /*A*/) {}
    // "Zwischenergebnisse (V)" for area A with its twelve series titles.
    virtual void zwischenergebnisse_v_oeffnen(double /*A*/) {}
    // The laid-out window (V), shown modally and released.
    virtual void zwischenergebnisse_v_zeigen() {}
    // besetzeSeries of the chart window with both chart data records.
    virtual void graph_zeigen(const graphdata& /*links*/, const graphdata& /*rechts*/) {}
    // The menu item "Zwischenergebnisse" is checked.
    virtual bool zwischenergebnisse_gewaehlt() { return false; }
    // A point of the step chart of month `monat` (1..12) in "Zwischenergebnisse
    // (V)": `ge` step `index`, the month's velocity (scaled) or inflow
    // temperature x, and the step's month value y.
    virtual void schrittpunkt(int /*monat*/, int /*index*/, double /*x*/, double /*y*/) {}
    // The area field of the weather-station window.
    virtual double wetterstation_flaeche() { return station_flaeche; }
    // Start month and start interval fields of the weather-station window.
    virtual void wetterstation_startpunkt(int& monat, int& intervall) {
        monat = station_startmonat;
        intervall = station_startintervall;
    }
    // Current month, day (1..31) and hour (0..23) of the system clock.
    virtual void uhrzeit(int& monat, int& tag, int& stunde);
    // A control run asks the application to end once the run has returned.
    virtual void anwendung_beenden_anfordern() { beenden_angefordert = true; }

    double station_flaeche = 0.0;
    int station_startmonat = 1;
    int station_startintervall = 1;
    bool beenden_angefordert = false;
};

// Operations of the other subsystems that the run calls: the plant-combination
// check, irradiation, preparation and evaluation of the year, the result
// writers and the plant switch-off of a control run.
class lauf_dienste {
public:
    virtual ~lauf_dienste() = default;
    virtual void CheckKombination(datt& vdatt, flagchar& numchar, int& bkflag) = 0;
    // Fills the inflow temperature series (tein of the first pvdatz3).
    virtual void eintrittstemperaturen_fuellen() = 0;
    // Irradiation on the tilted plane; false when the data refuse the tilt
    // (the reason has been reported) and nothing was computed.
    virtual bool berechne_Einstrahlungsdaten(double breite, double theta_s, double phi_g,
                                             datz& vdatz, flagchar& numchar, datz3& pvdatz3,
                                             datt& vdatt) = 0;
    virtual void monatsvorbereitung(double A) = 0;
    virtual void intervallvorbereitung() = 0;
    // maxge and minge of table `rech`, converted from `einge` to the main unit.
    virtual void ge_grenzen(double& maxge, double& minge) = 0;
    virtual void jahresauswertung(::datm& d, datz3& pvdatz3_2, speicher& puffer,
                                  ::date& monatsergebnisse, datz& vdatz, datt& vdatt) = 0;
    virtual void ergebnisauswertung(::datm& d) = 0;
    // Area converted from the main area unit to its output unit.
    virtual double flaeche_in_ausgabeeinheit(double A) = 0;
    // The result files of one area: the control file (per interval) and the
    // result file (per month), section `abschnitte.aktuell` of the run's.
    virtual void schreibe_intervallergebnisse(datt& vdatt, ::datm& d, double flaeche_aus,
                                              const abschnittsfolge& abschnitte) = 0;
    virtual void schreibe_monatsergebnisse(datt& vdatt, ::datm& d, double flaeche_aus,
                                           const abschnittsfolge& abschnitte) = 0;
    // anlagensteuerung_neu with current 0, voltage 0 and test mode 'N'.
    virtual void anlage_abschalten(char ivflag, char geraet) = 0;
    // After the last area step: makes the written files visible and enters
    // them in the result catalogue. false when that failed (reported); the
    // run then counts as not completed.
    virtual bool ergebnisse_abschliessen() { return true; }
};

// The period loop's plant steps with the run's window effects (progress bar,
// control-run start point) routed to the observer.
class lauf_perioden_schritte : public perioden_schritte {
public:
    lauf_perioden_schritte(perioden_schritte& anlage, lauf_beobachter& beobachter)
        : anlage_(anlage), beobachter_(beobachter) {}
    void setze_anlage_speicher_zurueck(anlage& a, double A, double T) override;
    void monatsinitialisierung(periodenkontext& k, int m) override;
    void analytischer_monatsschritt(periodenkontext& k, int m) override;
    void zeitschritt_monat(periodenkontext& k, int& m) override;
    void jahreskern(periodenkontext& k, int m, int g, int v, double& monatswert,
                    double& ge_wert) override;
    void monatssummen(periodenkontext& k, int m, double monatswert) override;
    void beste_variante_behalten(periodenkontext& k, double jahressumme) override;
    void fortschritt_schritt() override;
    void steuerlauf_startpunkt(bool messmodus, int& monat, int& intervall) override;
    void schrittpunkt(int monat, int index, double x, double y) override;
    entscheidungsspur* spur() override { return anlage_.spur(); }
    // The plant steps behind the window effects.
    perioden_schritte& schritte_der_anlage() { return anlage_; }

private:
    perioden_schritte& anlage_;
    lauf_beobachter& beobachter_;
};

// Everything a run is wired to.
struct laufumgebung {
    lauf_dienste& dienste;
    perioden_schritte& schritte;
    lauf_beobachter& beobachter;
    // Threads that compute the area steps of the run at the same time (each
    // in a copy of the run state; the sections are written in area order).
    // A control run computes one area.
    int threads = 1;
};

// The run. bkflag receives the verdict of CheckKombination (0 refused).
void starte_simulation(int& bkflag, laufumgebung& u);

// Menu "Start Simulation": single simulation of the current data set.
// `datensatzname` is the name of the current `haupt` row.
void starte_einzelsimulation(const std::string& datensatzname, laufumgebung& u);
// Menu "Start Optimierung".
void optimierung_starten(const std::string& datensatzname, laufumgebung& u);
// Control run, started from the weather-station window.
void Steuern_Starten(const std::string& messflag_s, const std::string& simflag_s,
                     const std::string& datensatzname, laufumgebung& u);
// "Neue Simulation": clears the three check marks.
void neue_simulation();

// Low-side temperature series tt of the first pvdatz3.
void ttief(datz& vdatz, datz3& pvdatz3, datt& vdatt, const flagchar& numchar);
