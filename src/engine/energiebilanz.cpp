#include "engine/energiebilanz.h"

#include <algorithm>

#include "data/konstanten.h"
#include "engine/heizbilanz.h"
#include "engine/models/numerik.h"
#include "engine/models/waermepumpe.h"
#include "lang/meldung.h"

namespace {

bool ist_lademonat(int m) { return zustand::lade_flag()[m] == "Y"; }
bool ist_entnahmemonat(int m) { return zustand::entnehme_flag()[m] == "Y"; }

double copwe_positiv(intervallbilanz& b) {
    if (b.d.copwe[b.m] <= 0.0) {
        meldung("Warnung: COPWE = 0 oder negativ. Wird gleich eins gesetzt.", b.numchar[ndata::meldungsmodus],
                'W');
        b.d.copwe[b.m] = 1.0;
    }
    return b.d.copwe[b.m];
}

// Share f of the collector heat that reaches the store above the cold-water
// temperature when the collector outflow stays below the flow temperature.
double anteil_ueber_kaltwasser(const intervallbilanz& b) {
    const double tf = b.d3.tf[b.m][b.s], twv = b.vdatz[zdata::twv][b.m], tk = b.vdatz[zdata::tk][b.m];
    if (tf < twv && twv != tk) return (tf - tk) / (twv - tk);
    return 1.0;
}

// The house's demand is delivered at the house's supply temperature (in a
// month that charges the long-term store twv is the store's top temperature).
double vorlauf_haus(const intervallbilanz& b) { return vorlauftemperatur_haus(b.numchar, b.vdatz, b.m); }

speicher_entnahme direkt_entladen(intervallbilanz& b, speicher& sp, double bedarf) {
    return entlade_speicher(sp, bedarf, b.vdatz[zdata::rwv][b.m], vorlauf_haus(b), 'D', 'N', b.m, b.s,
                            b.numchar, b.vdatt, b.vdatz, b.d, b.d3, b, b.fluid);
}

// The part of a charge month's interval that the ww pump delivers straight to
// the house (intermediate coupling, time-step methods): heat, electricity and
// the share of er (lifted to the store's top) whose collector heat it uses.
struct hausanteil {
    double waerme = 0.0, strom = 0.0, er_anteil = 0.0;
};

hausanteil ww_pumpe_heizt_haus(intervallbilanz& b, double bedarf) {
    const int m = b.m, s = b.s;
    ::date3& d3 = b.d3;
    hausanteil h;
    const double P = d3.es[m][s] + d3.ls[m][s], er = d3.er[m][s];
    if (b.numchar[ndata::kopplungstyp] != "Z" || b.numchar[ndata::rechenart] == "A" ||
        ist_direktkopplung(b.numchar) || d3.twfflag[s] != u'N' || d3.wpausflag[s] != u'N' ||
        !(P > 0.0) || !(er > 0.0) || !(bedarf > 0.0))
        return h;
    // COP against the house as the pump's model sees it: source as in the
    // collector loop, sink the mean of the house's supply and return.
    const double tein = b.pvdatz3[zdata::tein][m][s], tf = d3.tf[m][s];
    const double tt = b.numchar[ndata::gegenstrom] == "G" ? tein : (tf + tein) / 2.0;
    const double th = (vorlauf_haus(b) + b.vdatz[zdata::rwv][m]) / 2.0;
    const double ph = d3.ph[m][s], pt = d3.pt[m][s];
    double roh = 0.0;
    const double cop = berechne_cop(b.vdatt, b.vdatz, 'W', tt, th, b.numchar, roh, d3, m, s, b.fluid);
    d3.ph[m][s] = ph;  // the interval's refrigerant state stays that of the loop
    d3.pt[m][s] = pt;
    if (!(cop > 1.0)) return h;
    const double quelle = std::min(P, bedarf * (cop - 1.0) / cop);
    h.strom = strom_fuer_quellwaerme(quelle, cop);
    h.waerme = quelle + h.strom;
    h.er_anteil = er * quelle / P;
    heizung_buchen(m, s, 'N', 0.0, 0.0, h.waerme, h.strom, b.d, d3);
    b.waermepumpe_buchen(m, s, 'W', h.waerme, h.strom);
    return h;
}

}  // namespace

