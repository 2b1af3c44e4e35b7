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
        mm.eingegangen = 0;
        mm.jeder = 1;
        mm.aenderung = stand_.version + 1;
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
    monitor_monat& mm = stand_.v_monate[static_cast<std::size_t>(monat)];
    const uint64_t n = mm.eingegangen++;
    if (n % mm.jeder != 0) return;
    if (mm.punkte.size() >= MAX_MONITORPUNKTE) {
        // Full: keep every second point and take every second one from now on.
        std::size_t behalten = 0;
        for (std::size_t i = 0; i < mm.punkte.size(); i += 2) mm.punkte[behalten++] = mm.punkte[i];
        mm.punkte.resize(behalten);
        mm.jeder *= 2;
        if (n % mm.jeder != 0) {
            mm.aenderung = ++stand_.version;
            return;
        }
    }
    mm.punkte.push_back({ge_schritt, x, y});
    mm.aenderung = ++stand_.version;
}

void laufmonitor::behalte(zwischenergebnis z) {
    z.nummer = ++stand_.parameterschritte;
    stand_.zwischenergebnisse.push_back(std::make_shared<const zwischenergebnis>(std::move(z)));
    if (stand_.zwischenergebnisse.size() > MAX_ZWISCHENERGEBNISSE)
        stand_.zwischenergebnisse.erase(stand_.zwischenergebnisse.begin());
    ++stand_.version;
}

std::size_t laufmonitor_stand::anzahl_punkte() const {
    std::size_t n = 0;
    for (int m = 1; m <= MAXMONAT; ++m) n += v_monate[static_cast<std::size_t>(m)].punkte.size();
    return n;
}

void laufmonitor::zeige_v() {
    std::lock_guard<std::mutex> l(sperre_);
    if (!stand_.v_offen) return;
    zwischenergebnis z;
    z.flaeche = stand_.v_flaeche;
    z.monate = stand_.v_monate;
    behalte(std::move(z));
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
        // As many points as a month curve keeps, evenly taken.
        if (k.punkte.size() > MAX_MONITORPUNKTE) {
            std::vector<std::pair<double, double>> duenn;
            const std::size_t schritt = (k.punkte.size() + MAX_MONITORPUNKTE - 1) / MAX_MONITORPUNKTE;
            for (std::size_t p = 0; p < k.punkte.size(); p += schritt) duenn.push_back(k.punkte[p]);
            k.punkte = std::move(duenn);
        }
        z.jahreslauf.push_back(std::move(k));
    }
    std::lock_guard<std::mutex> l(sperre_);
    z.flaeche = stand_.v_offen ? stand_.v_flaeche : stand_.t_flaeche;
    behalte(std::move(z));
}

void laufmonitor::zuruecksetzen() {
    std::lock_guard<std::mutex> l(sperre_);
    const uint64_t v = stand_.version;
    stand_ = laufmonitor_stand{};
    stand_.version = v + 1;
    for (monitor_monat& mm : stand_.v_monate) mm.aenderung = stand_.version;
}

laufmonitor_stand laufmonitor::stand() const {
    std::lock_guard<std::mutex> l(sperre_);
    return stand_;
}

uint64_t laufmonitor::version() const {
    std::lock_guard<std::mutex> l(sperre_);
    return stand_.version;
}
