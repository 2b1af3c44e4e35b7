#pragma once
// Window tests of the results and cost windows: result files of the
// repository's fixtures copied into a test program's result folder and
// entered in its result catalogue, and the raw values of such a file.

#include <QChart>
#include <QChartView>
#include <QLineSeries>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "results/ergebnisdatei_lesen.h"
#include "results/ergebniskatalog_tabelle.h"
#include "results/ergebnistexte.h"
#include "support/ui/fensterhilfe.h"

inline std::filesystem::path fixture(const std::string& teilpfad) {
    return std::filesystem::path(VARNEK_SOURCE_DIR) / "tests" / "fixtures" / teilpfad;
}

// Copies fixture `teilpfad` into the program's result folder and enters it
// in table `result` under its data set (line 1 of the file). Returns the copy.
inline std::filesystem::path trage_ein(const testprogramm& t, const std::string& teilpfad) {
    const std::filesystem::path quelle = fixture(teilpfad);
    const std::filesystem::path ziel = t.res() / quelle.filename();
    std::filesystem::create_directories(t.res());
    std::filesystem::copy_file(quelle, ziel, std::filesystem::copy_options::overwrite_existing);
    std::ifstream ein(quelle, std::ios::binary);
    std::string erste;
    std::getline(ein, erste);
    while (!erste.empty() && (erste.back() == '\r' || erste.back() == '\n')) erste.pop_back();
    result_zeile z;
    z.name = quelle.filename().string();
    z.haupteingabefile = erste;
    z.pfad = t.res().string();
    z.optimierung = quelle.extension() == ".dat" ? 'O' : 'S';
    ergebniskatalog_tabelle k;
    k.speichere(z, !k.finde_ergebnisdatei(z.name).has_value());
    return ziel;
}

// A result file as written, without unit conversion.
struct rohdatei {
    parreadtab tab;
    dat3d werte;
    explicit rohdatei(const std::filesystem::path& p) {
        tab.name = p.string();
        TSDaten b;
        bool ok = true;
        lese_tabelle(werte, tab, b, ok);
        if (!ok) throw std::runtime_error("unlesbar: " + p.string());
    }
    double wert(int q, int r, int s) const { return werte.wert(r, finde_spalte(tab, ergebnistexte::code(q)), s); }
    std::string einheit(int q) const {
        return tab.feldy[static_cast<std::size_t>(finde_spalte(tab, ergebnistexte::code(q)))].einheit;
    }
};

// The line series of a chart, in the order they were added.
inline QList<QLineSeries*> linien(const QChart* chart) {
    QList<QLineSeries*> l;
    for (QAbstractSeries* s : chart->series())
        if (auto* x = qobject_cast<QLineSeries*>(s)) l << x;
    return l;
}
