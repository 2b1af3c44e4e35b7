#include "engine/laufvorbereitung.h"

#include <algorithm>

#include "engine/heizbilanz.h"
#include "lang/meldung.h"

void eintrittstemperaturen_fuellen(const flagchar& numchar, const datz& vdatz, datz3& pvdatz3) {
    for (int m = 1; m <= MAXMONAT; ++m) {
        const int anzahl = intervalle(m);
        intervallzeile& tein = pvdatz3[zdata::tein][m];
        const intervallzeile& ta = pvdatz3[zdata::ta][m];
        for (int s = 1; s <= anzahl; ++s) {
            tein[s] = numchar[ndata::kopplungstyp] == "E" ? vdatz[zdata::tk][m] : ta[s];
        }
    }
}

void monatsvorbereitung(const flagchar& numchar, datz& z, const anlage& a0, double A) {
    using namespace zdata;
    const flagchar& global = zustand::numchar();
    const auto& lade = zustand::lade_flag();
    const auto& entnehme = zustand::entnehme_flag();

    double W = 0.0, summe_rwv = 0.0, summe_twv = 0.0;
    int k1 = 0, k2 = 0;
    for (int m = 1; m <= MAXMONAT; ++m) {
        if (numchar[ndata::heizung] != "J") {
            z[ewv][m] = z[ew][m];
            z[twv][m] = z[tw][m];
            z[rwv][m] = z[rw][m];
            z[tk][m] = z[te][m];
        } else {
            z[ewv][m] = z[ew][m] + z[eh][m];
            z[twv][m] = vorlauftemperatur_aus_bedarf(numchar, z, m);
            if (z[ewv][m] > 0.0) {
                z[rwv][m] = (z[rw][m] * z[ew][m] + z[rh][m] * z[eh][m]) / z[ewv][m];
            } else {
                z[rwv][m] = z[rh][m];
            }
            z[tk][m] = numchar[ndata::kaltwassertemp] != "W" ? z[te][m] : z[rwv][m];
        }
        if (z[rwv][m] > z[twv][m]) {
            meldung("Warnung: Vorlauftemperatur <= Rücklauftemperatur.", global[ndata::meldungsmodus], 'W');
        }
        z[ewv_verbrauch][m] = z[ewv][m];
        if (entnehme[m] == "Y" && lade[m] == "N" && A != 0.0) {
            W += z[ewv][m];
            summe_rwv += z[rwv][m];
            summe_twv += z[twv][m];
            ++k1;
        }
        if (lade[m] == "Y" && A != 0.0) ++k2;
    }

    double R = 0.0, T = 0.0;
    if (k1 >= 1) {
        R = summe_rwv / k1;
        T = summe_twv / k1;
    }
    const speicher& lang = a0.langzeitspeicher;
    double unten = R, U = T;
    if (numchar[ndata::kopplungstyp] == "Z") {
        unten = lang.tmin.wert;
        U = lang.tmax.wert;
    }
    (void)unten;  // the lower value of the range does not enter the capacity
    const double C = lang.spwspei.wert * lang.rospei.wert * (U - R) * lang.spmax.wert /
                     umrechnungskonstante("kWh_in_Ws");
    if (C < W) W = C;

    for (int m = 1; m <= MAXMONAT; ++m) {
        if (lade[m] == "Y" && A != 0.0 && k2 > 0) {
            z[ewv][m] += W / k2;
            z[twv][m] = U;
        }
        z[ewv_0][m] = z[ewv][m];
        z[ewv_verbrauch_0][m] = z[ewv_verbrauch][m];
    }
}

void intervallbedarf_monat(const flagchar& numchar, const datz& z, const datz3& p, ::date3& d3,
                           int m, bool melden) {
    using namespace zdata;
    const int anzahl = intervalle(m);
    intervallzeile& bedarf = d3.equer_verbrauch[m];
    if (numchar[ndata::strahlung] == "D") {
        std::copy(p[eg_d][m].begin() + 1, p[eg_d][m].begin() + 1 + anzahl, bedarf.begin() + 1);
        return;
    }
    const double stunden = numchar[ndata::luftwaermetauscher] == "L" ? z[ho][m] : z[hogn][m];
    if (melden && stunden <= 0.0 && z[ewv_verbrauch][m] > 0.0 && anzahl > 0) {
        // No hours to spread over: the month gets no interval demand. Say
        // so, so that the demand is not dropped silently.
        meldung("Warnung: Monat " + std::to_string(m) +
                    " hat keine Stunden; Bedarf nicht auf Intervalle verteilt.",
                zustand::numchar()[ndata::meldungsmodus], 'W');
    }
    for (int s = 1; s <= anzahl; ++s) {
        bedarf[s] = monatsenergie_auf_intervall(z[ewv_verbrauch][m], m, s, numchar, z, p);
    }
}

