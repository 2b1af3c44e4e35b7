#pragma once
// The period loop: one plant code over one year for the current collector
// area, tilt and heat-pump power, keeping the best variant of the area step.

#include <functional>

#include "engine/WP_variables.h"

// Result table of the run's per-interval file; filled by the result writers.
struct parreadtab;
class perioden_schritte;
class entscheidungsspur;

// `ge` range of the month and year loops: step i stands for
// minge * exp((i - 1) * logschritt); the steps are walked from `anzahl`
// down to `erster`.
struct ge_bereich {
    int anzahl = 1;
    int erster = 1;
    double minge = 0.0;
    double logschritt = 0.0;
    // The `ge` value of step i.
    double wert(int i) const;
};

// Everything a plant step of one period call works on: the arguments that
// `berechne_periode` hands down to the month loops and their steps.
struct periodenkontext {
    int& variantenzaehler;
    int j;                       // area-step index
    datz& vdatz;
    graphdata& links;            // left chart data (year run points)
    parreadtab* tabelle2;        // result table of the per-interval file
    monatsfeld& ziel;            // monthly objective values [1..12]
    ::date3& d3;
    ::date& monatsergebnisse;
    flagchar& numchar;           // the global code set (sees the stop flag change)
    ::datm& datm_variante;       // series-state datm of the variant
    datt& vdatt;
    datz3& pvdatz3;
    double A;                    // collector area of the step
    ge_bereich ge{};
    char zeichen = ' ';          // 'J' in a control run; handed on to the kernels
    double bester = 0.0;         // best cell of the month totals
    double aktuell = 0.0;        // current cell of the month totals
    perioden_schritte* schritte = nullptr;  // the steps of this call (step-chart points)
    entscheidungsspur* spur = nullptr;      // decision trace of the kernels, when one is attached

    // The trace when month m of this area step is traced, else nullptr.
    entscheidungsspur* spur_fuer(int m) const;
};

// The plant steps and models the period loop calls. The analytic and time-step
// plant steps, the store operations, the month totals, the kernels of the year
// run and the control-run hooks are implemented by the engine's plant-step
// modules; tests drive the loops with doubles.
class perioden_schritte {
public:
    virtual ~perioden_schritte() = default;

    // Buffer and long-term store of plant `a` become one layer at T, full when A > 0.
    virtual void setze_anlage_speicher_zurueck(anlage& a, double A, double T) = 0;
    // Month start of the stores and the night air energy of month m.
    virtual void monatsinitialisierung(periodenkontext& k, int m) = 0;
    // Analytic plant step of month m (fills k.ziel[m]).
    virtual void analytischer_monatsschritt(periodenkontext& k, int m) = 0;
    // Time-step plant step of month m (fills k.ziel[m]).
    virtual void zeitschritt_monat(periodenkontext& k, int& m) = 0;
    // Month kernel of the year run on plant 0 (velocity kernel for
    // numchar[ndata::rechenart] = "V", interval kernel otherwise) for `ge` step g and
    // temperature-difference variant v; returns the month's objective value and
    // the `ge` value the kernel used.
    virtual void jahreskern(periodenkontext& k, int m, int g, int v, double& monatswert,
                            double& ge_wert) = 0;
    // Month totals of the variant (accumulates the month into the variant's datm).
    virtual void monatssummen(periodenkontext& k, int m, double monatswert) = 0;
    // Keeps the best temperature-difference variant of a year run.
    virtual void beste_variante_behalten(periodenkontext& k, double jahressumme) = 0;
    // One step of the main window's progress bar.
    virtual void fortschritt_schritt() {}
    // Start point of a control run: the station window's fields (test mode) or
    // the clock (measuring mode: current month, hour of the month).
    virtual void steuerlauf_startpunkt(bool messmodus, int& monat, int& intervall) = 0;
    // A point of the step chart of month m: `ge` step `index`, the month's
    // velocity (or inflow temperature) x and the step's month value y.
    virtual void schrittpunkt(int /*monat*/, int /*index*/, double /*x*/, double /*y*/) {}
    // The decision trace the kernels report to (none by default).
    virtual entscheidungsspur* spur() { return nullptr; }
};

// Scale of the `ge` axis of the year-run chart (settings, default 3 600 000).
double& ge_skalierung();

// Ranges of the collector temperature-difference variants (emptied for
// end-reservoir coupling; the step; a single variant with code "K").
void bereite_variantenbereich_vor(const flagchar& numchar, laufsteuerung& l);
// The `ge` range: one step for directly coupled plants and the analytic
// method, otherwise anzge logarithmic steps between minge and maxge.
ge_bereich bereite_ge_bereich_vor(const flagchar& numchar, laufsteuerung& l, double A);

// Restores ewv and ewv_verbrauch of every month from their saved copies.
void stelle_bedarfsspalten_wieder_her(datz& vdatz);
// Month start: eminus of both stores := 0, nachtenergie := espeicher_luft[m].
void monatsbeginn(anlage& a, const ::date& d, int m);

// Copies the variant's results (series-state datm) into the kept result and
// the month results, with the yearly totals.
void kopiere_variantenergebnis(const ::datm& variante, ::datm& behalten, ::date& monatsergebnisse);

void monatsschleife(periodenkontext& k, perioden_schritte& schritte);
void jahreslauf(periodenkontext& k, perioden_schritte& schritte);

// One plant code ('V', 'Z', 'E' or 'K') over one year; updates the best value,
// the kept datm and the month results when this code is not worse.
void berechne_periode(int& variantenzaehler, int j, datz& vdatz, graphdata& links, char code,
                      parreadtab* tabelle2, double& bestwert, ::date3& d3,
                      ::date& monatsergebnisse, flagchar& numchar, ::datm& behalten,
                      datt& vdatt, datz3& pvdatz3, double A, perioden_schritte& schritte);
