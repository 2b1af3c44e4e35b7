#include "results/ergebnisgraphik.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

#include "data/einheiten.h"
#include "lang/meldung.h"
#include "results/ergebnistexte.h"
#include "results/graphdaten.h"
#include "results/graphiktexte.h"
#include "results/graphkalk.h"

namespace gt = graphiktexte;

namespace {

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

// Appends a curve of points (x, y); its x range spans its points. false when
// the record already holds six curves.
bool neue_kurve(graphdata& g, const std::string& name, const std::vector<std::pair<double, double>>& p) {
    if (g.anzbild >= MAXKURVEN) return false;
    const int i = ++g.anzbild;
    const int n = std::min<int>(static_cast<int>(p.size()), MAXGRAPHPUNKTE);
    g.anzp[i] = n;
    g.bildname[i] = name;
    for (int k = 1; k <= n; ++k) {
        g.x[k][i] = p[static_cast<std::size_t>(k - 1)].first;
        g.y[k][i] = p[static_cast<std::size_t>(k - 1)].second;
    }
    if (n > 0) {
        double lo = g.x[1][i], hi = g.x[1][i];
        for (int k = 2; k <= n; ++k) {
            lo = std::min(lo, g.x[k][i]);
            hi = std::max(hi, g.x[k][i]);
        }
        g.xmin[i] = lo;
        g.xmax[i] = hi;
    }
    return true;
}

// Unit of quantity q in the first file that holds it.
std::string einheit_von(const ergebnisvergleich& v, int q) {
    for (int f = 1; f <= v.anzahl(); ++f) {
        const geladene_datei& d = v.datei(f);
        if (d.hat(q)) return d.spalten[static_cast<std::size_t>(d.spalte_von[static_cast<std::size_t>(q)])].einheit;
    }
    return {};
}

bool irgendeine_hat(const ergebnisvergleich& v, int q) {
    for (int f = 1; f <= v.anzahl(); ++f)
        if (v.datei(f).hat(q)) return true;
    return false;
}

std::string datensaetze(const ergebnisvergleich& v) {
    std::string s;
    for (int f = 1; f <= v.anzahl(); ++f) {
        if (!s.empty()) s += ", ";
        s += v.datei(f).datensatz;
    }
    return s;
}

std::string flaechen_name(double flaeche, const std::string& einheit) {
    return gt::flaeche.text() + ": " + flaechen_text(flaeche) + " " + einheit;
}

// Pump head of the collector pump from its energy zpk and the pumped fluid
// zv of section s: zpk × 1000 × 367 / (zv / 1000 × s × 1000 × 30 × 24);
// 0 where nothing was pumped.
double foerderhoehe(double zpk, double zv, int s) {
    const double nenner = zv / 1000.0 * s * 1000.0 * 30.0 * 24.0;
    return nenner == 0.0 ? 0.0 : zpk * 1000.0 * 367.0 / nenner;
}

// One curve of the monthly chart: where its points come from.
struct kurvenquelle {
    const geladene_datei* datei;
    std::string name;                  // without " (links)"
    std::vector<std::pair<int, int>> punkte;  // (row, section) of each point
    std::vector<double> x;
};

bool pruefe_markierung(std::size_t markiert, bool mehrere_dateien) {
    if (!mehrere_dateien && markiert == 0) {
        meldung(gt::eintrag_markieren.text(), "M", 'M');
        return false;
    }
    if (mehrere_dateien && markiert != 1) {
        meldung(gt::genau_einen.text(), "M", 'M');
        return false;
    }
    return true;
}

}  // namespace

std::string flaechen_text(double x) {
    const double r = std::nearbyint(x * 100.0) / 100.0;
    char puffer[64];
    std::snprintf(puffer, sizeof puffer, "%.2f", r == 0.0 ? 0.0 : r);
    std::string s = puffer;
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    return s;
}