speicher& speicher_des_monats(anlage& a, int m) {
    return ist_lademonat(m) ? a.langzeitspeicher : a.pufferspeicher;
}

double speicherangebot(const flagchar& numchar, int m, int s, ::date3& d3, const datz& vdatz) {
    if (numchar[ndata::kopplungstyp] == "E") {
        // The collector heat at its outflow temperature: the solar gain and
        // the heat the air-swept collector takes from (or gives to) the air.
        d3.espeicher[m][s] = d3.es[m][s] + d3.ls[m][s];
        return d3.tf[m][s];
    }
    d3.espeicher[m][s] = d3.er[m][s];
    return vdatz[zdata::twv][m];
}

void kopplung_aus_endrflag(flagchar& numchar, int s, const ::date3& d3) {
    if (numchar[ndata::kopplungsart] != "K") return;
    numchar[ndata::kopplungstyp] = d3.endrflag[s] == u'E' ? "E" : "Z";
    // The monthly summary reads the coupling from the run's code set.
    zustand::numchar()[ndata::kopplungstyp] = numchar[ndata::kopplungstyp];
}

void intervallbilanz::kollektor_deckung_buchen(int m_, int s_, double C) {
    double strom = 0.0, waerme = C;
    if (d3.twfflag[s_] == u'N') {
        const double twv = vdatz[zdata::twv][m_], tf = d3.tf[m_][s_];
        if (numchar[ndata::kopplungstyp] == "Z") {
            // The ww pump lifts the collector heat P of the share C: it takes
            // P / (COP - 1) of electricity and delivers P plus that.
            const double er = d3.er[m_][s_];
            const double c = er != 0.0 ? C / er : 0.0;
            const double copww = d3.copww[m_][s_];
            double P = d3.wpausflag[s_] == u'N' ? (d3.es[m_][s_] + d3.ls[m_][s_]) * c : 0.0;
            if (d3.wpausflag[s_] == u'N' && ist_direktkopplung(numchar)) {
                // A directly coupled collector feeds the pump's evaporator: its
                // heat is the coupling energy in er, not in es and ls. The
                // source heat of the part C is C less the pump's electricity.
                P = copww > 1.0 ? C * (copww - 1.0) / copww : 0.0;
            }
            if (copww == 1.0) {
                // At its lower COP limit the pump heats electrically.
                strom = C;
                waerme = C;
            } else {
                strom = strom_fuer_quellwaerme(P, copww);
                waerme = copww > 1.0 ? P + strom : 0.0;
            }
            waermepumpe_buchen(m_, s_, 'W', waerme, strom);
        } else if (numchar[ndata::kopplungstyp] == "E") {
            const double tk = vdatz[zdata::tk][m_];
            const double anteil = (tf < twv && twv != tk) ? (twv - tf) / (twv - tk) : 0.0;
            strom = d.copwe[m_] != 0.0 ? anteil * C / d.copwe[m_] : 0.0;
            waerme = C;
            // The we pump lifts the collector heat from tf to the supply temperature.
            waermepumpe_buchen(m_, s_, 'E', anteil * C, strom);
        }
    }
    heizung_buchen(m_, s_, 'N', 0.0, 0.0, waerme, strom, d, d3);
}

void intervallbilanz::waermepumpe_buchen(int m_, int, char pumpe, double waerme, double strom) {
    if (!(strom > 0.0)) return;
    if (pumpe == 'W') {
        d.wp_waerme_ww[m_] += waerme;
        d.wp_strom_ww[m_] += strom;
    } else if (numchar[ndata::ohne_kopplung] == "E" || numchar[ndata::ohne_kopplung] == "L") {
        // Only a ground or air source makes the we heating a heat pump.
        d.wp_waerme_we[m_] += waerme;
        d.wp_strom_we[m_] += strom;
    }
}

