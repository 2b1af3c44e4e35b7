#pragma once
// Test support for result files: file bytes, CR LF lines, a filled run result
// and a unit converter with a few real factors.

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/WP_variables.h"
#include "results/ergebnisdatei_lesen.h"

inline std::string datei_bytes(const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

// Lines split at CR LF; a lone LF or CR stays inside its line.
inline std::vector<std::string> crlf_zeilen(const std::string& bytes) {
    std::vector<std::string> z;
    std::size_t anfang = 0;
    for (std::size_t pos; (pos = bytes.find("\r\n", anfang)) != std::string::npos; anfang = pos + 2)
        z.push_back(bytes.substr(anfang, pos - anfang));
    if (anfang < bytes.size()) z.push_back(bytes.substr(anfang));
    return z;
}

// A run result whose values tell quantity, month and interval apart.
inline std::unique_ptr<datm> gefuellte_ergebnisse() {
    auto d = std::make_unique<datm>();
    for (int q = 0; q < ANZ_ADATA; ++q) {
        d->ausgabe_einheit[q] = "-";
        d->kennzeichen[q] = "NU";
        for (int m = 1; m <= 12; ++m) d->feld[q][m] = q * 100.0 + m + 0.25;
    }
    for (int q : {adata::jkk, adata::nh, adata::eg}) {
        d->ausgabe_einheit[q] = "kWh";
        d->kennzeichen[q] = "EN";
    }
    for (int q : {adata::ztk, adata::tf_s}) {
        d->ausgabe_einheit[q] = "°C";
        d->kennzeichen[q] = "TE";
    }
    d->ausgabe_einheit[adata::agwt] = "W/(K*m2)";
    for (int h = 0; h < ANZ_FELD3; ++h) {
        d->ausgabe_einheit_3[h] = "u" + std::to_string(h);
        for (int m = 1; m <= 12; ++m)
            for (int k = 1; k <= MAXINTERVALL; ++k) d->feld3[h][m][k] = h + m / 100.0 + k / 1e5;
    }
    return d;
}

// Unit rows: main value = beta * x + alpha (kWh/MWh for energy, °C/F for
// temperature). Records every call.
struct test_umrechner {
    struct zeile {
        double beta, alpha;
        std::string kennzeichen;
    };
    std::map<std::string, zeile> einheiten{{"kWh", {1.0, 0.0, "EN"}},
                                           {"MWh", {1000.0, 0.0, "EN"}},
                                           {"°C", {1.0, 0.0, "TE"}},
                                           {"F", {5.0 / 9.0, -160.0 / 9.0, "TE"}},
                                           {"qm", {1.0, 0.0, "AR"}},
                                           {"qcm", {1e-4, 0.0, "AR"}}};
    struct aufruf {
        std::string von, nach, kennzeichen;
        int monat;
    };
    std::shared_ptr<std::vector<aufruf>> aufrufe = std::make_shared<std::vector<aufruf>>();

    einheitenumrechner funktion() const {
        return [e = einheiten, a = aufrufe](const std::string& von, const std::string& nach,
                                            const std::string& k, int monat) {
            a->push_back({von, nach, k, monat});
            umrechnen_struct u;
            auto s = e.find(von), t = e.find(nach);
            if (s == e.end() || t == e.end() || s->second.kennzeichen != k ||
                t->second.kennzeichen != k)
                return u;
            u.faktor = s->second.beta / t->second.beta;
            u.offset = (s->second.alpha - t->second.alpha) / t->second.beta;
            u.bekannt = nach;
            return u;
        };
    }
};
