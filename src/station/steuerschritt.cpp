#include "station/steuerschritt.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "engine/models/luftkollektor.h"
#include "lang/stationstexte.h"

namespace {

const std::string leer() { return stationstexte::leer.text(); }

char zeichen(char16_t c) { return static_cast<char>(c); }

bool vollmodus(const flagchar& numchar) { return numchar[ndata::messmodus] == "J"; }

// The fill of the intermediate reservoir by the collector flow since the
// last fill step.
void reservoir_fuellen(wetterstation& w, const steuerwerte& x, ::date3& d3, int m, int j,
                       const flagchar& numchar, anlage& a) {
    const double dt = vollmodus(numchar) ? stunden_seit_messung(w, d3) : w.test_stunden;
    double& fuellstand = a.zwischenspeicher.fuellstand.wert;
    fuellstand += x.vel * 3600.0 * a.n * dt;
    d3.zwischenspeicher_fuellstand[m][j] = fuellstand;
    w.protokoll().wait(200.0);
}

// A full reservoir is pumped out by the intermediate heat pump at its
// maximum current for the time that lifts its heat.
void reservoir_abpumpen(wetterstation& w, const steuerwerte& x, const flagchar& numchar, const datt& vdatt,
                        anlage& a) {
    const speicher& z = a.zwischenspeicher;
    const ssq& quelle = a.zwischen_waermepumpe.strom_spannungs_quelle;
    const char iv = zeichen(a.zwischen_waermepumpe.waermepumpe_steuerung);
    if (z.fuellstand.wert >= z.spmax.wert && z.fuellstand.wert > 0.0) {
        const double d = abpumpdauer(x, a, vdatt);
        w.setze("Edit40", d);
        ausgabewert_zwischenwaermepumpe(w, vdatt[tdata::ww_leistung], a, vdatt);
        if (!vollmodus(numchar)) {
            w.protokoll().wait(100.0);
        } else {
            w.ausgeben(a.zwischen_waermepumpe.maximalstrom.wert, 0.0, quelle, iv, 'S', 'N', a);
            warte_naechste_messung(w, 0.0, d);
            w.ausgeben(0.0, 0.0, quelle, iv, 'S', 'N', a);
        }
        a.zwischenspeicher.fuellstand.wert = 0.0;
        w.setze_text("Edit40", "0");
        w.setze_text("Edit41", "0");
    } else if (vollmodus(numchar)) {
        w.ausgeben(0.0, 0.0, quelle, iv, 'S', 'N', a);
    }
}

}  // namespace

double ausgabewert_umwaelzpumpe(wetterstation& w, const steuerwerte& x, const anlage& a) {
    const pumpe& p = a.umwaelzpumpe;
    const double q = a.n * x.vel;
    const double maxq = p.maximaldurchfluss.wert;
    double ergebnis = 0.0;
    if (p.pumpe_steuerung == u'V') {
        double u = maxq > 0.0 ? q * p.maximalspannung.wert / maxq : 0.0;
        u = std::min(u, p.maximalspannung.wert);
        w.setze("Edit31", u);
        w.setze_text("Edit30", leer());
        ergebnis = u;
    } else {
        const double i = maxq > 0.0 ? q * p.maximalstrom.wert / maxq : 0.0;
        w.setze("Edit30", i);
        w.setze_text("Edit31", leer());
        ergebnis = i;
    }
    w.setze("Edit32", q * 3600000.0);
    return ergebnis;
}

double ausgabewert_ventilator(wetterstation& w, const steuerwerte& x, double A, const anlage& a) {
    const ventilator& v = a.kollektorventilator;
    double laenge = 0.0;
    const double breite = breite_Kollektorfeld(A, a.oberer_kollektor.bul.wert, laenge);
    const double nenner = v.maxvolstrom.wert * breite;
    double u = nenner > 0.0 ? v.maximalspannung.wert * x.volluft * v.hoeheventilator.wert / nenner : 0.0;
    w.setze("Edit46", u);
    u = std::min(u, v.maximalspannung.wert);
    double luft = 0.0;
    if (!(breite > 0.0) || u < 4.0 / breite) {
        u = 0.0;
    } else {
        luft = x.volluft * 3600.0;
    }
    w.setze("Edit46", u);
    w.setze_text("Edit45", leer());
    w.setze("Edit52", luft);
    return u > 0.0 && u < 4.0 ? 4.0 : u;
}

double ausgabewert_zwischenwaermepumpe(wetterstation& w, double leistung_zwp, const anlage& a,
                                       const datt& vdatt) {
    const waermepumpe& z = a.zwischen_waermepumpe;
    const double nenn = vdatt[tdata::ww_leistung];
    if (z.waermepumpe_steuerung == u'V') {
        const double u = nenn > 0.0 ? leistung_zwp * z.maximalspannung.wert / nenn : 0.0;
        w.setze("Edit50", u);
        w.setze_text("Edit49", leer());
        return u;
    }
    const double i = nenn > 0.0 ? leistung_zwp * z.maximalstrom.wert / nenn : 0.0;
    w.setze("Edit49", i, 4);
    w.setze_text("Edit50", leer());
    return i;
}

