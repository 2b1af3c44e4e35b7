#include "engine/models/speicher.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>

#include "data/konstanten.h"
#include "engine/models/waermepumpe.h"
#include "lang/meldung.h"

namespace {

constexpr int MAX_VERLUSTSCHICHTEN = 10;  // layers further down lose nothing

double ws_je_kwh() {
    static const double ws = umrechnungskonstante("kWh_in_Ws");
    return ws;
}

// Surface losses of one store over ho hours (surroundings at t_umgebung);
// returns the heat lost in kWh. A layer gives at most the heat it holds above
// the surroundings, and only that is booked. The chain is re-sorted afterwards:
// the lid cools the top layer most, and a cooled layer sinks below warmer ones.
double oberflaechenverluste(speicher& sp, double t_umgebung, double ho) {
    schichtkette& kette = sp.inhalt.schichten;
    const double r = sp.radius.wert;
    const double kreis = konst::PI * r * r;
    double summe = 0.0;
    int i = 0;
    for (auto it = kette.begin(); it != kette.end() && i < MAX_VERLUSTSCHICHTEN; ++it, ++i) {
        const double v = it->masse;
        double flaeche = (v > 0.0 && r > 0.0) ? 2.0 * v / r : 0.0;
        const bool erste = it == kette.begin();
        const bool letzte = std::next(it) == kette.end();
        if (erste) flaeche += kreis;             // lid
        if (letzte && !erste) flaeche += kreis;  // bottom (a single layer once)
        const double verlust = (it->temperatur - t_umgebung) * flaeche * ho * sp.vspei.wert / 1000.0;
        if (verlust > 0.0) {
            const double k = v * sp.rospei.wert * sp.spwspei.wert;
            const double h = k * it->temperatur - ws_je_kwh() * verlust;
            const double t_neu = (h > 0.0 && k > 0.0) ? std::max(h / k, t_umgebung) : t_umgebung;
            summe += k * (it->temperatur - t_neu) / ws_je_kwh();
            it->temperatur = t_neu;
        }
    }
    sortiere_schichten(sp.inhalt);
    sp.inhalt.estore -= summe;
    sp.inhalt.eminus += summe;
    return summe;
}

}  // namespace

schichtkette::iterator schicht_einfuegen(schichtkette& kette, schichtkette::iterator nach,
                                         double temperatur, double masse) {
    return kette.insert(std::next(nach), schicht{masse, temperatur});
}

void sortiere_schichten(rspeicher& inhalt) {
    schichtkette& kette = inhalt.schichten;
    bool geaendert = true;
    while (geaendert) {
        geaendert = false;
        auto it = kette.begin();
        while (it != kette.end()) {
            auto naechste = std::next(it);
            if (naechste == kette.end()) break;
            if (naechste->temperatur > it->temperatur) {
                std::swap(it->masse, naechste->masse);
                std::swap(it->temperatur, naechste->temperatur);
                geaendert = true;
            }
            if (naechste->temperatur == it->temperatur || it->masse == 0.0 ||
                naechste->masse == 0.0) {
                if (it->masse == 0.0) it->temperatur = naechste->temperatur;
                it->masse += naechste->masse;
                kette.erase(naechste);
                geaendert = true;
                continue;  // compare with the new neighbour
            }
            ++it;
        }
    }
}

void kopiere_speicher(const speicher& quelle, speicher& ziel, char flag) {
    if (&quelle != &ziel) {
        ziel.inhalt.schichten = quelle.inhalt.schichten;
        ziel.inhalt.estore = quelle.inhalt.estore;
        if (flag == 'Y') {
            ziel.spmax = quelle.spmax;
            ziel.vspei = quelle.vspei;
            ziel.spwspei = quelle.spwspei;
            ziel.rospei = quelle.rospei;
            ziel.tmin = quelle.tmin;
            ziel.tmax = quelle.tmax;
        }
    }
    ziel.inhalt.eminus = 0.0;
}

void kopiere_anlage_speicher(const anlage& quelle, anlage& ziel, char flag) {
    kopiere_speicher(quelle.pufferspeicher, ziel.pufferspeicher, flag);
    kopiere_speicher(quelle.langzeitspeicher, ziel.langzeitspeicher, flag);
    ziel.nachtenergie = quelle.nachtenergie;
}

