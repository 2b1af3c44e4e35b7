#pragma once
// A prepared simulation state for run and period-loop tests.

#include "support/aufzeichnende_senke.h"
#include "support/lauf_doubles.h"

class mit_laufzustand : public mit_meldungen {
protected:
    void SetUp() override {
        mit_meldungen::SetUp();
        flagchar& n = zustand::numchar();
        n.fill("");
        n[ndata::zeitraum] = "M";   // months
        n[ndata::rechenart] = "V";  // time-step method
        n[ndata::kopplungstyp] = "Z";
        n[ndata::kopplungsart] = "A";
        n[ndata::meldungsmodus] = "S";
        n[ndata::laufart] = "N";
        n[ndata::stopp] = "N";
        n[ndata::kontrolllauf] = "N";
        zustand::vdatt().fill(0.0);
        zustand::vdatt()[tdata::daf] = 2.0;  // one collector unit: 2 qm
        zustand::vdatt()[tdata::mittlerer_wind] = 1.0;
        zustand::lauf() = laufsteuerung{};
        zustand::lauf().mina = 0.0;
        zustand::lauf().maxa = 8.0;
        zustand::lauf().danzflaeche = 2;
        zustand::lauf().anztheta = 1;
        zustand::lauf().anzwp = 1;
        zustand::monatstart() = 1;
        for (int m = 1; m <= 12; ++m) setze_intervalle(m, 2);
        marken() = laufmarken{true, true, false, true};
    }
    void TearDown() override {
        for (int m = 1; m <= 12; ++m) setze_intervalle(m, 0);
        zustand::numchar().fill("");
        marken() = laufmarken{};
        mit_meldungen::TearDown();
    }
    laufumgebung umgebung() { return laufumgebung{dienste, schritte, beobachter}; }

    dienst_doppel dienste;
    schritt_doppel schritte;
    beobachter_doppel beobachter;
};
