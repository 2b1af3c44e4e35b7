#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/simulation_run.h"
#include "support/lauf_fixture.h"

using Lauf = mit_laufzustand;

namespace {
int starte(laufumgebung u) {
    int bkflag = -1;
    starte_simulation(bkflag, u);
    return bkflag;
}
}  // namespace

TEST_F(Lauf, FlaechenNeigungenUndLeistungenJeLaufart) {
    struct fall {
        const char* name;
        double mina, maxa, daf;
        int schritt;
        const char* laufart;  // numchar[ndata::laufart]
        double mintheta, maxtheta;
        int anztheta;
        const char* kopplung;  // numchar[ndata::kopplungsart]
        int anzwp;
        std::vector<double> flaechen;   // written area sections
        std::vector<double> neigungen;  // irradiation calls of the first area
        std::vector<double> leistungen;  // vdatt[tdata::ww_leistung] per parameter step of the first area
    };
    const fall faelle[] = {
        {"optimierung", 0.0, 8.0, 2.0, 2, "N", 30, 60, 3, "A", 2,
         {0, 4, 8}, {30, 40, 50, 60}, {2, 5}},
        {"einzelsimulation", 0.0, 8.0, 2.0, 2, "Y", 30, 60, 3, "A", 2,
         {0, 4, 8}, {30}, {2, 5}},
        {"gleiche_neigung", 0.0, 4.0, 2.0, 2, "N", 45, 45, 3, "A", 1, {0, 4}, {45}, {2}},
        {"mindestflaeche", 3.0, 9.0, 2.0, 2, "N", 30, 30, 1, "A", 1, {4, 8}, {30}, {2}},
        {"max_unter_einem_schritt", 3.0, 4.0, 2.0, 5, "N", 30, 30, 1, "A", 1, {4}, {30}, {2}},
        {"konstante_leistung", 0.0, 2.0, 2.0, 1, "N", 30, 30, 1, "K", 3, {0, 2}, {30}, {7.5}},
    };
    for (const fall& f : faelle) {
        SCOPED_TRACE(f.name);
        dienste = dienst_doppel{};
        schritte = schritt_doppel{};
        laufsteuerung& l = zustand::lauf();
        l.mina = f.mina;
        l.maxa = f.maxa;
        l.danzflaeche = f.schritt;
        l.mintheta = f.mintheta;
        l.maxtheta = f.maxtheta;
        l.anztheta = f.anztheta;
        l.anzwp = f.anzwp;
        l.minleistwp = 2.0;
        l.maxleistwp = 8.0;
        zustand::vdatt()[tdata::daf] = f.daf;
        zustand::vdatt()[tdata::ww_leistung] = 7.5;
        zustand::numchar()[ndata::laufart] = f.laufart;
        zustand::numchar()[ndata::kopplungsart] = f.kopplung;
        EXPECT_EQ(starte(umgebung()), 1);

        EXPECT_EQ(dienste.geschriebene_flaechen, f.flaechen);
        const std::size_t neigungen_je_flaeche = f.neigungen.size();
        ASSERT_EQ(dienste.neigungen.size(), neigungen_je_flaeche * f.flaechen.size());
        EXPECT_EQ(std::vector<double>(dienste.neigungen.begin(),
                                      dienste.neigungen.begin() + neigungen_je_flaeche),
                  f.neigungen);
        // One period call of code 'V' per parameter step: 12 months each.
        const std::size_t schritte_je_flaeche = neigungen_je_flaeche * f.leistungen.size();
        ASSERT_EQ(schritte.leistungen.size(), 12 * schritte_je_flaeche * f.flaechen.size());
        for (std::size_t k = 0; k < f.leistungen.size(); ++k) {
            EXPECT_DOUBLE_EQ(schritte.leistungen[12 * k], f.leistungen[k]);
        }
        EXPECT_TRUE(marken().simulation_durchgefuehrt);
        marken().simulation_durchgefuehrt = false;
    }
}

TEST_F(Lauf, NeigungSetztCosinusDesBasiswerts) {
    zustand::vdatt()[tdata::mittlerer_wind] = 2.0;
    zustand::lauf().mintheta = 60.0;
    zustand::lauf().maxtheta = 60.0;
    zustand::lauf().maxa = 0.0;
    starte(umgebung());
    EXPECT_DOUBLE_EQ(zustand::vdatt()[tdata::theta_s], 60.0);
    EXPECT_NEAR(zustand::vdatt()[tdata::mittlerer_wind], 1.0, 1e-12);
}