void setze_speicher_zurueck(speicher& sp, double voll, double t0) {
    sp.inhalt.kette_zuruecksetzen();
    sp.inhalt.first().temperatur = t0;
    sp.inhalt.first().masse = voll > 0.0 ? sp.spmax.wert : 0.0;
    sp.inhalt.estore = 0.0;
    sp.inhalt.eminus = 0.0;
    sp.inhalt.mtwv = 0.0;
}

void setze_anlage_speicher_zurueck(anlage& pl, double voll, double t0) {
    setze_speicher_zurueck(pl.pufferspeicher, voll, t0);
    setze_speicher_zurueck(pl.langzeitspeicher, voll, t0);
}

double schichtenergie(const speicher& sp, double volumen, double t2, double t1) {
    return waermestrom_in_energie(sp.spwspei.wert, sp.rospei.wert, t2, t1, volumen);
}

double energie_ueber(const speicher& sp, double x) {
    double summe = 0.0;
    for (const schicht& sc : sp.inhalt.schichten) {
        if (sc.temperatur > x) summe += schichtenergie(sp, sc.masse, sc.temperatur, x);
    }
    return summe;
}

double energie_bis(const speicher& sp, double x) {
    const schichtkette& kette = sp.inhalt.schichten;
    // The cold part starts after the last layer at or above x.
    auto beginn = kette.begin();
    for (auto it = kette.begin(); it != kette.end(); ++it) {
        if (it->temperatur >= x) beginn = std::next(it);
    }
    double summe = 0.0;
    for (auto it = beginn; it != kette.end(); ++it) {
        summe += schichtenergie(sp, it->masse, x, it->temperatur);
    }
    return summe;
}

double mittlere_temperatur(const speicher& sp) {
    if (sp.spmax.wert <= 0.0) return 0.0;
    double summe = 0.0;
    for (const schicht& sc : sp.inhalt.schichten) summe += sc.masse * sc.temperatur;
    return summe / sp.spmax.wert;
}

double volumen_fuer_energie(const speicher& sp, double t_low, double t_high, double E,
                            const flagchar& numchar) {
    if (t_high < t_low) {
        meldung("Warnung: Vorlauftemperatur <= Rücklauftemperatur.", numchar[ndata::meldungsmodus], 'W');
        return 0.0;
    }
    const double k = sp.spwspei.wert * sp.rospei.wert * (t_high - t_low);
    return k == 0.0 ? 0.0 : ws_je_kwh() * E / k;
}

double lade_speicher(speicher& sp, double e_in, double t_in, double& ueberlauf, int m, int s,
                     const flagchar& numchar, energiebilanz_buchungen& buchungen) {
    schichtkette& kette = sp.inhalt.schichten;
    auto oben = kette.end();  // last layer at or above t_in, if any
    auto akt = kette.begin();
    while (akt != kette.end() && akt->temperatur >= t_in) {
        oben = akt;
        ++akt;
    }
    double gespeichert = 0.0;
    while (gespeichert < e_in && akt != kette.end()) {
        if (akt->temperatur >= t_in) {
            // Heat at t_in never cools a layer: a warmer layer further down
            // (a chain not yet re-sorted) is passed over.
            oben = akt;
            ++akt;
            continue;
        }
        const double bedarf = schichtenergie(sp, akt->masse, t_in, akt->temperatur);
        if (e_in > gespeichert + bedarf) {
            gespeichert += bedarf;
            akt->temperatur = t_in;
        } else {
            // Only part of the layer is heated: split it.
            const double q = (e_in - gespeichert) / bedarf;
            const double volumen = akt->masse, t_alt = akt->temperatur;
            akt->masse = q * volumen;
            akt->temperatur = t_in;
            schicht_einfuegen(kette, akt, t_alt, (1.0 - q) * volumen);
            gespeichert = e_in;
        }
        if (oben != kette.end() && oben->temperatur == akt->temperatur) {
            // Merge into the layer above; continue below it.
            oben->masse += akt->masse;
            akt = kette.erase(akt);
            continue;
        }
        ++akt;
    }
    sp.inhalt.estore += gespeichert;
    ueberlauf = e_in - gespeichert;
    if (numchar[ndata::kopplungstyp] == "Z") buchungen.kollektor_deckung_buchen(m, s, gespeichert);
    return gespeichert;
}

