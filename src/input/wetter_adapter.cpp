#include "input/wetter_adapter.h"

#include <algorithm>

#include "data/datenbank.h"
#include "data/einheiten.h"
#include "lang/meldung.h"

using namespace tabledata;

wetterdatensatz& geladener_wetterdatensatz() {
    static wetterdatensatz w;
    return w;
}

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

    // Detail rows of the record, read with a filter of their own (the
    // cursor's previous filter is restored afterwards).
    tabelle& d = tab(tir_ta_d);
    const bool war_gefiltert = d.ist_gefiltert();
    d.setze_filter({{"name", "=", feldwert(neu.name)}});
    d.sortiere_nach_schluessel();
    const int s_monat = d.spalten_index("monat"), s_nummer = d.spalten_index("nummer"),
              s_irg = d.spalten_index("ir_g"), s_ird = d.spalten_index("ir_d"),
              s_tmin = d.spalten_index("tamin"), s_tmax = d.spalten_index("tamax"),
              s_h = d.spalten_index("h"), s_hm = d.spalten_index("hm");
    for (d.erster(); !d.eof(); d.naechster()) {
        const int monat = static_cast<int>(als_zahl(d.wert(s_monat)));
        if (monat < 1 || monat > MAXMONAT) continue;
        ir_ta_d_zeile z;
        z.nummer = static_cast<int>(als_zahl(d.wert(s_nummer)));
        z.ir_g = als_zahl(d.wert(s_irg));
        z.ir_d = als_zahl(d.wert(s_ird));
        z.tamin = als_zahl(d.wert(s_tmin));
        z.tamax = als_zahl(d.wert(s_tmax));
        z.h = als_zahl(d.wert(s_h));
        z.hm = als_zahl(d.wert(s_hm));
        auto& zeilen = neu.details[static_cast<size_t>(monat)];
        if (zeilen.size() >= static_cast<size_t>(MAXINTERVALL)) {
            d.filter_aus();
            meldung("Fehler: Zulässige Anzahl von Werten pro Monat (MAXIR_TA) überschritten", "M", 'T');
        }
        zeilen.push_back(z);
    }
    if (war_gefiltert) {
        d.setze_filter({{"name", "=", feldwert(neu.name)}});
        d.erster();
    } else {
        d.filter_aus();
    }
    for (auto& zeilen : neu.details)
        std::stable_sort(zeilen.begin(), zeilen.end(),
                         [](const ir_ta_d_zeile& a, const ir_ta_d_zeile& b) { return a.nummer < b.nummer; });
    w = std::move(neu);
}

umrechnen_struct tabellen_umrechnung::einstrahlung(const std::string& einheit, int monat) const {
    const Einheit_struct& e = haupteinheiten()[groesse::einstrahlung];
    return umrechnungsfaktor(einheit, "kWh/qm", e.kennzeichen, monat);
}

umrechnen_struct tabellen_umrechnung::temperatur(const std::string& einheit, int monat) const {
    const Einheit_struct& e = haupteinheiten()[groesse::temperatur];
    return umrechnungsfaktor(einheit, e.haupteinheit, e.kennzeichen, monat);
}
