#include "app/spur_befehl.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "app/standard_laufdienste.h"
#include "data/einstellungen.h"
#include "engine/anlagenschritte.h"
#include "lang/sprache.h"

namespace {

std::string zahl(double x, int stellen) {
    char p[40];
    std::snprintf(p, sizeof p, "%.*f", stellen, x);
    return p;
}

std::string zahl_g(double x) {
    char p[40];
    std::snprintf(p, sizeof p, "%.6g", x);
    return p;
}

char zeichen(char16_t c) { return c < 128 ? static_cast<char>(c) : '?'; }

// The flow in litres per hour, the unit a collector loop is read in.
double liter_pro_stunde(double m3_pro_s) { return m3_pro_s * 3.6e6; }

// A run whose result files stay in the scratch folder: no catalogue row.
class spur_laufdienste : public standard_laufdienste {
public:
    using standard_laufdienste::standard_laufdienste;
    bool ergebnisse_abschliessen() override { return true; }
};

}  // namespace

bool spurdrucker::verfolgt(int m, double A) const {
    return m == o_.monat && (!o_.flaeche || std::fabs(*o_.flaeche - A) < 1e-6);
}

void spurdrucker::versuch(int, int s, int g, int v, double T, double wert, const spurwerte& w) {
    auto& liste = versuche_[s];
    for (versuchszeile& z : liste) {
        if (z.g == g && z.v == v) {  // computed again (the kept month step): the later values
            z = {g, v, T, wert, w};
            return;
        }
    }
    liste.push_back({g, v, T, wert, w});
}

void spurdrucker::gewaehlt(int, int s, int g, int v) { gewaehlt_[s] = {g, v}; }

void spurdrucker::monatsschritt(int, int g, double monatswert) { monatsschritte_.emplace_back(g, monatswert); }

namespace {

// One row of the trace: the interval's values after an attempt or as kept.
struct spurzeile {
    int g = -1, v = -1;
    double T = 0.0;
    bool mit_T = false;
    spurwerte w;
};

}  // namespace