speicher_entnahme entlade_speicher(speicher& sp, double e_bedarf, double t_boden, double t_max, char weg,
                                   char bestaetigen, int m, int s, const flagchar& numchar, const datt& vdatt,
                                   const datz& vdatz, ::date& d, ::date3& d3,
                                   energiebilanz_buchungen& buchungen, const kaeltemittel& fluid) {
    if (weg != 'D' && weg != 'W') {
        meldung(std::string("Fehler: Unbekannte Entnahmeart '") + weg + "' des Speichers.",
                numchar[ndata::meldungsmodus], 'T');
        return {};
    }
    schichtkette& kette = sp.inhalt.schichten;
    const bool aendern = bestaetigen == 'N';
    const double waermekapazitaet = sp.spwspei.wert * sp.rospei.wert;
    sortiere_schichten(sp.inhalt);
    double summe = 0.0;
    speicher_entnahme e;
    for (auto it = kette.begin(); it != kette.end() && e_bedarf > summe; ++it) {
        const double t = it->temperatur, v = it->masse;
        if (!(t > t_boden)) continue;
        double teil_speicher = 0.0, teil_zusatz = 0.0;
        if (weg == 'D') {
            const double e_schicht = schichtenergie(sp, v, std::max(t, t_max), t_boden);
            if (e_bedarf > summe + e_schicht) {
                summe += e_schicht;
                teil_speicher = t < t_max ? schichtenergie(sp, v, t, t_boden) : e_schicht;
                teil_zusatz = t < t_max ? schichtenergie(sp, v, t_max, t) : 0.0;
                if (aendern) it->temperatur = t_boden;
            } else {
                const double b = e_bedarf - summe;
                const double q = b / e_schicht;
                const double vq = q * v;
                teil_speicher = t >= t_max ? b : schichtenergie(sp, vq, t, t_boden);
                teil_zusatz = t < t_max ? schichtenergie(sp, vq, t_max, t) : 0.0;
                if (aendern) {
                    it->masse = vq;
                    it->temperatur = t_boden;
                    it = schicht_einfuegen(kette, it, t, (1.0 - q) * v);
                }
                summe = e_bedarf;
            }
        } else {
            const double e_quelle = schichtenergie(sp, v, t, sp.tmin.wert);
            double roh = 0.0;
            const double cop =
                berechne_cop(vdatt, vdatz, 'W', (t + t_boden) / 2.0, t_max, numchar, roh, d3, m, s, fluid);
            if (cop <= 1.0) {
                // No lift from the layer: the pump's output is its electricity.
                teil_zusatz = e_bedarf - summe;
                summe = e_bedarf;
            } else {
                const double e_schicht = e_quelle / (1.0 - 1.0 / cop);
                if (e_bedarf > summe + e_schicht) {
                    summe += e_schicht;
                    teil_speicher = e_schicht * (1.0 - 1.0 / cop);
                    teil_zusatz = e_schicht / cop;
                    if (aendern) it->temperatur = t_boden;
                } else {
                    const double b = e_bedarf - summe;
                    teil_speicher = b * (1.0 - 1.0 / cop);
                    teil_zusatz = b / cop;
                    if (aendern && waermekapazitaet * v > 0.0) {
                        it->temperatur =
                            t_boden + (e_quelle - teil_speicher) * ws_je_kwh() / (waermekapazitaet * v);
                    }
                    summe = e_bedarf;
                }
            }
        }
        e.aus_speicher += teil_speicher;
        e.zusatz += teil_zusatz;
    }
    sortiere_schichten(sp.inhalt);
    if (aendern) sp.inhalt.estore -= e.aus_speicher;
    e.rest = e_bedarf - (e.aus_speicher + e.zusatz);
    if (e.rest < -0.0001) {
        meldung("Fehler: Speicherentnahme liefert mehr Energie als benötigt.", "M", 'A');
    }
    double endenergie = e.zusatz;
    if (weg == 'D' && e.zusatz != 0.0) {
        // The we pump lifts the cold layers.
        double cop_we = d.copwe[m];
        if (cop_we <= 0.0) {
            meldung("Warnung: COPWE = 0 oder negativ. Wird gleich eins gesetzt.",
                    numchar[ndata::meldungsmodus], 'W');
            cop_we = 1.0;
        }
        endenergie = e.zusatz / cop_we;
    }
    buchungen.zusatzheizung_buchen(m, s, bestaetigen, e.zusatz, endenergie);
    if (aendern && e.zusatz > 0.0) {
        // Way 'D': the we pump delivers the extra heat; way 'W': the ww pump
        // delivers the store's heat plus its electricity.
        if (weg == 'D') buchungen.waermepumpe_buchen(m, s, 'E', e.zusatz, endenergie);
        if (weg == 'W') buchungen.waermepumpe_buchen(m, s, 'W', e.aus_speicher + e.zusatz, e.zusatz);
    }
    return e;
}

