// The chart window "Funktion" without its window: what it draws from the
// left and right chart data, and its operations.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "results/graphdaten.h"
#include "results/graphkalk.h"
#include "support/aufzeichnende_senke.h"

namespace {

// Records on the heap (each is about 100 KB), cleared as callers clear them.
struct datenpaar {
    std::unique_ptr<graphdata> links = std::make_unique<graphdata>();
    std::unique_ptr<graphdata> rechts = std::make_unique<graphdata>();
    datenpaar() { setzenull(*links, *rechts); }
};

void kurve(graphdata& g, const std::string& name, std::vector<std::pair<double, double>> p, double xmin = -1e300,
           double xmax = 1e300) {
    const int i = ++g.anzbild;
    g.bildname[i] = name;
    g.anzp[i] = static_cast<int>(p.size());
    for (std::size_t k = 0; k < p.size(); ++k) {
        g.x[k + 1][i] = p[k].first;
        g.y[k + 1][i] = p[k].second;
    }
    g.xmin[i] = xmin;
    g.xmax[i] = xmax;
}

std::vector<std::pair<double, double>> punkte(const kurvenanzeige& k) { return k.punkte; }

class Graphkalk : public mit_meldungen {
protected:
    graphkalk fenster;
    datenpaar d;
};

}  // namespace

TEST_F(Graphkalk, ZeichnetKurvenImXBereichMitAchsenUndTiteln) {
    d.links->xname = "Fläche [qm]";
    d.links->yname = "Energie [kWh]";
    d.links->title = "Titel";
    d.links->info = "Info";
    kurve(*d.links, "C:\\Ergebnisse\\a.dat (links)", {{1, 10}, {2, 20}, {3, 30}}, 1.5, 3);
    kurve(*d.links, "/home/x/b.dat (links)", {{1, -5}, {2, 5}});
    // All points outside the x range: the curve adds nothing, not even to the axis.
    kurve(*d.links, "weit weg", {{100, 1000}}, 0, 50);
    d.rechts->yname = "Rechts";
    kurve(*d.rechts, "r", {{1, 2}, {2, 4}});
    fenster.besetzeSeries(*d.links, *d.rechts, 2000, true, 1);

    const diagrammanzeige& a = fenster.anzeige();
    ASSERT_EQ(a.serien.size(), 4u);
    EXPECT_EQ(a.serien[0].titel, "a.dat (links)");
    EXPECT_EQ(a.serien[1].titel, "b.dat (links)");
    EXPECT_EQ(punkte(a.serien[0]), (std::vector<std::pair<double, double>>{{2, 20}, {3, 30}}));
    EXPECT_TRUE(a.serien[2].punkte.empty());
    EXPECT_TRUE(a.serien[3].rechts);
    EXPECT_EQ(a.kurvenliste, (std::vector<std::string>{"a.dat (links)", "b.dat (links)", "weit weg"}));
    EXPECT_EQ(a.achse_unten, "Fläche [qm]");
    EXPECT_EQ(a.achse_links, "Energie [kWh]");
    EXPECT_EQ(a.achse_rechts, "Rechts");
    EXPECT_EQ(a.titel, "Titel");
    EXPECT_EQ(a.info, "Info");
    // Left: y from -5 to 30 → -5.5 .. 33; right: 0 .. 4.4.
    EXPECT_DOUBLE_EQ(a.links.min, -5.5);
    EXPECT_DOUBLE_EQ(a.links.max, 33.0);
    EXPECT_DOUBLE_EQ(a.rechts.min, 0.0);
    EXPECT_DOUBLE_EQ(a.rechts.max, 4.4);
    EXPECT_DOUBLE_EQ(a.edit_max, 33.0);
    EXPECT_EQ(a.edit_faktor, "1");
    EXPECT_EQ(a.edit_text, "Energie [kWh]");
}

TEST_F(Graphkalk, GroessterWertNullGibtAchseNullBisElf) {
    kurve(*d.links, "null", {{1, 0}, {2, 0}});
    kurve(*d.links, "draussen", {{9, 50}}, 0, 5);
    fenster.besetzeSeries(*d.links, *d.rechts, 2000, true, 1);
    EXPECT_DOUBLE_EQ(fenster.anzeige().links.min, 0.0);
    EXPECT_DOUBLE_EQ(fenster.anzeige().links.max, 11.0);
}

TEST_F(Graphkalk, ImaxpBegrenztDiePunkteAufHoechstens2000) {
    std::vector<std::pair<double, double>> p;
    for (int k = 1; k <= MAXGRAPHPUNKTE; ++k) p.emplace_back(k, 1.0);
    kurve(*d.links, "voll", p);
    kurve(*d.rechts, "rechts voll", p);
    struct fall {
        int imaxp;
        std::size_t gezeichnet;
    };
    for (const fall f : {fall{5000, 2000u}, fall{2000, 2000u}, fall{10, 10u}, fall{0, 0u}}) {
        fenster.besetzeSeries(*d.links, *d.rechts, f.imaxp, true, 1);
        EXPECT_EQ(fenster.anzeige().serien[0].punkte.size(), f.gezeichnet) << f.imaxp;
        EXPECT_EQ(fenster.anzeige().serien[1].punkte.size(), f.gezeichnet) << f.imaxp;
    }
}

