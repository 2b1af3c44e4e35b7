#include "engine/periode.h"

#include <cmath>
#include <vector>

#include "engine/entscheidungsspur.h"
#include "engine/models/speicher.h"
#include "lang/meldung.h"

double ge_bereich::wert(int i) const { return minge * std::exp((i - 1) * logschritt); }

entscheidungsspur* periodenkontext::spur_fuer(int m) const {
    return spur != nullptr && spur->verfolgt(m, A) ? spur : nullptr;
}

double& ge_skalierung() {
    static double skalierung = 3600000.0;
    return skalierung;
}

void stelle_bedarfsspalten_wieder_her(datz& vdatz) {
    for (int m = 1; m <= MAXMONAT; ++m) {
        vdatz[zdata::ewv][m] = vdatz[zdata::ewv_0][m];
        vdatz[zdata::ewv_verbrauch][m] = vdatz[zdata::ewv_verbrauch_0][m];
    }
}

void monatsbeginn(anlage& a, const ::date& d, int m) {
    a.langzeitspeicher.inhalt.eminus = 0.0;
    a.pufferspeicher.inhalt.eminus = 0.0;
    a.nachtenergie = d.espeicher_luft[m];
}

void bereite_variantenbereich_vor(const flagchar& numchar, laufsteuerung& l) {
    if (numchar[ndata::kopplungstyp] == "E") {
        l.mindeltatkol = 0.0;
        l.maxdeltatkol = 0.0;
        l.anzdeltatkol = 0;
    } else if (l.anzdeltatkol > 0) {
        l.deltatkol_schritt = (l.maxdeltatkol - l.mindeltatkol) / l.anzdeltatkol;
    }
    l.anzvarianten = 0;
    if (numchar[ndata::kopplungsart] == "K") {
        l.maxdeltatkol = l.mindeltatkol;
        l.anzdeltatkol = 0;
    }
}

ge_bereich bereite_ge_bereich_vor(const flagchar& numchar, laufsteuerung& l, double A) {
    ge_bereich ge;
    ge.minge = l.minge == 0.0 ? l.maxge / 1000.0 : l.minge;
    if (ist_direktkopplung(numchar) || numchar[ndata::rechenart] == "A") {
        ge.anzahl = 1;
    } else {
        ge.anzahl = l.anzge < 2 ? 1 : l.anzge;
        if (l.anzge > 1) {
            if (ge.minge > 0.0 && l.maxge > 0.0) {
                ge.logschritt = (std::log(l.maxge) - std::log(ge.minge)) / (l.anzge - 1);
            } else {
                // A logarithmic range needs positive ends; fall back to one value.
                meldung("Fehler: Volumenstrombereich (minge, maxge) muss positiv sein",
                        numchar[ndata::meldungsmodus], 'E');
                ge.logschritt = 0.0;
            }
        }
    }
    if (A > 0.0 || numchar[ndata::kopplungsart] == "L" || numchar[ndata::kopplungsart] == "E") {
        ge.erster = 1;
    } else {
        ge.erster = ge.anzahl;
        l.anzvarianten = l.anzdeltatkol;
    }
    return ge;
}

namespace {

void setze_jahreswerte_zurueck(::date& d) {
    d.jkk = 0.0;
    d.jkk_g = 0.0;
    d.pek = 0.0;
}

void stores_auf_starttemperatur(periodenkontext& k, perioden_schritte& schritte) {
    const double T = k.vdatz[zdata::rwv][zustand::monatstart()];
    schritte.setze_anlage_speicher_zurueck(zustand::anlage(0), k.A, T);
    schritte.setze_anlage_speicher_zurueck(zustand::anlage(1), k.A, T);
}

}  // namespace

