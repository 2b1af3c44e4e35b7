#include "results/graphkalk.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "lang/meldung.h"
#include "results/graphiktexte.h"

namespace {

int begrenzt(int n, int lo, int hi) { return std::clamp(n, lo, hi); }

// Range of an axis over the y of its drawn points: a largest value of 0
// becomes 10; the maximum gets 10 % headroom, the minimum too when negative,
// else the axis starts at 0.
achsenbereich bereich_aus(const std::vector<kurvenanzeige>& serien, bool rechts) {
    bool gefunden = false;
    double lo = 0.0, hi = 0.0;
    for (const auto& s : serien) {
        if (s.rechts != rechts) continue;
        for (const auto& [x, y] : s.punkte) {
            (void)x;
            if (!gefunden) {
                lo = hi = y;
                gefunden = true;
            } else {
                lo = std::min(lo, y);
                hi = std::max(hi, y);
            }
        }
    }
    if (hi == 0.0) hi = 10.0;
    achsenbereich b;
    b.max = hi + std::abs(hi) * 0.1;
    b.min = lo < 0.0 ? lo - std::abs(lo) * 0.1 : 0.0;
    return b;
}

// The points of curve i from point `von` to its last shown point that lie
// within the curve's x range, y multiplied by `faktor`.
std::vector<std::pair<double, double>> punkte_der_kurve(const graphdata& g, int i, int von, int imaxp,
                                                        double faktor = 1.0) {
    std::vector<std::pair<double, double>> p;
    const int bis = std::min(begrenzt(g.anzp[i], 0, MAXGRAPHPUNKTE), imaxp);
    for (int k = std::max(von, 1); k <= bis; ++k) {
        const double x = g.x[k][i];
        if (g.xmin[i] <= x && x <= g.xmax[i]) p.emplace_back(x, g.y[k][i] * faktor);
    }
    return p;
}

}  // namespace

void eineSeite(graphdata& ziel, const graphdata& quelle) {
    const int kurven = begrenzt(quelle.anzbild, 0, MAXKURVEN);
    for (int i = 1; i <= kurven; ++i) {
        const int n = begrenzt(quelle.anzp[i], 0, MAXGRAPHPUNKTE);
        for (int k = 1; k <= MAXGRAPHPUNKTE; ++k) {
            // Positions beyond the curve's points are cleared, so that the
            // copy does not keep what an earlier chart left there.
            ziel.x[k][i] = k <= n ? quelle.x[k][i] : 0.0;
            ziel.y[k][i] = k <= n ? quelle.y[k][i] : 0.0;
        }
        ziel.xmin[i] = quelle.xmin[i];
        ziel.xmax[i] = quelle.xmax[i];
        ziel.bildname[i] = quelle.bildname[i];
        ziel.anzp[i] = n;
    }
    ziel.xname = quelle.xname;
    ziel.yname = quelle.yname;
    ziel.anzbild = kurven;
}

std::string kurventitel(const std::string& bildname) {
    // " / " joins the two names of a quotient curve; it is no folder separator.
    for (std::size_t i = bildname.size(); i-- > 0;) {
        const char c = bildname[i];
        const bool trenner = c == '\\' || (c == '/' && !(i > 0 && bildname[i - 1] == ' ' && i + 1 < bildname.size() &&
                                                         bildname[i + 1] == ' '));
        if (trenner) return bildname.substr(i + 1);
    }
    return bildname;
}

double abschneiden(double x, int n) {
    const double skala = std::pow(10.0, n);
    double t = x * skala;
    const double gerundet = std::nearbyint(t);
    if (std::abs(t - gerundet) <= 1e-12 * std::max(1.0, std::abs(t))) {
        t = gerundet;
    } else {
        t = std::trunc(t);
    }
    const double r = t / skala;
    return r == 0.0 ? 0.0 : r;  // no "-0.00"
}

graphkalk::graphkalk()
    : links_(std::make_unique<graphdata>()),
      rechts_(std::make_unique<graphdata>()),
      zuletzt_links_(std::make_unique<graphdata>()),
      zuletzt_rechts_(std::make_unique<graphdata>()) {
    aktiviere();
}

void graphkalk::aktiviere() {
    anzeige_.labels = false;
    rechts_sichtbar_ = true;
}

void graphkalk::besetzeSeries(const graphdata& links, const graphdata& rechts, int imaxp,
                              bool rechts_sichtbar, int pmin_links) {
    // The caller's records are kept for redrawing; a redraw passes these
    // copies themselves.
    if (&links != zuletzt_links_.get()) *zuletzt_links_ = links;
    if (&rechts != zuletzt_rechts_.get()) *zuletzt_rechts_ = rechts;
    imaxp_ = std::min(imaxp, MAXGRAPHPUNKTE);
    rechts_sichtbar_ = rechts_sichtbar;
    if (rechts_->anzbild == 0) anzeige_.gruppe_rechnen = true;
    eineSeite(*links_, *zuletzt_links_);
    eineSeite(*rechts_, *zuletzt_rechts_);
    zeichne(pmin_links);
}

