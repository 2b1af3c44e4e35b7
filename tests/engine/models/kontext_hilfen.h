#pragma once
// Test helpers of the collector, air-path, exchanger and month-solution
// models: the run records on the heap with a context over them, and a small
// two-row air table with linear properties.

#include <memory>
#include <string>

#include "engine/models/laufkontext.h"
#include "engine/models/modell_hilfen.h"
#include "engine/models/numerik.h"

// Sets one plant code. Kept out of line: literal assignments into the code
// array, inlined at -O3, trip a false -Wrestrict warning of GCC 12.
[[gnu::noinline]] inline void setze_code(flagchar& nc, int pos, const std::string& wert) {
    nc[static_cast<size_t>(pos)] = wert;
}

// The run records on the heap (several MB) and a context over them. Messages
// go to dialogs (numchar[ndata::meldungsmodus] = "M"), i.e. into an installed recording sink.
struct kontext_zustand {
    std::unique_ptr<datt> vdatt = std::make_unique<datt>();
    std::unique_ptr<datz> vdatz = std::make_unique<datz>();
    std::unique_ptr<datz3> pvdatz3 = std::make_unique<datz3>();
    std::unique_ptr<::date> d = std::make_unique<::date>();
    std::unique_ptr<::date3> d3 = std::make_unique<::date3>();
    flagchar numchar{};
    std::unique_ptr<anlage> pl = std::make_unique<anlage>();
    laufsteuerung lauf{};
    std::unique_ptr<stoffdaten> stoffe = std::make_unique<stoffdaten>();
    laufkontext k{numchar, *vdatt, *vdatz, *pvdatz3, *d, *d3, *pl, lauf, *stoffe, {}};

    kontext_zustand() {
        setze_code(numchar, ndata::meldungsmodus, "M");
        setze_code(numchar, ndata::kontrolllauf, "N");
        ohne_langzeitspeicherplan();
    }

    datt& v() { return *vdatt; }
    datz& z() { return *vdatz; }
    datz3& z3() { return *pvdatz3; }
    ::date3& d3r() { return *d3; }
};

// An intermediate-reservoir plant for month m with linear COP models for both
// pumps (ww: COP = -0.1 (th - tt) + 8, we: -0.1 (th - tt) + 7), one
// collector unit of 2 qm with loss term -0.4 and conversion factor 0.8, a
// water-like collector fluid, flow 50 °C and return 30 °C. `kollektoren` is
// the code anzahl_kollektoren: "E" one collector, "Z" two in series.
inline void zwischenreservoir_anlage(kontext_zustand& z, int m, const std::string& kollektoren) {
    auto& nc = z.numchar;
    setze_code(nc, ndata::kopplungstyp, "Z");
    setze_code(nc, ndata::luftwaermetauscher, "N");
    setze_code(nc, ndata::ohne_kopplung, "L");
    setze_code(nc, ndata::anzahl_kollektoren, kollektoren);
    setze_code(nc, ndata::modelltyp_we, "L");
    setze_code(nc, ndata::modelltyp_ww, "L");
    setze_code(nc, ndata::kopplungsart, "A");
    setze_code(nc, ndata::gegenstrom, "K");
    setze_code(nc, ndata::rechenart, "A");
    setze_code(nc, ndata::zeitraum, "M");
    setze_code(nc, ndata::kollektorschritt_fertig, "J");
    datt& v = z.v();
    v[tdata::kollektorfluid_cpf] = 3800.0;     // heat capacity of the collector fluid
    v[tdata::kollektorfluid_dichte] = 1030.0;  // its density
    v[tdata::ww_c1] = -0.1;
    v[tdata::ww_c2] = 8.0;
    v[tdata::we_c1] = -0.1;
    v[tdata::we_c2] = 7.0;
    v[tdata::kol_oben_verlust] = -0.4;
    v[tdata::kol_oben_konversion] = 0.8;
    v[tdata::flaeche_kol_oben] = 2.0;
    v[tdata::daf] = 2.0;
    z.z()[zdata::twv][m] = 50.0;
    z.z()[zdata::rwv][m] = 30.0;
}

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