TEST_F(Graphkalk, ErsterPunktAusVerbirgtNurDenErstenPunktDerLinkenKurven) {
    kurve(*d.links, "l1", {{1, 100}, {2, 2}, {3, 3}});
    kurve(*d.links, "l2", {{1, 7}, {2, 8}});
    kurve(*d.rechts, "r", {{1, 5}, {2, 6}});
    fenster.besetzeSeries(*d.links, *d.rechts, 2000, true, 1);
    fenster.erster_punkt_aus();
    const diagrammanzeige& a = fenster.anzeige();
    EXPECT_EQ(punkte(a.serien[0]), (std::vector<std::pair<double, double>>{{2, 2}, {3, 3}}));
    EXPECT_EQ(punkte(a.serien[1]), (std::vector<std::pair<double, double>>{{2, 8}}));
    EXPECT_EQ(punkte(a.serien[2]), (std::vector<std::pair<double, double>>{{1, 5}, {2, 6}}));
    // The hidden point no longer stretches the axis: 2..8 → 0 .. 8.8.
    EXPECT_DOUBLE_EQ(a.links.max, 8.8);
}

TEST_F(Graphkalk, QuotientIstNullWoEinWertNullIst) {
    d.links->xname = "x";
    kurve(*d.links, "a", {{1, 2}, {2, 0}, {3, 6}}, 0, 2.5);
    kurve(*d.links, "b", {{1, 4}, {2, 5}, {3, 0}}, 1.5, 3);
    kurve(*d.rechts, "alt rechts", {{1, 1}});
    fenster.besetzeSeries(*d.links, *d.rechts, 2000, true, 1);
    ASSERT_TRUE(fenster.quotient(2, 1));  // either order: curve a is the first selected
    const graphdata& q = fenster.rechtsdaten();
    EXPECT_EQ(q.anzbild, 2);
    EXPECT_EQ(q.yname, "Quotient");
    EXPECT_EQ(q.xname, "x");
    EXPECT_EQ(q.bildname[1], "a / b");
    EXPECT_EQ(q.bildname[2], "b / a");
    const double y1[] = {0.5, 0.0, 0.0}, y2[] = {2.0, 0.0, 0.0};
    for (int k = 1; k <= 3; ++k) {
        EXPECT_DOUBLE_EQ(q.y[k][1], y1[k - 1]) << k;
        EXPECT_DOUBLE_EQ(q.y[k][2], y2[k - 1]) << k;
    }
    // x ranges: curve 1 from a, curve 2 from b; drawn on the right beside the left curves.
    const diagrammanzeige& a = fenster.anzeige();
    ASSERT_EQ(a.serien.size(), 4u);
    EXPECT_EQ(punkte(a.serien[2]), (std::vector<std::pair<double, double>>{{1, 0.5}, {2, 0.0}}));
    EXPECT_EQ(punkte(a.serien[3]), (std::vector<std::pair<double, double>>{{2, 0.0}, {3, 0.0}}));
    EXPECT_EQ(a.serien[0].titel, "a");
    EXPECT_TRUE(senke.dialoge.empty());
}

TEST_F(Graphkalk, QuotientNenntBeideKurvenOhneOrdner) {
    kurve(*d.links, "/home/x/a.dat (links)", {{1, 2}});
    kurve(*d.links, "C:\\Ergebnisse\\b.dat (links)", {{1, 4}});
    fenster.besetzeSeries(*d.links, *d.rechts, 2000, true, 1);
    ASSERT_TRUE(fenster.quotient(1, 2));
    const diagrammanzeige& a = fenster.anzeige();
    ASSERT_EQ(a.serien.size(), 4u);
    EXPECT_EQ(a.serien[2].titel, "a.dat (links) / b.dat (links)");
    EXPECT_EQ(a.serien[3].titel, "b.dat (links) / a.dat (links)");
}

TEST_F(Graphkalk, QuotientVerschiedenerXWirdAbgelehnt) {
    kurve(*d.links, "a", {{1, 2}, {2, 3}});
    kurve(*d.links, "b", {{1, 2}, {2.5, 3}});
    kurve(*d.links, "c", {{1, 2}, {2, 3}, {3, 4}});  // one point more than a
    fenster.besetzeSeries(*d.links, *d.rechts, 2000, true, 1);
    for (auto [i, j] : {std::pair{1, 2}, std::pair{1, 3}}) {
        senke.dialoge.clear();
        EXPECT_FALSE(fenster.quotient(i, j));
        ASSERT_EQ(senke.dialoge.size(), 1u);
        EXPECT_EQ(senke.dialoge[0].text, "Division nur für identische x-Werte");
        EXPECT_EQ(fenster.anzeige().serien.size(), 3u);  // nothing new shown
    }
}

