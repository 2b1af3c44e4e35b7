#include "engine/models/laufkontext.h"

laufkontext laufkontext_aus_zustand(::date& d) {
    return laufkontext{zustand::numchar(), zustand::vdatt(),      zustand::vdatz(),
                       zustand::pvdatz3(1), d,                    zustand::date3(),
                       zustand::anlage(0),  zustand::lauf(),      zustand::stoffdaten(),
                       zustand::kollektorblatt()};
}

bool ist_zeitschrittverfahren(const flagchar& numchar) {
    return (numchar[ndata::zeitraum] == "I" && numchar[ndata::rechenart] == "V") ||
           numchar[ndata::rechenart] == "T" || numchar[ndata::rechenart] == "M";
}
