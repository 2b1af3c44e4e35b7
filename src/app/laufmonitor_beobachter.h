#pragma once
// A run observer that feeds the run monitors' record (results/laufmonitor.h)
// and passes every call on to another observer (the window's or the
// runner's), so the monitors can be added to any run.

#include "app/simulation_run.h"
#include "results/laufmonitor.h"

class laufmonitor_beobachter : public lauf_beobachter {
public:
    laufmonitor_beobachter(laufmonitor& monitor, lauf_beobachter& weiter) : monitor_(monitor), weiter_(weiter) {}

    void sanduhr(bool an) override { weiter_.sanduhr(an); }
    void fortschritt_beginnen(int maximum) override { weiter_.fortschritt_beginnen(maximum); }
    void fortschritt_auf_minimum() override { weiter_.fortschritt_auf_minimum(); }
    void fortschritt_schritt() override { weiter_.fortschritt_schritt(); }
    void einlesefenster_neu_zeichnen() override { weiter_.einlesefenster_neu_zeichnen(); }
    void hauptfenster_neu_zeichnen() override { weiter_.hauptfenster_neu_zeichnen(); }
    void zwischenergebnisse_t_oeffnen(double A) override;
    void zwischenergebnisse_v_oeffnen(double A) override;
    void zwischenergebnisse_v_zeigen() override;
    void graph_zeigen(const graphdata& links, const graphdata& rechts) override;
    bool zwischenergebnisse_gewaehlt() override { return weiter_.zwischenergebnisse_gewaehlt(); }
    double wetterstation_flaeche() override { return weiter_.wetterstation_flaeche(); }
    void wetterstation_startpunkt(int& monat, int& intervall) override {
        weiter_.wetterstation_startpunkt(monat, intervall);
    }
    void uhrzeit(int& monat, int& tag, int& stunde) override { weiter_.uhrzeit(monat, tag, stunde); }
    void anwendung_beenden_anfordern() override {
        weiter_.anwendung_beenden_anfordern();
        beenden_angefordert = weiter_.beenden_angefordert;
    }

    // A point of the step chart of month m for `ge` step i (x: the month's
    // flow, or its inflow temperature for direct coupling; y: the step's
    // month value). The time-step month step reports it for every `ge` step
    // when A > 0, numchar[ndata::zeitraum] = "M" and numchar[ndata::meldungsmodus] = "M".
    void schrittpunkt(int monat, int ge_schritt, double x, double y) override {
        stufenpunkt(monat, ge_schritt, x, y);
        weiter_.schrittpunkt(monat, ge_schritt, x, y);
    }
    void stufenpunkt(int monat, int ge_schritt, double x, double y);

private:
    laufmonitor& monitor_;
    lauf_beobachter& weiter_;
};