TEST_F(Graphkalk, SummeWirdAufZweiStellenAbgeschnitten) {
    kurve(*d.links, "a", {{1, 1.239}, {2, 1.0}});
    kurve(*d.links, "b", {{1, 0.29}});  // 0.29 × 100 is 28.999999999999996 in binary
    kurve(*d.links, "c", {{1, -1.239}, {2, -1.0}});
    kurve(*d.links, "d", {{1, 5.0}, {2, 7.0}, {3, 0.009}}, 100, 200);  // x range does not matter
    fenster.besetzeSeries(*d.links, *d.rechts, 2000, true, 1);
    EXPECT_EQ(fenster.summe_text(1), "2.23");
    EXPECT_EQ(fenster.summe_text(2), "0.29");
    EXPECT_EQ(fenster.summe_text(3), "-2.23");
    EXPECT_EQ(fenster.summe_text(4), "12.00");
    EXPECT_TRUE(graphkalk::integral_moeglich({2}));
    EXPECT_FALSE(graphkalk::integral_moeglich({1, 2}));
    EXPECT_TRUE(graphkalk::quotient_moeglich({1, 2}));
}

TEST_F(Graphkalk, SkalierenVerdoppeltLinksUndLaesstRechtsWieEingegeben) {
    kurve(*d.links, "l", {{1, 3}, {2, 4}});
    kurve(*d.rechts, "r", {{1, 5}, {2, 6}});
    fenster.besetzeSeries(*d.links, *d.rechts, 2000, true, 1);
    skalierung s;
    s.faktor = 2.0;
    s.faktor_text = "2";
    s.min = 0.0;
    s.max = 4.4;
    s.rmin = 1.0;
    s.rmax = 9.0;
    s.text = "Energie";
    s.faktor_in_beschriftung = true;
    fenster.skaliere(s);
    const diagrammanzeige& a = fenster.anzeige();
    EXPECT_EQ(punkte(a.serien[0]), (std::vector<std::pair<double, double>>{{1, 6}, {2, 8}}));
    EXPECT_EQ(punkte(a.serien[1]), (std::vector<std::pair<double, double>>{{1, 5}, {2, 6}}));
    EXPECT_DOUBLE_EQ(a.links.min, 0.0);
    EXPECT_DOUBLE_EQ(a.links.max, 8.8);
    EXPECT_DOUBLE_EQ(a.rechts.min, 1.0);
    EXPECT_DOUBLE_EQ(a.rechts.max, 9.0);
    EXPECT_EQ(a.achse_links, "Energie * 2");
    // Applying again scales the original data, not the scaled.
    s.faktor_in_beschriftung = false;
    fenster.skaliere(s);
    EXPECT_EQ(punkte(fenster.anzeige().serien[0]), (std::vector<std::pair<double, double>>{{1, 6}, {2, 8}}));
    EXPECT_EQ(fenster.anzeige().achse_links, "Energie");
    // The sum reads the data, not the display.
    EXPECT_EQ(fenster.summe_text(1), "7.00");
}

TEST_F(Graphkalk, LabelsUndRechteKurvenUmschalten) {
    d.rechts->yname = "R";
    kurve(*d.links, "l", {{1, 3}});
    kurve(*d.rechts, "r", {{1, 5}});
    fenster.besetzeSeries(*d.links, *d.rechts, 2000, true, 1);
    EXPECT_FALSE(fenster.anzeige().labels);
    EXPECT_EQ(fenster.label_knopf(), "Label ein");
    fenster.labels_umschalten();
    EXPECT_TRUE(fenster.anzeige().labels);
    EXPECT_EQ(fenster.label_knopf(), "Label aus");

    EXPECT_EQ(fenster.rechts_knopf(), "Rechte Linien aus");
    fenster.rechtsdaten_umschalten();
    EXPECT_FALSE(fenster.anzeige().rechts_sichtbar);
    EXPECT_EQ(fenster.anzeige().achse_rechts, "");
    EXPECT_EQ(fenster.anzeige().serien.size(), 1u);
    EXPECT_EQ(fenster.rechts_knopf(), "Rechte Linien an");
    fenster.rechtsdaten_umschalten();
    EXPECT_EQ(fenster.anzeige().achse_rechts, "R");
    EXPECT_EQ(fenster.anzeige().serien.size(), 2u);

    setze_sprache(SPRACHE_ENGLISCH);
    EXPECT_EQ(fenster.label_knopf(), "Labels off");
}

TEST(Abschneiden, SchneidetZurNullHinUndHaeltGenaueWerte) {
    struct fall {
        double x;
        double erwartet;
    };
    for (const fall f : {fall{2.239, 2.23}, fall{2.23, 2.23}, fall{0.29, 0.29}, fall{-2.239, -2.23},
                         fall{-0.001, 0.0}, fall{1e6 + 0.999, 1e6 + 0.99}}) {
        EXPECT_DOUBLE_EQ(abschneiden(f.x, 2), f.erwartet) << f.x;
    }
    EXPECT_FALSE(std::signbit(abschneiden(-0.001, 2)));
}
