#include "costs/kalkulation.h"

#include <algorithm>
#include <cmath>

#include "data/datenbank.h"
#include "data/einheiten.h"
#include "data/einstellungen.h"
#include "engine/heizbilanz.h"
#include "input/energiebedarf.h"
#include "lang/kostentexte.h"
#include "lang/meldung.h"
#include "results/ergebnisdatei_lesen.h"
#include "results/ergebnistexte.h"

using namespace tabledata;

namespace {

umrechnen_struct umrechner(const std::string& von, const std::string& nach, const std::string& kennzeichen,
                           int monat) {
    return umrechnungsfaktor(von, nach, kennzeichen, monat);
}

// Sum over the months 1..12.
double jahressumme(const monatsfeld& f) {
    double s = 0.0;
    for (int m = 1; m <= 12; ++m) s += f[m];
    return s;
}

// Heat demand of the data set's site per year in the output energy unit:
// heating and hot water of the demand rows named by `haupt`.
double jahreswaermebedarf_des_datensatzes(const datz& vdatz) {
    tabelle& haupt = tab(thaupt);
    for (const auto& [index, spalte] : {std::pair{teh_m, "eh_m"}, std::pair{tew_m, "ew_m"}}) {
        tabelle& t = tab(index);
        if (!t.ist_offen()) return 0.0;
        t.filter_aus();
        if (t.sortierspalten() != t.schluesselspalten()) t.sortiere_nach_schluessel();
        if (!t.suche({feldwert(haupt.text(spalte))})) return 0.0;
    }
    double summe = 0.0;
    for (int m = 1; m <= 12; ++m) summe += monatsenergie_in_haupteinheiten(vdatz, m);
    return in_ausgabeeinheit(summe, groesse::energie);
}

// Section whose area lies closest to `flaeche` (the first of equals).
int naechste_scheibe(const kosten_datenindex& d, double flaeche) {
    int beste = 1;
    for (int s = 2; s <= d.anzahl_flaechen; ++s) {
        if (std::abs(d.scheibe[s].flaeche - flaeche) < std::abs(d.scheibe[beste].flaeche - flaeche)) beste = s;
    }
    return beste;
}

}  // namespace

bool lies_kostenresultat(const std::filesystem::path& datei, kosten_datenindex& d, std::string* datensatzname) {
    parreadtab t;
    t.name = datei.string();
    dat3d werte;
    TSDaten beschreibung;
    bool ok = true;
    lese_tabelle(werte, t, beschreibung, ok);
    if (!ok) return false;
    rechne_codes_um(t, werte, zustand::datm_allgemein(), umrechner);
    if (datensatzname) *datensatzname = t.hauptname;

    const std::string flaecheneinheit = haupteinheiten()[groesse::flaeche].ausgabe;
    auto spalte = [&](int q) { return finde_spalte(t, ergebnistexte::code(q)); };
    const int c_jkk = spalte(adata::jkk), c_lok = spalte(adata::lok), c_lnh = spalte(adata::lnh),
              c_flz = spalte(adata::flz), c_flz_ee = spalte(adata::flz_ee),
              c_flz_ges = spalte(adata::flz_ges_heiz), c_nh = spalte(adata::nh), c_ok = spalte(adata::ok),
              c_zpk = spalte(adata::zpk), c_zpk_l = spalte(adata::zpk_l), c_er = spalte(adata::er),
              c_ereif = spalte(adata::ereif);
    // A control file or any other table reads as well; only the monthly
    // results of a simulation or optimisation carry the energies the costs
    // are made of.
    for (const auto& [c, q] : {std::pair{c_jkk, adata::jkk}, std::pair{c_nh, adata::nh}, std::pair{c_ok, adata::ok},
                               std::pair{c_zpk, adata::zpk}, std::pair{c_er, adata::er}, std::pair{c_flz, adata::flz}}) {
        if (c == 0) {
            meldung(kostentexte::kein_resultat.text() + ergebnistexte::code(q) + "): " + datei.string(), "M", 'E');
            return false;
        }
    }

    d.anzahl_flaechen = std::min<int>(werte.scheiben(), MAX_KOSTENFLAECHEN);
    for (int s = 1; s <= d.anzahl_flaechen; ++s) {
        kosten_scheibe& k = d.scheibe[s];
        k = kosten_scheibe{};
        k.flaeche = flaeche_der_scheibe(t, s, flaecheneinheit, umrechner);
        const int zeilen = std::min(werte.zeilen(s), 12);
        auto wert = [&](int r, int c) { return (c > 0 && r <= zeilen) ? werte.wert(r, c, s) : 0.0; };
        k.jkk = wert(1, c_jkk);
        k.lok = wert(1, c_lok);
        k.lnh = wert(1, c_lnh);
        k.flz = wert(1, c_flz);
        k.flz_ee = wert(1, c_flz_ee);
        k.flz_ges_heiz = wert(1, c_flz_ges);
        for (int m = 1; m <= 12; ++m) {
            k.nh[m] = wert(m, c_nh);
            k.ok[m] = wert(m, c_ok);
            k.zpk[m] = wert(m, c_zpk);
            k.zpk_l[m] = wert(m, c_zpk_l);
            k.er[m] = wert(m, c_er);
            k.ereif[m] = wert(m, c_ereif);
        }
    }
    return true;
}