TEST_F(Lauf, FlaecheNullRuftAnalytischeCodesOhneFensterUndGeGrenzen) {
    flagchar& n = zustand::numchar();
    n[ndata::zeitraum] = "I";
    n[ndata::rechenart] = "A";
    n[ndata::kopplungstyp] = "E";
    zustand::lauf().maxa = 0.0;
    zustand::lauf().maxge = 5.0;
    dienste.maxge = 100.0;
    starte(umgebung());
    EXPECT_EQ(dienste.geschriebene_flaechen, std::vector<double>{0.0});
    EXPECT_EQ(zustand::anlage(0).n, 0);
    EXPECT_EQ(schritte.pfade, std::vector<char>(12, 'A'));  // code 'E' ran
    EXPECT_EQ(beobachter.t_fenster, 0);
    EXPECT_EQ(beobachter.v_fenster, 0);
    EXPECT_DOUBLE_EQ(zustand::lauf().maxge, 5.0);

    // With area the ge limits are divided by the number of collector units.
    dienste.geschriebene_flaechen.clear();
    zustand::lauf().maxa = 4.0;
    zustand::lauf().mina = 4.0;
    starte(umgebung());
    EXPECT_EQ(zustand::anlage(0).n, 2);
    EXPECT_DOUBLE_EQ(zustand::lauf().maxge, 50.0);
    EXPECT_EQ(beobachter.t_fenster, 1);
}

TEST_F(Lauf, CodeAuswahlNachZeitraumUndRechenart) {
    struct fall {
        const char *zeitraum, *art, *kopplung;
        std::vector<char> pfade;  // path of the first month of each code called
    };
    const fall faelle[] = {
        {"M", "V", "Z", {'Z'}},
        {"I", "M", "Z", {'Z'}},
        {"I", "A", "Z", {'A'}},
        {"I", "A", "E", {'A'}},
        {"M", "A", "Z", {}},
        {"J", "V", "Z", {'K'}},
        {"J", "T", "Z", {}},
    };
    for (const fall& f : faelle) {
        SCOPED_TRACE(std::string(f.zeitraum) + f.art + f.kopplung);
        schritte = schritt_doppel{};
        flagchar& n = zustand::numchar();
        n[ndata::zeitraum] = f.zeitraum;
        n[ndata::rechenart] = f.art;
        n[ndata::kopplungstyp] = f.kopplung;
        zustand::lauf().maxa = 0.0;
        starte(umgebung());
        std::vector<char> erste;
        for (std::size_t i = 0; i < schritte.pfade.size(); i += 12) erste.push_back(schritte.pfade[i]);
        EXPECT_EQ(erste, f.pfade);
    }
}

TEST_F(Lauf, VorbedingungenUndKombinationspruefung) {
    marken().ausgabefile_angelegt = false;
    zustand::numchar()[ndata::meldungsmodus] = "M";
    starte(umgebung());
    ASSERT_EQ(senke.dialoge.size(), 1u);
    EXPECT_EQ(senke.dialoge[0].text, "Fehler: Daten einlesen und Ausgabedatei anlegen");
    EXPECT_EQ(senke.dialoge[0].schwere, 'E');
    EXPECT_EQ(dienste.kombinationspruefungen, 0);
    EXPECT_TRUE(schritte.monate.empty());

    marken().ausgabefile_angelegt = true;
    dienste.bkflag_antwort = 0;
    EXPECT_EQ(starte(umgebung()), 0);
    EXPECT_TRUE(schritte.monate.empty());
    EXPECT_TRUE(dienste.geschriebene_flaechen.empty());
    EXPECT_FALSE(marken().simulation_durchgefuehrt);

    // Warnings only: the run goes ahead.
    dienste.bkflag_antwort = 2;
    zustand::lauf().maxa = 0.0;
    EXPECT_EQ(starte(umgebung()), 2);
    EXPECT_EQ(schritte.monate.size(), 12u);
    EXPECT_FALSE(beobachter.sanduhr_an);
}