void intervallbilanz::zusatzheizung_buchen(int m_, int s_, char modus, double waerme,
                                           double endenergie) {
    heizung_buchen(m_, s_, modus, waerme, endenergie, 0.0, 0.0, d, d3);
}

double speicher_laden_intervall(intervallbilanz& b, speicher& sp, double E, double X, double T) {
    const int m = b.m, s = b.s;
    double ueberlauf = 0.0;
    const double gespeichert = lade_speicher(sp, E, T, ueberlauf, m, s, b.numchar, b);
    double f = 1.0;
    if (ueberlauf > 0.0 && b.d3.er[m][s] > 0.0) {
        // With end-reservoir coupling the offer is collector heat (es + ls), while er
        // is that heat lifted to the supply temperature; the stored heat is
        // converted to er's measure so that the collector gives what the store took.
        double gespeichert_er = gespeichert;
        const double kollektorwaerme = b.d3.es[m][s] + b.d3.ls[m][s];
        if (b.numchar[ndata::kopplungstyp] == "E" && kollektorwaerme > 0.0) {
            gespeichert_er = gespeichert * b.d3.er[m][s] / kollektorwaerme;
        }
        f = std::max(0.0, gespeichert_er + X) / b.d3.er[m][s];
        b.d3.es[m][s] *= f;
        b.d3.ls[m][s] *= f;
        b.d3.er[m][s] *= f;
    }
    b.d3.esa[m][s] = b.d3.es[m][s];
    b.d3.zei[m][s] *= f;
    if (b.numchar[ndata::kopplungstyp] == "E") {
        b.d.eg[m] += gespeichert;
        b.d3.nh_waerme[m][s] += gespeichert;
    }
    return gespeichert;
}

void kollektorenergie_begrenzen(intervallbilanz& b, double L) {
    const int m = b.m, s = b.s;
    double& er = b.d3.er[m][s];
    if (b.d3.twfflag[s] != u'N' || b.numchar[ndata::rechenart] == "A" ||
        b.numchar[ndata::kopplungsart] == "K")
        return;
    if (!(L < er && er > 0.0)) return;
    const double f = L / er;
    er = L;
    b.d3.es[m][s] *= f;
    b.d3.ls[m][s] *= f;
    b.d3.el_0[m][s] *= f;
    b.d3.espeicher[m][s] *= f;
    if (b.vdatt[tdata::wp_leistung_min] != b.vdatt[tdata::wp_leistung_max] &&
        b.numchar[ndata::gegenstrom] != "G" && b.numchar[ndata::gegenstrom] != "I" && b.wp_aufteilung_neu) {
        b.wp_aufteilung_neu(m, s, f);
    }
}

void langzeitspeicher_waermepumpe(intervallbilanz& b, double Q, char modus) {
    if (!(Q > 0.0)) return;
    double rest = Q;
    if (ist_entnahmemonat(b.m)) {
        speicher& lang = b.a.langzeitspeicher;
        const double rwv = b.vdatz[zdata::rwv][b.m], twv = vorlauf_haus(b);
        const speicher_entnahme direkt = entlade_speicher(lang, rest, rwv, twv, 'D', modus, b.m, b.s,
                                                          b.numchar, b.vdatt, b.vdatz, b.d, b.d3, b, b.fluid);
        rest = std::max(0.0, direkt.rest);
        if (b.numchar[ndata::kopplungstyp] != "Z" && direkt.aus_speicher > 0.0 && rest > 0.0) {
            const speicher_entnahme pumpe =
                entlade_speicher(lang, rest, lang.tmin.wert, twv, 'W', modus, b.m, b.s, b.numchar, b.vdatt,
                                 b.vdatz, b.d, b.d3, b, b.fluid);
            rest = std::max(0.0, pumpe.rest);
        }
    }
    if (rest > 0.0) {
        // What the stores cannot cover the we pump supplies: heat and its
        // electricity are booked on the heating path without coupling.
        const double strom = rest / copwe_positiv(b);
        heizung_buchen(b.m, b.s, modus, rest, strom, 0.0, 0.0, b.d, b.d3);
        if (modus == 'N') b.waermepumpe_buchen(b.m, b.s, 'E', rest, strom);
    }
}

