#include "input/lese_daten.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <vector>

#include "data/datenbank.h"
#include "data/einheiten.h"
#include "data/konstanten.h"
#include "engine/models/laufkontext.h"
#include "input/einstrahlung.h"
#include "input/energiebedarf.h"
#include "input/wetter_adapter.h"
#include "lang/meldung.h"

using namespace tabledata;

namespace {

using konst::PI;
constexpr int TABELLENZEILEN = 100;  // rows of a property or vapour table

const std::string& modus() { return zustand::numchar()[ndata::meldungsmodus]; }

// A stored value in the main unit of quantity q; an empty field is 0 (no
// conversion, so an unused column with an empty unit raises no message).
double haupt(tabelle& t, std::string_view spalte, std::string_view einheit_spalte, int q) {
    if (t.ist_feld_leer(spalte)) return 0.0;
    return in_haupteinheit(t.zahl(spalte), t.text(einheit_spalte), q);
}

// Sets a value cell from a table column in the main unit of quantity q.
void setze(daten_einheit& d, tabelle& t, std::string_view spalte, std::string_view einheit_spalte, int q) {
    d.wert = haupt(t, spalte, einheit_spalte, q);
    d.eingabe_einheit = t.text(einheit_spalte);
    d.haupt_einheit = haupteinheiten()[static_cast<size_t>(q)].haupteinheit;
}

void setze_roh(daten_einheit& d, double wert) { d.wert = wert; }

void melde_fehlende_feldkomponente(const std::string& tabelle_name, const std::string& spalte, char schwere) {
    meldung("Fehler: Fehlende Feldkomponente: " + tabelle_name + ", " + spalte, modus(), schwere);
}

bool pruefe_feld(tabelle& t, const std::string& tabelle_name, const std::string& spalte) {
    if (!t.ist_feld_leer(spalte)) return true;
    melde_fehlende_feldkomponente(tabelle_name, spalte, 'E');
    return false;
}

std::string erster_buchstabe(const std::string& s) { return s.empty() ? std::string() : s.substr(0, 1); }

// --- fluids -----------------------------------------------------------------

// Reads the `waerme` row `name` into the seven fluid positions of vdatt from
// `basis` on (in the order of kollektorfluid_cpf..kollektorfluid_nue) and into
// the record (a missing row leaves the table, and so the values, on the
// previous row).
void lese_fluid(const std::string& name, int basis, kaeltemittel& k, datt& v) {
    tabelle& w = tab(twaerme);
    w.suche({feldwert(name)});
    if (!w.hat_zeile()) return;
    const double cpf = haupt(w, "spezwaermcpf", "einwaerm", groesse::spez_waerme);
    const double cpg = haupt(w, "spezwaermcpg", "einwaerm", groesse::spez_waerme);
    const double rho = haupt(w, "dichte", "eindicht", groesse::dichte);
    const double mol = haupt(w, "molekulargewicht", "einheit_mol", groesse::molekulargewicht);
    const double gefrier = haupt(w, "gefrierpunkt", "einheit_temp", groesse::temperatur);
    const double eta = haupt(w, "dynamischevisko", "eindynamischevisko", groesse::dyn_viskositaet);
    double nue = 0.0;
    if (rho != 0.0) {
        nue = eta / rho;
    } else {
        meldung("Fehler: Dichte 0, kinematische Viskosität nicht berechenbar: waerme, " + name, modus(), 'E');
    }
    const double cvg = cpg * mol - konst::GASKONSTANTE;
    const auto b = static_cast<size_t>(basis);
    v[b + tdata::kollektorfluid_cpf] = cpf;
    v[b + tdata::kollektorfluid_cpg] = cpg;
    v[b + tdata::kollektorfluid_cvg] = cvg;
    v[b + tdata::kollektorfluid_dichte] = rho;
    v[b + tdata::kollektorfluid_mol] = mol;
    v[b + tdata::kollektorfluid_gefrierpunkt] = gefrier;
    v[b + tdata::kollektorfluid_nue] = nue;
    v[tdata::wpfluid_cvg] = cvg;
    setze(k.dichte, w, "dichte", "eindicht", groesse::dichte);
    setze(k.spezifische_waerme_cpg, w, "spezwaermcpg", "einwaerm", groesse::spez_waerme);
    setze(k.spezifische_waerme_cpf, w, "spezwaermcpf", "einwaerm", groesse::spez_waerme);
    setze(k.gefrierpunkt, w, "gefrierpunkt", "einheit_temp", groesse::temperatur);
    setze(k.mol, w, "molekulargewicht", "einheit_mol", groesse::molekulargewicht);
    setze_roh(k.spezifische_waerme_cvg, cvg);
    setze_roh(k.nue, nue);
}

// Vapour table of the refrigerant named by the current `waerme` row.
void lese_dampftafel(kaeltemittel& k) {
    const std::string name = tab(twaerme).text("kaeltemittel");
    std::array<double, ANZ_DAMPFTAFEL> tafel{};
    int zeilen = 0;
    if (!name.empty()) {
        tabelle& kt = tab(tkaelte);
        kt.sortiere_nach_schluessel();
        kt.setze_filter({{"name", "=", feldwert(name)}});
        for (kt.erster(); !kt.eof(); kt.naechster()) {
            if (zeilen == TABELLENZEILEN) {
                kt.filter_aus();
                meldung("Fehler: Dampftafel mit mehr als 100 Zeilen: kaelte, " + name, modus(), 'T');
            }
            const double ps = haupt(kt, "ps", "einheitdruck", groesse::druck);
            const double pss = haupt(kt, "pss", "einheitdruck", groesse::druck);
            const auto i = static_cast<size_t>(zeilen);
            tafel[0 * TABELLENZEILEN + i] = haupt(kt, "temperatur", "einheittemperatur", groesse::temperatur);
            tafel[1 * TABELLENZEILEN + i] = ps;
            tafel[2 * TABELLENZEILEN + i] = pss;
            tafel[3 * TABELLENZEILEN + i] = (ps + pss) / 2.0;
            tafel[4 * TABELLENZEILEN + i] = haupt(kt, "enthalpie", "einheitenthalpie", groesse::enthalpie);
            ++zeilen;
        }
        kt.filter_aus();
        if (zeilen == 0) meldung("Fehler: Datensatz existiert nicht in Datenbank: kaelte, " + name, modus(), 'E');
    }
    k.vdampftafeldata = tafel;
    k.imaxdampf = zeilen;
    k.tmin = zeilen > 0 ? tafel[0] : 0.0;
    k.tmax = zeilen > 0 ? tafel[static_cast<size_t>(zeilen - 1)] : 0.0;
}

// Property table of one medium from `luft` (6 columns x 100 rows).
void lese_stoffdaten(const std::string& medium, const std::string& zustand, stoffdaten_luft& ziel) {
    tabelle& t = tab(tluft);
    t.sortiere_nach_schluessel();
    t.setze_filter({{"medium", "=", feldwert(medium)}, {"aggregatzustand", "=", feldwert(zustand)}});
    std::array<double, ANZ_STOFFDATEN_LUFT> werte{};
    int zeilen = 0;
    static const std::pair<const char*, const char*> spalten[6] = {
        {"temperatur", "einheittemp"}, {"dichte", "einheitdichte"}, {"cp", "einheitcp"},
        {"lambda", "einheitlambda"},   {"eta", "einheiteta"},       {"nue", "einheitnue"}};
    static const int groessen[6] = {groesse::temperatur, groesse::dichte, groesse::spez_waerme,
                                    groesse::waermeleitfaehigkeit, groesse::dyn_viskositaet,
                                    groesse::kin_viskositaet};
    for (t.erster(); !t.eof(); t.naechster()) {
        if (zeilen == TABELLENZEILEN) {
            t.filter_aus();
            meldung("Fehler: Stofftabelle mit mehr als 100 Zeilen: luft, " + medium + ", " + zustand, modus(), 'T');
        }
        for (int s = 0; s < 6; ++s)
            werte[static_cast<size_t>(s * TABELLENZEILEN + zeilen)] =
                haupt(t, spalten[s].first, spalten[s].second, groessen[s]);
        ++zeilen;
    }
    t.filter_aus();
    if (zeilen == 0) {
        meldung("Fehler: Datensatz existiert nicht in Datenbank: luft, " + medium + ", " + zustand, modus(), 'E');
    }
    ziel.vstoffdatenluft = werte;
    ziel.tmin = zeilen > 0 ? werte[0] : 0.0;
    ziel.tmax = zeilen > 0 ? werte[static_cast<size_t>(zeilen - 1)] : 0.0;
}

// --- stores -----------------------------------------------------------------

// Inner radius of a store of volume V (a cylinder four radii high): (V / 4π)^(1/3).
double speicherradius(double volumen) { return volumen > 0.0 ? std::cbrt(volumen / (4.0 * PI)) : 0.0; }

// The `spei` row `name` into the store `feld` of the given plants; tmax and
// tmin from the current `steuer` row.
void lese_speicher(const std::string& name, std::initializer_list<int> anlagen, speicher anlage::*feld) {
    tabelle& s = tab(tspei);
    tabelle& st = tab(tsteuer);
    s.suche({feldwert(name)});
    for (int a : anlagen) {
        speicher& sp = zustand::anlage(a).*feld;
        setze(sp.spmax, s, "spmax", "einspmax", groesse::volumen);
        setze_roh(sp.radius, speicherradius(sp.spmax.wert));
        setze(sp.vspei, s, "verluste", "einverluste", groesse::verlustleistung);
        setze(sp.rospei, s, "rospei", "einrospei", groesse::dichte);
        setze(sp.spwspei, s, "spezwaerm", "einspezwaerm", groesse::spez_waerme);
        setze(sp.rohr_aussen, s, "wtdaussen", "einlaenge", groesse::laenge);
        setze(sp.WTlaenge, s, "wtlaenge", "einlaenge", groesse::laenge);
        setze(sp.alpha, s, "waermedz", "einheit_waermedz", groesse::waermedurchgang);
        setze(sp.tmax, st, "tmax", "eint", groesse::temperatur);
        setze(sp.tmin, st, "tmin", "eint", groesse::temperatur);
        setze_roh(sp.austauschflaeche, sp.WTlaenge.wert * PI * sp.rohr_aussen.wert);
    }
}

// --- collectors -------------------------------------------------------------

struct kollektor_ziele {
    const char* haupt_spalte;
    kollektor anlage::*feld;
    int pumpe, flaeche, verlust, konversion, quadratisch;
};

void lese_kollektor(const kollektor_ziele& z, datt& v) {
    tabelle& ko = tab(tko);
    tabelle& kol = tab(tkol);
    const std::string name = tab(thaupt).text(z.haupt_spalte);
    kol.suche({feldwert(name)});
    anlage& a0 = zustand::anlage(0);
    kollektor& k = a0.*z.feld;

    v[static_cast<size_t>(z.pumpe)] = haupt(ko, "relpumpkoll", "einrelpumpkoll", groesse::rel_pumpleistung_traeger);

    // Circulation pump (from ko) and collector fan (from this collector).
    pumpe& p = a0.umwaelzpumpe;
    setze(p.maximalspannung, ko, "maximalspannung", "einspannung", groesse::spannung);
    setze(p.maximaldurchfluss, ko, "maximal_durchfluss", "eindurchfluss", groesse::volumenstrom_traeger);
    p.pumpe_steuerung = u'V';
    p.strom_spannungs_quelle.dac_typ = ko.text("typadc_p");
    p.strom_spannungs_quelle.maximalspannung = p.maximalspannung.wert;
    ventilator& f = a0.kollektorventilator;
    setze(f.hoeheventilator, kol, "hoeheventilator", "einhoehe", groesse::laenge);
    setze(f.maximalspannung, kol, "maximalu_ventilator", "einspannung", groesse::spannung);
    setze(f.maxvolstrom, kol, "maximalvols_ventilator", "einvols", groesse::volumenstrom_luft);
    f.strom_spannungs_quelle.dac_typ = kol.text("typadc_v");
    f.strom_spannungs_quelle.maximalspannung = f.maximalspannung.wert;

    setze(k.daf, kol, "flaeche", "einflaeche", groesse::flaeche);
    v[static_cast<size_t>(z.flaeche)] = k.daf.wert;

    const double verlust =
        kol.text("einalpha") == "n" ? -0.2
                                    : -haupt(kol, "alpha", "einalpha", groesse::lin_koeff_kollektor) / 10.0;
    setze_roh(k.skm, verlust);
    setze_roh(k.skb, kol.zahl("beta"));
    setze_roh(k.skg, -haupt(kol, "gamma", "eingamma", groesse::quad_koeff_kollektor));
    v[static_cast<size_t>(z.verlust)] = k.skm.wert;
    v[static_cast<size_t>(z.konversion)] = k.skb.wert;
    v[static_cast<size_t>(z.quadratisch)] = k.skg.wert;

    const double bul = kol.zahl("breitezulaenge");
    if (!(bul > 0.0)) {
        meldung("Fehler: Verhältnis Breite zu Länge muss positiv sein: kol, " + name, modus(), 'T');
    }
    setze_roh(k.bul, bul);
    setze_roh(k.breite, std::sqrt(k.daf.wert * bul));
    setze_roh(k.laenge, std::sqrt(k.daf.wert / bul));

    setze(k.ak, kol, "rohrdurchmesser", "einrohr", groesse::laenge);
    k.b.wert = haupt(kol, "rohrabstand", "einrohrabstand", groesse::anteil) * k.ak.wert;
    k.b.eingabe_einheit = kol.text("einrohr");
    k.b.haupt_einheit = k.ak.haupt_einheit;
    setze(k.pmax, kol, "maximaldruck", "eindruck", groesse::druck);
    const std::string verlegung = kol.text("rohrverlegung");
    if (verlegung.empty()) melde_fehlende_feldkomponente("kol", "rohrverlegung", 'T');
    k.rohrverlegung = static_cast<char16_t>(static_cast<unsigned char>(verlegung[0]));

    const double teilung = k.ak.wert + k.b.wert;
    if (!(teilung > 0.0)) {
        meldung("Fehler: Rohrdurchmesser und Rohrabstand müssen positiv sein: kol, " + name, modus(), 'T');
    }
    k.m = static_cast<int32_t>(std::nearbyint(k.breite.wert / teilung));
    if (k.breite.wert > 0.0) {
        setze_roh(k.hoehe, k.daf.wert / k.breite.wert);
        setze_roh(k.bul, k.breite.wert / k.hoehe.wert);
    } else {
        // A collector of area 0 has no extent; its ratio stays as read.
        setze_roh(k.hoehe, 0.0);
    }

    if (kol.text("einwindtkoef") != "n")
        setze(k.windtkoef, kol, "windabhaengigert-koef", "einwindtkoef", groesse::wind_waermedurchgang);
    if (kol.text("einwindkoef") != "n")
        setze(k.windkoef, kol, "windabhaengigerkoef", "einwindkoef", groesse::wind_verlust);
    setze_roh(k.RelFlaecheOben, kol.zahl("relflaecheoben"));
    setze_roh(k.RelFlaecheUnten, kol.zahl("relflaecheunten"));
    // The air-side model switches of the collector row read last (the
    // current row of the collector sheet) go to the run's models.
    zustand::kollektorblatt() = {kol.text("einalpha"), kol.text("einwindtkoef")};
}

void lese_rohre() {
    tabelle& ko = tab(tko);
    rohrleitungen& r = zustand::anlage(0).rohre;
    setze(r.laenge_speicher_kollektor, ko, "laengespeicherkol", "einlaengerohr", groesse::laenge);
    setze(r.laenge_kollektor_speicher, ko, "laengekolspeicher", "einlaengerohr", groesse::laenge);
    setze(r.hoehe_kollektor_pumpe, ko, "hoehekol", "einlaengerohr", groesse::laenge);
    setze(r.ag, ko, "durchmesserag", "eindurchmesser", groesse::laenge);
    setze(r.pmax, ko, "maximaldruck", "eindruck", groesse::druck);
}

// --- heat pumps -------------------------------------------------------------

struct waermepumpen_ziele {
    const char* haupt_spalte;
    const char* arbeitsweise;
    waermepumpe anlage::*feld;
    int code, antrieb;  // numchar positions of the model code and the drive
    // vdatt positions: COP coefficients c1..c7 (t, o, m, l, h, g, f), exponent e,
    // waste-heat coefficient c, drive efficiency b, power, exchanger areas, 1/vkv0, v0.
    int t, o, m, l, h, g, f, e, c, b, leistung, minq, maxq, vkv0, v0;
};

void lese_waermepumpe(const waermepumpen_ziele& z, datt& v) {
    tabelle& wp = tab(twp);
    flagchar& numchar = zustand::numchar();
    const std::string name = tab(thaupt).text(z.haupt_spalte);
    wp.suche({feldwert(name), feldwert(std::string(z.arbeitsweise))});
    auto V = [&v](int i) -> double& { return v[static_cast<size_t>(i)]; };

    const std::string modell = tab(tnum).text("modelltypwp");
    if (modell == "H") {
        numchar[static_cast<size_t>(z.code)] = "H";
        V(z.t) = haupt(wp, "deltahyp", "eindeltahyp", groesse::hyp_koeff_wp);
        V(z.o) = wp.zahl("gammahyp");
    } else if (modell == "4") {
        numchar[static_cast<size_t>(z.code)] = "4";
        V(z.t) = haupt(wp, "alpha", "eindeltahyp", groesse::hyp_koeff_wp);
        V(z.o) = wp.zahl("beta");
        V(z.m) = wp.zahl("gamma");
        V(z.l) = wp.zahl("delta");
        V(z.h) = wp.zahl("epsilon");
        V(z.g) = wp.zahl("zeta");
        V(z.f) = wp.zahl("eta_w");
        V(z.e) = wp.zahl("cexp");
    } else if (modell == "L" || modell == "A") {
        V(z.t) = haupt(wp, "deltalin", "eindeltalin", groesse::lin_koeff_wp);
        V(z.o) = wp.zahl("gammalin");
        if (modell == "L") numchar[static_cast<size_t>(z.code)] = "L";
        if (modell == "A") {
            numchar[static_cast<size_t>(z.code)] = "A";
            const double vkv0 = haupt(wp, "vkv0", "einheitvkv0", groesse::anteil);
            if (vkv0 != 0.0) {
                V(z.vkv0) = 1.0 / vkv0;
            } else {
                meldung("Fehler: Verdichtungsverhältnis vkv0 ist 0: wp, " + name, modus(), 'E');
                V(z.vkv0) = 0.0;
            }
            V(z.v0) = haupt(wp, "v0", "einheitv0", groesse::volumen);
        }
    }

    V(z.maxq) = haupt(wp, "maxq", "einheitq", groesse::flaeche);
    V(z.minq) = haupt(wp, "minq", "einheitq", groesse::flaeche);
    numchar[static_cast<size_t>(z.antrieb)] = erster_buchstabe(wp.text("antrieb"));
    V(z.c) = 0.0;
    V(z.b) = haupt(wp, "eta", "eineta", groesse::anteil);
    V(z.leistung) = haupt(wp, "maximaleleistung", "einheitleistung", groesse::leistung);

    waermepumpe& rec = zustand::anlage(0).*z.feld;
    setze(rec.pmaxt, wp, "maxdruckt", "eindruck", groesse::druck);
    setze(rec.pmaxh, wp, "maxdruckh", "eindruck", groesse::druck);
    setze(rec.regelbereich, wp, "regelbereich", "einregelbereich", groesse::anteil);
    setze(rec.maximalstrom, wp, "maximalstrom", "einstrom", groesse::strom);
    rec.waermepumpe_steuerung = u'S';
    rec.strom_spannungs_quelle.dac_typ = wp.text("typadc_wp");
    rec.strom_spannungs_quelle.maximalstrom = rec.maximalstrom.wert;

    V(tdata::wp_leistung_min) = (1.0 - rec.regelbereich.wert) * V(z.leistung);
    V(tdata::wp_leistung_max) = (1.0 + rec.regelbereich.wert) * V(z.leistung);
    V(tdata::reservoirtemperatur) = haupt(wp, "MinPrimär", "EinMinP", groesse::temperatur);
}

const waermepumpen_ziele ZWISCHEN_WP{
    "wpww", "ww", &anlage::zwischen_waermepumpe, ndata::modelltyp_ww, ndata::antrieb_ww,
    tdata::ww_c1, tdata::ww_c2, tdata::ww_c3, tdata::ww_c4, tdata::ww_c5, tdata::ww_c6, tdata::ww_c7,
    tdata::ww_exponent, tdata::ww_abwaerme, tdata::ww_eta, tdata::ww_leistung, tdata::ww_minq,
    tdata::ww_maxq, tdata::ww_vkv0_kehrwert, tdata::ww_v0};
const waermepumpen_ziele ERD_WP{
    "wpwe", "we", &anlage::erd_waermepumpe, ndata::modelltyp_we, ndata::antrieb_we,
    tdata::we_c1, tdata::we_c2, tdata::we_c3, tdata::we_c4, tdata::we_c5, tdata::we_c6, tdata::we_c7,
    tdata::we_exponent, tdata::we_abwaerme, tdata::we_eta, tdata::we_leistung, tdata::we_minq,
    tdata::we_maxq, tdata::we_vkv0_kehrwert, tdata::we_v0};

// --- monthly rows -----------------------------------------------------------

// The twelve monthly values from the column "Januar" on, in the main unit of
// temperature (the unit column `einheit`).
double monatstemperatur(int tabelle_index, int m) {
    tabelle& t = tab(tabelle_index);
    const int januar = t.spalten_index("Januar");
    if (januar < 0) melde_fehlende_feldkomponente(t.sql_name(), "Januar", 'T');
    return in_haupteinheit(als_zahl(t.wert(januar + m - 1)), t.text("einheit"), groesse::temperatur);
}

void plausibilitaet(datt& vv) {
    const flagchar& numchar = zustand::numchar();
    const std::string text = "Fehler: Falscher Abwärmenutzungskoeffizient oder falsches Eta für wp";
    auto pruefe_wp = [&](const std::string& antrieb, int b, int c, const char* zusatz) {
        if (antrieb != "W") {
            vv[static_cast<size_t>(b)] = 1.0;
            vv[static_cast<size_t>(c)] = 0.0;
        } else if (vv[static_cast<size_t>(b)] > 1.0 / (vv[static_cast<size_t>(c)] + 1.0) ||
                   vv[static_cast<size_t>(b)] == 0.0) {
            meldung(text + zusatz, "M", 'E');
        }
    };
    pruefe_wp(numchar[ndata::antrieb_ww], tdata::ww_eta, tdata::ww_abwaerme, "für Wärmepumpe ww");
    pruefe_wp(numchar[ndata::antrieb_we], tdata::we_eta, tdata::we_abwaerme, "für Wärmepumpe we");
    if ((numchar[ndata::antrieb_we] == "E" || numchar[ndata::antrieb_ww] == "E") &&
        (vv[tdata::eta_kraftwerk] > 1.0 / (vv[tdata::kraftwerk_abwaerme] + 1.0) ||
         vv[tdata::eta_kraftwerk] == 0.0)) {
        meldung(text + "für Kraftwerk", "M", 'E');
    }
}

bool ist_schaltjahr(int64_t jahr) {
    return jahr > 0 && ((jahr % 4 == 0 && jahr % 100 != 0) || jahr % 400 == 0);
}

}  // namespace