bool baue_monatsgraphik(const ergebnisvergleich& v, const monatsgraphik_auswahl& a, graphdata& links,
                        graphdata& rechts) {
    setzenull(links, rechts);
    leere(links);
    leere(rechts);
    const int q = a.groesse;
    if (v.anzahl() == 0 || !irgendeine_hat(v, q)) {
        meldung(gt::nicht_berechnet.text(), "M", 'M');
        return false;
    }
    const bool mehrere = v.anzahl() > 1;
    std::vector<kurvenquelle> kurven;

    if (a.art == konstante_variable::monat) {
        // x = area of each section.
        if (!pruefe_markierung(a.monate.size(), mehrere)) return false;
        auto kurve_fuer = [&](const geladene_datei& d, int monat, const std::string& name) {
            kurvenquelle k{&d, name, {}, {}};
            for (int s = 1; s <= d.scheiben(); ++s) {
                if (monat > d.zeilenzahl(s)) continue;
                k.punkte.emplace_back(monat, s);
                k.x.push_back(d.flaeche[static_cast<std::size_t>(s)]);
            }
            kurven.push_back(std::move(k));
        };
        if (!mehrere) {
            const geladene_datei& d = v.datei(1);
            for (int m : a.monate) {
                if (m < 1 || m >= static_cast<int>(d.zeilen.size())) continue;
                kurve_fuer(d, m, d.zeilen[static_cast<std::size_t>(m)]);
            }
        } else {
            for (int f = 1; f <= v.anzahl(); ++f) {
                const geladene_datei& d = v.datei(f);
                if (d.hat(q)) kurve_fuer(d, a.monate.front(), d.pfad);
            }
        }
        links.xname = beschriftung_mit_einheit(gt::flaeche.text(), v.datei(1).flaecheneinheit);
    } else {
        // x = month (row) of the file.
        auto kurve_fuer = [&](const geladene_datei& d, int s, const std::string& name) {
            kurvenquelle k{&d, name, {}, {}};
            for (int r = 1; r <= d.zeilenzahl(s); ++r) {
                k.punkte.emplace_back(r, s);
                k.x.push_back(r);
            }
            kurven.push_back(std::move(k));
        };
        if (!mehrere) {
            if (!pruefe_markierung(a.scheiben.size(), false)) return false;
            const geladene_datei& d = v.datei(1);
            for (int s : a.scheiben) {
                if (s < 1 || s > d.scheiben()) continue;
                kurve_fuer(d, s, flaechen_name(d.flaeche[static_cast<std::size_t>(s)], d.flaecheneinheit));
            }
        } else {
            for (int f = 1; f <= v.anzahl(); ++f) {
                const geladene_datei& d = v.datei(f);
                const int s = d.scheibe_mit_flaeche(a.flaeche);
                if (s > 0 && d.hat(q)) kurve_fuer(d, s, d.pfad);
            }
            if (kurven.empty()) {
                meldung(gt::flaeche_fehlt.text() + flaechen_text(a.flaeche), "M", 'M');
                return false;
            }
        }
        links.xname = gt::monat.text();
    }

    const std::string einheit = einheit_von(v, q);
    links.yname = beschriftung_mit_einheit(ergebnistexte::titel(q), einheit);
    links.title = ergebnistexte::titel(q);
    links.info = datensaetze(v);

    // Right axis: the temperature rise over the collector, or the pump head.
    const bool temperatur = q == adata::tf_s;
    const bool pumpe = q == adata::zpk;
    if (temperatur) {
        rechts.yname = beschriftung_mit_einheit(ergebnistexte::titel(q) + gt::tein.text(), einheit);
    } else if (pumpe) {
        rechts.yname = gt::foerderhoehe.text();
    }
    rechts.xname = links.xname;

    for (const kurvenquelle& k : kurven) {
        const geladene_datei& d = *k.datei;
        std::vector<std::pair<double, double>> l, r;
        for (std::size_t p = 0; p < k.punkte.size(); ++p) {
            const auto [zeile, s] = k.punkte[p];
            const double y = d.wert(q, zeile, s);
            l.emplace_back(k.x[p], y);
            if (temperatur && d.hat(adata::teinv)) r.emplace_back(k.x[p], y - d.wert(adata::teinv, zeile, s));
            if (pumpe && d.hat(adata::zv)) r.emplace_back(k.x[p], foerderhoehe(y, d.wert(adata::zv, zeile, s), s));
        }
        if (!neue_kurve(links, k.name + gt::links.text(), l)) break;
        if (temperatur && d.hat(adata::teinv)) neue_kurve(rechts, k.name + gt::tein.text() + gt::rechts.text(), r);
        if (pumpe && d.hat(adata::zv)) neue_kurve(rechts, k.name + gt::rechts.text(), r);
    }
    return true;
}

