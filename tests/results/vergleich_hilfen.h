#pragma once
// Test support for the results window's store: the result files in
// tests/fixtures/results (written by varnek-cli from the default database),
// output units as written in a file, and the raw values of a file.

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "results/ergebnis_hilfen.h"
#include "results/ergebnisdatei_lesen.h"
#include "results/ergebnistexte.h"
#include "results/ergebnisvergleich.h"

inline std::filesystem::path ergebnis_fixture(const std::string& name) {
    return std::filesystem::path(VARNEK_TEST_FIXTURES) / "results" / name;
}

// The three fixture files: the same 5 areas 2, 6, 10, 14, 18 qm.
inline const std::string POTSDAM = "potsdam_2019.dat";
inline const std::string EJEG = "test_ausgabe_EJEG_IAAN-N_st0.dat";
inline const std::string ZJEG = "test_ausgabe_ZJEG_IAAN-D_st2.dat";

// A file read as it is, without unit conversion.
struct rohe_datei {
    parreadtab tab;
    dat3d werte;
    explicit rohe_datei(const std::filesystem::path& p) {
        tab.name = p.string();
        TSDaten b;
        bool ok = true;
        lese_tabelle(werte, tab, b, ok);
        if (!ok) throw std::runtime_error("unlesbar: " + p.string());
    }
    double wert(int q, int r, int s) const {
        const int c = finde_spalte(tab, ergebnistexte::code(q));
        if (c == 0) throw std::runtime_error("Code fehlt: " + ergebnistexte::code(q));
        return werte.wert(r, c, s);
    }
    std::string einheit(int q) const { return tab.feldy[static_cast<std::size_t>(finde_spalte(tab, ergebnistexte::code(q)))].einheit; }
};

// Output units as written in `p`, with the quantity codes test_umrechner knows.
inline std::unique_ptr<datm> ausgabe_wie_datei(const std::filesystem::path& p) {
    auto d = std::make_unique<datm>();
    const rohe_datei roh(p);
    const test_umrechner u;
    for (int q = 0; q < ANZ_ADATA; ++q) {
        d->ausgabe_einheit[q] = roh.einheit(q);
        const auto it = u.einheiten.find(d->ausgabe_einheit[q]);
        d->kennzeichen[q] = it == u.einheiten.end() ? "NU" : it->second.kennzeichen;
    }
    return d;
}