void kopiere_variantenergebnis(const ::datm& v, ::datm& b, ::date& monatsergebnisse) {
    for (int m = 1; m <= MAXMONAT; ++m) {
        b.ir[m] = v.ir[m];
        for (int q = 0; q < ANZ_ADATA; ++q) b.feld[q][m] = v.feld[q][m];
        b.feldns_puffer[m] = v.feldns_puffer[m];
        b.feldns_lang[m] = v.feldns_lang[m];
        b.wp_waerme_ww[m] = v.wp_waerme_ww[m];
        b.wp_strom_ww[m] = v.wp_strom_ww[m];
        b.wp_waerme_we[m] = v.wp_waerme_we[m];
        b.wp_strom_we[m] = v.wp_strom_we[m];
        const int anzahl = intervalle(m);
        for (int q = 0; q < ANZ_FELD3; ++q) {
            std::copy(v.feld3[q][m].begin() + 1, v.feld3[q][m].begin() + 1 + anzahl,
                      b.feld3[q][m].begin() + 1);
        }
        kopiere_speicher(v.arrayspeicher_mon[m].pufferspeicher, b.arrayspeicher_mon[m].pufferspeicher,
                         'N');
        kopiere_speicher(v.arrayspeicher_mon[m].langzeitspeicher,
                         b.arrayspeicher_mon[m].langzeitspeicher, 'N');
    }
    double summe_jek = 0.0, summe_jek_g = 0.0, summe_preis = 0.0;
    for (int m = 1; m <= MAXMONAT; ++m) {
        summe_jek += b.feld[adata::jek][m];
        summe_jek_g += b.feld[adata::jek_g][m];
        summe_preis += b.feld[adata::preis][m];
    }
    for (int m = 1; m <= MAXMONAT; ++m) {
        b.feld[adata::jkk][m] = summe_jek;
        b.feld[adata::jkk_g][m] = summe_jek_g;
        b.feld[adata::pek][m] = summe_preis;
    }
    monatsergebnisse.jkk = summe_jek;
    monatsergebnisse.jkk_g = summe_jek_g;
    monatsergebnisse.pek = summe_preis;
}

void monatsschleife(periodenkontext& k, perioden_schritte& schritte) {
    laufsteuerung& l = zustand::lauf();
    bereite_variantenbereich_vor(k.numchar, l);
    k.ge = bereite_ge_bereich_vor(k.numchar, l, k.A);

    setze_jahreswerte_zurueck(k.monatsergebnisse);
    stores_auf_starttemperatur(k, schritte);

    if (k.numchar[ndata::kontrolllauf] == "J") {
        int monat = zustand::monatstart();
        int intervall = zustand::startintervall();
        schritte.steuerlauf_startpunkt(k.numchar[ndata::messmodus] != "N", monat, intervall);
        zustand::monatstart() = monat;
        zustand::startintervall() = intervall;
        k.zeichen = 'J';
    }

    const int start = zustand::monatstart();
    for (int schritt = start; schritt <= start + 11 && k.numchar[ndata::stopp] == "N"; ++schritt) {
        int m = monat_des_laufschritts(schritt);
        stelle_bedarfsspalten_wieder_her(k.vdatz);
        schritte.monatsinitialisierung(k, m);
        monatsbeginn(zustand::anlage(0), k.monatsergebnisse, m);
        if (k.numchar[ndata::rechenart] == "A") {
            schritte.analytischer_monatsschritt(k, m);
        } else if (k.numchar[ndata::rechenart] == "V" || k.numchar[ndata::rechenart] == "T" ||
                   k.numchar[ndata::rechenart] == "M") {
            schritte.zeitschritt_monat(k, m);
            schritte.fortschritt_schritt();
        }
        if (entscheidungsspur* spur = k.spur_fuer(m)) spur->monat_fertig(m, k.A, k.d3, k.pvdatz3);
    }
}