bool resultat_einlesen(kalkulationsdaten& k, const std::filesystem::path& datei, const resultat_herkunft& herkunft) {
    if (static_cast<int>(k.index.size()) >= MAX_DATENINDEX) {
        meldung(kostentexte::maximalzahl.text(), "M", 'E');
        return false;
    }
    kosten_datenindex d;
    if (!lies_kostenresultat(datei, d)) return false;
    d.dateiname = datei;
    d.herkunft = herkunft;
    d.numchar = zustand::numchar();
    const datz& z = zustand::vdatz();
    for (int m = 1; m <= 12; ++m) {
        d.einstrahlung[m] = z[zdata::ir][m];
        d.stromverbrauch[m] = z[zdata::ee][m];
    }
    d.strom_ohne_heizung =
        runde_dezimal(in_ausgabeeinheit(zustand::vdatt()[tdata::ee_gesamt], groesse::energie), 3);
    lese_kostenparameter(zustand::vdatt(), d.vdatk, d.anlage);
    d.jahreswaermebedarf = jahreswaermebedarf_des_datensatzes(z);

    BerechneEnergieAnteile(d);
    bereite_zellflaechen_vor(d);
    // Start with the cells off and the cell area for all electricity at the first area.
    d.iradioGroupSf = zellmodus::gesamt_el;
    d.isolarzellen = 0;
    d.aszf = d.anzahl_flaechen > 0 ? d.vdatflz_ee3[1] : 0.0;
    k.index.push_back(std::move(d));
    k.pindexgraphik = static_cast<int>(k.index.size());
    return true;
}

void BerechneEnergieAnteile(kosten_datenindex& d) {
    for (int s = 1; s <= MAX_KOSTENFLAECHEN; ++s) {
        d.energie_g[s] = d.energie_nh[s] = d.energie_oh[s] = d.energie_pump[s] = 0.0;
        d.thermische_solarenergie[s] = d.leistung_lok[s] = d.leistung_lnh[s] = 0.0;
    }
    for (int s = 1; s <= d.anzahl_flaechen; ++s) {
        const kosten_scheibe& k = d.scheibe[s];
        d.energie_g[s] = k.jkk;
        if (d.iheizung != 1) continue;
        d.energie_nh[s] = jahressumme(k.nh);
        d.energie_oh[s] = jahressumme(k.ok);
        d.energie_pump[s] = jahressumme(k.zpk) + jahressumme(k.zpk_l);
        d.thermische_solarenergie[s] = jahressumme(k.er) - jahressumme(k.nh);
        d.leistung_lok[s] = k.lok;
        d.leistung_lnh[s] = k.lnh;
    }
}

double heizstrom(const kosten_datenindex& d, int s) {
    const kosten_scheibe& k = d.scheibe[s];
    const datt& v = d.anlage.vdatt;
    const double eta_kw = v[tdata::eta_kraftwerk], eta_gas = v[tdata::eta_gas], eta_we = v[tdata::we_eta],
                 eta_ww = v[tdata::ww_eta];
    const std::string& kopplung = d.numchar[ndata::kopplungstyp];
    const std::string& quelle = d.numchar[ndata::ohne_kopplung];
    const std::string& antrieb_we = d.numchar[ndata::antrieb_we];
    const std::string& antrieb_ww = d.numchar[ndata::antrieb_ww];
    // The result holds final energies; an electric path has final energy =
    // heat, so converting them again adds exactly the electricity to S.
    double S = 0.0, F = 0.0, P = 0.0;
    for (int m = 1; m <= 12; ++m) {
        if (kopplung == "Z") {
            heizart_umrechnen(k.nh[m], F, P, antrieb_ww, eta_kw, eta_ww, S);
        } else if (kopplung == "E") {
            heizart_umrechnen(k.nh[m], F, P, quelle, antrieb_we, eta_we, eta_kw, eta_gas, S);
        }
        heizart_umrechnen(k.ok[m], F, P, quelle, antrieb_we, eta_we, eta_kw, eta_gas, S);
        heizart_umrechnen(k.ereif[m], F, P, quelle, antrieb_we, eta_we, eta_kw, eta_gas, S);
        S += k.zpk[m] + k.zpk_l[m];
    }
    return S;
}

