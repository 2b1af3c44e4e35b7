#include "engine/models/laufkontext.h"

kollektorblatt_einheiten& kollektorblatt() {
    static kollektorblatt_einheiten einheiten;
    return einheiten;
}

laufkontext laufkontext_aus_zustand(::date& d, const kollektorblatt_einheiten& kol) {
    return laufkontext{zustand::numchar(), zustand::vdatt(),      zustand::vdatz(),
                       zustand::pvdatz3(1), d,                    zustand::date3(),
                       zustand::anlage(0),  zustand::lauf(),      zustand::stoffdaten(),
                       kol};
}

bool ist_zeitschrittverfahren(const flagchar& numchar) {
    return (numchar[ndata::zeitraum] == "I" && numchar[ndata::rechenart] == "V") ||
           numchar[ndata::rechenart] == "T" || numchar[ndata::rechenart] == "M";
}
