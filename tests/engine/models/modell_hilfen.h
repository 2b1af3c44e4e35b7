#pragma once
// Shared test helpers of the model tests: a message sink that records every
// dialog and question, and heap-held simulation records.

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "engine/WP_variables.h"
#include "lang/meldung.h"

struct modell_senke : meldungs_senke {
    std::vector<std::string> texte;  // dialogs and questions, in order
    bool abbrechen = false;
    void zeige(const std::string& text, char) override { texte.push_back(text); }
    bool frage(const std::string& text) override {
        texte.push_back(text);
        return abbrechen;
    }
    bool enthaelt(const std::string& teil) const {
        return std::any_of(texte.begin(), texte.end(),
                           [&](const std::string& t) { return t.find(teil) != std::string::npos; });
    }
};

// Installs a recording sink for the lifetime of the object.
struct senke_installiert {
    modell_senke senke;
    senke_installiert() { setze_meldungs_senke(&senke); }
    ~senke_installiert() { setze_meldungs_senke(nullptr); }
};

// The long-term store's month plan is process-wide state (a loaded data set
// leaves its own): no month charges or discharges the store.
inline void ohne_langzeitspeicherplan() {
    for (int m = 1; m <= MAXMONAT; ++m) zustand::lade_flag()[m] = zustand::entnehme_flag()[m] = "N";
}

// The run records a model works on, allocated on the heap (several MB).
struct modell_zustand {
    std::unique_ptr<datt> vdatt = std::make_unique<datt>();
    std::unique_ptr<datz> vdatz = std::make_unique<datz>();
    std::unique_ptr<datz3> pvdatz3 = std::make_unique<datz3>();
    std::unique_ptr<::date> d = std::make_unique<::date>();
    std::unique_ptr<::date3> d3 = std::make_unique<::date3>();
    std::unique_ptr<::datm> dm = std::make_unique<::datm>();
    flagchar numchar{};
    modell_zustand() {
        numchar[ndata::meldungsmodus] = "M";  // messages as dialogs, i.e. into the recording sink
        numchar[ndata::kontrolllauf] = "N";
        ohne_langzeitspeicherplan();
    }
};