// ---------------------------------------------------------------------------

void lese_numan_flags() {
    flagchar& n = zustand::numchar();
    tabelle& num = tab(tnum);
    tabelle& an = tab(tabledata::tan);
    for (const char* spalte : {"Zeitraum", "Sortierung", "Art"}) pruefe_feld(num, "num", spalte);
    n[ndata::zeitraum] = num.text("zeitraum");
    n[ndata::rechenart] = num.text("art");
    n[ndata::heizung] = an.text("Heizung");
    const std::string kopplung = an.text("Kopplungstyp");
    n[ndata::kopplungstyp] = !kopplung.empty() && kopplung[0] == 'E' ? "E" : "Z";
    n[ndata::luftwaermetauscher] = kopplung == "L" ? "L" : "N";
    n[ndata::kaltwassertemp] = an.text("Kaltwassertemp");
    n[ndata::ohne_kopplung] = an.text("Ohne Kopplung");
    n[ndata::anzahl_kollektoren] = an.text("AnzahlKol");
    n[ndata::optimierung] = num.text("optimierung");
    n[ndata::sortierung] = num.text("sortierung");
    n[ndata::diffusestrahlung] = num.text("diffusestrahlung");
    n[ndata::strahlung] = num.text("strahlung");
    n[ndata::zeitintervall] = tab(tir_ta_m).text("zeitintervall");
    const std::string ew = tab(tew_m).text("zeitintervall"), eh = tab(teh_m).text("zeitintervall");
    n[ndata::bedarfsdetails] = (!ew.empty() && ew[0] == 'A' && !eh.empty() && eh[0] == 'A') ? "D" : "N";
    n[ndata::schaltjahr] = ist_schaltjahr(tab(tir_ta_m).ganzzahl("meßdatum")) ? "Y" : "N";
    n[ndata::kopplungsart] = an.text("LeistungWP");
    n[ndata::gegenstrom] = an.text("Gegenstrom");
    n[ndata::druckabfallmodell] = erster_buchstabe(num.text("modelltypdruckabfall"));
    n[ndata::speicherfolge] = num.text("speicher");
    n[ndata::energiebedarfintervall] = num.text("energiebedarfintervall");

    const int64_t start = num.ganzzahl("monatstart");
    if (start >= 1 && start <= MAXMONAT) {
        zustand::monatstart() = static_cast<int32_t>(start);
    } else {
        meldung("Fehler: Startmonat muss zwischen 1 und 12 liegen: num, " + num.text("name") + "; Januar verwendet",
                modus(), 'E');
        zustand::monatstart() = 1;
    }
}