void graphkalk::zeichne(int pmin_links) {
    pmin_ = pmin_links;
    const graphdata& l = *links_;
    const graphdata& r = *rechts_;
    diagrammanzeige& a = anzeige_;
    a.serien.clear();
    a.kurvenliste.clear();
    a.achse_links = l.yname;
    a.achse_unten = l.xname;
    for (int i = 1; i <= l.anzbild; ++i) {
        kurvenanzeige k;
        k.titel = kurventitel(l.bildname[i]);
        k.punkte = punkte_der_kurve(l, i, pmin_links, imaxp_);
        a.kurvenliste.push_back(k.titel);
        a.serien.push_back(std::move(k));
    }
    a.rechts_sichtbar = rechts_sichtbar_;
    if (rechts_sichtbar_) {
        a.achse_rechts = r.yname;
        for (int i = 1; i <= r.anzbild; ++i) {
            kurvenanzeige k;
            k.titel = kurventitel(r.bildname[i]);
            k.rechts = true;
            k.punkte = punkte_der_kurve(r, i, 1, imaxp_);
            a.serien.push_back(std::move(k));
        }
    } else {
        a.achse_rechts.clear();
    }
    a.links = bereich_aus(a.serien, false);
    a.edit_min = a.links.min;
    a.edit_max = a.links.max;
    a.edit_faktor = "1";
    a.edit_text = l.yname;
    if (rechts_sichtbar_) {
        a.rechts = bereich_aus(a.serien, true);
        a.edit_rmin = a.rechts.min;
        a.edit_rmax = a.rechts.max;
    }
    a.titel = zuletzt_links_->title;
    a.info = zuletzt_links_->info;
}

bool graphkalk::quotient(int a, int b) {
    if (a > b) std::swap(a, b);
    const graphdata& l = *links_;
    if (a < 1 || b > l.anzbild || a == b) return false;
    for (int k = 1; k <= MAXGRAPHPUNKTE; ++k) {
        if (l.x[k][a] != l.x[k][b]) {
            meldung(graphiktexte::division_x.text(), "M", 'M');
            return false;
        }
    }
    auto q = std::make_unique<graphdata>();
    const int n = std::max(l.anzp[a], l.anzp[b]);
    for (int k = 1; k <= MAXGRAPHPUNKTE; ++k) {
        const double ya = l.y[k][a], yb = l.y[k][b];
        q->x[k][1] = q->x[k][2] = l.x[k][a];
        q->y[k][1] = yb == 0.0 ? 0.0 : ya / yb;
        q->y[k][2] = ya == 0.0 ? 0.0 : yb / ya;
    }
    q->anzbild = 2;
    q->anzp[1] = q->anzp[2] = n;
    // Each name without its folder, so that the quotient names both curves.
    q->bildname[1] = kurventitel(l.bildname[a]) + " / " + kurventitel(l.bildname[b]);
    q->bildname[2] = kurventitel(l.bildname[b]) + " / " + kurventitel(l.bildname[a]);
    q->xmin[1] = l.xmin[a];
    q->xmax[1] = l.xmax[a];
    q->xmin[2] = l.xmin[b];
    q->xmax[2] = l.xmax[b];
    q->xname = l.xname;
    q->yname = graphiktexte::quotient.text();
    // The left copy stays the left data; it is copied before being shown.
    auto links = std::make_unique<graphdata>(*links_);
    links->title = zuletzt_links_->title;
    links->info = zuletzt_links_->info;
    besetzeSeries(*links, *q, MAXGRAPHPUNKTE, true, 1);
    return true;
}

double graphkalk::summe(int kurve) const {
    const graphdata& l = *links_;
    if (kurve < 1 || kurve > l.anzbild) return 0.0;
    double s = 0.0;
    for (int k = 1; k <= l.anzp[kurve]; ++k) s += l.y[k][kurve];
    return abschneiden(s, 2);
}

std::string graphkalk::summe_text(int kurve) const {
    char puffer[64];
    std::snprintf(puffer, sizeof puffer, "%.2f", summe(kurve));
    return puffer;
}

void graphkalk::skaliere(const skalierung& s) {
    diagrammanzeige& a = anzeige_;
    a.links = {s.faktor * s.min, s.faktor * s.max};
    a.rechts = {s.rmin, s.rmax};
    a.edit_min = s.min;
    a.edit_max = s.max;
    a.edit_rmin = s.rmin;
    a.edit_rmax = s.rmax;
    a.edit_faktor = s.faktor_text;
    a.edit_text = s.text;
    const graphdata& l = *links_;
    int i = 0;
    for (auto& serie : a.serien) {
        if (serie.rechts) continue;
        ++i;
        serie.punkte = punkte_der_kurve(l, i, pmin_, imaxp_, s.faktor);
    }
    a.achse_links = s.text;
    if (s.faktor_in_beschriftung) a.achse_links += " * " + s.faktor_text;
}

void graphkalk::labels_umschalten() { anzeige_.labels = !anzeige_.labels; }

std::string graphkalk::label_knopf() const {
    return anzeige_.labels ? graphiktexte::label_aus.text() : graphiktexte::label_ein.text();
}

void graphkalk::rechtsdaten_umschalten() {
    besetzeSeries(*zuletzt_links_, *zuletzt_rechts_, imaxp_, !rechts_sichtbar_, pmin_);
}

std::string graphkalk::rechts_knopf() const {
    return rechts_sichtbar_ ? graphiktexte::rechte_linien_aus.text() : graphiktexte::rechte_linien_an.text();
}

void graphkalk::erster_punkt_aus() {
    besetzeSeries(*zuletzt_links_, *zuletzt_rechts_, imaxp_, rechts_sichtbar_, 2);
}
