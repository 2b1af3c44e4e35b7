#pragma once
// The time-step plant step: a month computed interval by interval. For every
// `ge` step of the month the working plant starts from the month's start
// state (plant 0), a month kernel walks the intervals, and the step whose
// month result is best is kept. Also the per-interval and month-end
// operations that the kernels share, and the velocity kernel.

#include "engine/energiebilanz.h"
#include "engine/models/laufkontext.h"
#include "engine/monatsaggregation.h"
#include "engine/periode.h"
#include "engine/steuerpunkte.h"

// What a month kernel returns: the month's objective value and the velocity
// of the step (the monthly mean flow of the collector loop).
struct kernergebnis {
    double monatswert = 0.0;
    double geschwindigkeit = 0.0;
    long intervallschritte = 0;  // intervals computed, each for one `ge` step (interval kernel; figures)
};

// The three month kernels: velocity, temperature and interval kernel (the
// interval-wise methods and the control run). Tests replace kernels to drive
// the month step without physics.
class monatskerne {
public:
    monatskerne() = default;
    // Kernels whose interval kernel meets a running plant through `steuerung`
    // (a control run); the default kernels use the headless control points.
    explicit monatskerne(steuerpunkte& steuerung) : steuerung_(&steuerung) {}
    virtual ~monatskerne() = default;
    // Velocity kernel: month m for `ge` step i on the working plant `arbeit`.
    virtual kernergebnis geschwindigkeitskern(periodenkontext& k, int m, int i, anlage& arbeit);
    // Temperature kernel: month m on the working plant (searches its own `ge`
    // steps per interval).
    virtual kernergebnis temperaturkern(periodenkontext& k, int m, anlage& arbeit);
    // Interval kernel: month m (a control run may move it) for `ge` step i on
    // plant 0.
    virtual kernergebnis intervallkern(periodenkontext& k, int& m, int i);
    // The control points the interval kernel calls.
    steuerpunkte& steuerung() const {
        return steuerung_ != nullptr ? *steuerung_ : headless_steuerpunkte();
    }

private:
    steuerpunkte* steuerung_ = nullptr;
};

// The kernels of a plain run (the interval kernel with the headless control
// points).
monatskerne& standard_monatskerne();

// Time-step plant step of month m. `kerne` computes the months; step-chart
// points go to k.punkte.
void zeitschritt_monat(periodenkontext& k, int& m, monatskerne& kerne);

// ---------------------------------------------------------------------------
// Operations the kernels share
// ---------------------------------------------------------------------------
// The state a kernel works on for one month: the run records of the period
// call, the working plant (its stores) and plant 0 (its components), the
// model context and the balance accumulator.
struct kernlauf {
    kernlauf(periodenkontext& k, int m, anlage& arbeit);

    periodenkontext& k;
    int m;
    anlage& arbeit;
    anlage& anlage0;
    laufkontext lk;
    bilanzsummen summen;
    double kopplung_monat = 0.0;  // coupling energy of the month (kopplung_intervall)
    bool direkt = false;          // directly coupled plant
};

// Month start of a kernel: velocity of the month := 0 and the month's sums cleared.
void kern_monatsstart(kernlauf& r);

// Start of interval s: clears its results (intervall_zuruecksetzen) and sets
// 10 / irradiance and the field coefficients; returns the share x of the
// interval in use (1).
double kern_intervallstart(kernlauf& r, int s);

// End of interval s after the collector part: heat-pump coupling of the
// collector energy P, energy balance, pump and fan energy for the flow Q,
// virtual store need and the interval's powers.
void kern_intervallende(kernlauf& r, int s, double P, double Q, double x);

// Month end shared by the velocity and temperature kernels: night losses of
// the stores, the month's store snapshot, month end of the stores, the
// stored-energy shortfall, pump energy and the heating summary; returns the
// month's objective value. Without `speicher_abschliessen` (a stopped control
// run) the night losses and the month end of the stores are left out.
double kern_monatsende(kernlauf& r, bool speicher_abschliessen = true);

// The objective value of interval s alone (its heating, pump, fan and defrost
// energies priced as a month would be); `hilfsmonat` is scratch space.
double intervallwert(const flagchar& numchar, const datt& vdatt, int m, int s, const ::date3& d3,
                     ::date& hilfsmonat);

// Velocity kernel of month m for `ge` step i on the working plant;
// `variante` is the collector temperature-difference variant.
kernergebnis geschwindigkeitskern(periodenkontext& k, int m, int i, anlage& arbeit, int variante);