bool baue_jahresgraphik(const ergebnisvergleich& v, const jahresgraphik_auswahl& a, graphdata& links,
                        graphdata& rechts) {
    setzenull(links, rechts);
    leere(links);
    leere(rechts);
    const int q = a.groesse;
    if (a.als_funktion_des_winkels) {
        if (v.anzahl() < 2) meldung(gt::zwei_dateien.text(), "M", 'T');
        const geladene_datei& erste = v.datei(1);
        for (int f = 2; f <= v.anzahl(); ++f) {
            const geladene_datei& d = v.datei(f);
            bool gleich = d.scheiben() == erste.scheiben();
            for (int s = 1; gleich && s <= d.scheiben(); ++s)
                gleich = d.scheibe_mit_flaeche(erste.flaeche[static_cast<std::size_t>(s)]) == s;
            if (!gleich) meldung(gt::gleiche_flaechen.text(), "M", 'T');
        }
    }
    if (v.anzahl() == 0 || !irgendeine_hat(v, q)) {
        meldung(gt::nicht_berechnet.text(), "M", 'M');
        return false;
    }
    const std::string einheit = einheit_von(v, q);
    links.yname = beschriftung_mit_einheit(ergebnistexte::titel(q), einheit);
    links.title = ergebnistexte::titel(q);
    links.info = datensaetze(v);

    if (!a.als_funktion_des_winkels) {
        links.xname = beschriftung_mit_einheit(gt::flaeche.text(), v.datei(1).flaecheneinheit);
        const bool mit_kraftwerk = q == adata::jkk;
        if (mit_kraftwerk) {
            rechts.xname = links.xname;
            rechts.yname = beschriftung_mit_einheit(ergebnistexte::titel(adata::jkk_g), einheit_von(v, adata::jkk_g));
        }
        for (int f = 1; f <= v.anzahl(); ++f) {
            const geladene_datei& d = v.datei(f);
            if (!d.hat(q)) continue;
            std::vector<std::pair<double, double>> l, r;
            for (int s = 1; s <= d.scheiben(); ++s) {
                const double x = d.flaeche[static_cast<std::size_t>(s)];
                l.emplace_back(x, d.wert(q, 1, s));
                r.emplace_back(x, d.wert(adata::jkk_g, 1, s));
            }
            if (!neue_kurve(links, d.pfad + gt::links.text(), l)) break;
            const int i = links.anzbild;
            links.xmin[i] = 0.0;
            links.xmax[i] = d.flaeche[static_cast<std::size_t>(d.scheiben())];
            if (mit_kraftwerk && d.hat(adata::jkk_g) && neue_kurve(rechts, d.pfad + gt::rechts.text(), r)) {
                rechts.xmin[rechts.anzbild] = 0.0;
                rechts.xmax[rechts.anzbild] = links.xmax[i];
            }
        }
        return true;
    }

    // One curve per area over the tilt of each file.
    links.xname = beschriftung_mit_einheit(ergebnistexte::titel(adata::theta), einheit_von(v, adata::theta));
    const geladene_datei& erste = v.datei(1);
    for (int s = 1; s <= erste.scheiben(); ++s) {
        std::vector<std::pair<double, double>> l;
        for (int f = 1; f <= v.anzahl(); ++f) {
            const geladene_datei& d = v.datei(f);
            if (d.hat(q)) l.emplace_back(d.wert(adata::theta, 1, s), d.wert(q, 1, s));
        }
        const std::string name =
            flaechen_name(erste.flaeche[static_cast<std::size_t>(s)], erste.flaecheneinheit) + gt::links.text();
        if (!neue_kurve(links, name, l)) break;
    }
    return true;
}

