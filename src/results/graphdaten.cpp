#include "results/graphdaten.h"

#include <algorithm>

namespace {
void nullen(graphdata& g) {
    for (auto& punkt : g.x) punkt.fill(0.0);
    for (auto& punkt : g.y) punkt.fill(0.0);
}
}  // namespace

void setzenull(graphdata& links, graphdata& rechts) {
    nullen(links);
    nullen(rechts);
}

void berechne_y_bereich(graphdata& g) {
    for (int kurve = 1; kurve <= MAXKURVEN; ++kurve) {
        const int anzahl = std::clamp(g.anzp[kurve], 0, MAXGRAPHPUNKTE);
        if (anzahl == 0) continue;
        double lo = g.y[1][kurve], hi = g.y[1][kurve];
        for (int p = 2; p <= anzahl; ++p) {
            lo = std::min(lo, g.y[p][kurve]);
            hi = std::max(hi, g.y[p][kurve]);
        }
        g.ymin[kurve] = lo;
        g.ymax[kurve] = hi;
    }
}