double bestimme_tk(const std::string& kaltwassercode, int m) {
    if (kaltwassercode == "W") return monatstemperatur(trw, m);
    if (kaltwassercode == "E") {
        tabelle& te = tab(tte);
        const int januar = te.spalten_index("Januar");
        if (januar < 0) melde_fehlende_feldkomponente("te", "Januar", 'T');
        double wert = als_zahl(te.wert(januar + m - 1));
        if (!(wert > 1.0)) wert = 1.0;
        return in_haupteinheit(wert, te.text("einheit"), groesse::temperatur);
    }
    meldung("Fehler: Unbekannter Code für Kaltwassertemperatur: " + kaltwassercode, modus(), 'E');
    return 0.0;
}

void berechne_daf(datt& v) {
    if (zustand::numchar()[ndata::anzahl_kollektoren] != "Z") {
        v[tdata::daf] = v[tdata::flaeche_kol_oben];
        v[tdata::relpump_feld] = v[tdata::relpump_kol_oben];
    } else {
        v[tdata::daf] = v[tdata::flaeche_kol_unten] + v[tdata::flaeche_kol_oben];
        v[tdata::relpump_feld] = v[tdata::relpump_kol_unten] + v[tdata::relpump_kol_oben];
    }
}

void besetze_gwt() {
    tabelle& g = tab(tgwt);
    gegenstrom_waermetauscher& w = zustand::anlage(0).gegenstromwt;
    setze(w.wt_laenge, g, "laenge", "einheit_laenge", groesse::laenge);
    setze(w.rohr_aussen_D3, g, "durchmesserd3", "einheit_laenge", groesse::laenge);
    setze(w.rohr_aussen_D2, g, "durchmesserd2", "einheit_laenge", groesse::laenge);
    setze(w.rohr_innen_D1, g, "durchmesserd1", "einheit_laenge", groesse::laenge);
    setze(w.rohr_innen_d2, g, "durchmesser_d2", "einheit_laenge", groesse::laenge);
    setze(w.rohr_mitte_d1, g, "durchmesser_d1", "einheit_laenge", groesse::laenge);
    setze(w.alpha, g, "waermedz", "einheit_waermedz", groesse::waermedurchgang);
    setze(w.austauschflaeche, g, "austauschflaeche", "einheit_flaeche", groesse::flaeche);
    w.anzahl = static_cast<int32_t>(g.ganzzahl("anzahl"));
    w.typ = g.text("typ");
}