void bereite_zellflaechen_vor(kosten_datenindex& d) {
    for (int s = 1; s <= d.anzahl_flaechen; ++s) {
        const kosten_scheibe& k = d.scheibe[s];
        const double heizung = d.iheizung == 1 ? heizstrom(d, s) : 0.0;
        d.vdate3[s] = heizung + d.strom_ohne_heizung;
        d.vdateel3[s] = d.strom_ohne_heizung;
        d.vdatflz3[s] = k.flz;
        d.vdatflz_ee3[s] = k.flz_ee;
        d.vdatflz_ges_heiz[s] = k.flz_ges_heiz;
    }
}

void skaliere_verbrauch(kosten_datenindex& d, double jahreswert) {
    const double summe = jahressumme(d.stromverbrauch);
    for (int m = 1; m <= 12; ++m) {
        // A consumption without shape is spread evenly over the months.
        d.stromverbrauch[m] = summe != 0.0 ? d.stromverbrauch[m] / summe * jahreswert : jahreswert / 12.0;
    }
    d.strom_ohne_heizung = jahreswert;
}

double annuitaet(double K, double p, double n) {
    const double q = std::pow(1.0 + p, n);
    if (q == 1.0) return quotient_oder_null(K, n);
    return p * K * q / (q - 1.0);
}

solarstrom verteile_solarstrom(const kosten_datenindex& d, int s, double zellflaeche) {
    solarstrom f;
    const kosten_scheibe& k = d.scheibe[s];
    const bool heizung = d.iheizung == 1;
    for (int m = 1; m <= 12; ++m) {
        const double o = d.vdatk[kpar::eta_zelle] * zellflaeche * d.einstrahlung[m];
        const double verbrauch = d.stromverbrauch[m];
        const double pumpe = heizung ? k.zpk[m] : 0.0;
        const double nh = heizung ? k.nh[m] : 0.0;
        const double r = o - verbrauch - pumpe;
        if (r < 0.0) {
            f.eigenverbrauch += o;
            f.zukauf += std::max(0.0, verbrauch - o);
        } else {
            f.eigenverbrauch += verbrauch + pumpe;
            if (r - nh < 0.0) {
                f.nachheizung += r;
            } else {
                f.nachheizung += nh;
                f.einspeisung += r - nh;
            }
        }
    }
    return f;
}

