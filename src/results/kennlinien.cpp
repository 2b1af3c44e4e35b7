#include "results/kennlinien.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include "data/einheiten.h"
#include "engine/models/kollektor.h"
#include "engine/models/laufkontext.h"
#include "engine/models/numerik.h"
#include "engine/models/waermepumpe.h"
#include "lang/meldung.h"
#include "results/graphdaten.h"
#include "results/graphiktexte.h"

namespace gt = graphiktexte;

namespace {

double zwei_dezimalen(double x) { return std::nearbyint(x * 100.0) / 100.0; }

void leere(graphdata& g) {
    g.anzp.fill(0);
    g.xmin.fill(0.0);
    g.xmax.fill(0.0);
    for (auto& n : g.bildname) n.clear();
    g.anzbild = 0;
    g.xname = g.yname = g.title = g.info = "";
}

bool gueltiger_monat(int m) { return m >= 1 && m <= MAXMONAT; }

std::string zahl(double x) {
    char puffer[64];
    std::snprintf(puffer, sizeof puffer, "%.6g", x);
    return puffer;
}

}  // namespace

std::vector<int> intervall_liste(int monat) {
    std::vector<int> l;
    if (!gueltiger_monat(monat)) return l;
    const int n = intervalle(monat);
    for (int j = 1; j <= n; ++j) l.push_back(j);
    return l;
}

kennlinien_felder fuelle_kennlinien_felder(int monat, int intervall) {
    kennlinien_felder f;
    if (!gueltiger_monat(monat) || intervall < 1 || intervall > MAXINTERVALL) return f;
    using namespace zdata;
    const datz3& reihe = zustand::pvdatz3(1);
    const datz& z = zustand::vdatz();
    const flagchar& numchar = zustand::numchar();
    const int m = monat;
    f.is = zwei_dezimalen(reihe[is0][m][intervall]);
    f.ta = zwei_dezimalen(reihe[ta][m][intervall]);
    f.tk = zwei_dezimalen(z[te][m]);
    double vorlauf = z[twv][m], ruecklauf = z[tein][m] != 0.0 ? z[tein][m] : z[rwv][m];
    if (vorlauf == 0.0) {
        // The run's preparation has not set the supply and return
        // temperatures yet: they follow from the demand as it would set them.
        const bool heizung = numchar[ndata::heizung] == "J";
        vorlauf = heizung ? vorlauftemperatur_aus_bedarf(numchar, z, m) : z[tw][m];
        const double energie = z[ew][m] + z[eh][m];
        ruecklauf = !heizung ? z[rw][m] : energie > 0.0 ? (z[rw][m] * z[ew][m] + z[rh][m] * z[eh][m]) / energie : z[rh][m];
    }
    f.tein = zwei_dezimalen(ruecklauf);
    f.twv = zwei_dezimalen(vorlauf);
    return f;
}

void cop_kennlinien(double t_hoch, double t_tief, int monat, graphdata& links, graphdata& rechts) {
    setzenull(links, rechts);
    leere(links);
    leere(rechts);
    if (!gueltiger_monat(monat)) return;
    constexpr int PUNKTE = 200;
    // The COP model writes the refrigerant state of the interval into the
    // interval results it is given; a scratch record keeps the run's apart.
    auto schmierblatt = std::make_unique<::date3>();
    const datt& vdatt = zustand::vdatt();
    const datz& vdatz = zustand::vdatz();
    const flagchar& numchar = zustand::numchar();
    const double schritt = (t_hoch - t_tief) / PUNKTE;
    double roh = 0.0;
    for (int k = 1; k <= PUNKTE; ++k) {
        const double x = t_tief + k * schritt;
        links.x[k][1] = links.x[k][2] = x;
        links.y[k][1] = berechne_cop(vdatt, vdatz, 'W', x, t_hoch, numchar, roh, *schmierblatt, monat, 1,
                                       zustand::stoffdaten().kaeltemittel_record);
        links.y[k][2] = berechne_cop(vdatt, vdatz, 'E', x, t_hoch, numchar, roh, *schmierblatt, monat, 1,
                                       zustand::stoffdaten().kaeltemittel_record);
    }
    links.anzbild = 2;
    for (int i = 1; i <= 2; ++i) {
        links.anzp[i] = PUNKTE;
        links.xmin[i] = 0.0;
        links.xmax[i] = links.x[PUNKTE][i];
    }
    links.bildname[1] = gt::transfer.text();
    links.bildname[2] = gt::nachheizung.text();
    links.xname = beschriftung_mit_einheit(gt::temperaturdifferenz.text(), "°C");
    links.yname = gt::cop.text();
    links.title = gt::endtemperatur.text();
    berechne_y_bereich(links);
}