void intervallbedarf(const flagchar& numchar, const datz& z, const datz3& p, ::date3& d3) {
    for (int m = 1; m <= MAXMONAT; ++m) intervallbedarf_monat(numchar, z, p, d3, m, true);
}

namespace {

double jahressumme(const monatsfeld& f) {
    double summe = 0.0;
    for (int m = 1; m <= MAXMONAT; ++m) summe += f[m];
    return summe;
}

}  // namespace

void jahresauswertung(::datm& d, const datz3& p2, const speicher& puffer, const datz& z,
                      const datt& vdatt, const flagchar& numchar) {
    using namespace adata;
    auto& F = d.feld;
    const std::string& modus = zustand::numchar()[ndata::meldungsmodus];

    // Collector ratios.
    const double G = jahressumme(z[zdata::ir]);
    if (vdatt[tdata::eta_zelle] == 0.0 || G <= 0.0) {
        meldung("Fehler: Division durch null", "M", 'E');
    } else {
        const double flz_summe = jahressumme(F[flz]);
        F[flz][1] = flz_summe / (vdatt[tdata::eta_zelle] * G);
        F[flz_ee][1] = (flz_summe + vdatt[tdata::ee_gesamt]) / (G * vdatt[tdata::eta_zelle]);
        F[flz_ges_heiz][1] = (jahressumme(F[nh]) + jahressumme(F[ok]) + jahressumme(F[zpk]) +
                              jahressumme(F[zpk_l]) + vdatt[tdata::ee_gesamt]) /
                             (G * vdatt[tdata::eta_zelle]);
    }

    // Ground area of an earth collector.
    double H = 0.0;
    if (vdatt[tdata::wetter_theta] == 0.0) {
        for (int m = 1; m <= MAXMONAT; ++m) {
            const int anzahl = intervalle(m);
            for (int s = 1; s <= anzahl; ++s) H += p2[zdata::ir][m][s];
        }
    } else {
        meldung("Warnung: Einstrahlung auf Horizontale unbekannt oder Null, keine Bodenfläche "
                "berechnet.",
                modus, 'W');
    }
    if (H <= 0.0 || vdatt[tdata::bodenabsorption] == 0.0) {
        F[bf][1] = 0.0;
    } else {
        double S = 0.0;
        if (numchar[ndata::ohne_kopplung] == "E") {
            for (int m = 1; m <= MAXMONAT; ++m) S += (F[copwe][m] - 1.0) * F[ok][m];
        }
        F[bf][1] = S / (vdatt[tdata::bodenabsorption] * H);
    }

    // Weighted efficiency.
    double gewichtet = 0.0;
    for (int m = 1; m <= MAXMONAT; ++m) gewichtet += d.ir[m] * F[eta][m];
    if (G != 0.0) F[etawicht][1] = gewichtet / G;

    // Coverage: the share of the month's heat that was not bought. The heat
    // of the month is the house's demand plus what the plant put into the
    // long-term store for later months (a charge month's electricity buys
    // that heat too); a share lies in [0, 1].
    for (int m = 1; m <= MAXMONAT; ++m) {
        const double ladung = std::max(0.0, z[zdata::ewv_0][m] - z[zdata::ewv_verbrauch_0][m]);
        double D = z[zdata::ew][m] + z[zdata::eh][m];
        if (D == 0.0) {
            D = 1.0;
        } else {
            F[degra_m][m] = std::clamp(1.0 - F[jek][m] / (D + ladung), 0.0, 1.0);
        }
        F[degra_ww_m][m] =
            z[zdata::ew][m] > 0.0 ? std::min(D * F[degra_m][m] / z[zdata::ew][m], 1.0) : 0.0;
    }
    double dj = 0.0, dwwj = 0.0;
    const double summe_eg = jahressumme(F[eg]);
    const double summe_ew = jahressumme(z[zdata::ew]);
    if (summe_eg > 0.0) {
        for (int m = 1; m <= MAXMONAT; ++m) dj += F[degra_m][m] * F[eg][m] / summe_eg;
    }
    if (summe_ew > 0.0) {
        for (int m = 1; m <= MAXMONAT; ++m) dwwj += F[degra_ww_m][m] * z[zdata::ew][m] / summe_ew;
        dwwj = std::min(dwwj, 1.0);
    }
    for (int m = 1; m <= MAXMONAT; ++m) {
        F[degra_j][m] = dj;
        F[degra_ww_j][m] = dwwj;
    }

    // Seasonal performance: each pump's heat over its electricity over the
    // year, 0 for a pump that did not run.
    const double E_g = summe_eg;
    auto arbeitszahl = [](const monatsfeld& waerme, const monatsfeld& strom) {
        const double s = jahressumme(strom);
        return s > 0.0 ? jahressumme(waerme) / s : 0.0;
    };
    F[jaz_ww][1] = arbeitszahl(d.wp_waerme_ww, d.wp_strom_ww);
    F[jaz_we][1] = arbeitszahl(d.wp_waerme_we, d.wp_strom_we);
    if (E_g > 0.0) F[jok][1] = jahressumme(F[ok]) / E_g;

    // Storage volume per day.
    const double rho = puffer.rospei.wert;
    const double c = puffer.spwspei.wert;
    const double kwh = umrechnungskonstante("kWh_in_Ws");
    // A zero temperature difference or an empty store description gives no
    // volume instead of an infinite one.
    auto volumen = [&](double E, double dT) {
        const double nenner = dT * rho * c;
        return nenner != 0.0 ? kwh * E / nenner : 0.0;
    };
    for (int m = 1; m <= MAXMONAT; ++m) {
        using namespace zdata;
        const double e_r = F[adata::er][m];
        const double dt_ww = z[tw][m] - z[tk][m];
        const double dt_h = z[th][m] - z[rh][m];
        double V = 0.0;
        if (e_r < z[ew][m]) {
            V = volumen(e_r, dt_ww);
        } else if (e_r < z[ewv][m] && z[ew][m] < e_r) {
            V = volumen(z[ew][m], dt_ww) + volumen(e_r - z[ew][m], dt_h);
        } else {
            V = volumen(z[ew][m], dt_ww) + volumen(z[eh][m], dt_h);
        }
        F[speiv_edt][m] = V / tage_im_monat(m, numchar);
    }
}

