#pragma once
// What the run monitors show while a run computes: "Zwischenergebnisse (V)"
// (twelve month charts of the step points: one point per `ge` step, x the
// month's flow or inflow temperature, y the step's month value),
// "Zwischenergebnisse (T)" (its area and axes), and the intermediate
// results kept after each parameter step of an optimisation.
//
// The run feeds it through its observer on the run's thread; a window reads
// it from another thread. Every operation takes the record's lock, and
// `stand()` hands out a copy with a version number that grows with every
// change, so a window redraws only when something changed.
//
// The record stays small whatever the run does: a month curve keeps at most
// `MAX_MONITORPUNKTE` points (when it is full, every second point is dropped
// and from then on only every second point of the run is taken, and so on),
// and at most `MAX_ZWISCHENERGEBNISSE` intermediate results are kept (the
// oldest go first). A chart of a few hundred pixels shows no more.

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "engine/WP_variables.h"

struct stufenpunkt {
    int ge_schritt = 0;  // index of the `ge` step
    double x = 0.0;
    double y = 0.0;
};

inline constexpr std::size_t MAX_MONITORPUNKTE = 400;
inline constexpr std::size_t MAX_ZWISCHENERGEBNISSE = 60;

struct monitor_monat {
    std::string titel;                // month name
    std::vector<stufenpunkt> punkte;  // in the order they arrived, thinned (see above)
    uint64_t aenderung = 0;           // the record's version at the last change of this month
    uint64_t eingegangen = 0;         // points the run reported since the window opened
    uint64_t jeder = 1;               // every `jeder`-th reported point is kept
};

// One curve of a year-run chart, as the chart window receives it.
struct monitor_kurve {
    std::string name;
    std::vector<std::pair<double, double>> punkte;
};

// The intermediate result shown after a parameter step.
struct zwischenergebnis {
    int nummer = 0;  // parameter step of the run, from 1
    double flaeche = 0.0;
    // Month runs: the twelve step charts as they stood ([1..12]).
    std::array<monitor_monat, MAXMONAT + 1> monate;
    // Year runs: the left curves of the chart window.
    std::vector<monitor_kurve> jahreslauf;
    std::string info;
};

struct laufmonitor_stand {
    uint64_t version = 0;

    // "Zwischenergebnisse (V)".
    bool v_offen = false;
    double v_flaeche = 0.0;        // LabelF
    std::string v_beschriftung;    // "Elektrische Energie [kWh/M]  - " + x quantity
    std::string v_x_achse;         // "Temperatur [°C]" unless the method is "V"
    std::array<monitor_monat, MAXMONAT + 1> v_monate;  // [1..12]

    // "Zwischenergebnisse (T)".
    bool t_offen = false;
    double t_flaeche = 0.0;
    std::string t_beschriftung;    // Label2
    std::array<int, MAXMONAT + 1> t_x_max{};  // bottom-axis maximum of month m: twv[m] cut toward zero

    // Shown after each parameter step (menu "Zwischenergebnisse" checked);
    // the last MAX_ZWISCHENERGEBNISSE, shared with the record (never changed
    // once kept), so a copy of the state stays cheap.
    std::vector<std::shared_ptr<const zwischenergebnis>> zwischenergebnisse;
    int parameterschritte = 0;  // intermediate results kept since the run began

    // Step points of window (V) in all months.
    std::size_t anzahl_punkte() const;
};

class laufmonitor {
public:
    // "Zwischenergebnisse (V)" opened for area A: the twelve charts emptied
    // and titled by the month names. `rechenart` is numchar[ndata::rechenart].
    void oeffne_v(double A, const std::string& rechenart);
    // "Zwischenergebnisse (T)" opened for area A; the month charts' bottom
    // axes end at the month's supply temperature `twv`[m], cut toward zero.
    void oeffne_t(double A, const datz& vdatz);
    // A step point of month m (1..12) for `ge` step i; ignored while window
    // (V) is not open or m is outside 1..12.
    void stufenpunkt(int monat, int ge_schritt, double x, double y);
    // Window (V) shown after a parameter step: its charts become an
    // intermediate result.
    void zeige_v();
    // The chart window shown after a parameter step of a year run.
    void zeige_jahreslauf(const graphdata& links);
    // A new run: everything cleared.
    void zuruecksetzen();

    laufmonitor_stand stand() const;
    uint64_t version() const;

private:
    // Keeps z as the next intermediate result (lock held).
    void behalte(zwischenergebnis z);

    mutable std::mutex sperre_;
    laufmonitor_stand stand_;
};