double durchfluss_aus_austrittstemperatur(const datt& vdatt, double tf, double te, double ta, double G) {
    const double A = vdatt[tdata::flaeche_kol_oben], k = vdatt[tdata::kol_oben_verlust], eta0 = vdatt[tdata::kol_oben_konversion], a2 = vdatt[tdata::kol_oben_quadratisch];
    const double d = (tf + te) / 2.0 - ta;
    double waerme = 0.0;
    if (G <= 0.0) {
        waerme = 10.0 * k * A * d;
    } else {
        const double f = zehn_durch(G);
        waerme = A * G * (eta0 + k * d * f + a2 * d * d * f);
    }
    const double kapazitaet = vdatt[tdata::kollektorfluid_cpf] * vdatt[tdata::kollektorfluid_dichte];
    if (tf == te || kapazitaet == 0.0) return 0.0;
    const double u = waerme / (tf - te);
    return u / kapazitaet;
}

bool kollektor_kennlinien(int monat, int intervall, double ta, double te, double G, double minge,
                          double maxge, graphdata& links, graphdata& rechts) {
    setzenull(links, rechts);
    leere(links);
    leere(rechts);
    if (!(minge > 0.0) || !(maxge > 0.0) || !std::isfinite(minge) || !std::isfinite(maxge)) {
        meldung(gt::volumenstrom_ungueltig.text() + zahl(minge) + " .. " + zahl(maxge), "M", 'E');
        return false;
    }
    if (!gueltiger_monat(monat) || intervall < 1 || intervall > MAXINTERVALL) return false;
    constexpr int PUNKTE = MAXGRAPHPUNKTE;
    const int m = monat, j = intervall;

    auto monatsergebnisse = std::make_unique<::date>();
    laufkontext k = laufkontext_aus_zustand(*monatsergebnisse);
    ::date3& d3 = k.d3;
    // The flow goes into the interval of the working series for the model;
    // the run's value and flag are put back afterwards.
    const double vel_vorher = d3.vel[m][j];
    const bool nicht_optimieren_vorher = d3.nicht_optimieren;

    const double lo = std::log(minge), hi = std::log(maxge);
    for (int p = 1; p <= PUNKTE; ++p) {
        const double fluss = std::exp(lo + (p - 1) * (hi - lo) / (PUNKTE - 1));
        d3.vel[m][j] = fluss;
        const double tf = kennlinien_austrittstemperatur(k, m, j, fluss, te, ta, G);
        const double zurueck = durchfluss_aus_austrittstemperatur(k.vdatt, tf, te, ta, G);
        links.x[p][1] = links.x[p][2] = tf - ta;
        links.y[p][1] = in_ausgabeeinheit(fluss, groesse::volumenstrom_traeger);
        links.y[p][2] = in_ausgabeeinheit(zurueck, groesse::volumenstrom_traeger);
    }
    d3.vel[m][j] = vel_vorher;
    d3.nicht_optimieren = nicht_optimieren_vorher;

    links.anzbild = 2;
    for (int i = 1; i <= 2; ++i) {
        links.anzp[i] = PUNKTE;
        double x_lo = links.x[1][i], x_hi = links.x[1][i];
        for (int p = 2; p <= PUNKTE; ++p) {
            x_lo = std::min(x_lo, links.x[p][i]);
            x_hi = std::max(x_hi, links.x[p][i]);
        }
        links.xmin[i] = x_lo;
        links.xmax[i] = x_hi;
    }
    links.bildname[1] = gt::kennlinie.text();
    links.bildname[2] = gt::test_umkehrroutine.text();
    links.xname = beschriftung_mit_einheit(gt::temperaturdifferenz.text(), "°C");
    links.yname = beschriftung_mit_einheit(gt::volumenstrom.text(),
                                           haupteinheiten()[groesse::volumenstrom_traeger].ausgabe);
    links.title = gt::kollektor_titel.text();
    berechne_y_bereich(links);
    return true;
}
