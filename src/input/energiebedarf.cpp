#include "input/energiebedarf.h"

#include <vector>

#include "data/datenbank.h"
#include "data/einheiten.h"
#include "data/konstanten.h"
#include "engine/heizbilanz.h"
#include "lang/meldung.h"

using namespace tabledata;

namespace {

constexpr double WASSERDICHTE = 1000.0;       // kg/m3
constexpr double WASSER_CP = 4178.0;          // J/(kg K)

// Column of month m's value and of its detail count in the monthly table.
int monatsspalte(tabelle& t, int m) {
    const int januar = t.spalten_index("januar");
    if (januar < 0) {
        meldung("Fehler: Fehlende Feldkomponente: " + t.sql_name() + ", januar",
                zustand::numchar()[ndata::meldungsmodus], 'T');
    }
    // eh_m / ew_m hold the count m<k> after each month value, ee does not.
    const bool mit_anzahl = t.spalten_index("m1") == januar + 1;
    return januar + (mit_anzahl ? 2 * (m - 1) : m - 1);
}

double monatswert(tabelle& t, int m) { return als_zahl(t.wert(monatsspalte(t, m))); }

int detailanzahl(tabelle& t, int m) { return static_cast<int>(als_zahl(t.wert(monatsspalte(t, m) + 1))); }

bool ist_relativ(tabelle& t) { return t.text("rel") != "A"; }

// A value of the monthly table's unit in kWh (per-day units scale with the
// days of month m in the weather record's year).
double in_kwh(int tabelle_index, tabelle& t, double wert, int m, const datz& vdatz) {
    const std::string einheit = t.text("einheit");
    if (tabelle_index == teh_m) return umrechnen(wert, einheit, "kWh", "EN", m, tage_im_monat(m, zustand::numchar()));
    return ew_umgerechnet(wert, einheit, kennzeichen_von_einheit(einheit), vdatz[zdata::rw][m],
                          vdatz[zdata::tw][m], m);
}

}  // namespace

double ew_umgerechnet(double wert, const std::string& einheit, const std::string& kennzeichen,
                      double rw, double tw, int m) {
    const int tage = m >= 1 && m <= MAXMONAT ? tage_im_monat(m, zustand::numchar()) : 0;
    if (kennzeichen == "EN") return umrechnen(wert, einheit, "kWh", "EN", m, tage);
    const double v = umrechnen(wert, einheit, "m3", "VO", m, tage);
    if (kennzeichen == "VO") return WASSERDICHTE * WASSER_CP * (tw - rw) * v / konst::KWH_IN_WS;
    return v;
}

double lese_energie(int tabelle_index, int m, const datz& vdatz) {
    tabelle& t = tab(tabelle_index);
    double v = monatswert(t, m);
    if (ist_relativ(t)) v *= t.zahl("gesamt");
    return in_kwh(tabelle_index, t, v, m, vdatz);
}