bool intervallbilanz_ausgeglichen(double zugang, double geliefert) {
    if (!(zugang > 1e-5 && geliefert > 1e-5)) return true;
    // The ratio is what entered over what was delivered.
    return im_toleranzband(geliefert, zugang);
}

void energiebilanz_intervall(intervallbilanz& b, bilanzsummen& summen) {
    const int m = b.m, s = b.s;
    ::date3& d3 = b.d3;
    anlage& a = b.a;
    const double estore_vorher = a.pufferspeicher.inhalt.estore + a.langzeitspeicher.inhalt.estore;
    const double eminus_vorher = a.pufferspeicher.inhalt.eminus + a.langzeitspeicher.inhalt.eminus;
    const double eg_vorher = b.d.eg[m];

    kopplung_aus_endrflag(b.numchar, s, d3);
    d3.zei[m][s] = b.pvdatz3[zdata::ho][m][s];
    const double T_lade = speicherangebot(b.numchar, m, s, d3, b.vdatz);
    speicher& sp = speicher_des_monats(a, m);
    double roh = 0.0;
    b.d.copwe[m] = berechne_wp_temperaturen(b.d, b.vdatz, b.vdatt, b.pvdatz3, d3, roh, s, m, b.numchar, 'E',
                                            d3.tf[m][s], b.fluid);

    const double ho = b.pvdatz3[zdata::ho][m][s];
    const std::string& modus = b.numchar[ndata::speicherfolge];
    double& bedarf = d3.equer_verbrauch[m][s];
    if (modus == "V" || ist_lademonat(m)) {
        // The ww pump serves the house first, against the house's supply
        // temperature; only the rest of the collector heat charges the store.
        const hausanteil h = ist_lademonat(m) ? ww_pumpe_heizt_haus(b, bedarf) : hausanteil{};
        speicher_laden_intervall(b, sp, d3.espeicher[m][s] - h.er_anteil, h.er_anteil, T_lade);
        if (h.waerme > 0.0) d3.er[m][s] = std::max(0.0, d3.er[m][s] - h.er_anteil) + h.waerme;
        speicher_verluste(a, m, s, ho, b.vdatz, d3);
        const speicher_entnahme e = direkt_entladen(b, sp, bedarf - h.waerme);
        langzeitspeicher_waermepumpe(b, e.rest, 'N');
        double gedeckt = h.waerme + e.aus_speicher + d3.ok[m][s] * b.d.copwe[m];
        if (b.numchar[ndata::kopplungstyp] == "E") gedeckt += d3.nh[m][s];
        if (gedeckt < 0.95 * bedarf || gedeckt > 1.05 * bedarf) meldung("fehler in equer", "M", 'M');
    } else if (modus == "N") {
        const speicher_entnahme e = direkt_entladen(b, sp, bedarf);
        const double R = e.rest;
        double C = 0.0, angebot = 0.0, offen = 0.0;
        if (R < d3.er[m][s]) {
            kollektorenergie_begrenzen(b, R);
            C = R;
            angebot = b.numchar[ndata::kopplungstyp] == "Z"
                          ? d3.er[m][s] - R
                          : d3.espeicher[m][s] - R * anteil_ueber_kaltwasser(b);
        } else {
            C = d3.er[m][s];
            offen = R - d3.er[m][s];
        }
        b.kollektor_deckung_buchen(m, s, C);
        langzeitspeicher_waermepumpe(b, offen, 'N');
        speicher_laden_intervall(b, sp, angebot, C, T_lade);
        speicher_verluste(a, m, s, ho, b.vdatz, d3);
    } else if (modus == "S") {
        const double diff = d3.er[m][s] - bedarf;
        double C = 0.0, rest = 0.0;
        if (diff > 0.0) {
            C = bedarf;
        } else {
            C = d3.er[m][s];
            rest = direkt_entladen(b, sp, -diff).rest;
        }
        b.kollektor_deckung_buchen(m, s, C);
        if (diff < 0.0) langzeitspeicher_waermepumpe(b, rest, 'N');
        if (diff > 0.0) {
            const double angebot =
                b.numchar[ndata::kopplungstyp] == "Z" ? diff : diff * anteil_ueber_kaltwasser(b);
            speicher_laden_intervall(b, sp, angebot, C, T_lade);
        } else {
            // Everything the collector gave was consumed: nothing was charged,
            // so the gain after charging is the gain itself.
            d3.esa[m][s] = d3.es[m][s];
        }
        speicher_verluste(a, m, s, ho, b.vdatz, d3);
    }

    // Mass flow of the collector loop.
    if (b.A > 0.0 || b.numchar[ndata::kopplungsart] == "L" || b.numchar[ndata::kopplungsart] == "E") {
        const double n = verhaeltnis_oder_eins(b.A, b.vdatt[tdata::daf]);
        d3.ms[m][s] =
            n * d3.zei[m][s] * d3.zv[m][s] * konst::SEKUNDEN_PRO_STUNDE / tage_im_monat(m, b.numchar);
        if (d3.ms[m][s] < 0.0 && d3.wpausflag[s] != u'J') {
            meldung("Warnung: Negative Pumpgeschwindigkeit.", b.numchar[ndata::meldungsmodus], 'A');
        }
    }

    // Without solar heating the month's heating demand is covered separately.
    if (b.numchar[ndata::heizung] == "N") {
        const double anteil =
            monatsenergie_auf_intervall(b.vdatz[zdata::eh][m], m, s, b.numchar, b.vdatz, b.pvdatz3);
        langzeitspeicher_waermepumpe(b, anteil, 'N');
        bedarf += anteil;
    }

    // Balance of the interval.
    const double d_gespeichert =
        a.pufferspeicher.inhalt.estore + a.langzeitspeicher.inhalt.estore - estore_vorher;
    const double d_verluste =
        a.pufferspeicher.inhalt.eminus + a.langzeitspeicher.inhalt.eminus - eminus_vorher;
    const double d_geliefert = b.d.eg[m] - eg_vorher;
    summen.bedarf += bedarf;
    summen.gespeichert += d_gespeichert;
    summen.verluste += d_verluste;
    summen.geliefert += d_geliefert;
    if (!intervallbilanz_ausgeglichen(bedarf + d_gespeichert + d_verluste, d_geliefert)) {
        meldung("Warnung: Energiebilanz nicht ausgeglichen.", b.numchar[ndata::meldungsmodus], 'A');
    }

    for (speicher* x : {&a.pufferspeicher, &a.langzeitspeicher}) {
        x->inhalt.estoremax = std::max(x->inhalt.estoremax, x->inhalt.estore);
    }
    const double rwv = b.vdatz[zdata::rwv][m], twv = b.vdatz[zdata::twv][m];
    d3.msp_next_puffer[m][s] = volumen_fuer_energie(
        a.pufferspeicher, rwv, twv, energie_ueber(a.pufferspeicher, rwv), b.numchar);
    d3.msp_next_lang[m][s] =
        volumen_fuer_energie(a.langzeitspeicher, a.langzeitspeicher.tmin.wert,
                             a.langzeitspeicher.tmax.wert, energie_ueber(a.langzeitspeicher, rwv),
                             b.numchar);
}

void speicherbedarf_virtuell(intervallbilanz& b, double x) {
    if (b.numchar[ndata::energiebedarfintervall] != "S" || !(x > 0.0)) return;
    speicher& sp = speicher_des_monats(b.a, b.m);
    const double T = speicherangebot(b.numchar, b.m, b.s, b.d3, b.vdatz);
    langzeitspeicher_waermepumpe(b, energie_bis(sp, T), 'J');
}
