// Loading site data sets of the default database into the run state.

#include <cmath>
#include <functional>
#include <map>
#include <iterator>
#include <memory>
#include <numbers>
#include <numeric>
#include <tuple>
#include <vector>

#include "app/simulation_run.h"
#include "engine/models/laufkontext.h"
#include "input/einstrahlung.h"
#include "input/energiebedarf.h"
#include "input/lese_daten.h"
#include "input/wetter_adapter.h"
#include "lade_hilfen.h"

using namespace tabledata;

namespace {

double jahressumme(const monatsfeld& f) { return std::accumulate(f.begin() + 1, f.end(), 0.0); }

}  // namespace

class LeseDaten : public mit_default_datenbank {};

// Every data set of the default database loads without abandoning, finds
// every row it names and gives plausible figures; the warnings that remain
// are listed per data set.
TEST_F(LeseDaten, AlleDatensaetzeDerDefaultDatenbankLaden) {
    const auto namen = datensaetze();
    ASSERT_EQ(namen.size(), 54u);
    for (const std::string& name : namen) {
        SCOPED_TRACE(name);
        leere_protokoll();
        ASSERT_NO_THROW(EXPECT_TRUE(lade(name)));
        EXPECT_TRUE(marken().daten_eingelesen);
        const datt& v = zustand::vdatt();
        const datz& z = zustand::vdatz();
        EXPECT_GT(v[tdata::daf], 0.0);
        const double jahr = jahressumme(z[zdata::ir]);
        EXPECT_GT(jahr, 900.0);   // kWh/m2 on a 45° south plane in northern Germany
        EXPECT_LT(jahr, 1500.0);
        EXPECT_GT(jahressumme(z[zdata::eh]), 1000.0);
        EXPECT_NEAR(jahressumme(z[zdata::ew]), 1750.0, 1.0);
        EXPECT_NEAR(jahressumme(z[zdata::ee]), 3500.1, 0.1);
        for (int m = 1; m <= 12; ++m) {
            EXPECT_DOUBLE_EQ(z[zdata::ewv][m], z[zdata::ew][m] + z[zdata::eh][m]);
            EXPECT_GT(intervalle(m), 0);
            EXPECT_FALSE(std::isnan(z[zdata::is0][m]));
        }
        for (const std::string& zeile : protokollzeilen()) {
            EXPECT_EQ(zeile.find("Datensatz existiert nicht"), std::string::npos) << zeile;
            EXPECT_EQ(zeile.find("Fehler"), std::string::npos) << zeile;
            if (!zeile.empty()) std::cout << "[" << name << "] " << zeile << "\n";
        }
        for (const auto& d : senke.dialoge) ADD_FAILURE() << "Dialog: " << d.text;
        senke.dialoge.clear();
        // Hourly demand: the detail series add up to the monthly energies.
        if (zustand::numchar()[ndata::strahlung] == "D" && zustand::numchar()[ndata::bedarfsdetails] == "D") {
            const auto& p = zustand::pvdatz3(1);
            for (int m = 1; m <= 12; ++m) {
                double s = 0.0;
                for (int i = 1; i <= intervalle(m); ++i) s += p[zdata::eg_d][m][i];
                // explicit rows are taken as stored: their sums match to the data rounding
                EXPECT_NEAR(s, z[zdata::ewv][m], 1e-4 * z[zdata::ewv][m] + 1e-6) << m;
            }
        }
    }
}