double berechne_deckungsgrad(wetterstation& w, double equer_verbrauch, double nh, double ok, double elp) {
    const double d = equer_verbrauch > 0.0 ? 100.0 * (equer_verbrauch - (nh + ok + elp)) / equer_verbrauch : 0.0;
    w.setze("Edit34", d);
    return d;
}

void warte_naechste_messung(wetterstation& w, double nm, double ns, bool messung) {
    uhr& zeit = w.zeit();
    const datum_uhrzeit start = zeit.jetzt();
    const double sekunde = std::floor(start.sekunde);
    // Target from the fields of the time of day, carried with base 60; the
    // hour is not wrapped.
    long long s = static_cast<long long>(sekunde) + static_cast<long long>(std::nearbyint(ns));
    long long min = start.minute + static_cast<long long>(std::nearbyint(nm)) + s / 60;
    s %= 60;
    const long long h = start.stunde + min / 60;
    min %= 60;
    w.setze_text("Edit27", std::to_string(h));
    w.setze_text("Edit28", std::to_string(min));
    w.setze_text("Edit29", std::to_string(s));
    const double ziel = static_cast<double>(h * 3600 + min * 60 + s);
    // The time from now to the target, waited on the counter: it ends on
    // time even across midnight or over several days.
    const double ende_ms = zeit.zaehler_ms() + (ziel - start.sekunden_des_tages()) * 1000.0;
    if (messung) {
        if (w.neu_zeichnen) w.neu_zeichnen();
        zeit.warte_auf_messung(ende_ms, w.warten_beenden);
    } else {
        zeit.warte_bis(ende_ms);
    }
}

double stunden_seit_messung(wetterstation& w, ::date3& d3) {
    const double jetzt = w.zeit().jetzt().sekunden_des_tages();
    double d = jetzt - d3.datetime_alt;
    if (d < 0.0) d += 86400.0;
    d3.datetime_alt = jetzt;
    return std::floor(d) / 3600.0;
}

double abpumpdauer(const steuerwerte& x, const anlage& a, const datt& vdatt) {
    const speicher& z = a.zwischenspeicher;
    const double Q = (x.tf - x.tein) * z.fuellstand.wert * z.spwspei.wert * z.rospei.wert;
    const double e = x.copww;
    const double nenn = vdatt[tdata::ww_leistung];
    if (!(e > 0.0) || !(nenn > 0.0)) return 0.0;
    return Q / e >= 0.0 ? Q / e / nenn : 0.0;
}

void steuerschritt_intervall(wetterstation& w, const steuerwerte& x, datz3& pvdatz3, ::date3& d3, int m,
                             int j, double A, const flagchar& numchar, const datt& vdatt, anlage& a) {
    w.setze_text("Edit51", std::string(1, x.wpausflag));
    w.setze_text("Edit53", std::string(1, x.speicherflag));
    const bool voll = vollmodus(numchar);
    const bool reservoir = numchar[ndata::gegenstrom] == "R";

    // Pump step: circulation pump and intermediate heat pump on the pump board.
    const double U = ausgabewert_umwaelzpumpe(w, x, a);
    const double P = reservoir ? 0.0 : x.lnh;
    const double X = ausgabewert_zwischenwaermepumpe(w, P, a, vdatt);
    if (voll) {
        w.ausgeben(X, U, a.zwischen_waermepumpe.strom_spannungs_quelle,
                   zeichen(a.zwischen_waermepumpe.waermepumpe_steuerung), 'S', 'N', a);
        w.ausgeben(X, U, a.umwaelzpumpe.strom_spannungs_quelle, zeichen(a.umwaelzpumpe.pumpe_steuerung), 'S',
                   'N', a);
    }
    berechne_deckungsgrad(w, x.equer_verbrauch, x.nh, x.ok, x.elp);

    // Fan step.
    if (a.kollektorventilator.maximalspannung.wert > 0.0) {
        const double u = ausgabewert_ventilator(w, x, A, a);
        if (voll) w.ausgeben(0.0, u, a.kollektorventilator.strom_spannungs_quelle, 'V', 'V', 'N', a);
    }

    if (reservoir) {
        reservoir_fuellen(w, x, d3, m, j, numchar, a);
        reservoir_abpumpen(w, x, numchar, vdatt, a);
    }

    if (voll && !a.kein_anschluss_com) warte_naechste_messung(w, 0.0, 1.0, true);
    w.setze_text("Edit27", std::to_string(j));
    w.messe_ta_is(pvdatz3, m, j, a, numchar);
}
