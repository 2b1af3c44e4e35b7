#include "sheets/datenblatt_rechner.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "data/datenbank.h"
#include "lang/meldung.h"
#include "sheets/blatt_hilfen.h"

using namespace tabledata;

namespace {

class Rechner : public mit_leerer_datenbank {
protected:
    static std::string s(const char* x) { return x; }
    // A demand record with the twelve month values.
    static void bedarf(int index, const std::string& name, const std::string& rel, const std::vector<double>& werte,
                       double gesamt) {
        tabelle& t = tab(index);
        t.einfuegen();
        t.setze("name", name);
        t.setze(index == tee ? "Rel" : "rel", rel);
        t.setze("gesamt", gesamt);
        const auto spalten = monatswert_spalten(index);
        for (size_t m = 0; m < werte.size(); ++m)
            if (!std::isnan(werte[m])) t.setze(spalten[m], werte[m]);
        t.speichern();
    }
    static std::vector<double> monate(int index, const std::string& name) {
        auf(index, {feldwert(name)});
        std::vector<double> r;
        for (int i : monatswert_spalten(index)) r.push_back(tab(index).zahl(tab(index).spalte(i).name));
        return r;
    }
};

TEST_F(Rechner, SummeNurFuerAbsoluteWerte) {
    std::vector<double> w(12, 10.0);
    w[3] = NAN;  // an empty month counts nothing
    bedarf(teh_m, "abs", "A", w, 0.0);
    auf(teh_m, {feldwert(s("abs"))});
    ASSERT_TRUE(berechne_summe(teh_m));
    EXPECT_DOUBLE_EQ(tab(teh_m).zahl("gesamt"), 110.0);

    bedarf(tew_m, "rel", "R", std::vector<double>(12, 0.1), 5.0);
    auf(tew_m, {feldwert(s("rel"))});
    EXPECT_FALSE(berechne_summe(tew_m));
    ASSERT_EQ(senke.dialoge.size(), 1u);
    EXPECT_EQ(senke.dialoge[0].text, "Bitte Gesamtsumme eingeben");
    EXPECT_EQ(senke.dialoge[0].schwere, 'M');
    auf(tew_m, {feldwert(s("rel"))});
    EXPECT_DOUBLE_EQ(tab(tew_m).zahl("gesamt"), 5.0);

    // The weather record always counts as absolute: ir1..ir12 into irgesamt.
    zeile(tir_ta_m, {{"name", s("w")}, {"ir1", 20.5}, {"ir7", 160.25}, {"ir12", 16.75}});
    ASSERT_TRUE(berechne_summe(tir_ta_m));
    EXPECT_DOUBLE_EQ(tab(tir_ta_m).zahl("irgesamt"), 197.5);
}

TEST_F(Rechner, RelativUndZurueckAbsolut) {
    // Shares of a sum of 1000 are exact at 3 decimals: the way back restores them.
    const std::vector<double> w = {120, 110, 100, 90, 80, 70, 60, 70, 80, 90, 70, 60};
    bedarf(tee, "ee", "A", w, 1000.0);
    auf(tee, {feldwert(s("ee"))});
    ASSERT_TRUE(wechsle_monatswerte(tee, true));
    EXPECT_EQ(tab(tee).text("Rel"), "R");
    const auto rel = monate(tee, "ee");
    EXPECT_DOUBLE_EQ(rel[0], 0.12);
    EXPECT_DOUBLE_EQ(rel[11], 0.06);
    auf(tee, {feldwert(s("ee"))});
    ASSERT_TRUE(wechsle_monatswerte(tee, false));
    EXPECT_EQ(monate(tee, "ee"), w);
    EXPECT_EQ(tab(tee).text("Rel"), "A");

    // Shares are rounded to 3 decimals: 1/3 -> 0.333; back with gesamt 30 -> 9.99.
    bedarf(teh_m, "drittel", "A", {1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 30.0);
    auf(teh_m, {feldwert(s("drittel"))});
    ASSERT_TRUE(wechsle_monatswerte(teh_m, true));
    EXPECT_DOUBLE_EQ(monate(teh_m, "drittel")[0], 0.333);
    auf(teh_m, {feldwert(s("drittel"))});
    ASSERT_TRUE(wechsle_monatswerte(teh_m, false));
    EXPECT_DOUBLE_EQ(monate(teh_m, "drittel")[2], 9.99);

    // All months 0: no shares, nothing changes.
    bedarf(teh_m, "null", "A", std::vector<double>(12, 0.0), 0.0);
    auf(teh_m, {feldwert(s("null"))});
    EXPECT_FALSE(wechsle_monatswerte(teh_m, true));
    EXPECT_EQ(tab(teh_m).text("rel"), "A");
}

// Worked example: base Ta(Jan) = (-2 + 4)/2 = 1, target (0 + 6)/2 = 3; base
// Ti 20 °C, target 69.8 °F = 21 °C. u = 21 - 3 = 18, v = 20 - 1 = 19, so
// 1900 kWh become 18 * 1900 / 19 = 1800. In July the target's outdoor mean
// (22) lies above its room temperature: 0.
TEST_F(Rechner, HeizenergieZiel) {
    auto wetter = [&](const std::string& name, double jan_min, double jan_max) {
        felder f = {{"name", name}, {"einheit_temp", s("°C")}};
        for (int m = 1; m <= 12; ++m) {
            const std::string k = std::to_string(m);
            f.push_back({"ta" + k + "min", m == 1 ? jan_min : (m == 7 ? 18.0 : 5.0)});
            f.push_back({"ta" + k + "max", m == 1 ? jan_max : (m == 7 ? 26.0 : 9.0)});
        }
        zeile(tir_ta_m, f);
    };
    wetter("basis", -2.0, 4.0);
    wetter("ziel", 0.0, 6.0);
    std::vector<double> w(12, 1000.0);
    w[0] = 1900.0;
    bedarf(teh_m, "eh_basis", "A", w, 0.0);
    bedarf(teh_m, "eh_ziel", "A", std::vector<double>(12, 1.0), 0.0);
    auf(teh_m, {feldwert(s("eh_basis"))});
    tab(teh_m).bearbeiten();
    tab(teh_m).setze("TINNEN", 20.0);
    tab(teh_m).setze("EinT", s("°C"));
    tab(teh_m).speichern();
    auf(teh_m, {feldwert(s("eh_ziel"))});
    tab(teh_m).bearbeiten();
    tab(teh_m).setze("TINNEN", 69.8);
    tab(teh_m).setze("EinT", s("F"));
    tab(teh_m).speichern();

    ASSERT_TRUE(heizenergie_ziel("basis", "ziel", "eh_basis", "eh_ziel"));
    const auto z = monate(teh_m, "eh_ziel");
    EXPECT_NEAR(z[0], 1800.0, 1e-9);
    EXPECT_DOUBLE_EQ(z[6], 0.0);  // July: 21 - 22 < 0
    // Other months: u = 21 - 7 = 14, v = 20 - 7 = 13 -> round(14000 / 13, 2).
    EXPECT_DOUBLE_EQ(z[1], 1076.92);
    EXPECT_EQ(monate(teh_m, "eh_basis"), w);

    EXPECT_FALSE(heizenergie_ziel("basis", "fehlt", "eh_basis", "eh_ziel"));
}

TEST_F(Rechner, WetterseiteTageslaengeUndKWh) {
    // Day length at 52.27° N on the mid-month day (declination of 15 January
    // -21.2695°, sunset hour angle 59.7939°): 7.97252 h, x 31 days.
    zeile(tir_ta_m, {{"name", s("bs")}, {"breite", 52.27}});
    ASSERT_TRUE(berechne_h_aus_breite());
    EXPECT_DOUBLE_EQ(tab(tir_ta_m).zahl("h1"), 247.148);
    EXPECT_DOUBLE_EQ(tab(tir_ta_m).zahl("h6"), 495.395);

    // MJ/(qm * m) -> kWh/qm is / 3.6; 50 °F = 10 °C; detail rows likewise.
    zeile(tir_ta_m, {{"name", s("mj")}, {"breite", 52.0}, {"theta", 30.0}, {"einheit_ir", s("MJ/(qm * m)")},
                     {"einheit_temp", s("F")}, {"zeitintervall", s("T")}, {"ir1", 36.0}, {"diff1", 18.0},
                     {"ta1min", 50.0}, {"ta1max", 68.0}, {"irgesamt", 36.0}});
    zeile(tir_ta_d, {{"name", s("mj")}, {"monat", int64_t{1}}, {"nummer", int64_t{1}}, {"ir_g", 3.6},
                     {"is_g", 41.7}, {"tamin", 32.0}, {"tamax", 41.0}});
    auf(tir_ta_m, {feldwert(s("mj"))});
    ASSERT_TRUE(ir_in_kwh());
    tabelle& w = tab(tir_ta_m);
    EXPECT_EQ(w.text("name"), "mj_in_kWh");
    EXPECT_DOUBLE_EQ(w.zahl("ir1"), 10.0);
    EXPECT_DOUBLE_EQ(w.zahl("diff1"), 5.0);
    EXPECT_DOUBLE_EQ(w.zahl("ta1min"), 10.0);
    EXPECT_DOUBLE_EQ(w.zahl("ta1max"), 20.0);
    EXPECT_DOUBLE_EQ(w.zahl("irgesamt"), 10.0);
    EXPECT_DOUBLE_EQ(w.zahl("breite"), 52.0);
    EXPECT_DOUBLE_EQ(w.zahl("theta"), 30.0);
    EXPECT_EQ(w.text("einheit_ir"), "kWh/qm");
    EXPECT_EQ(w.text("einheit_temp"), "°C");
    ASSERT_TRUE(auf(tir_ta_d, {feldwert(s("mj_in_kWh")), feldwert(int64_t{1}), feldwert(int64_t{1})}));
    EXPECT_DOUBLE_EQ(tab(tir_ta_d).zahl("ir_g"), 1.0);
    EXPECT_DOUBLE_EQ(tab(tir_ta_d).zahl("is_g"), 41.7);
    EXPECT_DOUBLE_EQ(tab(tir_ta_d).zahl("tamin"), 0.0);
    EXPECT_DOUBLE_EQ(tab(tir_ta_d).zahl("tamax"), 5.0);
    // Once only.
    auf(tir_ta_m, {feldwert(s("mj"))});
    EXPECT_FALSE(ir_in_kwh());
}

TEST_F(Rechner, ZweipunktKoeffizienten) {
    // eta 5 at a lift of 30 K, 3 at 50 K: beta_l = -0.1, alpha_l = 8.
    // Hyperbolic, Thoch 303.15 K and 323.15 K: x1 = 10.105, x2 = 6.463,
    // beta_h = 2 / 3.642 = 0.549149, alpha_h = 3 - 0.549149 * 6.463.
    const auto k = zweipunkt_koeffizienten(5.0, 0.0, 30.0, 3.0, 0.0, 50.0);
    ASSERT_TRUE(k);
    EXPECT_NEAR(k->beta_l, -0.1, 1e-12);
    EXPECT_NEAR(k->alpha_l, 8.0, 1e-12);
    EXPECT_NEAR(k->beta_h, 0.5491488193, 1e-9);
    EXPECT_NEAR(k->alpha_h, -0.5491488193, 1e-9);
    // Equal lifts determine nothing.
    EXPECT_FALSE(zweipunkt_koeffizienten(5.0, 10.0, 40.0, 3.0, 0.0, 30.0));
    EXPECT_NE(letzter_dialog().find("bestimmen die Koeffizienten nicht"), std::string::npos);

    zeile(twp, {{"name", s("wp")}, {"arbeitsweise", s("we")}});
    ASSERT_TRUE(uebertrage_zweipunkt(*k));
    EXPECT_DOUBLE_EQ(tab(twp).zahl("deltalin"), k->beta_l);
    EXPECT_DOUBLE_EQ(tab(twp).zahl("gammalin"), k->alpha_l);
    EXPECT_DOUBLE_EQ(tab(twp).zahl("deltahyp"), k->beta_h);
    EXPECT_DOUBLE_EQ(tab(twp).zahl("gammahyp"), k->alpha_h);
}

// Seven points generated from known coefficients: the fit recovers them and
// the check ("Probe") reproduces the measured efficiencies.
TEST_F(Rechner, SiebenParameterFit) {
    const sieben_koeffizienten c = {2.0, 30.0, -0.05, 0.002, 0.0004, -0.00001, 0.03};
    const double exponent = 0.8;
    const std::array<std::pair<double, double>, 7> temperaturen = {
        {{-5, 35}, {0, 35}, {5, 45}, {10, 55}, {-10, 45}, {7, 35}, {2, 50}}};
    std::array<wp_messpunkt, 7> p{};
    for (size_t i = 0; i < 7; ++i) {
        const auto [tt, th] = temperaturen[i];
        const double dt = th - tt;
        p[i] = {c[0] + c[1] / std::pow(dt, exponent) + c[2] * dt + c[3] * tt * dt + c[4] * dt * dt +
                    c[5] * tt * dt * dt + c[6] * tt,
                tt, th};
    }
    const auto fit = sieben_parameter_fit(p, exponent);
    ASSERT_TRUE(fit);
    for (size_t i = 0; i < 7; ++i) EXPECT_NEAR((*fit)[i], c[i], 1e-6 * (1.0 + std::fabs(c[i]))) << i;
    const auto eta = probe(*fit, exponent, p);
    for (size_t i = 0; i < 7; ++i) EXPECT_NEAR(eta[i], p[i].eta, 1e-9) << i;

    zeile(twp, {{"name", s("wp")}, {"arbeitsweise", s("we")}});
    ASSERT_TRUE(uebertrage_sieben(*fit, exponent));
    double e = 0.0;
    const auto db = koeffizienten_der_zeile(e);
    EXPECT_EQ(db, *fit);
    EXPECT_DOUBLE_EQ(e, exponent);
    EXPECT_DOUBLE_EQ(tab(twp).zahl("eta_w"), (*fit)[6]);

    // Two equal points leave the system singular.
    p[6] = p[0];
    EXPECT_FALSE(sieben_parameter_fit(p, exponent));
    EXPECT_NE(letzter_dialog().find("singulär"), std::string::npos);
}

TEST_F(Rechner, SpeicherGwtUndSteuerung) {
    // Volume 2 pi: r = 1, surface 6 pi; 3 pi W/K of loss are 0.5 W/(K qm).
    EXPECT_DOUBLE_EQ(*verlust_pro_flaeche(3.0 * std::numbers::pi, 2.0 * std::numbers::pi), 0.5);
    // Volume 1 m3: surface 3 (2 pi)^(1/3) = 5.535810 qm.
    EXPECT_DOUBLE_EQ(*verlust_pro_flaeche(11.07162, 1.0), 2.0);
    EXPECT_FALSE(verlust_pro_flaeche(10.0, 0.0));

    // Tube-in-tube exchanger, d1 = 20 mm, 10 m, two tubes: 2 pi 0.02 10 = 1.2566 -> 1.26.
    zeile(tgwt, {{"name", s("g")}, {"laenge", 10.0}, {"durchmesser_d1", 0.02}, {"anzahl", int64_t{2}},
                 {"einheit_laenge", s("m")}, {"einheit_flaeche", s("qm")}});
    ASSERT_TRUE(berechne_austauschflaeche());
    EXPECT_DOUBLE_EQ(tab(tgwt).zahl("austauschflaeche"), 1.26);

    zeile(tsteuer, {{"name", s("st")}, {"LadeJanuar", s("Y")}, {"entnehmejanuar", s("N")}, {"lademaerz", s("N")},
                    {"entnehmemaerz", s("Y")}, {"ladedezember", s("Y")}});
    ASSERT_TRUE(pruefe_speichersteuerung());
    tabelle& st = tab(tsteuer);
    EXPECT_EQ(st.text("entnehmejanuar"), "Y");
    EXPECT_EQ(st.text("entnehmemaerz"), "Y");
    EXPECT_EQ(st.text("entnehmedezember"), "Y");
    EXPECT_EQ(st.text("entnehmefebruar"), "");
}

TEST_F(Rechner, ListeneintragUndPruefungen) {
    EXPECT_TRUE(fuege_listeneintrag_hinzu(tliste, {"solar", "Pumpe", "4711"}));
    EXPECT_FALSE(fuege_listeneintrag_hinzu(tliste, {"solar", "Pumpe", "4711"}));
    EXPECT_EQ(letzter_dialog(), "Datensatz vorhanden");
    EXPECT_TRUE(fuege_listeneintrag_hinzu(tunter_liste, {"u", "Wartung"}));

    zeile(trech, {{"name", s("r")}, {"anzge", int64_t{500}}});
    EXPECT_NO_THROW(pruefe_rech_vor_navigation());
    tab(trech).bearbeiten();
    tab(trech).setze("anzge", int64_t{501});
    tab(trech).speichern();
    EXPECT_THROW(pruefe_rech_vor_navigation(), abbruch);
    EXPECT_EQ(letzter_dialog(), "Fehler: Zulässige Anzahl von Werten für Pumpgeschwindigkeit (MAXV) überschritten");

    felder f = {{"name", s("w")}, {"zeitintervall", s("A")}};
    for (int m = 1; m <= 12; ++m) {
        const std::string k = std::to_string(m);
        f.push_back({"ir" + k, 1.0});
        f.push_back({"ta" + k + "min", 0.0});
        if (m != 5) f.push_back({"ta" + k + "max", 1.0});
    }
    zeile(tir_ta_m, f);
    EXPECT_FALSE(pruefe_wetterdatensatz_vollstaendig());
    EXPECT_EQ(letzter_dialog(), "Fehler: Bitte Datensatz auf Vollständigkeit prüfen");
    tab(tir_ta_m).bearbeiten();
    tab(tir_ta_m).setze("ta5max", 1.0);
    tab(tir_ta_m).speichern();
    EXPECT_TRUE(pruefe_wetterdatensatz_vollstaendig());
}

}  // namespace