TEST_F(Lauf, AbgewieseneNeigungBeendetDenLauf) {
    zustand::lauf().mintheta = 30.0;
    zustand::lauf().maxtheta = 60.0;
    zustand::lauf().anztheta = 3;
    dienste.neigung_erlaubt_bis = 45.0;
    starte(umgebung());
    EXPECT_EQ(dienste.neigungen, (std::vector<double>{30.0, 40.0, 50.0}));
    EXPECT_EQ(schritte.monate.size(), 24u);  // the two accepted tilts only
    EXPECT_TRUE(dienste.geschriebene_flaechen.empty());
    EXPECT_FALSE(marken().simulation_durchgefuehrt);
}

TEST_F(Lauf, FlaecheneinheitNullWirdAbgewiesenStattEndlosZuLaufen) {
    zustand::vdatt()[tdata::daf] = 0.0;
    zustand::numchar()[ndata::meldungsmodus] = "M";
    starte(umgebung());
    ASSERT_EQ(senke.dialoge.size(), 1u);
    EXPECT_TRUE(schritte.monate.empty());
}

// Line 2 of a result file announces the sections the run writes, also when
// the first area is above one unit or there is a single area.
TEST_F(Lauf, AngekuendigteAbschnitteSindDieGeschriebenen) {
    struct fall {
        double mina, maxa, daf;
        int schritt;
        std::vector<double> flaechen;
    };
    const fall faelle[] = {
        {10.0, 18.0, 2.0, 2, {10, 14, 18}},  // first area 5 units
        {10.0, 10.0, 2.0, 2, {10}},          // a single area
        {9.0, 10.0, 2.0, 1, {10}},           // minimum rounded up to whole units, one area
        {0.0, 8.0, 2.0, 2, {0, 4, 8}},
        {2.0, 80.0, 2.0, 2, {2, 6, 10, 14, 18, 22, 26, 30, 34, 38, 42, 46, 50, 54, 58, 62, 66, 70, 74, 78}},
    };
    for (const fall& f : faelle) {
        SCOPED_TRACE(std::to_string(f.mina) + " .. " + std::to_string(f.maxa));
        dienste = dienst_doppel{};
        zustand::lauf().mina = f.mina;
        zustand::lauf().maxa = f.maxa;
        zustand::lauf().danzflaeche = f.schritt;
        zustand::vdatt()[tdata::daf] = f.daf;
        starte(umgebung());
        EXPECT_EQ(dienste.geschriebene_flaechen, f.flaechen);
        EXPECT_EQ(dienste.angekuendigte_abschnitte,
                  std::vector<int>(f.flaechen.size(), static_cast<int>(f.flaechen.size())));
        EXPECT_EQ(dienste.abschluesse, 1);
        EXPECT_TRUE(marken().simulation_durchgefuehrt);
        marken().simulation_durchgefuehrt = false;
    }
}

// Counts that come from the data never drive an endless or overflowing loop:
// such a run is refused before anything is computed or written.
TEST_F(Lauf, UnbeschraenkteSchrittzahlenWerdenVorDemRechnenAbgewiesen) {
    const double inf = std::numeric_limits<double>::infinity();
    struct fall {
        const char* name;
        double mina, maxa, daf;
        int anztheta, anzwp;
        const char* meldung;  // start of the reason
    };
    const fall faelle[] = {
        {"maxa 1e308", 0.0, 1e308, 2.0, 1, 1, "Fehler: Flächenbereich ungültig oder zu groß"},
        {"maxa inf", 0.0, inf, 2.0, 1, 1, "Fehler: Flächenbereich ungültig oder zu groß"},
        {"maxa nan", 0.0, std::nan(""), 2.0, 1, 1, "Fehler: Flächenbereich ungültig oder zu groß"},
        {"mina 1e308", 1e308, 1e308, 2.0, 1, 1, "Fehler: Flächenbereich ungültig oder zu groß"},
        {"daf 1e-300", 0.0, 20.0, 1e-300, 1, 1, "Fehler: Flächenbereich ungültig oder zu groß"},
        {"daf nan", 0.0, 20.0, std::nan(""), 1, 1, "Fehler: Kollektorfläche je Einheit"},
        {"mina > maxa", 30.0, 20.0, 2.0, 1, 1, "Fehler: Keine Kollektorfläche im Bereich"},
        {"50 Abschnitte", 0.0, 196.0, 2.0, 1, 1, "Fehler: Zulässige Anzahl von Werten für Kollektoren (CMAXA)"},
        {"anztheta 2e9", 0.0, 8.0, 2.0, 2000000000, 1, "Fehler: Neigungsschritte ungültig"},
        {"anzwp 2e9", 0.0, 8.0, 2.0, 1, 2000000000, "Fehler: Leistungsschritte der Wärmepumpe ungültig"},
    };
    for (const fall& f : faelle) {
        SCOPED_TRACE(f.name);
        dienste = dienst_doppel{};
        schritte = schritt_doppel{};
        senke.dialoge.clear();
        laufsteuerung& l = zustand::lauf();
        l.mina = f.mina;
        l.maxa = f.maxa;
        l.anztheta = f.anztheta;
        l.mintheta = 0.0;
        l.maxtheta = 90.0;
        l.anzwp = f.anzwp;
        l.minleistwp = 1000.0;
        l.maxleistwp = 2000.0;
        zustand::numchar()[ndata::laufart] = "N";  // optimisation: tilts and powers vary
        zustand::vdatt()[tdata::daf] = f.daf;
        starte(umgebung());
        EXPECT_TRUE(schritte.monate.empty());
        EXPECT_TRUE(dienste.geschriebene_flaechen.empty());
        EXPECT_EQ(dienste.abschluesse, 0);
        EXPECT_FALSE(marken().simulation_durchgefuehrt);
        ASSERT_EQ(senke.dialoge.size(), 1u);
        EXPECT_EQ(senke.dialoge[0].text.rfind(f.meldung, 0), 0u) << senke.dialoge[0].text;
    }
}