// --- Overview windows -------------------------------------------------------

namespace {

using punktliste = std::vector<std::pair<double, double>>;

struct seitenbauer {
    const geladene_datei& d;
    uebersichtsseite seite;

    uebersichtsdiagramm& diagramm(const std::string& name, const std::string& titel, const std::string& yname,
                                  const std::string& xname) {
        uebersichtsdiagramm g;
        g.name = name;
        g.titel = titel;
        g.xname = xname;
        g.yname = yname;
        seite.diagramme.push_back(std::move(g));
        return seite.diagramme.back();
    }
    std::string einheit(int q) const {
        return d.hat(q) ? d.spalten[static_cast<std::size_t>(d.spalte_von[static_cast<std::size_t>(q)])].einheit
                        : std::string{};
    }
};

std::string zwei_dezimalen(double x) {
    char puffer[64];
    const double r = std::nearbyint(x * 100.0) / 100.0;
    std::snprintf(puffer, sizeof puffer, "%.2f", r == 0.0 ? 0.0 : r);
    return puffer;
}

bool ohne_zwischen_wp(const std::string& kopplungstyp) { return kopplungstyp == "E" || kopplungstyp == "K"; }

}  // namespace

const uebersichtsdiagramm* uebersicht::finde(const std::string& name) const {
    for (const auto& s : seiten)
        for (const auto& g : s.diagramme)
            if (g.name == name) return &g;
    return nullptr;
}

bool pruefe_uebersicht_auswahl(int markierte_monate, int markierte_flaechen) {
    if (markierte_monate == 1 && markierte_flaechen == 1) return true;
    meldung(gt::jeweils_einen.text(), "M", 'W');
    return false;
}

