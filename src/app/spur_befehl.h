#pragma once
// The decision trace of a run: per interval of one month the weather, the
// `ge` step and inflow variant the kernel kept, the collector loop, the
// heat and electricity of the interval, the store temperatures and the
// objective value of every attempt. For engineers who ask why the plant did
// what it did, and for checking the kernels against each other.
#include <map>
#include <optional>
#include <ostream>
#include <vector>

#include "app/simulation_run.h"
#include "engine/entscheidungsspur.h"

struct spuroptionen {
    int monat = 1;                  // month traced (1..12)
    std::optional<double> flaeche;  // area step traced (m²); default: every area step
    bool optimierung = false;       // trace an optimisation instead of a single simulation
    bool csv = false;               // CSV instead of the readable table
    bool versuche = false;          // a row for every attempt, not only the one kept
};

// Prints the trace of the months asked for as the run completes them.
class spurdrucker : public entscheidungsspur {
public:
    spurdrucker(const spuroptionen& o, std::ostream& aus) : o_(o), aus_(aus) {}
    bool verfolgt(int m, double A) const override;
    void versuch(int m, int s, int g, int v, double T, double wert, const spurwerte& w) override;
    void gewaehlt(int m, int s, int g, int v) override;
    void monatsschritt(int m, int g, double monatswert) override;
    void monat_fertig(int m, double A, const ::date3& d3, const datz3& pvdatz3) override;
    // Months printed so far.
    int gedruckt() const { return gedruckt_; }

private:
    struct versuchszeile {
        int g = 0, v = -1;
        double T = 0.0, wert = 0.0;
        spurwerte w;
    };
    spuroptionen o_;
    std::ostream& aus_;
    std::map<int, std::vector<versuchszeile>> versuche_;   // by interval
    std::map<int, std::pair<int, int>> gewaehlt_;          // interval -> (g, v) kept
    std::vector<std::pair<int, double>> monatsschritte_;   // month-mode steps and their values
    int gedruckt_ = 0;
    bool kopf_ = false;
};

// Runs the loaded data set (named `name`) as a single simulation or an
// optimisation with the trace attached, into a scratch result folder that is
// removed afterwards; no catalogue row is entered. Throws std::runtime_error
// when the run did not complete or the month and area asked for were never
// computed.
void spur_rechnen(const std::string& name, const spuroptionen& o, std::ostream& aus,
                  lauf_beobachter& beobachter);