TEST_F(Lauf, MisslungenerAbschlussIstKeinDurchgefuehrterLauf) {
    dienste.abschluss_gelingt = false;
    starte(umgebung());
    EXPECT_FALSE(dienste.geschriebene_flaechen.empty());
    EXPECT_EQ(dienste.abschluesse, 1);
    EXPECT_FALSE(marken().simulation_durchgefuehrt);
}

TEST_F(Lauf, AbbruchImLaufSetztCursorZurueckUndBehaeltGeschriebenes) {
    zustand::lauf().maxa = 4.0;
    int monate = 0;
    schritte.nach_monat = [&](periodenkontext& k, int) {
        if (++monate == 20) meldung("Fehler: Abbruch", "S", 'T');
        (void)k;
    };
    int bkflag = 0;
    auto u = umgebung();
    EXPECT_THROW(starte_simulation(bkflag, u), abbruch);
    EXPECT_FALSE(beobachter.sanduhr_an);
    EXPECT_EQ(dienste.geschriebene_flaechen, std::vector<double>{0.0});
    EXPECT_FALSE(marken().simulation_durchgefuehrt);
}

TEST_F(Lauf, EinzelsimulationSetztCodesUndProtokoll) {
    leere_protokoll();
    meldung("alt", "S", 'W');
    zustand::lauf().maxa = 0.0;
    zustand::numchar()[ndata::messmodus] = "J";
    auto u = umgebung();
    starte_einzelsimulation("Braunschweig EFH", u);
    const flagchar& n = zustand::numchar();
    EXPECT_EQ(n[ndata::laufart], "Y");
    EXPECT_EQ(n[ndata::kontrolllauf], "N");
    EXPECT_EQ(n[ndata::meldungsmodus], "M");
    EXPECT_EQ(n[ndata::messmodus], "N");
    EXPECT_EQ(protokollzeilen(), std::vector<std::string>{"Braunschweig EFH"});
    EXPECT_EQ(dienste.intervall_abschnitte, std::vector<int>{1});  // single simulation writes .str

    marken().steuerdatei_eingelesen = false;
    schritte.monate.clear();
    starte_einzelsimulation("Braunschweig EFH", u);
    ASSERT_FALSE(senke.dialoge.empty());
    EXPECT_EQ(senke.dialoge.back().text, "Fehler: Bitte Steuerdatei einlesen.");
    EXPECT_TRUE(schritte.monate.empty());
}

TEST_F(Lauf, OptimierungSchreibtKeineIntervalldatei) {
    zustand::lauf().maxa = 4.0;
    auto u = umgebung();
    optimierung_starten("EFH", u);
    EXPECT_EQ(zustand::numchar()[ndata::laufart], "N");
    EXPECT_EQ(dienste.geschriebene_flaechen, (std::vector<double>{0, 4}));
    EXPECT_TRUE(dienste.intervall_abschnitte.empty());
}