// The reference site in detail: conversions, fluids, stores into their
// plants, heat pumps by model code, prices, property tables.
TEST_F(LeseDaten, BraunschweigWerteInHaupteinheiten) {
    ASSERT_TRUE(lade("Braunschweig EFH"));
    const datt& v = zustand::vdatt();
    const flagchar& n = zustand::numchar();
    // Collector fluid: Propylenglykol 40% (no cp of the gas phase stored).
    EXPECT_DOUBLE_EQ(v[tdata::kollektorfluid_cpf], 3702.0);
    EXPECT_DOUBLE_EQ(v[tdata::kollektorfluid_cvg], 0.0 * 26.05 - 8314.3);
    EXPECT_DOUBLE_EQ(v[tdata::kollektorfluid_dichte], 1036.24);
    EXPECT_DOUBLE_EQ(v[tdata::kollektorfluid_gefrierpunkt], -21.0);
    EXPECT_DOUBLE_EQ(v[tdata::kollektorfluid_nue], 0.00457 / 1036.24);
    // Heat-pump fluid R410A, and again as the store record's fluid.
    for (size_t i = 0; i < 7; ++i)
        EXPECT_DOUBLE_EQ(v[tdata::wpfluid_cpf + i], v[tdata::speicherfluid_cpf + i]) << i;
    EXPECT_DOUBLE_EQ(v[tdata::wpfluid_cvg], v[tdata::wpfluid_cpg] * v[tdata::wpfluid_mol] - 8314.3);
    const anlage& a0 = zustand::anlage(0);
    EXPECT_DOUBLE_EQ(a0.kaeltemittel_speicher.dichte.wert, v[tdata::wpfluid_dichte]);
    EXPECT_DOUBLE_EQ(a0.kaeltemittel_kollektoren.nue.wert, v[tdata::kollektorfluid_nue]);
    // Codes.
    EXPECT_EQ(n[ndata::kopplungstyp], "Z");
    EXPECT_EQ(n[ndata::anzahl_kollektoren], "E");
    EXPECT_EQ(n[ndata::modelltyp_we], "4");
    EXPECT_EQ(n[ndata::modelltyp_ww], "4");
    EXPECT_EQ(n[ndata::antrieb_we], "E");
    EXPECT_EQ(n[ndata::optimierung], "A");
    EXPECT_EQ(n[ndata::schaltjahr], "N");  // 2019
    // One collector: only the upper one counts.
    EXPECT_DOUBLE_EQ(v[tdata::daf], v[tdata::flaeche_kol_oben]);
    EXPECT_DOUBLE_EQ(v[tdata::relpump_feld], v[tdata::relpump_kol_oben]);
    EXPECT_DOUBLE_EQ(v[tdata::relpump_kol_oben], 400.0);
    EXPECT_DOUBLE_EQ(v[tdata::kol_oben_verlust], -3.27 / 10.0);
    EXPECT_DOUBLE_EQ(v[tdata::kol_oben_konversion], 0.75);
    EXPECT_DOUBLE_EQ(v[tdata::kol_oben_quadratisch], -0.016);
    const kollektor& ko = a0.oberer_kollektor;
    EXPECT_NEAR(ko.breite.wert * ko.hoehe.wert, 2.0, 1e-12);
    EXPECT_EQ(ko.m, static_cast<int>(std::nearbyint(ko.breite.wert / (0.008 + 12.5 * 0.008))));
    EXPECT_EQ(ko.rohrverlegung, u'P');
    // Percent humidity and the heat pumps.
    EXPECT_DOUBLE_EQ(v[tdata::mittlere_feuchte], 0.732);
    EXPECT_DOUBLE_EQ(v[tdata::we_c1], 4.747076);      // we: alpha
    EXPECT_DOUBLE_EQ(v[tdata::ww_c1], 4.747076);      // ww: alpha
    EXPECT_DOUBLE_EQ(v[tdata::we_leistung], 1821.0);  // electric power of the 8 kW (heat) pump
    EXPECT_DOUBLE_EQ(v[tdata::wp_leistung_min],
                     0.3 * 1821.0);  // control range 0.7: down to 30 % of the power
    EXPECT_DOUBLE_EQ(v[tdata::wp_leistung_max], 1.7 * 1821.0);
    EXPECT_DOUBLE_EQ(v[tdata::reservoirtemperatur], -5.0);  // MinPrimär of the main heat pump, read last
    EXPECT_DOUBLE_EQ(v[tdata::we_eta], 1.0);                // electric drive: efficiency forced to 1
    EXPECT_DOUBLE_EQ(a0.zwischen_waermepumpe.pmaxt.wert, 600000.0);  // limited by the collector loop
    EXPECT_DOUBLE_EQ(a0.erd_waermepumpe.pmaxt.wert, 2000000.0);
    EXPECT_EQ(a0.erd_waermepumpe.waermepumpe_steuerung, u'S');
    // Prices per kWh in EUR.
    EXPECT_DOUBLE_EQ(v[tdata::preis_nachheizung], 0.12);
    EXPECT_DOUBLE_EQ(v[tdata::preis_ohne_kopplung], 0.3);
    EXPECT_DOUBLE_EQ(v[tdata::preis_pumpenstrom], 0.4);
    // Stores: buffer sp1m3 and long-term sp0 into plants 0,1,2,5; intermediate sp10m3 into 0,1.
    for (int a : {0, 1, 2, 5}) {
        EXPECT_DOUBLE_EQ(zustand::anlage(a).pufferspeicher.spmax.wert, 1.0) << a;
        EXPECT_DOUBLE_EQ(zustand::anlage(a).langzeitspeicher.spmax.wert, 0.0) << a;
    }
    EXPECT_DOUBLE_EQ(a0.pufferspeicher.radius.wert, std::cbrt(1.0 / (4.0 * std::numbers::pi)));
    EXPECT_DOUBLE_EQ(a0.pufferspeicher.austauschflaeche.wert, 20.0 * std::numbers::pi * 0.0337);
    EXPECT_DOUBLE_EQ(a0.pufferspeicher.tmax.wert, 85.0);
    EXPECT_DOUBLE_EQ(zustand::anlage(1).zwischenspeicher.spmax.wert, 10.0);
    // Property and vapour tables.
    const stoffdaten& s = zustand::stoffdaten();
    EXPECT_EQ(s.kaeltemittel_record.imaxdampf, 48);
    EXPECT_LT(s.kaeltemittel_record.tmin, s.kaeltemittel_record.tmax);
    EXPECT_DOUBLE_EQ(s.kaeltemittel_record.vdampftafeldata[300],
                     (s.kaeltemittel_record.vdampftafeldata[100] + s.kaeltemittel_record.vdampftafeldata[200]) / 2.0);
    EXPECT_LT(s.stoffdaten_luft_record.tmin, s.stoffdaten_luft_record.tmax);
    EXPECT_GT(s.stoffdaten_speicher_record.vstoffdatenluft[100], 900.0);  // water density
    // The collector fluid's table is also the plant's collector fluid, which
    // the counter-flow exchanger reads: a glycol mix, denser than water.
    const stoffdaten_luft& kf = a0.kaeltemittel_kollektoren.stoffdaten_fluid_record;
    EXPECT_EQ(kf.vstoffdatenluft, s.kaeltemittel_record.stoffdaten_fluid_record.vstoffdatenluft);
    EXPECT_GT(kf.vstoffdatenluft[100], 1000.0);
    EXPECT_LT(kf.tmin, kf.tmax);
    // Run control.
    const laufsteuerung& l = zustand::lauf();
    EXPECT_DOUBLE_EQ(l.maxa, 20.0);
    EXPECT_EQ(l.danzflaeche, 2);
    EXPECT_DOUBLE_EQ(l.deltatkol_schritt, 10.0);
    EXPECT_EQ(l.maxmittemp, 12);
    // Monthly demand for the charts, read afresh.
    const datz& z = zustand::vdatz();
    EXPECT_DOUBLE_EQ(monatsenergie_in_haupteinheiten(z, 1), z[zdata::eh][1] + z[zdata::ew][1]);
    EXPECT_DOUBLE_EQ(z[zdata::eh][1], 2283.8);
}