void jahreslauf(periodenkontext& k, perioden_schritte& schritte) {
    laufsteuerung& l = zustand::lauf();
    // The year run prepares the `ge` range first and the variant ranges after it.
    k.ge = bereite_ge_bereich_vor(k.numchar, l, k.A);
    bereite_variantenbereich_vor(k.numchar, l);

    const int start = zustand::monatstart();
    monatsfeld monatswerte{};
    bool bester_im_aufruf = false;
    for (int g = k.ge.anzahl; g >= k.ge.erster; --g) {
        const int erste_variante = k.numchar[ndata::rechenart] == "M" ? 0 : l.anzvarianten;
        const int letzte_variante = k.numchar[ndata::rechenart] == "M" ? 0 : l.anzdeltatkol;
        double bester_jahreswert = 0.0;
        bool bester_gesetzt = false;
        double ge_wert = k.ge.wert(g);
        for (int v = erste_variante; v <= letzte_variante; ++v) {
            k.variantenzaehler = v;
            ::date& d = k.monatsergebnisse;
            setze_jahreswerte_zurueck(d);
            stores_auf_starttemperatur(k, schritte);
            stelle_bedarfsspalten_wieder_her(k.vdatz);
            for (int m = 1; m <= MAXMONAT; ++m) {
                d.msp_max_puffer[m] = 0.0;
                d.msp_next_puffer[m] = 0.0;
                d.e_next_puffer[m] = 0.0;
                d.msp_max_lang[m] = 0.0;
                d.msp_next_lang[m] = 0.0;
                d.e_next_lang[m] = 0.0;
            }
            double jahressumme = 0.0;
            for (int schritt = start; schritt <= start + 11; ++schritt) {
                const int m = monat_des_laufschritts(schritt);
                monatsbeginn(zustand::anlage(0), d, m);
                schritte.monatsinitialisierung(k, m);
                double monatswert = 0.0;
                schritte.jahreskern(k, m, g, v, monatswert, ge_wert);
                if (entscheidungsspur* spur = k.spur_fuer(m)) {
                    spur->monatsschritt(m, g, monatswert);
                    spur->monat_fertig(m, k.A, k.d3, k.pvdatz3);
                }
                d.jkk += d.ek[m];
                d.jkk_g += d.ek_g[m];
                d.pek += d.preis[m];
                jahressumme += monatswert;
                monatswerte[m] = monatswert;
            }
            if (!l.referenzwert_gesetzt) {
                l.referenzwert = jahressumme;
                l.referenzwert_gesetzt = true;
            }
            // The month totals keep the variant when its year sum is not larger
            // than the best of this call; the first variant is kept as it is.
            k.aktuell = jahressumme;
            if (!bester_im_aufruf) k.bester = jahressumme;
            bester_im_aufruf = true;
            for (int schritt = start; schritt <= start + 11; ++schritt) {
                const int m = monat_des_laufschritts(schritt);
                schritte.monatssummen(k, m, monatswerte[m]);
            }
            if (!bester_gesetzt || jahressumme < bester_jahreswert) {
                bester_jahreswert = jahressumme;
                bester_gesetzt = true;
            }
        }
        if (g >= 1 && g <= MAXGRAPHPUNKTE) {
            k.links.x[g][1] = ge_wert * ge_skalierung();
            k.links.y[g][1] = bester_jahreswert;
        }
        schritte.beste_variante_behalten(k, bester_jahreswert);
        schritte.fortschritt_schritt();
    }
}

void berechne_periode(int& variantenzaehler, int j, datz& vdatz, graphdata& links, char code,
                      parreadtab* tabelle2, double& bestwert, ::date3& d3,
                      ::date& monatsergebnisse, flagchar& numchar, ::datm& behalten,
                      datt& vdatt, datz3& pvdatz3, double A, perioden_schritte& schritte) {
    ::datm& variante = zustand::datm_serie();
    loesche_laufergebnisse(variante);

    monatsfeld ziel{};
    periodenkontext k{variantenzaehler, j,       vdatz, links, tabelle2, ziel, d3,
                      monatsergebnisse,  numchar, variante, vdatt, pvdatz3, A};
    k.schritte = &schritte;
    k.spur = schritte.spur();
    if (code == 'V' || code == 'Z' || code == 'E') {
        monatsschleife(k, schritte);
    } else if (code == 'K') {
        jahreslauf(k, schritte);
    }

    double summe = 0.0;
    for (int m = 1; m <= MAXMONAT; ++m) summe += ziel[m];
    if (bestwert == 0.0) bestwert = summe;
    if (bestwert >= summe) {
        kopiere_variantenergebnis(variante, behalten, monatsergebnisse);
        bestwert = summe;
    }
}
