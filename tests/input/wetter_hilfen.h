#pragma once
// Test and benchmark support for the irradiation layout: a unit lookup over
// a few known units, and the measured hourly year 2019 of Potsdam as a
// weather record with hourly detail rows.

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>

#include "input/einstrahlung.h"

// Unit lookup over a fixed list: "kWh/qm", "Wh/qm", "MJ/qm" and the per-day
// "kWh/(qm*d)" for irradiation; "°C" and "K" for temperature.
class feste_umrechnung : public einheiten_umrechnung {
public:
    umrechnen_struct einstrahlung(const std::string& einheit, int monat, int tage) const override {
        ++einstrahlungsabfragen;
        if (einheit == "kWh/qm") return {1.0, 0.0, "kWh/qm"};
        if (einheit == "Wh/qm") return {0.001, 0.0, "kWh/qm"};
        if (einheit == "MJ/qm") return {1.0 / 3.6, 0.0, "kWh/qm"};
        if (einheit == "kWh/(qm*d)") return {monat > 0 ? static_cast<double>(tage) : 1.0, 0.0, "kWh/qm"};
        throw std::invalid_argument("unbekannte Einheit " + einheit);
    }
    umrechnen_struct temperatur(const std::string& einheit, int) const override {
        if (einheit == "°C") return {1.0, 0.0, "°C"};
        if (einheit == "K") return {1.0, -273.1, "°C"};
        throw std::invalid_argument("unbekannte Einheit " + einheit);
    }
    mutable int einstrahlungsabfragen = 0;
};

// Site of the Potsdam station (DWD 3987).
constexpr double POTSDAM_BREITE = 52.38;
constexpr double POTSDAM_LAENGE = 13.06;

// The hourly year 2019 of Potsdam as a weather record measured on the
// horizontal: one detail row per hour (irradiation in Wh/qm, the hour's
// temperature in `tamin` and `tamax`, h = 1). The irradiation of a row is
// the mean over the hour of true solar time centred about 0.4 h before its
// UTC label, which lies 0.47 h after the label in solar time (13.06 deg E is
// 0.87 h ahead of UTC); `hm` is that centre, so that hm * 15 - 180 is the
// hour angle of the row's centre. The monthly columns hold the monthly sums
// and the means of the daily minimum and maximum temperature.
inline wetterdatensatz potsdam_2019() {
    const std::string pfad = std::string(VARNEK_SOURCE_DIR) + "/data/reference/weather_potsdam_2019_dwd_hourly.csv";
    std::ifstream ein(pfad);
    if (!ein) throw std::runtime_error("fehlt: " + pfad);
    wetterdatensatz w;
    w.name = "Potsdam 2019";
    w.breite = POTSDAM_BREITE;
    w.theta = 0.0;
    w.einheit_ir = "Wh/qm";
    w.einheit_temp = "°C";
    std::string zeile;
    std::getline(ein, zeile);
    monatsfeld min_summe{}, max_summe{}, tage{};
    double tmin = 1e9, tmax = -1e9;
    while (std::getline(ein, zeile)) {
        std::stringstream s(zeile);
        std::string feld[5];
        for (auto& f : feld) std::getline(s, f, ',');
        // time_label_utc: 2019-MM-DDTHH:00Z
        const int monat = std::stoi(feld[1].substr(5, 2));
        const int stunde = std::stoi(feld[1].substr(11, 2));
        ir_ta_d_zeile z;
        z.nummer = static_cast<int>(w.details[monat].size()) + 1;
        z.ir_g = std::stod(feld[2]);
        z.ir_d = std::stod(feld[3]);
        z.tamin = z.tamax = std::stod(feld[4]);
        z.h = 1.0;
        z.hm = stunde + 0.47;
        w.details[monat].push_back(z);
        w.ir[monat] += z.ir_g;
        w.diff[monat] += z.ir_d;
        tmin = std::min(tmin, z.tamin);
        tmax = std::max(tmax, z.tamin);
        if (stunde == 23) {
            min_summe[monat] += tmin;
            max_summe[monat] += tmax;
            tage[monat] += 1;
            tmin = 1e9;
            tmax = -1e9;
        }
    }
    for (int m = 1; m <= MAXMONAT; ++m) {
        w.m[m] = static_cast<int32_t>(w.details[m].size());
        w.ta_min[m] = min_summe[m] / tage[m];
        w.ta_max[m] = max_summe[m] / tage[m];
    }
    return w;
}

// The monthly summary of the same year as a record without detail rows:
// global and diffuse sums in kWh/qm, the means of the daily minimum and
// maximum temperature.
inline wetterdatensatz potsdam_2019_monatlich() {
    const std::string pfad =
        std::string(VARNEK_SOURCE_DIR) + "/data/reference/weather_potsdam_2019_dwd_monthly_summary.csv";
    std::ifstream ein(pfad);
    if (!ein) throw std::runtime_error("fehlt: " + pfad);
    wetterdatensatz w;
    w.name = "Potsdam 2019 monatlich";
    w.breite = POTSDAM_BREITE;
    w.einheit_ir = "kWh/qm";
    w.einheit_temp = "°C";
    std::string zeile;
    std::getline(ein, zeile);
    while (std::getline(ein, zeile)) {
        std::stringstream s(zeile);
        std::string feld[6];
        for (auto& f : feld) std::getline(s, f, ',');
        const int m = std::stoi(feld[0]);
        w.ir[m] = std::stod(feld[1]);
        w.diff[m] = std::stod(feld[2]);
        w.ta_min[m] = std::stod(feld[4]);
        w.ta_max[m] = std::stod(feld[5]);
    }
    return w;
}