// The data set loaded last belongs to the run state: its name, its weather
// record and the model switches of its collector row, which the run's model
// contexts take from there.
TEST_F(LeseDaten, GeladenerDatensatzIstTeilDesZustands) {
    for (const char* name : {"Braunschweig EFH", "EFH Potsdam 2019 stuendlich"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(lade(name));
        EXPECT_EQ(zustand::geladener_datensatz(), name);
        EXPECT_EQ(zustand::geladener_wetterdatensatz().name, tab(tir_ta_m).text("name"));
        EXPECT_EQ(zustand::kollektorblatt().einalpha, tab(tkol).text("einalpha"));
        ::date d;
        const laufkontext k = laufkontext_aus_zustand(d);
        EXPECT_EQ(k.kol.einalpha, zustand::kollektorblatt().einalpha);
        EXPECT_EQ(k.kol.einwindtkoef, zustand::kollektorblatt().einwindtkoef);
        EXPECT_EQ(&k.stoffe, &zustand::stoffdaten());
    }
    EXPECT_NE(zustand::geladener_wetterdatensatz().name, "");
}

// Loading writes the listed state and nothing else.
TEST_F(LeseDaten, UnberuehrterZustandBleibt) {
    datt& v = zustand::vdatt();
    // The unused positions and those that only the run or the cost calculation sets.
    std::vector<int> frei(std::begin(tdata::unbenutzt), std::end(tdata::unbenutzt));
    frei.insert(frei.end(), {tdata::zellmodulflaeche, tdata::feld_verlust, tdata::feld_konversion,
                             tdata::zehn_durch_g, tdata::waermekapazitaetsstrom});
    for (int i : frei) v[static_cast<size_t>(i)] = 1234.5;
    zustand::anlage(2).zwischenspeicher.spmax.wert = 77.0;
    zustand::anlage(3).pufferspeicher.spmax.wert = 66.0;
    zustand::anlage(0).gegenstromwt.metall = "unverändert";
    ASSERT_TRUE(lade("Braunschweig EFH"));
    for (int i : frei) EXPECT_EQ(v[static_cast<size_t>(i)], 1234.5) << i;
    EXPECT_EQ(zustand::anlage(2).zwischenspeicher.spmax.wert, 77.0);
    EXPECT_EQ(zustand::anlage(3).pufferspeicher.spmax.wert, 66.0);
    EXPECT_EQ(zustand::anlage(0).gegenstromwt.metall, "unverändert");
}

// The fictitious day of the month ("M") holds a day's energy in the buffer.
TEST_F(LeseDaten, FiktiverTagVervielfachtPufferspeicher) {
    std::string name;
    for (const auto& d : datensaetze())
        if (d.find("IAAN-M") != std::string::npos) name = d;
    ASSERT_FALSE(name.empty());
    ASSERT_TRUE(lade(name));
    // The radius (and so the surface that loses heat) belongs to the 24 m³.
    const double radius = std::cbrt(24.0 / (4.0 * std::numbers::pi));
    for (int a : {0, 1, 2, 5}) {
        EXPECT_DOUBLE_EQ(zustand::anlage(a).pufferspeicher.spmax.wert, 24.0) << a;
        EXPECT_DOUBLE_EQ(zustand::anlage(a).pufferspeicher.radius.wert, radius) << a;
    }
    EXPECT_DOUBLE_EQ(zustand::anlage(0).zwischenspeicher.spmax.wert, 10.0);
}

TEST_F(LeseDaten, KaltwasserAusErdtemperaturMindestensEins) {
    feld_zeitweise te(tte, {feldwert(std::string("te0"))}, "Januar", feldwert(0.5));
    feld_zeitweise an(tabledata::tan, {feldwert(std::string("ZJEG"))}, "Kaltwassertemp", feldwert(std::string("E")));
    ASSERT_TRUE(lade("Braunschweig EFH"));
    EXPECT_DOUBLE_EQ(zustand::vdatz()[zdata::rw][1], 1.0);
    EXPECT_DOUBLE_EQ(zustand::vdatz()[zdata::rw][2], 5.4);
    EXPECT_DOUBLE_EQ(zustand::vdatz()[zdata::te][1], 0.5);
}

TEST_F(LeseDaten, LangzeitspeicherOhneMonatsplanWarnt) {
    std::string name;
    for (const auto& d : datensaetze())
        if (d.find("_st1") != std::string::npos) name = d;
    ASSERT_FALSE(name.empty());
    tabelle& h = tab(thaupt);
    h.sortiere_nach_index("iname");
    ASSERT_TRUE(h.suche({feldwert(name)}));
    std::vector<feldwert> schluessel;
    for (const auto& s : h.schluesselspalten()) schluessel.push_back(h.wert(s));
    feld_zeitweise st(thaupt, schluessel, "steuerspeicher", feldwert(std::string("st0")));
    ASSERT_TRUE(lade(name));
    int warnungen = 0;
    for (const auto& z : protokollzeilen())
        warnungen += z.find("Warnung: Langzeitspeicher überflüssig, bitte Null-Speicher verwenden") != std::string::npos;
    EXPECT_EQ(warnungen, 1);
}

// Data outside the data model abandon the load and leave the data unmarked.
TEST_F(LeseDaten, UngueltigeDatenBrechenAbUndLoeschenMarke) {
    ASSERT_TRUE(lade("Braunschweig EFH"));
    {
        feld_zeitweise leer(tkol, {feldwert(std::string("Euro C 20"))}, "rohrverlegung", feldwert(std::string()));
        bool dbflag = false;
        EXPECT_THROW(lade("Braunschweig EFH", dbflag), abbruch);
        EXPECT_FALSE(marken().daten_eingelesen);
        EXPECT_EQ(protokollzeilen().back(), "Fehler: Fehlende Feldkomponente: kol, rohrverlegung");
    }
    {
        // A vapour table of 101 rows.
        tabelle& k = tab(tkaelte);
        k.filter_aus();
        transaktion tr(k);
        for (int i = 0; i < 53; ++i) {
            k.einfuegen();
            k.setze("name", feldwert(std::string("R410A")));
            k.setze("temperatur", feldwert(200.0 + i));
            k.setze("einheittemperatur", feldwert(std::string("°C")));
            k.setze("ps", feldwert(1e6));
            k.setze("pss", feldwert(1e6));
            k.setze("einheitdruck", feldwert(std::string("N/qm")));
            k.setze("enthalpie", feldwert(100.0));
            k.setze("einheitenthalpie", feldwert(std::string("kJ/kg")));
            k.speichern();
        }
        bool dbflag = false;
        EXPECT_THROW(lade("Braunschweig EFH", dbflag), abbruch);
        EXPECT_FALSE(marken().daten_eingelesen);
        EXPECT_EQ(protokollzeilen().back(), "Fehler: Dampftafel mit mehr als 100 Zeilen: kaelte, R410A");
    }
    EXPECT_TRUE(lade("Braunschweig EFH"));
    EXPECT_TRUE(marken().daten_eingelesen);
}

// Demand and prices --------------------------------------------------------

TEST_F(LeseDaten, WarmwasserVolumenWirdWaerme) {
    EXPECT_NEAR(ew_umgerechnet(1.0, "m3", "VO", 10.0, 50.0, 1), 1000.0 * 4178.0 * 40.0 / 3600000.0, 1e-12);
    EXPECT_NEAR(ew_umgerechnet(1.0, "m3", "VO", 10.0, 50.0, 1), 46.42, 0.005);
    EXPECT_NEAR(ew_umgerechnet(1000.0, "l", "VO", 10.0, 50.0, 1), 46.42, 0.005);
    EXPECT_DOUBLE_EQ(ew_umgerechnet(5.0, "kWh", "EN", 10.0, 50.0, 1), 5.0);
}

TEST_F(LeseDaten, RelativeMonatsanteileErgebenGesamt) {
    feld_zeitweise rel(tew_m, {feldwert(std::string("ew0"))}, "rel", feldwert(std::string("R")));
    feld_zeitweise jan(tew_m, {feldwert(std::string("ew0"))}, "Januar", feldwert(0.5));
    feld_zeitweise feb(tew_m, {feldwert(std::string("ew0"))}, "februar", feldwert(0.5));
    std::vector<std::unique_ptr<feld_zeitweise>> rest;
    for (const char* m : {"märz", "april", "mai", "juni", "juli", "august", "september", "oktober", "november", "dezember"})
        rest.push_back(std::make_unique<feld_zeitweise>(tew_m, std::vector{feldwert(std::string("ew0"))}, m, feldwert(0.0)));
    ASSERT_TRUE(lade("Braunschweig EFH"));
    EXPECT_DOUBLE_EQ(zustand::vdatz()[zdata::ew][1], 875.0);
    EXPECT_DOUBLE_EQ(jahressumme(zustand::vdatz()[zdata::ew]), 1750.0);
}

TEST_F(LeseDaten, PeriodischerTagWiederholtJanuarUndSkaliert) {
    std::string name;
    for (const auto& d : datensaetze())
        if (d.size() > 2 && d.ends_with("_p")) name = d;
    ASSERT_FALSE(name.empty());
    ASSERT_TRUE(lade(name));
    ASSERT_EQ(zustand::numchar()[ndata::strahlung], "D");
    const auto& p = zustand::pvdatz3(1);
    const datz& z = zustand::vdatz();
    for (int serie : {zdata::eh, zdata::ew}) {
        EXPECT_DOUBLE_EQ(p[serie][1][25], p[serie][1][1]);
        EXPECT_DOUBLE_EQ(p[serie][1][48], p[serie][1][24]);
        for (int m = 1; m <= 12; ++m) {
            double s = 0.0;
            for (int i = 1; i <= intervalle(m); ++i) s += p[serie][m][i];
            EXPECT_NEAR(s, z[serie][m], 1e-9 * (1.0 + z[serie][m])) << m;
        }
        // The shape of a day is January's pattern in every month.
        if (z[serie][7] > 0.0) {
            EXPECT_NEAR(p[serie][7][5] / p[serie][7][1], p[serie][1][5] / p[serie][1][1], 1e-12);
        }
    }
}

TEST_F(LeseDaten, PreisUmgerechnetAufAusgabeeinheiten) {
    tabelle& e = tab(teinheit);
    {
        transaktion tr(e);
        for (auto [nr, k, code, beta] : {std::tuple{900, "ct", "PR", 0.01}, std::tuple{901, "MWh", "EN", 1000.0}}) {
            e.einfuegen();
            e.setze("Nummer", feldwert(int64_t{nr}));
            e.setze("Kuerzel", feldwert(std::string(k)));
            e.setze("Kennzeichen", feldwert(std::string(code)));
            e.setze("Beta", feldwert(beta));
            e.setze("Alpha", feldwert(0.0));
            e.setze("Skalierung", feldwert(std::string("N")));
            e.setze("Ausgabe", feldwert(std::string("N")));
            e.speichern();
        }
        tr.bestaetigen();
    }
    EXPECT_DOUBLE_EQ(lese_und_rechne_quotient("MWh", "ct", "PR", "EN", "EUR", "kWh", 20.0), 0.0002);
    EXPECT_DOUBLE_EQ(lese_und_rechne_quotient("kWh", "EUR", "PR", "EN", "EUR", "kWh", 0.3), 0.3);

    // With MWh and ct as output units the run still gets its prices per kWh in
    // EUR (it multiplies them with energies in kWh and converts the sums to
    // ct itself); per output units they are ct per MWh.
    auto& h = haupteinheiten();
    h[groesse::energie].ausgabe = "MWh";
    h[groesse::preis].ausgabe = "ct";
    ASSERT_TRUE(lade("Braunschweig EFH"));
    datt& v = zustand::vdatt();
    // Tariffs of price row pwp: gas 0.12, heat-pump power 0.30, household power 0.40 EUR/kWh.
    EXPECT_DOUBLE_EQ(v[tdata::preis_nachheizung], 0.12);
    EXPECT_DOUBLE_EQ(v[tdata::preis_ohne_kopplung], 0.3);
    EXPECT_DOUBLE_EQ(v[tdata::preis_pumpenstrom], 0.4);
    datt ausgabe{};
    berechne_energiepreise(ausgabe, true);
    EXPECT_NEAR(ausgabe[tdata::preis_nachheizung], 12000.0, 1e-9);
    EXPECT_NEAR(ausgabe[tdata::preis_ohne_kopplung], 30000.0, 1e-9);
    EXPECT_NEAR(ausgabe[tdata::preis_pumpenstrom], 40000.0, 1e-9);
    h[groesse::energie].ausgabe = "kWh";
    h[groesse::preis].ausgabe = "EUR";
    e.loesche_wo({{"Nummer", "=", feldwert(int64_t{900})}});
    e.loesche_wo({{"Nummer", "=", feldwert(int64_t{901})}});
}

// Per-day irradiation units through the unit table: a monthly value is a mean
// day of its month and scales with that month's days in the record's year (29
// in a leap February); a detail row holds the value of its own day or hour and
// is never scaled.
TEST_F(LeseDaten, EinstrahlungInTageseinheiten) {
    const tabellen_umrechnung einheiten;
    auto p1 = std::make_unique<datz3>();
    auto p2 = std::make_unique<datz3>();
    datz z{};
    datt v{};
    flagchar nc;
    nc[ndata::sortierung] = "N";
    nc[ndata::diffusestrahlung] = "E";
    nc[ndata::meldungsmodus] = "M";
    int marke = 0;
    double jahr = 0.0;
    auto rechne = [&](const wetterdatensatz& w, const char* strahlung, const char* zeitintervall) {
        nc[ndata::strahlung] = strahlung;
        nc[ndata::zeitintervall] = zeitintervall;
        berechne_Einstrahlungsdaten(w, einheiten, z, nc, marke, v, jahr, *p1, *p2, 0.0, 0.0, w.breite);
        ASSERT_EQ(marke, 1);
    };
    wetterdatensatz w;
    w.name = "Tageseinheiten";
    w.breite = 52.38;
    w.einheit_ir = "kWh/(qm * d)";
    w.einheit_temp = "°C";

    // Monthly values of 2 and 1 kWh/(qm * d) in a leap year: February holds 58 and 29 kWh/qm.
    nc[ndata::schaltjahr] = "Y";
    for (int m = 1; m <= 12; ++m) {
        w.ir[m] = 2.0;
        w.diff[m] = 1.0;
    }
    for (const char* strahlung : {"N", "T", "D"}) {
        SCOPED_TRACE(strahlung);
        rechne(w, strahlung, "K");
        EXPECT_NEAR(z[zdata::ir][2], 58.0, 1e-9);
        EXPECT_NEAR(z[zdata::diff][2], 29.0, 1e-9);
        EXPECT_NEAR(z[zdata::ir][3], 62.0, 1e-9);
    }

    // Daily rows: day d holds 1 + d/10 kWh/(qm * d); January adds up to 31 + 49.6.
    nc[ndata::schaltjahr] = "N";
    const int tage[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int m = 1; m <= 12; ++m) {
        for (int d = 1; d <= tage[m]; ++d)
            w.details[m].push_back(ir_ta_d_zeile{d, 1.0 + d / 10.0, 0.5, 0.0, 8.0, 24.0, 12.0});
        w.m[m] = tage[m];
    }
    rechne(w, "T", "T");
    EXPECT_NEAR(z[zdata::ir][1], 80.6, 1e-9);
    EXPECT_NEAR(z[zdata::diff][1], 15.5, 1e-9);

    // Hourly rows: four hours of 0.1 each around noon of a January day.
    for (auto& zeilen : w.details) zeilen.clear();
    w.m.fill(0);
    for (int k = 0; k < 24; ++k)
        w.details[1].push_back(ir_ta_d_zeile{k + 1, k >= 10 && k < 14 ? 0.1 : 0.0, 0.0, 0.0, 0.0, 1.0, k + 0.5});
    w.m[1] = 24;
    rechne(w, "D", "A");
    EXPECT_NEAR(z[zdata::ir][1], 0.4, 1e-12);
    EXPECT_TRUE(senke.dialoge.empty());
}

// The heat-pump model code decides which coefficients are read.
TEST_F(LeseDaten, WaermepumpenmodellBestimmtKoeffizienten) {
    struct fall {
        const char* code;
        double t, o;
        bool verdichter;
    };
    for (const fall& f : {fall{"A", -0.08446, 7.32872, true}, fall{"L", -0.08446, 7.32872, false},
                          fall{"H", 0.54137, -0.41249, false}}) {
        SCOPED_TRACE(f.code);
        feld_zeitweise modell(tnum, {feldwert(std::string("MAVN-N"))}, "modelltypwp", feldwert(std::string(f.code)));
        datt& v = zustand::vdatt();
        const int verdichter[] = {tdata::ww_vkv0_kehrwert, tdata::ww_v0, tdata::we_vkv0_kehrwert,
                                  tdata::we_v0};
        for (int i : verdichter) v[static_cast<size_t>(i)] = -99.0;
        ASSERT_TRUE(lade("Braunschweig EFH"));
        EXPECT_EQ(zustand::numchar()[ndata::modelltyp_we], f.code);
        EXPECT_EQ(zustand::numchar()[ndata::modelltyp_ww], f.code);
        EXPECT_DOUBLE_EQ(v[tdata::we_c1], f.t);
        EXPECT_DOUBLE_EQ(v[tdata::we_c2], f.o);
        EXPECT_DOUBLE_EQ(v[tdata::ww_c1], f.t);
        if (f.verdichter) {
            EXPECT_DOUBLE_EQ(v[tdata::we_vkv0_kehrwert], 1.0 / 2.7);
            EXPECT_DOUBLE_EQ(v[tdata::we_v0], 2.56e-05);
            EXPECT_DOUBLE_EQ(v[tdata::ww_vkv0_kehrwert], 1.0 / 2.7);
        } else {
            for (int i : verdichter) EXPECT_EQ(v[static_cast<size_t>(i)], -99.0) << i;
        }
    }
}

// One collector: the unit area is the upper collector's; two in series add up.
TEST_F(LeseDaten, KollektoreinheitAusOberemOderBeidenKollektoren) {
    tabelle& h = tab(thaupt);
    h.sortiere_nach_index("iname");
    ASSERT_TRUE(h.suche({feldwert(std::string("Braunschweig EFH"))}));
    std::vector<feldwert> schluessel;
    for (const auto& s : h.schluesselspalten()) schluessel.push_back(h.wert(s));
    feld_zeitweise unten(thaupt, schluessel, "kolu", feldwert(std::string("Euro C 20 lin")));
    feld_zeitweise flaeche(tkol, {feldwert(std::string("Euro C 20 lin"))}, "flaeche", feldwert(3.0));
    ASSERT_TRUE(lade("Braunschweig EFH"));
    const datt& v = zustand::vdatt();
    EXPECT_DOUBLE_EQ(v[tdata::flaeche_kol_unten], 3.0);
    EXPECT_DOUBLE_EQ(v[tdata::flaeche_kol_oben], 2.0);
    EXPECT_DOUBLE_EQ(v[tdata::daf], 2.0);
    EXPECT_DOUBLE_EQ(v[tdata::kol_unten_quadratisch], 0.0);  // the linearised collector has no quadratic term
    EXPECT_DOUBLE_EQ(v[tdata::kol_unten_verlust], -4.11 / 10.0);
    feld_zeitweise zwei(tabledata::tan, {feldwert(std::string("ZJEG"))}, "AnzahlKol", feldwert(std::string("Z")));
    ASSERT_TRUE(lade("Braunschweig EFH"));
    EXPECT_DOUBLE_EQ(v[tdata::daf], 5.0);
    EXPECT_DOUBLE_EQ(v[tdata::relpump_feld], v[tdata::relpump_kol_unten] + v[tdata::relpump_kol_oben]);
}

// Data that would give a division by zero or an invalid calendar are
// refused before loading; the cases are rows of the value-check table
// (test_wertepruefung.cpp). What stays valid loads without NaN.
TEST_F(LeseDaten, GrenzwerteLadenOhneNaN) {
    feld_zeitweise f(tkol, {feldwert(std::string("Euro C 20"))}, "flaeche", feldwert(0.01));
    ASSERT_TRUE(lade("Braunschweig EFH"));
    const kollektor& k = zustand::anlage(0).oberer_kollektor;
    for (double x : {k.breite.wert, k.laenge.wert, k.hoehe.wert, k.bul.wert}) EXPECT_GT(x, 0.0);
    EXPECT_EQ(k.m, 1);  // one tube across the 7 cm wide collector
    int fehler = 0;
    for (const auto& z : protokollzeilen()) fehler += z.rfind("Fehler: ", 0) == 0;
    EXPECT_EQ(fehler, 0);
}

TEST_F(LeseDaten, UngetesteteKombinationWirdProtokolliert) {
    tabelle& k = tab(tkontrolle);
    transaktion tr(k);
    k.loesche_wo({{"an", "=", feldwert(std::string("ZJEG"))}});
    ASSERT_TRUE(lade("Braunschweig EFH"));
    const auto zeilen = protokollzeilen();
    ASSERT_FALSE(zeilen.empty());
    EXPECT_EQ(zeilen.front(), "Warnung: An, Num - Kombination nicht getestet: ZJEG, MAVN-N");
}

// Detail data the grid cannot hold or rows that are missing abandon the load;
// the data are then not marked as read.
TEST_F(LeseDaten, FehlerhafteDetailzeilenBrechenAb) {
    struct fall {
        const char* name;
        const char* datensatz;
        std::function<void()> aendere;
        const char* dialog;
    };
    const std::vector<fall> faelle = {
        {"801 Stundenwerte im Januar", "test_ir_D_EJEG_IAAN-D_st0",
         [] {
             tabelle& d = tab(tir_ta_d);
             for (int i = 745; i <= 801; ++i) {
                 d.einfuegen();
                 d.setze("name", feldwert(std::string("ir_test_stuendlich")));
                 d.setze("monat", feldwert(int64_t{1}));
                 d.setze("nummer", feldwert(int64_t{i}));
                 for (const char* s : {"ir_g", "ir_d", "tamin", "tamax"}) d.setze(s, feldwert(0.0));
                 d.setze("h", feldwert(1.0));
                 d.setze("hm", feldwert(0.5));
                 d.speichern();
             }
         },
         "Fehler: Ungültiger Wert in Tabelle ir_ta_d, Zeile \"ir_test_stuendlich, 1, 801\", Spalte nummer: 801; "
         "zulässig ganze Zahl 1 bis 800"},
        {"Tageswert fehlt", "test_ir_T_EJEG_IAAN-T_st0",
         [] {
             tab(tir_ta_d).loesche_wo({{"name", "=", feldwert(std::string("ir_test_taeglich"))},
                                       {"monat", "=", feldwert(int64_t{3})},
                                       {"nummer", "=", feldwert(int64_t{7})}});
         },
         nullptr},
        {"Energiewert fehlt", "test_ZJEG_MAVN-D_st0_d",
         [] {
             tab(teh_d).loesche_wo({{"name", "=", feldwert(std::string("eh0_d"))},
                                    {"monat", "=", feldwert(int64_t{2})},
                                    {"nummer", "=", feldwert(int64_t{100})}});
         },
         "Fehler: Kein Energiewert gefunden"},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.name);
        ASSERT_TRUE(lade("Braunschweig EFH"));
        transaktion t1(tab(tir_ta_d));
        transaktion t2(tab(teh_d));
        f.aendere();
        senke.dialoge.clear();
        leere_protokoll();
        bool dbflag = false;
        EXPECT_THROW(lade(f.datensatz, dbflag), abbruch);
        EXPECT_FALSE(marken().daten_eingelesen);
        // The reason is a dialog or, for the value checks in this mode, the
        // last protocol line.
        const auto protokoll = protokollzeilen();
        ASSERT_FALSE(senke.dialoge.empty() && protokoll.empty());
        if (f.dialog) {
            EXPECT_TRUE((!senke.dialoge.empty() && senke.dialoge.back().text == f.dialog) ||
                        protokoll.back() == f.dialog)
                << protokoll.back();
        }
    }
}

