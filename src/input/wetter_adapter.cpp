#include "input/wetter_adapter.h"

#include <algorithm>

#include "data/datenbank.h"
#include "data/einheiten.h"
#include "lang/meldung.h"

using namespace tabledata;

void lese_wetterdatensatz(wetterdatensatz& w) {
    tabelle& m = tab(tir_ta_m);
    wetterdatensatz neu;
    neu.name = m.text("name");
    neu.breite = m.zahl("breite");
    neu.theta = m.zahl("theta");
    neu.einheit_ir = m.text("einheit_ir");
    neu.einheit_temp = m.text("einheit_temp");
    for (int k = 1; k <= MAXMONAT; ++k) {
        const std::string s = std::to_string(k);
        neu.ir[k] = m.zahl("ir" + s);
        neu.diff[k] = m.zahl("diff" + s);
        neu.ta_min[k] = m.zahl("ta" + s + "min");
        neu.ta_max[k] = m.zahl("ta" + s + "max");
        neu.m[k] = static_cast<int32_t>(m.ganzzahl("m" + s));
    }

    // Detail rows of the record: one pass over the table (a single query;
    // the cursor is not moved).
    tabelle& d = tab(tir_ta_d);
    const int s_name = d.spalten_index("name"), s_monat = d.spalten_index("monat"),
              s_nummer = d.spalten_index("nummer"), s_irg = d.spalten_index("ir_g"),
              s_ird = d.spalten_index("ir_d"), s_tmin = d.spalten_index("tamin"),
              s_tmax = d.spalten_index("tamax"), s_h = d.spalten_index("h"), s_hm = d.spalten_index("hm");
    for (const auto& r : d.lies_alle(d.schluesselspalten())) {
        if (als_text(r[static_cast<size_t>(s_name)]) != neu.name) continue;
        const int monat = static_cast<int>(als_zahl(r[static_cast<size_t>(s_monat)]));
        if (monat < 1 || monat > MAXMONAT) continue;
        auto feld = [&r](int i) { return als_zahl(r[static_cast<size_t>(i)]); };
        ir_ta_d_zeile z;
        z.nummer = static_cast<int>(feld(s_nummer));
        z.ir_g = feld(s_irg);
        z.ir_d = feld(s_ird);
        z.tamin = feld(s_tmin);
        z.tamax = feld(s_tmax);
        z.h = feld(s_h);
        z.hm = feld(s_hm);
        auto& zeilen = neu.details[static_cast<size_t>(monat)];
        if (zeilen.size() >= static_cast<size_t>(MAXINTERVALL)) {
            meldung("Fehler: Zulässige Anzahl von Werten pro Monat (MAXIR_TA) überschritten", "M", 'T');
        }
        zeilen.push_back(z);
    }
    for (auto& zeilen : neu.details)
        std::stable_sort(zeilen.begin(), zeilen.end(),
                         [](const ir_ta_d_zeile& a, const ir_ta_d_zeile& b) { return a.nummer < b.nummer; });
    w = std::move(neu);
}

umrechnen_struct tabellen_umrechnung::einstrahlung(const std::string& einheit, int monat, int tage) const {
    const Einheit_struct& e = haupteinheiten()[groesse::einstrahlung];
    return umrechnungsfaktor(einheit, "kWh/qm", e.kennzeichen, monat, tage);
}

umrechnen_struct tabellen_umrechnung::temperatur(const std::string& einheit, int monat) const {
    const Einheit_struct& e = haupteinheiten()[groesse::temperatur];
    return umrechnungsfaktor(einheit, e.haupteinheit, e.kennzeichen, monat);
}

bool berechne_Einstrahlungsdaten_geladen(double breite, double theta_s, double phi_g, datz& vdatz,
                                         flagchar& numchar, datz3& pvdatz3, const datt& vdatt) {
    const tabellen_umrechnung einheiten;
    int abbruchmarke = 1;
    double jahr = 0.0;
    berechne_Einstrahlungsdaten(zustand::geladener_wetterdatensatz(), einheiten, vdatz, numchar, abbruchmarke,
                                vdatt, jahr, pvdatz3, zustand::pvdatz3(2), phi_g, theta_s, breite);
    return abbruchmarke != 0;
}