uebersicht baue_uebersicht_flaeche(const geladene_datei& d, int monat, const uebersicht_angaben& angaben) {
    uebersicht u;
    u.titel = gt::ergebnisse_flaeche.text();
    const std::string xname = beschriftung_mit_einheit(gt::flaeche.text(), d.flaecheneinheit);

    // y over the area of each section from section `ab`.
    auto ueber_flaeche = [&](const std::function<double(int s)>& y, int ab) {
        punktliste p;
        for (int s = ab; s <= d.scheiben(); ++s) p.emplace_back(d.flaeche[static_cast<std::size_t>(s)], y(s));
        return p;
    };
    auto groesse = [&](seitenbauer& b, const std::string& name, int q, int zeile, int ab) {
        uebersichtsdiagramm& g = b.diagramm(name, ergebnistexte::titel(q), b.einheit(q), xname);
        g.berechnet = d.hat(q);
        if (g.berechnet) g.kurven.push_back({ergebnistexte::titel(q), false, ueber_flaeche([&](int s) { return d.wert(q, zeile, s); }, ab)});
        return &g;
    };
    // Largest monthly value over months 1..12 of the sum of the quantities.
    auto jahresmaximum = [&](seitenbauer& b, const std::string& name, std::vector<int> qs, const std::string& titel) {
        uebersichtsdiagramm& g = b.diagramm(name, titel, b.einheit(qs.front()), xname);
        g.gruppe = gt::jahresmaxima.text();
        g.berechnet = std::all_of(qs.begin(), qs.end(), [&](int q) { return d.hat(q); });
        if (!g.berechnet) return;
        g.kurven.push_back({titel, false, ueber_flaeche(
                                              [&](int s) {
                                                  double groesster = 0.0;
                                                  for (int m = 1; m <= 12 && m <= d.zeilenzahl(s); ++m) {
                                                      double summe = 0.0;
                                                      for (int q : qs) summe += d.wert(q, m, s);
                                                      groesster = m == 1 ? summe : std::max(groesster, summe);
                                                  }
                                                  return groesster;
                                              },
                                              1)});
    };
    const int m = monat;

    seitenbauer ges{d, {gt::reiter_ges_el.text(), {}, {}}};
    groesse(ges, "Chart1", adata::jkk, 1, 1);
    groesse(ges, "Chart2", adata::jek, 1, 1);
    ges.seite.felder.push_back({"EditWe", gt::gesamte_waermeenergie.text(), zwei_dezimalen(angaben.gesamte_waermeenergie),
                                angaben.energieeinheit});
    u.seiten.push_back(std::move(ges.seite));

    seitenbauer kol{d, {gt::reiter_kollektor.text(), {}, {}}};
    groesse(kol, "Chart3", adata::eta, m, 2);
    groesse(kol, "Chart4", adata::ztk, m, 2);
    u.seiten.push_back(std::move(kol.seite));

    seitenbauer en{d, {gt::reiter_energie.text(), {}, {}}};
    groesse(en, "Chart5", adata::jek_g, m, 2);
    groesse(en, "Chart6", adata::eta, m, 1);
    u.seiten.push_back(std::move(en.seite));

    seitenbauer hz{d, {gt::reiter_heizung.text(), {}, {}}};
    groesse(hz, "Chart7", adata::copwe, m, 1);
    groesse(hz, "Chart8", adata::copww, m, 1)->sichtbar = !ohne_zwischen_wp(angaben.kopplungstyp);
    hz.seite.felder.push_back({"EditWpl", gt::leistung_ww.text(), zwei_dezimalen(abschneiden(angaben.leistung_ww, 2)),
                               angaben.leistungseinheit});
    hz.seite.felder.push_back({"Edit1", gt::leistung_we.text(), zwei_dezimalen(abschneiden(angaben.leistung_we, 2)),
                               angaben.leistungseinheit});
    jahresmaximum(hz, "Chart17", {adata::nh}, gt::maximum_von.text() + ergebnistexte::titel(adata::nh));
    jahresmaximum(hz, "Chart18", {adata::ok}, gt::maximum_von.text() + ergebnistexte::titel(adata::ok));
    jahresmaximum(hz, "Chart19", {adata::nh, adata::ok},
                  gt::maximum_von.text() + ergebnistexte::titel(adata::nh) + " + " + ergebnistexte::titel(adata::ok));
    u.seiten.push_back(std::move(hz.seite));

    seitenbauer ant{d, {gt::reiter_anteile.text(), {}, {}}};
    groesse(ant, "Chart9", adata::er, m, 1);
    groesse(ant, "Chart10", adata::nh, m, 1);
    groesse(ant, "Chart11", adata::ok, m, 1);
    groesse(ant, "Chart12", adata::esa, m, 1);
    groesse(ant, "Chart14", adata::eg, m, 1);
    u.seiten.push_back(std::move(ant.seite));

    seitenbauer pu{d, {gt::reiter_pumpe.text(), {}, {}}};
    groesse(pu, "Chart13", adata::zv, m, 2);
    groesse(pu, "Chart15", adata::zei, m, 2);
    jahresmaximum(pu, "Chart20", {adata::lpu}, gt::maximum_von.text() + ergebnistexte::titel(adata::lpu));
    pu.seite.diagramme.back().gruppe.clear();
    u.seiten.push_back(std::move(pu.seite));
    return u;
}

