#pragma once
// Whole-year weather files for the import tests: the measured hourly year
// 2019 of the DWD station Potsdam 3987 (data/reference) written as an
// EnergyPlus weather file and as a DWD test reference year, in the layouts
// of the excerpts in tests/fixtures/wetter (see erzeuge_auszuege.py there:
// the same header lines and fields; the EPW file keeps the irradiation with
// the two decimals of the reference, so that its monthly sums are those of
// the reference summary). A file of a whole year is too large to keep beside
// the excerpts; the tests write it when they need it.

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace wetterjahr_dateien {

// One row of the reference year, labelled in CET: the row labelled hh:00 UTC
// is hour hh + 1 of the same day.
struct stunde {
    int monat, tag, stunde;
    double ghi, dhi, t, rf, wind, richtung, druck;
    int bedeckung;
};

inline std::vector<stunde> referenzjahr() {
    const std::string pfad = std::string(VARNEK_SOURCE_DIR) + "/data/reference/weather_potsdam_2019_dwd_hourly.csv";
    std::ifstream ein(pfad);
    if (!ein) throw std::runtime_error("fehlt: " + pfad);
    std::vector<stunde> r;
    std::string z;
    std::getline(ein, z);
    while (std::getline(ein, z)) {
        std::vector<std::string> f;
        std::stringstream s(z);
        for (std::string x; std::getline(s, x, ',');) f.push_back(x);
        stunde h{};
        h.monat = std::stoi(f[1].substr(5, 2));
        h.tag = std::stoi(f[1].substr(8, 2));
        h.stunde = std::stoi(f[1].substr(11, 2)) + 1;
        h.ghi = std::stod(f[2]);
        h.dhi = std::stod(f[3]);
        h.t = std::stod(f[4]);
        h.rf = std::stod(f[5]);
        h.wind = std::stod(f[6]);
        h.richtung = std::stod(f[7]);
        h.druck = std::stod(f[8]);
        h.bedeckung = std::stoi(f[9]);
        r.push_back(h);
    }
    return r;
}

inline long runde(double x) { return static_cast<long>(std::floor(x + 0.5)); }

// The header of an excerpt: its lines up to and including `bis` (a line
// beginning with it).
inline std::string kopf_des_auszugs(const char* datei, const std::string& bis) {
    std::ifstream ein(std::string(VARNEK_SOURCE_DIR) + "/tests/fixtures/wetter/" + datei, std::ios::binary);
    std::string k, z;
    while (std::getline(ein, z)) {
        k += z + "\n";
        if (z.rfind(bis, 0) == 0) return k;
    }
    throw std::runtime_error(std::string("Kopf fehlt: ") + datei);
}

// The year as an EPW file; with `zeilen` only the first lines of the file
// (header included), as a file cut off while it was copied.
inline void schreibe_epw(const std::filesystem::path& ziel,
                         std::size_t zeilen = std::numeric_limits<std::size_t>::max()) {
    std::string text = kopf_des_auszugs("potsdam_2019_auszug.epw", "DATA PERIODS");
    std::size_t n = 8;
    for (const stunde& h : referenzjahr()) {
        if (n++ >= zeilen) break;
        char z[512];
        const long zehntel = h.bedeckung < 0 ? 99 : runde(h.bedeckung * 10.0 / 8.0);
        std::snprintf(z, sizeof z,
                      "2019,%d,%d,%d,60,?9?9?9?9E0?9?9?9?9?9?9?9?9?9?9?9?9?9?9?9*9*9?9?9?9,%.1f,99.9,%g,%ld,9999,9999,"
                      "9999,%.2f,9999,%.2f,999999,999999,999999,9999,%g,%.1f,%ld,99,9999,99999,9,999999999,999,0.999,"
                      "999,99,999,999,99\r\n",
                      h.monat, h.tag, h.stunde, h.t, h.rf, runde(h.druck * 100.0), h.ghi, h.dhi,
                      h.richtung, h.wind, zehntel);
        text += z;
    }
    std::ofstream(ziel, std::ios::binary) << text;
}

// The year as a DWD test reference year; `zeilen` as for `schreibe_epw`.
inline void schreibe_try(const std::filesystem::path& ziel,
                         std::size_t zeilen = std::numeric_limits<std::size_t>::max()) {
    std::string text = kopf_des_auszugs("potsdam_2019_auszug.dat", "***");
    std::size_t n = 0;
    for (char c : text) n += c == '\n';
    for (const stunde& h : referenzjahr()) {
        if (n++ >= zeilen) break;
        char z[256];
        std::snprintf(z, sizeof z, "4201223 2845008 %2d %2d %2d %5.1f %4ld %3d %4.1f %1d %3d %4ld %4ld\r\n", h.monat,
                      h.tag, h.stunde, h.t, runde(h.druck), static_cast<int>(h.richtung), h.wind,
                      h.bedeckung < 0 ? 9 : h.bedeckung, static_cast<int>(h.rf), runde(h.ghi - h.dhi), runde(h.dhi));
        text += z;
    }
    std::ofstream(ziel, std::ios::binary) << text;
}

}  // namespace wetterjahr_dateien