void Setze_Luftdaten() {
    stoffdaten& s = zustand::stoffdaten();
    tabelle& ko = tab(tko);
    // Read all three before storing, so that a rejected table leaves the
    // previous ones whole.
    stoffdaten_luft luft, speicher_medium, kollektor_medium;
    lese_stoffdaten("Luft", "g", luft);
    lese_stoffdaten(ko.text("name_wt_speicher"), "l", speicher_medium);
    lese_stoffdaten(ko.text("name_wt_kollektor"), "l", kollektor_medium);
    s.stoffdaten_luft_record.vstoffdatenluft = luft.vstoffdatenluft;
    s.stoffdaten_luft_record.tmin = luft.tmin;
    s.stoffdaten_luft_record.tmax = luft.tmax;
    s.stoffdaten_speicher_record.vstoffdatenluft = speicher_medium.vstoffdatenluft;
    s.stoffdaten_speicher_record.tmin = speicher_medium.tmin;
    s.stoffdaten_speicher_record.tmax = speicher_medium.tmax;
    auto& fluid = s.kaeltemittel_record.stoffdaten_fluid_record;
    fluid.vstoffdatenluft = kollektor_medium.vstoffdatenluft;
    fluid.tmin = kollektor_medium.tmin;
    fluid.tmax = kollektor_medium.tmax;
    // The counter-flow exchanger reads the collector fluid's properties from
    // the plant's collector fluid.
    zustand::anlage(0).kaeltemittel_kollektoren.stoffdaten_fluid_record = fluid;
}

