#include "costs/kostengraphik.h"

#include <algorithm>

#include "data/einheiten.h"
#include "lang/kostentexte.h"
#include "lang/meldung.h"
#include "results/graphdaten.h"

namespace {

std::string ausgabe(int g) { return haupteinheiten().at(static_cast<size_t>(g)).ausgabe; }

void leere(graphdata& g) {
    g.anzp.fill(0);
    g.xmin.fill(0.0);
    g.xmax.fill(0.0);
    g.ymin.fill(0.0);
    g.ymax.fill(0.0);
    for (auto& n : g.bildname) n.clear();
    g.anzbild = 0;
    g.xname = g.yname = g.title = g.info = "";
}

bool beginnt_bei_null(const kalkulationsdaten& k) {
    return std::all_of(k.index.begin(), k.index.end(), [](const kosten_datenindex& d) {
        return d.anzahl_flaechen > 0 && d.scheibe[1].flaeche == 0.0;
    });
}

// x range of each curve: its smallest and largest x.
void setze_x_bereich(graphdata& g, int kurve) {
    const int n = g.anzp[kurve];
    if (n == 0) return;
    double lo = g.x[1][kurve], hi = g.x[1][kurve];
    for (int p = 2; p <= n; ++p) {
        lo = std::min(lo, g.x[p][kurve]);
        hi = std::max(hi, g.x[p][kurve]);
    }
    g.xmin[kurve] = lo;
    g.xmax[kurve] = hi;
}

}  // namespace

std::string kostenart_name(kostenart art) {
    switch (art) {
        case kostenart::kosten_jahr: return kostentexte::kosten_jahr.text();
        case kostenart::mehrkosten_jahr: return kostentexte::mehrkosten_jahr.text();
        case kostenart::gesamtkosten: return kostentexte::gesamtkosten.text();
        case kostenart::energie_pro_qm: return kostentexte::energie_pro_qm.text();
        case kostenart::zusatzinvestition: return kostentexte::zusatzinvestition.text();
    }
    return {};
}

bool berechne_kostengraphik(kalkulationsdaten& k, kostenart art, graphdata& links, graphdata& rechts) {
    setzenull(links, rechts);
    leere(links);
    leere(rechts);
    const bool variieren = std::any_of(k.index.begin(), k.index.end(), [](const kosten_datenindex& d) {
        return d.iradioGroupSf == zellmodus::variieren;
    });
    const bool pruefen = art == kostenart::mehrkosten_jahr || art == kostenart::energie_pro_qm ||
                         (art == kostenart::kosten_jahr && variieren);
    if (pruefen && !beginnt_bei_null(k)) {
        meldung(kostentexte::minimalflaeche.text(), "M", 'E');
        return false;
    }

    const std::string preis = ausgabe(groesse::preis), energie = ausgabe(groesse::energie),
                      flaeche = ausgabe(groesse::flaeche);
    std::string y_links, y_rechts;
    switch (art) {
        case kostenart::kosten_jahr:
            y_links = beschriftung_mit_einheit(kostentexte::kosten_jahr.text(), preis);
            y_rechts = beschriftung_mit_einheit(kostentexte::energieverbrauch.text(), energie);
            break;
        case kostenart::mehrkosten_jahr:
            y_links = beschriftung_mit_einheit(kostentexte::mehrkosten_jahr.text(), preis);
            y_rechts = beschriftung_mit_einheit(kostentexte::gesamte_mehrkosten.text(), preis);
            break;
        case kostenart::gesamtkosten:
            y_links = beschriftung_mit_einheit(kostentexte::gesamtkosten.text(), preis);
            y_rechts = beschriftung_mit_einheit(kostentexte::preis_pro_energie.text(), preis, energie);
            break;
        case kostenart::energie_pro_qm:
            y_links = beschriftung_mit_einheit(kostentexte::solarenergiekosten.text(), preis, energie);
            y_rechts = beschriftung_mit_einheit(kostentexte::solarenergie_pro_flaeche.text(), energie, flaeche);
            break;
        case kostenart::zusatzinvestition:
            y_links = beschriftung_mit_einheit(kostentexte::zusatzinvestition.text(), preis);
            y_rechts = beschriftung_mit_einheit(kostentexte::investition_pro_energie.text(), preis, energie);
            break;
    }
    const bool x_zelle = !k.index.empty() && k.index.front().iradioGroupSf == zellmodus::variieren;
    const std::string x_name = beschriftung_mit_einheit(
        (x_zelle ? kostentexte::zellflaeche : kostentexte::kollektorflaeche).text(), flaeche);
    for (graphdata* g : {&links, &rechts}) {
        g->xname = x_name;
        g->title = kostenart_name(art);
    }
    links.yname = y_links;
    rechts.yname = y_rechts;

    const int anzahl = std::min(static_cast<int>(k.index.size()), MAXKURVEN);
    for (int d = 1; d <= anzahl; ++d) {
        const std::vector<kostenpunkt> punkte = berechne_kosten(k, d);
        const kosten_datenindex& di = k.index[static_cast<size_t>(d - 1)];
        const double N = di.vdatk[kpar::laufzeit];
        const double bedarf = N * di.jahreswaermebedarf;
        const int n = std::min(static_cast<int>(punkte.size()), MAXGRAPHPUNKTE);
        for (int p = 1; p <= n; ++p) {
            const kostenpunkt& pt = punkte[static_cast<size_t>(p - 1)];
            const double y = pt.jahreskosten;
            double l = 0.0, r = 0.0;
            switch (art) {
                case kostenart::kosten_jahr:
                    l = y;
                    r = di.energie_g[pt.s];
                    break;
                case kostenart::mehrkosten_jahr:
                    l = y - punkte.front().jahreskosten;
                    r = N * l;
                    break;
                case kostenart::gesamtkosten:
                    l = y * N;
                    r = quotient_oder_null(y * N, bedarf);
                    break;
                case kostenart::energie_pro_qm: {
                    const double solar = di.thermische_solarenergie[pt.s] + pt.strom.erzeugt();
                    const double bezug = di.iradioGroupSf == zellmodus::pvt ? pt.zellflaeche
                                                                             : pt.flaeche + pt.zellflaeche;
                    l = quotient_oder_null(y, solar);
                    r = quotient_oder_null(N * solar, bezug);
                    break;
                }
                case kostenart::zusatzinvestition:
                    l = pt.investition;
                    r = quotient_oder_null(pt.investition, bedarf);
                    break;
            }
            links.x[p][d] = rechts.x[p][d] = pt.x;
            links.y[p][d] = l;
            rechts.y[p][d] = r;
        }
        for (graphdata* g : {&links, &rechts}) {
            g->anzp[d] = n;
            setze_x_bereich(*g, d);
        }
        links.bildname[d] = di.dateiname.string() + kostentexte::links.text();
        rechts.bildname[d] = di.dateiname.string() + kostentexte::rechts.text();
    }
    links.anzbild = rechts.anzbild = anzahl;
    berechne_y_bereich(links);
    berechne_y_bereich(rechts);
    return true;
}