void lese_details_energieverbrauch_aus_datenbank(datz3& p, int serie, int monatstabelle,
                                                 int detailtabelle, const flagchar& numchar,
                                                 const datz& vdatz) {
    tabelle& mt = tab(monatstabelle);
    const std::string modus = mt.text("zeitintervall");
    const std::string detailname = mt.text("name_d");
    const bool monat_relativ = ist_relativ(mt);
    const double g = mt.zahl("gesamt");
    const std::string energiespalte = monatstabelle == teh_m ? "eh" : "ew";

    // The detail rows of the record, [month][number] -> (value, rel), read
    // once: explicit rows are looked up by key for every interval.
    struct zeile {
        bool da = false;
        double d = 0.0;
        bool absolut = false;
    };
    std::vector<std::vector<zeile>> details(MAXMONAT + 1);
    if (modus == "A" || modus == "P") {
        tabelle& dt = tab(detailtabelle);
        const int s_name = dt.spalten_index("name"), s_monat = dt.spalten_index("monat"),
                  s_nummer = dt.spalten_index("nummer"), s_wert = dt.spalten_index(energiespalte),
                  s_rel = dt.spalten_index("rel");
        // One pass over the table (a single query; the cursor is not moved).
        for (const auto& r : dt.lies_alle(dt.schluesselspalten())) {
            if (als_text(r[static_cast<size_t>(s_name)]) != detailname) continue;
            const int mo = static_cast<int>(als_zahl(r[static_cast<size_t>(s_monat)]));
            const int nr = static_cast<int>(als_zahl(r[static_cast<size_t>(s_nummer)]));
            if (mo < 1 || mo > MAXMONAT || nr < 1 || nr > MAXINTERVALL) continue;
            auto& v = details[static_cast<size_t>(mo)];
            if (v.size() <= static_cast<size_t>(nr)) v.resize(static_cast<size_t>(nr) + 1);
            v[static_cast<size_t>(nr)] = {true, als_zahl(r[static_cast<size_t>(s_wert)]),
                                          als_text(r[static_cast<size_t>(s_rel)]) == "A"};
        }
    }
    auto detailwert = [&](int m, int i) {
        const auto& v = details[static_cast<size_t>(m)];
        if (static_cast<size_t>(i) >= v.size() || !v[static_cast<size_t>(i)].da) {
            meldung("Fehler: Kein Energiewert gefunden", "M", 'T');
        }
        const zeile& z = v[static_cast<size_t>(i)];
        double wert = z.d;
        if (!z.absolut) {
            const double monat_v = monatswert(mt, m);
            wert = monat_relativ ? z.d * monat_v * g / 1000.0 : z.d * monat_v / 1000.0;
        }
        return in_kwh(monatstabelle, mt, wert, m, vdatz);
    };

    for (int m = 1; m <= MAXMONAT; ++m) {
        const int c = detailanzahl(mt, m);
        if (c > MAXINTERVALL) {
            meldung("Fehler: Zulässige Anzahl von Werten pro Monat (MAXIR_TA) überschritten", "M", 'T');
        }
        intervallzeile& reihe = p[static_cast<size_t>(serie)][m];
        double S = 0.0;
        for (int i = 1; i <= c; ++i) {
            double wert;
            if (modus == "P") {
                if (m == 1 && i <= 24) {
                    wert = detailwert(1, i);
                } else {
                    const int h = i % 24 == 0 ? 24 : i % 24;
                    wert = p[static_cast<size_t>(serie)][1][h];
                }
            } else if (modus == "A") {
                wert = detailwert(m, i);
            } else {
                wert = monatsenergie_auf_intervall(vdatz[static_cast<size_t>(serie)][m], m, i, numchar, vdatz, p);
            }
            reihe[i] = wert;
            S += wert;
        }
        if (modus == "P" && c > 0) {
            // The daily pattern carries the shape; the month's energy (in kWh,
            // as the interval values) sets the level. A pattern that adds up
            // to 0 cannot be scaled and stays 0.
            const double V = vdatz[static_cast<size_t>(serie)][m];
            const double f = S != 0.0 ? V / S : 0.0;
            for (int i = 1; i <= c; ++i) reihe[i] *= f;
        }
        for (int i = 1; i <= c; ++i) p[zdata::eg_d][m][i] += reihe[i];
    }
}

double lese_und_rechne_quotient(const std::string& nenner_einheit, const std::string& zaehler_einheit,
                                const std::string& zaehler_code, const std::string& nenner_code,
                                const std::string& zaehler_ziel, const std::string& nenner_ziel,
                                double preis) {
    const double zaehler = umrechnen(preis, zaehler_einheit, zaehler_ziel, zaehler_code, 1);
    const double nenner = umrechnen(1.0, nenner_einheit, nenner_ziel, nenner_code, 1);
    if (nenner == 0.0) {
        meldung("Fehler: Energieeinheit mit Faktor 0: " + nenner_einheit,
                zustand::numchar()[ndata::meldungsmodus], 'E');
        return 0.0;
    }
    return zaehler / nenner;
}

void berechne_energiepreise(datt& vdatt, bool in_ausgabeeinheiten) {
    tabelle& preis = tab(tpreis);
    tabelle& tarife = tab(ttarif);
    const Einheit_struct& p = haupteinheiten()[groesse::preis];
    const Einheit_struct& e = haupteinheiten()[groesse::energie];
    const std::string preis_aus = in_ausgabeeinheiten ? p.ausgabe : p.haupteinheit;
    const std::string energie_aus = in_ausgabeeinheiten ? e.ausgabe : e.haupteinheit;
    const std::pair<const char*, int> ziele[] = {{"nachheizung", tdata::preis_nachheizung},
                                                 {"ohne_kopplung", tdata::preis_ohne_kopplung},
                                                 {"pumpen", tdata::preis_pumpenstrom}};
    for (const auto& [spalte, index] : ziele) {
        // A tariff that is missing leaves the table where it stands.
        tarife.suche({feldwert(preis.text(spalte))});
        vdatt[static_cast<size_t>(index)] =
            lese_und_rechne_quotient(tarife.text("einenergie"), tarife.text("einpreis"), "PR", "EN",
                                     preis_aus, energie_aus, tarife.zahl("preis_energie"));
    }
}

double monatsenergie_in_haupteinheiten(const datz& vdatz, int m) {
    return lese_energie(teh_m, m, vdatz) + lese_energie(tew_m, m, vdatz);
}