namespace {

// The weather record (its name is mandatory) and the configuration codes.
wetterdatensatz& lese_wetter_und_codes() {
    if (tab(tir_ta_m).ist_feld_leer("Name")) melde_fehlende_feldkomponente("ir_ta_m", "Name", 'E');
    wetterdatensatz& wetter = zustand::geladener_wetterdatensatz();
    lese_wetterdatensatz(wetter);
    lese_numan_flags();
    return wetter;
}

// Air flow and the three fluids (collector, heat pump, store record).
void lese_luftstrom_und_fluide(datt& v) {
    tabelle& ko = tab(tko);
    v[tdata::volstrom_luft] = haupt(ko, "volstromluft", "einvolstromluft", groesse::volumenstrom_luft);
    anlage& a0 = zustand::anlage(0);
    lese_fluid(ko.text("name_wt_kollektor"), tdata::kollektorfluid_cpf, a0.kaeltemittel_kollektoren, v);
    lese_fluid(ko.text("name_wt_wp"), tdata::wpfluid_cpf, a0.kaeltemittel_waermepumpe, v);
    lese_fluid(ko.text("name_wt_wp"), tdata::speicherfluid_cpf, a0.kaeltemittel_speicher, v);
}

// Position of site and weather data, the collector's orientation, mean wind
// and humidity.
void lese_lage_und_wettergeometrie(datt& v) {
    tabelle& lage = tab(tlage);
    tabelle& irm = tab(tir_ta_m);
    v[tdata::breitengrad] = lage.zahl("breitengrad");
    v[tdata::laengengrad] = lage.zahl("laengengrad");
    v[tdata::wetter_breite] = irm.zahl("breite");
    v[tdata::wetter_laenge] = irm.zahl("laenge");
    v[tdata::phi_g] = lage.zahl("phi");
    v[tdata::theta_s] = lage.zahl("theta");
    v[tdata::wetter_theta] = irm.zahl("theta");
    v[tdata::mittlerer_wind] = haupt(irm, "mittlerewind", "einheit_wind", groesse::geschwindigkeit);
    v[tdata::mittlere_feuchte] = haupt(irm, "mittlerefeuchte", "einheit_feuchte", groesse::anteil);
    // The irradiation adds the ground-reflected part with this site's
    // reflection, so it is read here already (and again with the site values).
    v[tdata::reflektion] = haupt(lage, "reflektion", "einabref", groesse::anteil);
}

// The irradiation series on the collector plane, when the loading asks for it.
void berechne_einstrahlung_der_ebene(wetterdatensatz& wetter, flagchar& numchar, datt& v, datz& z,
                                     datz3& p1, datz3& p2) {
    if (numchar[ndata::einstrahlung_berechnen] != "J") return;
    const tabellen_umrechnung einheiten;
    int abbruchmarke = 1;
    double jahr = 0.0;
    berechne_Einstrahlungsdaten(wetter, einheiten, z, numchar, abbruchmarke, v, jahr, p1, p2, v[tdata::phi_g],
                                v[tdata::theta_s], v[tdata::wetter_breite]);
}

// Buffer and long-term store of plants 0, 1, 2, 5, intermediate store of
// plants 0, 1; the store table is left on the buffer store's row.
void lese_speicher_der_anlagen() {
    tabelle& haupt_t = tab(thaupt);
    lese_speicher(haupt_t.text("spei"), {0, 1, 2, 5}, &anlage::pufferspeicher);
    lese_speicher(haupt_t.text("langspei"), {0, 1, 2, 5}, &anlage::langzeitspeicher);
    lese_speicher(haupt_t.text("zwischenspei"), {0, 1}, &anlage::zwischenspeicher);
    tab(tspei).suche({feldwert(haupt_t.text("spei"))});
}

// Charge and discharge plan of the long-term store; a store that no month
// uses is reported.
void lese_monatsflags(const flagchar& numchar) {
    tabelle& st = tab(tsteuer);
    const int erste = st.spalten_index("LadeJanuar");
    if (erste < 0) melde_fehlende_feldkomponente("steuer", "LadeJanuar", 'T');
    bool geplant = false;
    for (int m = 1; m <= MAXMONAT; ++m) {
        zustand::lade_flag()[m] = als_text(st.wert(erste + 2 * (m - 1)));
        zustand::entnehme_flag()[m] = als_text(st.wert(erste + 2 * (m - 1) + 1));
        geplant |= zustand::lade_flag()[m] == "Y" || zustand::entnehme_flag()[m] == "Y";
    }
    if (!geplant && zustand::anlage(1).langzeitspeicher.spmax.wert > 0.0) {
        meldung("Warnung: Langzeitspeicher überflüssig, bitte Null-Speicher verwenden",
                numchar[ndata::meldungsmodus], 'W');
    }
}

// Monthly temperatures (ground, cold water, heating return, hot water,
// heating flow) and energies (heating, hot water, electricity, their sum).
void lese_monatswerte(const flagchar& numchar, datz& z) {
    for (int m = 1; m <= MAXMONAT; ++m) {
        z[zdata::te][m] = monatstemperatur(tte, m);
        z[zdata::rw][m] = bestimme_tk(numchar[ndata::kaltwassertemp], m);
        z[zdata::rh][m] = monatstemperatur(trh, m);
        z[zdata::tw][m] = monatstemperatur(ttw, m);
        z[zdata::th][m] = monatstemperatur(tth, m);
        z[zdata::eh][m] = lese_energie(teh_m, m, z);
        z[zdata::ew][m] = lese_energie(tew_m, m, z);
        z[zdata::ee][m] = lese_energie(tee, m, z);
        z[zdata::ewv][m] = z[zdata::ew][m] + z[zdata::eh][m];
    }
}

// Per-interval demand of heating and hot water, for runs on hourly values.
void lese_bedarfsdetails(flagchar& numchar, datz& z, datz3& p1) {
    if (numchar[ndata::strahlung] != "D") return;
    lese_details_energieverbrauch_aus_datenbank(p1, zdata::eh, teh_m, teh_d, numchar, z);
    lese_details_energieverbrauch_aus_datenbank(p1, zdata::ew, tew_m, tew_d, numchar, z);
}

// Efficiencies, the temperature-difference variants, the reservoir
// temperature and the energy prices.
void lese_wirkungsgrade_und_preise(const flagchar& numchar, datt& v, laufsteuerung& lauf) {
    tabelle& ko = tab(tko);
    tabelle& rech = tab(trech);
    v[tdata::eta_zelle] = haupt(tab(tzelle), "etaz", "einetaz", groesse::anteil);
    v[tdata::ee_gesamt] = haupt(tab(tee), "gesamt", "Einheit", groesse::energie);
    v[tdata::eta_luftwt] = ko.zahl("etalwt");  // stored as a fraction; the table has no unit column for it
    const std::string& art = numchar[ndata::kopplungsart];
    if (art == "A" || art == "K" || art == "F" || art == "DK") v[tdata::eta_luftwt] = 0.0;
    v[tdata::eta_gegenstromwt] = haupt(ko, "etagwt", "einetagwt", groesse::anteil);
    v[tdata::relpump_luft] = haupt(ko, "relpumpluft", "einrelpumpluft", groesse::leistung);
    v[tdata::mindeltatkol] = haupt(rech, "mindeltatkol", "einheittemp", groesse::temperatur);
    lauf.mindeltatkol = v[tdata::mindeltatkol];
    lauf.maxdeltatkol = haupt(rech, "maxdeltatkol", "einheittemp", groesse::temperatur);
    lauf.anzdeltatkol = static_cast<int32_t>(rech.ganzzahl("anzdeltatkol"));
    lauf.deltatkol_schritt =
        lauf.anzdeltatkol < 1 ? 0.0 : (lauf.maxdeltatkol - lauf.mindeltatkol) / lauf.anzdeltatkol;
    lauf.maxmittemp = static_cast<int32_t>(rech.ganzzahl("maxmittemp"));
    v[tdata::reservoirtemperatur] = haupt(rech, "minexp", "einheittemp", groesse::temperatur);
    v[tdata::eta_gas] = haupt(tab(tgas), "wirkungsgrad", "einwirkungsgrad", groesse::anteil);
    berechne_energiepreise(v);
}

// The upper and the lower collector, then the pipes.
void lese_kollektoren_und_rohre(datt& v) {
    lese_kollektor({"kolo", &anlage::oberer_kollektor, tdata::relpump_kol_oben, tdata::flaeche_kol_oben,
                    tdata::kol_oben_verlust, tdata::kol_oben_konversion, tdata::kol_oben_quadratisch},
                   v);
    lese_kollektor({"kolu", &anlage::unterer_kollektor, tdata::relpump_kol_unten, tdata::flaeche_kol_unten,
                    tdata::kol_unten_verlust, tdata::kol_unten_konversion, tdata::kol_unten_quadratisch},
                   v);
    lese_rohre();
}

// The intermediate and the main heat pump; the intermediate pump's low-side
// pressure limit is the smallest of the collectors', the pipes' and its own.
void lese_waermepumpen(datt& v) {
    lese_waermepumpe(ZWISCHEN_WP, v);
    lese_waermepumpe(ERD_WP, v);
    anlage& a0 = zustand::anlage(0);
    double& pmaxt = a0.zwischen_waermepumpe.pmaxt.wert;
    pmaxt = std::min({a0.oberer_kollektor.pmax.wert, a0.unterer_kollektor.pmax.wert, a0.rohre.pmax.wert, pmaxt});
}

// The optimisation target, the power plant, the site's collector area and
// ground values, and the area of one collector unit.
void lese_ziel_kraftwerk_und_lage(flagchar& numchar, datt& v) {
    tabelle& lage = tab(tlage);
    numchar[ndata::optimierung] = erster_buchstabe(tab(tnum).text("optimierung"));
    v[tdata::eta_kraftwerk] = haupt(tab(tkraft), "wirkungsgrad", "einwirkungsgrad", groesse::anteil);
    v[tdata::kraftwerk_abwaerme] = 0.0;
    v[tdata::lage_kollektorflaeche] = haupt(lage, "kollektorflaeche", "einflaeche", groesse::flaeche);
    v[tdata::bodenabsorption] = haupt(lage, "bodenabsorption", "einabref", groesse::anteil);
    v[tdata::hoehe] = haupt(lage, "hoehe", "einhoehe", groesse::laenge);
    v[tdata::reflektion] = haupt(lage, "reflektion", "einabref", groesse::anteil);
    berechne_daf(v);
}

// The ranges of the `ge`, area, power and tilt loops.
void lese_laufbereiche(laufsteuerung& lauf) {
    tabelle& rech = tab(trech);
    lauf.minge = haupt(rech, "minge", "einge", groesse::volumenstrom_traeger);
    lauf.maxge = haupt(rech, "maxge", "einge", groesse::volumenstrom_traeger);
    lauf.anzge = static_cast<int32_t>(rech.ganzzahl("anzge"));
    lauf.maxwp = rech.zahl("maxwp");
    lauf.mina = haupt(rech, "mina", "einflaeche", groesse::flaeche);
    lauf.maxa = haupt(rech, "maxa", "einflaeche", groesse::flaeche);
    lauf.danzflaeche = static_cast<int32_t>(std::nearbyint(rech.zahl("danzflaeche")));
    lauf.minleistwp = haupt(rech, "minleistwp", "einwp", groesse::leistung);
    lauf.maxleistwp = haupt(rech, "maxleistwp", "einwp", groesse::leistung);
    lauf.anzwp = static_cast<int32_t>(rech.ganzzahl("anzwp"));
    if (lauf.anzwp == 0) lauf.anzwp = 1;
    lauf.anztheta = static_cast<int32_t>(rech.ganzzahl("anztheta"));
    if (lauf.anztheta == 0) lauf.anztheta = 1;
    lauf.mintheta = haupt(rech, "mintheta", "einheittheta", groesse::winkel);
    lauf.maxtheta = haupt(rech, "maxtheta", "einheittheta", groesse::winkel);
}

// A run on a fictitious mean day: the buffer store holds the whole day's
// energy. The geometry follows the volume: a larger store has a larger
// radius (and so less surface per volume).
void puffer_fuer_mittleren_tag(const flagchar& numchar) {
    if (numchar[ndata::strahlung] != "M") return;
    for (int a : {0, 1, 2, 5}) {
        speicher& puffer = zustand::anlage(a).pufferspeicher;
        puffer.spmax.wert *= 24.0;
        puffer.radius.wert = speicherradius(puffer.spmax.wert);
    }
}

}  // namespace