std::vector<kostenpunkt> berechne_kosten(kalkulationsdaten& kd, int index) {
    using namespace kpar;
    std::vector<kostenpunkt> punkte;
    if (index < 1 || index > static_cast<int>(kd.index.size())) return punkte;
    kosten_datenindex& d = kd.index[static_cast<size_t>(index - 1)];
    kostenvektor& k = d.vdatk;
    berechne_nettopreise(k);
    BerechneEnergieAnteile(d);
    bereite_zellflaechen_vor(d);
    if (d.anzahl_flaechen < 1) return punkte;
    k[preis_pro_leistung_heizung] = quotient_oder_null(k[preis_heizung], k[leistung_heizung]);
    k[preis_pro_leistung_zwp] = quotient_oder_null(k[preis_zwp], k[leistung_zwp]);

    const bool zellen_variieren = d.iradioGroupSf == zellmodus::variieren;
    const int s_fest = zellen_variieren ? naechste_scheibe(d, kd.kollektorflaeche_fest) : 0;
    int anzahl = d.anzahl_flaechen;
    if (zellen_variieren) {
        const double schritte = k[modulflaeche] > 0.0 ? std::nearbyint(k[dachflaeche] / k[modulflaeche]) : 0.0;
        anzahl = static_cast<int>(std::clamp(schritte + 1.0, 1.0, static_cast<double>(MAXGRAPHPUNKTE)));
    }
    const double flaeche_oben = d.anlage.vdatt[tdata::flaeche_kol_oben];
    const double flaeche_unten = d.anlage.vdatt[tdata::flaeche_kol_unten];
    const bool heizung = d.iheizung == 1;
    const bool zellen = d.isolarzellen == 1;
    const bool hfn = d.hfn == 1.0;

    for (int p = 1; p <= anzahl; ++p) {
        kostenpunkt pt;
        const int s = zellen_variieren ? s_fest : p;
        pt.s = s;
        const double A = d.scheibe[s].flaeche;
        pt.flaeche = A;
        double K = 0.0;

        // Heating plant and intermediate heat pump, priced by their power.
        if (heizung) {
            double P_ok = d.leistung_lok[s];
            double preis_ok_leistung = k[preis_pro_leistung_heizung];
            if (hfn) {
                if (s == 1) P_ok = k[leistung_heizung];
                else preis_ok_leistung = 0.0;
            }
            K += P_ok * preis_ok_leistung;
            K += d.leistung_lnh[s] * k[preis_pro_leistung_zwp];
            K += k[netto_zusatz_heizung];
        }
        K += k[festkosten];

        // Solar cells.
        double A_zelle = 0.0;
        if (zellen) {
            switch (d.iradioGroupSf) {
                case zellmodus::feste_flaeche: A_zelle = d.aszf; break;
                case zellmodus::heizung: A_zelle = d.vdatflz3[s]; break;
                case zellmodus::gesamt_el: A_zelle = d.vdatflz_ee3[s]; break;
                case zellmodus::nullenergie: A_zelle = d.vdatflz_ges_heiz[s]; break;
                case zellmodus::variieren:
                    A_zelle = (p - 1) * d.anlage.vdatt[tdata::zellmodulflaeche];
                    break;
                case zellmodus::pvt: A_zelle = A; break;
                default: break;
            }
            K += A_zelle * k[netto_zellpreis] + A_zelle * k[teile_pro_zelle];
            if (A_zelle > 0.0) K += k[netto_teile_pv];
        }
        pt.zellflaeche = A_zelle;
        pt.x = zellen_variieren ? (p - 1) * d.anlage.vdatt[tdata::zellmodulflaeche] : A;

        // Thermal part: fixed parts, collectors by whole units, accessories per area.
        const double einheit = flaeche_oben + flaeche_unten;
        const double u = quotient_oder_null(A, einheit);
        if (heizung) {
            if (A > 0.0 || d.anlage.leistung_wp == "L" || d.anlage.leistung_wp == "E") K += k[netto_teile_thermisch];
            if (A > 0.0) K += u * (flaeche_unten * k[netto_kol_unten] + flaeche_oben * k[netto_kol_oben]) + A * k[teile_pro_kollektor];
        }
        pt.investition = K;
        pt.annuitaet = annuitaet(K, k[zinssatz], k[laufzeit]);

        // Energy bills: the heating energies at their tariffs (from the second
        // area on the boiler energy at the electricity price when the heating
        // plant belongs to the first area only), and the household electricity.
        const double preis_ok_energie = (hfn && s > 1) ? k[preis_strom] : k[preis_ok];
        pt.energiekosten = d.energie_nh[s] * k[preis_nh] + d.energie_oh[s] * preis_ok_energie +
                           d.energie_pump[s] * k[preis_strom] + k[preis_strom] * d.vdateel3[s];
        if (zellen) {
            pt.strom = verteile_solarstrom(d, s, A_zelle);
            pt.solarertrag = k[verguetung] * pt.strom.einspeisung + k[preis_strom] * pt.strom.eigenverbrauch +
                             k[preis_nh] * pt.strom.nachheizung;
        }

        // Maintenance.
        if (zellen && A > 0.0 && d.anlage.kopplungstyp != "E") {
            pt.unterhalt += k[unterhalt_thermisch] + einheit * u * k[unterhalt_thermisch_flaeche];
        }
        if (zellen) pt.unterhalt += k[unterhalt_pv] + A_zelle * k[unterhalt_pv_flaeche];
        if (heizung) pt.unterhalt += k[unterhalt_heizung];

        pt.jahreskosten = pt.annuitaet + pt.energiekosten - pt.solarertrag + pt.unterhalt;
        punkte.push_back(pt);
    }
    return punkte;
}