void spurdrucker::monat_fertig(int m, double A, const ::date3& d3, const datz3& p) {
    const bool en = sprache() == SPRACHE_ENGLISCH;
    const char t = o_.csv ? ',' : '\t';
    if (o_.csv && !kopf_) {
        aus_ << "area_m2,month,interval,ho_h,ta_C,is0_W_m2,ir_kWh_m2,ge_step,variant,t_variant_C,flow_l_h,"
                "tein_C,tf_C,tf_s_C,collector_kWh,es_kWh,ls_kWh,er_kWh,pump_kWh,nh_kWh,ok_kWh,virtual_kWh,"
                "eg_kWh,demand_kWh,copww,t_buffer_C,t_buffer_top_C,t_intermediate_C,t_longterm_C,twf,hp_off,"
             << (o_.versuche ? "objective,kept\n" : "attempts\n");
        kopf_ = true;
    }
    if (!o_.csv) {
        aus_ << (en ? "Area " : "Fläche ") << zahl_g(A) << " m², " << (en ? "month " : "Monat ") << m << '\n';
        if (!monatsschritte_.empty()) {
            aus_ << (en ? "  month-mode ge steps (step: month value):" : "  Monats-ge-Schritte (Schritt: Monatswert):");
            for (const auto& [g, w] : monatsschritte_) aus_ << ' ' << g << ':' << zahl_g(w);
            aus_ << '\n';
        }
        aus_ << "s\tho\tta\tis0\tge\tv\tT_v\tl/h\ttein\ttf\ttf_s\tQ_kol\ter\telp\tnh\tok\tvirt\teg\tbedarf\tcopww\t"
                "T_puf\tT_puf_o\tT_zw\tT_lang\ttwf\twp_aus"
             << (o_.versuche ? (en ? "\tobjective" : "\tZielwert") : "") << '\n';
    }
    // Prints one row; `speicher` false when no store temperatures are known.
    auto zeile = [&](int s, const spurzeile& z, bool speicher, const std::string& ende) {
        const spurwerte& w = z.w;
        if (o_.csv) aus_ << zahl_g(A) << t << m << t;
        aus_ << s << t << zahl(p[zdata::ho][m][s], 2) << t << zahl(p[zdata::ta][m][s], 2) << t
             << zahl(p[zdata::is0][m][s], 1) << t;
        if (o_.csv) aus_ << zahl_g(p[zdata::ir][m][s]) << t;
        aus_ << (z.g >= 0 ? std::to_string(z.g) : "-") << t << (z.v >= 0 ? std::to_string(z.v) : "-") << t
             << (z.mit_T ? zahl(z.T, 2) : std::string("-")) << t << zahl(liter_pro_stunde(w.vel), 1) << t
             << zahl(w.tein, 2) << t << zahl(w.tf, 2) << t << zahl(w.tf_s, 2) << t << zahl(w.es + w.ls, 3) << t;
        if (o_.csv) aus_ << zahl_g(w.es) << t << zahl_g(w.ls) << t;
        aus_ << zahl(w.er, 3) << t << zahl(w.elp, 4) << t << zahl(w.nh, 3) << t << zahl(w.ok, 3) << t
             << zahl(w.virtuell, 3) << t << zahl(w.eg, 3) << t << zahl(w.bedarf, 3) << t << zahl(w.copww, 2) << t;
        if (speicher) {
            aus_ << zahl(w.t_puffer, 2) << t << zahl(w.t_puffer_oben, 2) << t << zahl(w.t_zwischen, 2) << t
                 << zahl(w.t_lang, 2) << t;
        } else {
            aus_ << '-' << t << '-' << t << '-' << t << '-' << t;
        }
        aus_ << zeichen(w.twf) << t << zeichen(w.wpaus) << ende << '\n';
    };
    double summe[8] = {};
    const int n = intervalle(m);
    for (int s = 1; s <= n; ++s) {
        const auto versuche = versuche_.find(s);
        const auto wahl = gewaehlt_.find(s);
        const versuchszeile* behalten = nullptr;
        if (versuche != versuche_.end() && wahl != gewaehlt_.end()) {
            for (const versuchszeile& z : versuche->second) {
                if (z.g == wahl->second.first && z.v == wahl->second.second) behalten = &z;
            }
        }
        // The interval as committed: its results from the month's interval
        // results, the store temperatures from the attempt kept.
        spurzeile k;
        k.w = spurwerte_des_intervalls(d3, p, zustand::anlage(0), m, s);
        if (wahl != gewaehlt_.end()) {
            k.g = wahl->second.first;
            k.v = wahl->second.second;
        }
        if (behalten) {
            k.T = behalten->T;
            k.mit_T = true;
            k.w.t_puffer = behalten->w.t_puffer;
            k.w.t_puffer_oben = behalten->w.t_puffer_oben;
            k.w.t_zwischen = behalten->w.t_zwischen;
            k.w.t_lang = behalten->w.t_lang;
        }
        const double werte[8] = {k.w.es + k.w.ls, k.w.er, k.w.elp, k.w.nh, k.w.ok, k.w.virtuell, k.w.eg,
                                 k.w.bedarf};
        for (int i = 0; i < 8; ++i) summe[i] += werte[i];
        if (o_.versuche && versuche != versuche_.end()) {
            // Every attempt with its own values; the committed row last.
            for (const versuchszeile& z : versuche->second) {
                const spurzeile a{z.g, z.v, z.T, true, z.w};
                const bool gehalten = &z == behalten;
                if (o_.csv) {
                    zeile(s, a, true, std::string(1, t) + zahl_g(z.wert) + t + (gehalten ? "1" : "0"));
                } else {
                    aus_ << (gehalten ? "*" : " ");
                    zeile(s, a, true, std::string(1, t) + zahl_g(z.wert));
                }
            }
            continue;
        }
        // Every attempt: `ge` step / variant : objective value.
        std::string liste;
        if (versuche != versuche_.end()) {
            for (const versuchszeile& z : versuche->second) {
                if (!liste.empty()) liste += ' ';
                liste += std::to_string(z.g) + '/' + (z.v >= 0 ? std::to_string(z.v) : "-") + ':' + zahl_g(z.wert);
            }
        }
        if (o_.csv) {
            zeile(s, k, behalten != nullptr, std::string(1, t) + liste);
        } else {
            zeile(s, k, behalten != nullptr, "");
            if (!liste.empty()) aus_ << (en ? "  attempts " : "  Versuche ") << liste << '\n';
        }
    }
    if (!o_.csv) {
        aus_ << (en ? "Month sums [kWh]: collector " : "Monatssummen [kWh]: Kollektor ") << zahl(summe[0], 2)
             << ", er " << zahl(summe[1], 2) << (en ? ", pump " : ", Pumpe ") << zahl(summe[2], 2) << ", nh "
             << zahl(summe[3], 2) << ", ok " << zahl(summe[4], 2) << (en ? ", virtual " : ", virtuell ")
             << zahl(summe[5], 2) << ", eg " << zahl(summe[6], 2) << (en ? ", demand " : ", Bedarf ")
             << zahl(summe[7], 2) << "\n\n";
    }
    versuche_.clear();
    gewaehlt_.clear();
    monatsschritte_.clear();
    ++gedruckt_;
}

void spur_rechnen(const std::string& name, const spuroptionen& o, std::ostream& aus, lauf_beobachter& beobachter) {
    namespace fs = std::filesystem;
    const fs::path ordner =
        fs::temp_directory_path() /
        ("varnek-trace-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::create_directories(ordner);
    struct aufraeumen {
        fs::path ordner, vorher;
        ~aufraeumen() {
            einstellungen().ergebnisverzeichnis = vorher;
            std::error_code ec;
            fs::remove_all(ordner, ec);
        }
    } raeumen{ordner, einstellungen().ergebnisverzeichnis};
    einstellungen().ergebnisverzeichnis = ordner;

    const auto ausgabe = ausgabefile_anlegen(o.optimierung ? 'O' : 'S', ordner);
    if (!ausgabe) throw std::runtime_error(text_paar{"Spur: keine Ergebnisdatei", "trace: no result file"}.text());
    spur_laufdienste dienste(*ausgabe, ordner);
    anlagenschritte schritte;
    spurdrucker drucker(o, aus);
    schritte.setze_spur(&drucker);
    laufumgebung u{dienste, schritte, beobachter};
    marken().simulation_durchgefuehrt = false;
    if (o.optimierung) {
        optimierung_starten(name, u);
    } else {
        starte_einzelsimulation(name, u);
    }
    if (!marken().simulation_durchgefuehrt) {
        throw std::runtime_error(text_paar{"Spur: Lauf nicht abgeschlossen: ", "trace: run not completed: "}.text() +
                                 name);
    }
    if (drucker.gedruckt() == 0) {
        throw std::runtime_error(
            text_paar{"Spur: der Lauf hat Monat und Fläche nicht gerechnet (Fläche in m² wie in der Ergebnisdatei)",
                      "trace: the run did not compute that month and area (area in m² as in the result file)"}
                .text());
    }
}
