#include "app/simulationsdaten.h"

#include <cmath>

#include "data/datenbank.h"
#include "engine/WP_variables.h"
#include "lang/meldung.h"
#include "lang/textglobale.h"

using namespace tabledata;

namespace {

bool hat_zeile(int index) {
    tabelle& t = tab(index);
    return t.ist_offen() && t.hat_zeile();
}

// The area of one collector unit, when a data set has given one.
std::optional<double> einheitsflaeche() {
    const double daf = zustand::vdatt()[tdata::daf];
    if (!(daf > 0.0) || !std::isfinite(daf)) return std::nullopt;
    return daf;
}

// x rounded to an integer, ties to even; nothing outside the range of long.
std::optional<long> gerundet(double x) {
    const double r = std::nearbyint(x);
    if (!std::isfinite(r) || std::fabs(r) > 1e15) return std::nullopt;
    return static_cast<long>(r);
}

}  // namespace

simulationscodes lies_simulationscodes() {
    simulationscodes c;
    if (hat_zeile(tnum)) {
        tabelle& n = tab(tnum);
        c.zeitraum = n.text("zeitraum");
        c.art = n.text("art");
        c.sortierung = n.text("sortierung");
        c.optimierung = n.text("optimierung");
    }
    if (hat_zeile(tabledata::tan)) {
        tabelle& a = tab(tabledata::tan);
        c.kopplungstyp = a.text("Kopplungstyp");
        c.heizung = a.text("Heizung");
        c.anzahlkol = a.text("AnzahlKol");
        c.ohne_kopplung = a.text("Ohne Kopplung");
        c.leistungwp = a.text("LeistungWP");
        c.speicheraussent = a.text("Speicheraussent");
    }
    return c;
}

std::optional<kollektoreinheiten_anzeige> kollektoreinheiten() {
    const auto daf = einheitsflaeche();
    if (!daf || !hat_zeile(trech)) return std::nullopt;
    tabelle& r = tab(trech);
    const auto maximum = gerundet(r.zahl("maxa") / *daf);
    const auto minimum = gerundet(r.zahl("mina") / *daf);
    if (!maximum || !minimum) return std::nullopt;
    return kollektoreinheiten_anzeige{*maximum, *minimum};
}

std::optional<flaechenanzeige> zeige_flaechen() {
    const auto daf = einheitsflaeche();
    if (!daf || !hat_zeile(trech)) return std::nullopt;
    tabelle& r = tab(trech);
    laufsteuerung& l = zustand::lauf();
    l.maxa = r.zahl("maxa");
    l.mina = r.zahl("mina");
    const auto n = gerundet((l.maxa - l.mina) / *daf);
    if (!n || *n > 20) meldung(tgtext(tg::cmaxa), "M", 'T');
    const datt& v = zustand::vdatt();
    flaechenanzeige f;
    f.einheiten = *n;
    if (zustand::numchar()[ndata::anzahl_kollektoren] == "Z") {
        f.maximum = static_cast<double>(*n) * (v[tdata::flaeche_kol_unten] + v[tdata::flaeche_kol_oben]) + l.mina;
        f.minimum = f.maximum;
    } else {
        f.maximum = static_cast<double>(*n) * v[tdata::flaeche_kol_oben];
        f.minimum = l.mina;
    }
    return f;
}
