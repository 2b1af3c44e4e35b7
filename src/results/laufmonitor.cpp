#include "results/laufmonitor.h"

#include <algorithm>
#include <cmath>

#include "results/ergebnistexte.h"
#include "results/graphiktexte.h"

namespace gt = graphiktexte;

namespace {

std::string ohne_raender(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

}  // namespace

void laufmonitor::oeffne_v(double A, const std::string& rechenart) {
    std::lock_guard<std::mutex> l(sperre_);
    stand_.v_offen = true;
    stand_.v_flaeche = A;
    stand_.v_x_achse = rechenart == "V" ? gt::durchfluss.text() : gt::temperatur.text();
    stand_.v_beschriftung = gt::elektrische_energie_monat.text() + stand_.v_x_achse;
    for (int m = 1; m <= MAXMONAT; ++m) {
        monitor_monat& mm = stand_.v_monate[static_cast<std::size_t>(m)];
        mm.titel = ohne_raender(ergebnistexte::monatsname(m));
        mm.punkte.clear();
    }
    ++stand_.version;
}

void laufmonitor::oeffne_t(double A, const datz& vdatz) {
    std::lock_guard<std::mutex> l(sperre_);
    stand_.t_offen = true;
    stand_.t_flaeche = A;
    stand_.t_beschriftung = gt::elektrische_energie_stufe.text();
    for (int m = 1; m <= MAXMONAT; ++m) {
        const double twv = vdatz[zdata::twv][m];
        stand_.t_x_max[static_cast<std::size_t>(m)] =
            std::isfinite(twv) ? static_cast<int>(std::clamp(std::trunc(twv), -1e9, 1e9)) : 0;
    }
    ++stand_.version;
}

void laufmonitor::stufenpunkt(int monat, int ge_schritt, double x, double y) {
    if (monat < 1 || monat > MAXMONAT) return;
    std::lock_guard<std::mutex> l(sperre_);
    if (!stand_.v_offen) return;
    stand_.v_monate[static_cast<std::size_t>(monat)].punkte.push_back({ge_schritt, x, y});
    ++stand_.version;
}

void laufmonitor::zeige_v() {
    std::lock_guard<std::mutex> l(sperre_);
    if (!stand_.v_offen) return;
    zwischenergebnis z;
    z.flaeche = stand_.v_flaeche;
    z.monate = stand_.v_monate;
    stand_.zwischenergebnisse.push_back(std::move(z));
    ++stand_.version;
}

void laufmonitor::zeige_jahreslauf(const graphdata& links) {
    zwischenergebnis z;
    z.info = links.info;
    for (int i = 1; i <= std::clamp(links.anzbild, 0, MAXKURVEN); ++i) {
        monitor_kurve k;
        k.name = links.bildname[i];
        const int n = std::clamp(links.anzp[i], 0, MAXGRAPHPUNKTE);
        for (int p = 1; p <= n; ++p) {
            const double x = links.x[p][i];
            if (links.xmin[i] <= x && x <= links.xmax[i]) k.punkte.emplace_back(x, links.y[p][i]);
        }
        z.jahreslauf.push_back(std::move(k));
    }
    std::lock_guard<std::mutex> l(sperre_);
    z.flaeche = stand_.v_offen ? stand_.v_flaeche : stand_.t_flaeche;
    stand_.zwischenergebnisse.push_back(std::move(z));
    ++stand_.version;
}

void laufmonitor::zuruecksetzen() {
    std::lock_guard<std::mutex> l(sperre_);
    const uint64_t v = stand_.version;
    stand_ = laufmonitor_stand{};
    stand_.version = v + 1;
}

laufmonitor_stand laufmonitor::stand() const {
    std::lock_guard<std::mutex> l(sperre_);
    return stand_;
}

uint64_t laufmonitor::version() const {
    std::lock_guard<std::mutex> l(sperre_);
    return stand_.version;
}