void leseausDatenBank(datz3& p1, datz3& p2) {
    flagchar& numchar = zustand::numchar();
    datt& v = zustand::vdatt();
    datz& z = zustand::vdatz();
    laufsteuerung& lauf = zustand::lauf();

    // The demand details add to eg_d: start from an empty series.
    for (auto& reihe : p1[zdata::eg_d]) reihe.fill(0.0);

    wetterdatensatz& wetter = lese_wetter_und_codes();
    lese_luftstrom_und_fluide(v);
    lese_dampftafel(zustand::stoffdaten().kaeltemittel_record);
    lese_lage_und_wettergeometrie(v);
    berechne_einstrahlung_der_ebene(wetter, numchar, v, z, p1, p2);
    lese_speicher_der_anlagen();
    besetze_gwt();
    Setze_Luftdaten();
    lese_monatsflags(numchar);
    lese_monatswerte(numchar, z);
    lese_bedarfsdetails(numchar, z, p1);
    lese_wirkungsgrade_und_preise(numchar, v, lauf);
    lese_kollektoren_und_rohre(v);
    lese_waermepumpen(v);
    lese_ziel_kraftwerk_und_lage(numchar, v);
    lese_laufbereiche(lauf);
    plausibilitaet(v);
    puffer_fuer_mittleren_tag(numchar);
}
