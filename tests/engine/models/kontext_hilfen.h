#pragma once
// Test helpers of the collector, air-path, exchanger and month-solution
// models: the run records on the heap with a context over them, and a small
// two-row air table with linear properties.

#include <memory>

#include "engine/models/laufkontext.h"
#include "engine/models/modell_hilfen.h"
#include "engine/models/numerik.h"

struct kontext_zustand : modell_zustand {
    std::unique_ptr<anlage> pl = std::make_unique<anlage>();
    laufsteuerung lauf{};
    std::unique_ptr<stoffdaten> stoffe = std::make_unique<stoffdaten>();
    laufkontext k{numchar, *vdatt, *vdatz, *pvdatz3, *d, *d3, *pl, lauf, *stoffe, {}};

    datt& v() { return *vdatt; }
    datz& z() { return *vdatz; }
    datz3& z3() { return *pvdatz3; }
    ::date3& d3r() { return *d3; }
};

// Two rows (t = -20 and t = 40 °C) so that every property is linear in t:
// density, heat capacity, conductivity, kinematic viscosity, saturation pressure.
inline void setze_lineare_tabelle(stoffdaten_luft& t, const luftdaten& unten,
                                  const luftdaten& oben) {
    t.vstoffdatenluft.fill(0.0);
    for (int spalte = 0; spalte < 6; ++spalte) {
        t.vstoffdatenluft[static_cast<size_t>(spalte * LUFT_ZEILEN)] = unten[static_cast<size_t>(spalte)];
        t.vstoffdatenluft[static_cast<size_t>(spalte * LUFT_ZEILEN + 1)] = oben[static_cast<size_t>(spalte)];
    }
    t.tmin = unten[0];
    t.tmax = oben[0];
}

// Air between -20 and 40 °C with rounded textbook values.
inline void setze_lufttabelle(stoffdaten_luft& t) {
    setze_lineare_tabelle(t, {-20.0, 1.39, 1006.0, 0.0228, 1.16e-5, 103.0},
                          {40.0, 1.13, 1007.0, 0.0272, 1.70e-5, 7384.0});
}