void speicher_verluste(anlage& pl, int m, int s, double ho, const datz& vdatz, ::date3& d3) {
    const double t_umgebung = vdatz[zdata::rwv][m];
    d3.speiver_puffer[m][s] = oberflaechenverluste(pl.pufferspeicher, t_umgebung, ho);
    d3.speiver_lang[m][s] = oberflaechenverluste(pl.langzeitspeicher, t_umgebung, ho);
}

void speicher_nachtverluste(anlage& pl, int m, const datz& vdatz, const flagchar& numchar,
                            int tage) {
    if (numchar[ndata::strahlungsherkunft] != "D") return;
    const double nachtstunden = (24.0 - vdatz[zdata::tg][m]) * tage;
    const double t_umgebung = vdatz[zdata::rwv][m];
    oberflaechenverluste(pl.pufferspeicher, t_umgebung, nachtstunden);
    oberflaechenverluste(pl.langzeitspeicher, t_umgebung, nachtstunden);
}

void speicher_monatsanfang(anlage& pl, int m, int startmonat, double voll, const datz& vdatz,
                           const flagchar& numchar, const ::date& d, const ::datm& dm) {
    if (m == startmonat) {
        setze_anlage_speicher_zurueck(pl, voll, vdatz[zdata::rwv][m]);
        return;
    }
    const int vm = m == 1 ? 12 : m - 1;
    const anlage& vormonat =
        numchar[ndata::zeitraum] == "J" ? dm.arrayspeicher_mon[vm] : d.arrayspeicher_mon[vm];
    kopiere_anlage_speicher(vormonat, pl, 'N');
}

double speicher_monatsende(anlage& pl, int m, int startmonat, ::date& d, const datz& vdatz, int pruefen,
                           const flagchar& numchar, const ::datm& dm) {
    const speicher& puffer = pl.pufferspeicher;
    const speicher& lang = pl.langzeitspeicher;
    const double rwv = vdatz[zdata::rwv][m], twv = vdatz[zdata::twv][m];
    d.msp_max_puffer[m] = mittlere_temperatur(puffer);
    d.msp_max_lang[m] = mittlere_temperatur(lang);
    d.e_next_puffer[m] = puffer.inhalt.estore;
    d.e_next_lang[m] = lang.inhalt.estore;
    d.msp_next_puffer[m] = volumen_fuer_energie(puffer, rwv, twv, energie_ueber(puffer, rwv), numchar);
    d.msp_next_lang[m] =
        volumen_fuer_energie(lang, lang.tmin.wert, lang.tmax.wert, energie_ueber(lang, rwv), numchar);
    if (pruefen <= 0) return 0.0;

    const int vm = m == 1 ? 12 : m - 1;
    // The start month begins with reset stores (no stored energy); the month
    // before it belongs to another pass over the year.
    const double vorher = m == startmonat                       ? 0.0
                          : numchar[ndata::zeitraum] == "J" ? dm.feldns_puffer[vm] + dm.feldns_lang[vm]
                                                            : d.e_next_puffer[vm] + d.e_next_lang[vm];
    const double aenderung = puffer.inhalt.estore + lang.inhalt.estore - vorher;
    const double b = vdatz[zdata::eh][m] + vdatz[zdata::ew][m] + aenderung + puffer.inhalt.eminus +
                     lang.inhalt.eminus;
    if (d.eg[m] != 0.0) {
        const double verhaeltnis = b / d.eg[m];
        if ((verhaeltnis < 0.9 || verhaeltnis > 1.1) && numchar[ndata::kontrolllauf] == "N") {
            meldung("Warnung: Inkonsistenz des Speicherinhaltes.", numchar[ndata::meldungsmodus], 'A');
        }
    }
    return aenderung;
}