TEST_F(Lauf, SteuerlaufBleibtBeiDerFlaecheBisStopUndSchaltetAb) {
    beobachter.station_flaeche = 6.0;
    beobachter.station_startmonat = 3;
    beobachter.station_startintervall = 10;
    int durchlaeufe = 0;
    schritte.nach_monat = [&](periodenkontext& k, int m) {
        if (m == 3 && ++durchlaeufe == 3) k.numchar[ndata::stopp] = "J";
    };
    auto u = umgebung();
    Steuern_Starten("J", "Y", "Station", u);
    // Every area step used the station's area; the third stop ended the run.
    EXPECT_EQ(dienste.geschriebene_flaechen, (std::vector<double>{6.0, 6.0, 6.0}));
    EXPECT_EQ(dienste.abschaltungen, (std::vector<std::string>{"VS", "IS", "VV"}));
    EXPECT_TRUE(beobachter.beenden_angefordert);
    EXPECT_EQ(zustand::anlage(0).n, 3);
    EXPECT_EQ(zustand::monatstart(), 3);  // the clock's month in measuring mode
    EXPECT_EQ(zustand::startintervall(), 10);
    const flagchar& n = zustand::numchar();
    EXPECT_EQ(n[ndata::kontrolllauf], "J");
    EXPECT_EQ(n[ndata::einstrahlung_berechnen], "J");
    EXPECT_EQ(n[ndata::messmodus], "J");
}

TEST_F(Lauf, SteuerlaufImMessmodusNimmtStartpunktVonDerUhr) {
    beobachter_doppel uhr;
    uhr.uhr_monat = 2;
    uhr.uhr_tag = 3;
    uhr.uhr_stunde = 4;
    schritt_doppel echte;  // uses the base class start point through the run's adapter
    lauf_perioden_schritte adapter(echte, uhr);
    int monat = 0, intervall = 0;
    adapter.steuerlauf_startpunkt(true, monat, intervall);
    EXPECT_EQ(monat, 2);
    EXPECT_EQ(intervall, 2 * 24 + 4 + 1);
    uhr.station_startmonat = 9;
    uhr.station_startintervall = 17;
    adapter.steuerlauf_startpunkt(false, monat, intervall);
    EXPECT_EQ(monat, 9);
    EXPECT_EQ(intervall, 17);
}

TEST_F(Lauf, TtiefJeKopplung) {
    struct fall {
        const char *kopplung, *kopplungstyp, *kaltwasser;
        double erwartet;
    };
    // ta = 5, vdatt[tdata::reservoirtemperatur] = -3, vdatt[tdata::mindeltatkol] = 8, rwv = 30, te = 10, tt before = 99
    const fall faelle[] = {
        {"DK", "Z", "W", 13.0}, {"DKF", "Z", "W", 13.0}, {"L", "Z", "W", -3.0},
        {"F", "Z", "W", -3.0},  {"E", "Z", "W", -3.0},   {"A", "Z", "W", 5.0},
        {"K", "Z", "W", 99.0},  {"K", "E", "W", 30.0},   {"A", "E", "E", 10.0},
    };
    datz vdatz{};
    vdatz[zdata::rwv][4] = 30.0;
    vdatz[zdata::te][4] = 10.0;
    datt vdatt{};
    vdatt[tdata::reservoirtemperatur] = -3.0;
    vdatt[tdata::mindeltatkol] = 8.0;
    datz3& p = zustand::pvdatz3(1);
    for (const fall& f : faelle) {
        SCOPED_TRACE(std::string(f.kopplung) + f.kopplungstyp + f.kaltwasser);
        p[zdata::ta][4][2] = 5.0;
        p[zdata::tt][4][2] = 99.0;
        p[zdata::tt][4][3] = 99.0;  // beyond n[4] = 2
        flagchar n;
        n[ndata::kopplungsart] = f.kopplung;
        n[ndata::kopplungstyp] = f.kopplungstyp;
        n[ndata::kaltwassertemp] = f.kaltwasser;
        ttief(vdatz, p, vdatt, n);
        EXPECT_DOUBLE_EQ(p[zdata::tt][4][2], f.erwartet);
        EXPECT_DOUBLE_EQ(p[zdata::tt][4][3], 99.0);
    }
}

TEST_F(Lauf, NeueSimulationLoeschtDieMarken) {
    marken().simulation_durchgefuehrt = true;
    neue_simulation();
    EXPECT_FALSE(marken().daten_eingelesen);
    EXPECT_FALSE(marken().ausgabefile_angelegt);
    EXPECT_FALSE(marken().simulation_durchgefuehrt);
}