uebersicht baue_uebersicht_zeit(const geladene_datei& d, int scheibe, const uebersicht_angaben& angaben) {
    uebersicht u;
    u.titel = gt::ergebnisse_zeit.text();
    const int s = scheibe;
    const std::string xname = gt::monat.text();

    // One point per row of the file, at month − 0.5.
    auto ueber_zeit = [&](const std::function<double(int r)>& y) {
        punktliste p;
        if (s < 1 || s > d.scheiben()) return p;
        for (int r = 1; r <= d.zeilenzahl(s); ++r) p.emplace_back(r - 0.5, y(r));
        return p;
    };
    auto summe = [&](seitenbauer& b, const std::string& name, std::vector<int> qs, const std::string& titel) {
        uebersichtsdiagramm& g = b.diagramm(name, titel, b.einheit(qs.front()), xname);
        g.berechnet = std::all_of(qs.begin(), qs.end(), [&](int q) { return d.hat(q); });
        if (g.berechnet)
            g.kurven.push_back({titel, false, ueber_zeit([&](int r) {
                                    double x = 0.0;
                                    for (int q : qs) x += d.wert(q, r, s);
                                    return x;
                                })});
        return &g;
    };
    auto groesse = [&](seitenbauer& b, const std::string& name, int q) {
        return summe(b, name, {q}, ergebnistexte::titel(q));
    };

    seitenbauer ges{d, {gt::reiter_ges_el.text(), {}, {}}};
    groesse(ges, "Chart1", adata::jkk)->sichtbar = false;
    groesse(ges, "Chart2", adata::jek);
    if (s >= 1 && s <= d.scheiben())
        ges.seite.felder.push_back({"EditF", gt::flaeche.text(), flaechen_text(d.flaeche[static_cast<std::size_t>(s)]),
                                    d.flaecheneinheit});
    u.seiten.push_back(std::move(ges.seite));

    seitenbauer kol{d, {gt::reiter_kollektor.text(), {}, {}}};
    groesse(kol, "Chart3", adata::eta);
    groesse(kol, "Chart4", adata::ztk);
    u.seiten.push_back(std::move(kol.seite));

    seitenbauer el{d, {gt::reiter_el_energie.text(), {}, {}}};
    groesse(el, "Chart5", adata::jek_g);
    groesse(el, "Chart6", adata::zpk);
    u.seiten.push_back(std::move(el.seite));

    seitenbauer hz{d, {gt::reiter_heizung.text(), {}, {}}};
    groesse(hz, "Chart7", adata::copwe);
    groesse(hz, "chart8", adata::copww)->sichtbar = !ohne_zwischen_wp(angaben.kopplungstyp);
    groesse(hz, "Chart17", adata::lnh);
    groesse(hz, "Chart18", adata::lok);
    summe(hz, "Chart19", {adata::lnh, adata::lok},
          ergebnistexte::titel(adata::lnh) + " + " + ergebnistexte::titel(adata::lok));
    u.seiten.push_back(std::move(hz.seite));

    seitenbauer ant{d, {gt::reiter_anteile.text(), {}, {}}};
    groesse(ant, "Chart9", adata::er);
    groesse(ant, "Chart10", adata::nh);
    groesse(ant, "Chart11", adata::ok);
    groesse(ant, "Chart12", adata::esa);
    uebersichtsdiagramm* eg = groesse(ant, "Chart14", adata::eg);
    if (!eg->kurven.empty()) eg->kurven.front().name = gt::simulation.text();
    if (angaben.vorgabe_bekannt) {
        punktliste p;
        for (int m = 1; m <= 12; ++m) p.emplace_back(m - 0.5, angaben.vorgabe[static_cast<std::size_t>(m)]);
        eg->kurven.push_back({gt::vorgabe.text(), true, std::move(p)});
    }
    u.seiten.push_back(std::move(ant.seite));

    seitenbauer pu{d, {gt::reiter_pumpe.text(), {}, {}}};
    groesse(pu, "Chart13", adata::zv);
    groesse(pu, "Chart15", adata::zei);
    groesse(pu, "Chart20", adata::lpu);
    u.seiten.push_back(std::move(pu.seite));
    return u;
}