// The run lays out the irradiation of each tilt step on the loaded record.
TEST_F(LeseDaten, EinstrahlungFuerNeueNeigungAusGeladenemDatensatz) {
    ASSERT_TRUE(lade("test_ir_D_EJEG_IAAN-D_st0"));
    datz& z = zustand::vdatz();
    const double bei_45 = jahressumme(z[zdata::ir]);
    datt& v = zustand::vdatt();
    ASSERT_TRUE(berechne_Einstrahlungsdaten_geladen(v[tdata::wetter_breite], 0.0, 0.0, z, zustand::numchar(),
                                                    zustand::pvdatz3(1), v));
    const double horizontal = jahressumme(z[zdata::ir]);
    EXPECT_NEAR(horizontal, 1146.07, 1.0);  // the record's global irradiation
    EXPECT_GT(bei_45, horizontal);
}

class DefaultEinheiten : public mit_default_datenbank {};

// The unit rows of the default database are the program's own default rows
// to the last bit, so 212 F is 100 °C and back.
TEST_F(DefaultEinheiten, FaktorenExaktWieDieProgrammeigenen) {
    EXPECT_NEAR(umrechnen(212.0, "F", "°C", "TE", 0), 100.0, 1e-12);
    EXPECT_NEAR(umrechnen(100.0, "°C", "F", "TE", 0), 212.0, 1e-12);
    EXPECT_NEAR(umrechnen(3.6, "MJ/(qm * m)", "kWh/qm", "IR", 0), 1.0, 1e-15);
    tabelle& t = tab(teinheit);
    auto zeilen = [&t] {
        std::map<std::pair<std::string, std::string>, std::pair<double, double>> r;
        const int k = t.spalten_index("Kuerzel"), c = t.spalten_index("Kennzeichen"), a = t.spalten_index("Alpha"),
                  b = t.spalten_index("Beta");
        for (const auto& z : t.lies_alle({"Nummer"}))
            r[{als_text(z[static_cast<size_t>(k)]), als_text(z[static_cast<size_t>(c)])}] = {
                als_zahl(z[static_cast<size_t>(a)]), als_zahl(z[static_cast<size_t>(b)])};
        return r;
    };
    const auto aus_csv = zeilen();
    einheiten_zuruecksetzen();  // the rows the program writes itself
    const auto eigene = zeilen();
    ASSERT_EQ(aus_csv.size(), 55u);
    for (const auto& [schluessel, werte] : eigene) {
        SCOPED_TRACE(schluessel.first + " " + schluessel.second);
        ASSERT_EQ(aus_csv.count(schluessel), 1u);
        EXPECT_EQ(aus_csv.at(schluessel).first, werte.first);
        EXPECT_EQ(aus_csv.at(schluessel).second, werte.second);
    }
}