void ergebnisse_umrechnen(::datm& d, const einheiten_umrechner& umrechner) {
    for (umrechnen_struct& u : d.umrechnen) u.bekannt = "N";
    for (umrechnen_struct& u : d.umrechnen_3) u.bekannt = "N";
    for (int a = 0; a < ANZ_ADATA; ++a) {
        if (d.umrechnen[a].bekannt != "Y") {
            d.umrechnen[a] = umrechner(d.programm_einheit[a], d.ausgabe_einheit[a], d.kennzeichen[a]);
            d.umrechnen[a].bekannt = "Y";
        }
        const umrechnen_struct& u = d.umrechnen[a];
        for (int m = 1; m <= MAXMONAT; ++m) d.feld[a][m] = u.faktor * d.feld[a][m] + u.offset;
    }
    for (int k = 0; k < ANZ_FELD3; ++k) {
        if (d.umrechnen_3[k].bekannt != "Y") {
            d.umrechnen_3[k] =
                umrechner(d.programm_einheit_3[k], d.ausgabe_einheit_3[k], d.kennzeichen_3[k]);
            d.umrechnen_3[k].bekannt = "Y";
        }
        const umrechnen_struct& u = d.umrechnen_3[k];
        for (int m = 1; m <= MAXMONAT; ++m) {
            const int anzahl = intervalle(m);
            for (int s = 1; s <= anzahl; ++s) d.feld3[k][m][s] = u.faktor * d.feld3[k][m][s] + u.offset;
        }
    }
}
