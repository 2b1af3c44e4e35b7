#pragma once
// The interval kernel: the month walked in blocks of consecutive intervals.
// For each block a set of collector inflow temperatures (the temperature
// variants) is tried and the variant with the lowest mean objective per
// interval is kept; each interval of a block tries the `ge` steps of the
// interval and keeps the best. Every attempt starts from a saved copy of the
// month's results and the plant (the snapshot slots). In a control run the
// kernel also meets the running plant through `steuerpunkte`.

#include <array>

#include "engine/steuerpunkte.h"
#include "engine/zeitschritt.h"

// A snapshot slot: a monthly result record and a plant record of the state.
struct schnappschuss {
    ::date& d;
    anlage& a;
};

// The five slots of the kernel over the records of the state.
struct kernslots {
    schnappschuss festgeschrieben;  // start of the current block
    schnappschuss beste_variante;   // end of the block for the best variant so far
    schnappschuss variantenstart;   // start of the block for the variant being tried (the
                                    // kernel restores from the committed slot, which holds the same)
    schnappschuss vorintervall;     // after the previous interval of the variant being tried
    schnappschuss bester_schritt;   // after the current interval for the best `ge` step so far
};
kernslots kernslots_des_zustands();

// Copies the month-m results and the stores of one slot into another (also
// from and to the working state (date, plant 0)).
void kopiere_slot(const schnappschuss& von, const schnappschuss& nach, int m);

// The flags of one interval, kept in a block buffer with its results.
struct intervallflags_satz {
    char16_t twf = u'N', wpaus = u'N', speicher = u'N', c = u'N', endr = u'N', eta = u'N',
             vstore = u'N';
};

// One block buffer: the results of up to 12 intervals of a block (element j
// holds the j-th interval) and their flags.
struct blockpuffer {
    ::date1& werte;
    std::array<intervallflags_satz, 13> flags{};
    std::array<int, 13> schritt{};  // the `ge` step kept for each interval
};

// Longest block the buffers hold.
constexpr int MAX_BLOCKLAENGE = 12;

// Block length of the kernel: `maxmittemp` with counter-flow code "R",
// otherwise 1.
int blocklaenge(const flagchar& numchar, const laufsteuerung& l);

// Interval kernel of month m for `ge` step i on plant 0. A control run that
// follows the clock may move m (the caller's month moves with it).
kernergebnis intervallkern(periodenkontext& k, int& m, int i, steuerpunkte& steuerung);
