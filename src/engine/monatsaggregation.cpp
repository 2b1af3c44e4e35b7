#include "engine/monatsaggregation.h"

#include "engine/energiebilanz.h"
#include "engine/heizbilanz.h"
#include "engine/models/druckabfall.h"
#include "engine/models/speicher.h"

std::array<double, 3> monatsstart_summen(anlage& a, int m, ::date& d, ::date3& d3,
                                         bilanzsummen& summen) {
    for (monatsfeld* f : {&d.er, &d.nh, &d.ok, &d.nh_virtuell, &d.ok_virtuell, &d.eg, &d.es, &d.ls}) {
        (*f)[m] = 0.0;
    }
    const int anzahl = intervalle(m);
    for (intervallfeld* f :
         {&d3.ok, &d3.ok_virtuell, &d3.nh, &d3.nh_virtuell, &d3.nh_waerme, &d3.ok_waerme}) {
        std::fill((*f)[m].begin() + 1, (*f)[m].begin() + 1 + anzahl, 0.0);
    }
    for (monatsfeld* f : {&d.wp_waerme_ww, &d.wp_strom_ww, &d.wp_waerme_we, &d.wp_strom_we}) {
        (*f)[m] = 0.0;
    }
    summen = bilanzsummen{};
    a.pufferspeicher.inhalt.estoremax = 0.0;
    a.langzeitspeicher.inhalt.estoremax = 0.0;
    return {0.0, 0.0, 0.0};
}

void intervalle_zu_monat(::date& d, const ::date3& d3, const datz& vdatz, int m, double A,
                         const datz3& p) {
    // Sums over all intervals and hour-weighted means over the daylight ones.
    struct summe {
        const intervallfeld& quelle;
        monatsfeld& ziel;
    };
    const summe summen[] = {{d3.elp, d.elp},     {d3.elp_l, d.elp_l},
                            {d3.ls, d.ls},       {d3.es, d.es},
                            {d3.esa, d.esa},     {d3.er, d.er},
                            {d3.speiver_puffer, d.speiver_puffer},
                            {d3.speiver_lang, d.speiver_lang},
                            {d3.ms, d.ms}};
    const summe mittel[] = {{d3.copww, d.copww},   {d3.volluft, d.volluft},
                            {d3.a1_skm_oben, d.a1_skm_oben}, {d3.a3_erz, d.a3_erz},
                            {d3.v_luft, d.v_luft}, {d3.tf, d.tf},
                            {d3.tf_s, d.tf_s},     {d3.zei, d.zei},
                            {d3.zv, d.zv},         {d3.tein, d.tein},
                            {d3.te, d.te},         {d3.vwp, d.vwp},
                            {d3.pt, d.pt},         {d3.ph, d.ph},
                            {d3.etagwt, d.etagwt}};
    for (const summe& s : summen) s.ziel[m] = 0.0;
    for (const summe& s : mittel) s.ziel[m] = 0.0;
    d.etam[m] = 0.0;

    const double hogn = vdatz[zdata::hogn][m];
    if (hogn > 0.0) {
        const int anzahl = intervalle(m);
        // The month's collector efficiency is the collector heat of its sunny
        // intervals over their irradiation: a mean of the intervals' own
        // ratios would let an hour of dawn light with a little heat stand for
        // an efficiency of hundreds.
        // Heat a ground-coupled loop draws from the soil (ls with source "E")
        // is no collector yield.
        const bool bodenwaerme = zustand::numchar()[ndata::kopplungsart] == "E";
        double waerme = 0.0, einstrahlung = 0.0;
        for (int s = 1; s <= anzahl; ++s) {
            for (const summe& x : summen) x.ziel[m] += x.quelle[m][s];
            if (p[zdata::is0][m][s] > 0.0) {
                const double gewicht = p[zdata::ho][m][s] / hogn;
                for (const summe& x : mittel) x.ziel[m] += x.quelle[m][s] * gewicht;
                if (A > 0.0) {
                    waerme += (bodenwaerme ? 0.0 : d3.ls[m][s]) + d3.esa[m][s];
                    einstrahlung += p[zdata::ir][m][s];
                } else {
                    d.etam[m] += gewicht;
                }
            }
        }
        if (A > 0.0) d.etam[m] = einstrahlung > 0.0 ? waerme / (A * einstrahlung) : 0.0;
    }
    if (A > 0.0 && vdatz[zdata::ho][m] != 0.0) d.lok[m] = d.ok[m] * 1000.0 / vdatz[zdata::ho][m];
    mittlere_geschwindigkeit(d, d3, vdatz, m, p);
}

void mittlere_geschwindigkeit(::date& d, const ::date3& d3, const datz& vdatz, int m,
                              const datz3& p) {
    const double hogn = vdatz[zdata::hogn][m];
    if (hogn <= 0.0) return;
    double vel = 0.0;
    const int anzahl = intervalle(m);
    for (int s = 1; s <= anzahl; ++s) {
        if (p[zdata::is0][m][s] > 0.0) vel += d3.vel[m][s] * p[zdata::ho][m][s] / hogn;
    }
    d.vel[m] = vel;
}

std::array<double, 4> intervall_zuruecksetzen(int m, int s, const flagchar& numchar, double A,
                                              ::date3& d3, const datz3& p) {
    for (intervallfeld* f : {&d3.etam, &d3.es, &d3.er, &d3.eg, &d3.ls, &d3.ereif, &d3.nh, &d3.ok,
                             &d3.lnh, &d3.lok, &d3.nh_virtuell, &d3.ok_virtuell, &d3.nh_waerme,
                             &d3.ok_waerme}) {
        (*f)[m][s] = 0.0;
    }
    if (numchar[ndata::rechenart] != "A") d3.vel[m][s] = 0.0;
    d3.zei[m][s] = p[zdata::ho][m][s];
    const bool kollektorkreis =
        A > 0.0 || numchar[ndata::kopplungsart] == "L" || numchar[ndata::kopplungsart] == "E";
    d3.wpausflag[s] = kollektorkreis ? u'N' : u'J';
    return {0.0, 1.0, 0.0, 1.0};
}

void monat_in_laufergebnis(const ::date& d, const ::date3& d3, const datz& vdatz,
                           const datz3& p, ::datm& r, int m, double A) {
    using namespace adata;
    auto& F = r.feld;
    F[jkk][1] = d.jkk;
    F[jkk_g][1] = d.jkk_g;
    F[pek][1] = d.pek;
    struct paar {
        int q;
        const monatsfeld& x;
    };
    const paar paare[] = {
        {jek_g, d.ek_g},       {jek, d.ek_lv},        {eta, d.etam},
        {ztk, d.tf},           {tf_s, d.tf_s},        {copwe, d.copwe},
        {copww, d.copww},      {er, d.er},            {esa, d.esa},
        {ls, d.ls},
        {volluft, d.volluft},  {a1_skm_oben, d.a1_skm_oben}, {a3_erz, d.a3_erz},
        {v_luft, d.v_luft},    {eg, d.eg},            {tz, d.tz},
        {msp_max_puffer, d.msp_max_puffer}, {msp_next_puffer, d.msp_next_puffer},
        {msp_max_lang, d.msp_max_lang},     {msp_next_lang, d.msp_next_lang},
        {speiv_puffer, d.speiver_puffer},   {speiv_lang, d.speiver_lang},
        {lspwt, d.lspwt},      {agwt, d.agwt},        {etagwt, d.etagwt},
        {flz, d.flz},          {zpk, d.elp},          {zpk_l, d.elp_l},
        {zv, d.zv},            {ms, d.ms},            {zei, d.zei},
        {nh, d.nh_lv},         {ok, d.ok_lv},         {lnh, d.lnh},
        {lpu, d.lpu},          {lpu_l, d.lpu_l},      {lok, d.lok},
        {lges, d.lges},        {vwp, d.vwp},          {ph, d.ph},
        {pt, d.pt},            {ereif, d.ereif},      {preis, d.preis},
        {teinv, d.tein},       {tev, d.te},
    };
    for (const paar& p : paare) F[p.q][m] = p.x[m];
    // The year evaluation weights the monthly efficiency `eta` with this
    // irradiation and divides by the yearly irradiation of the same plane.
    r.ir[m] = vdatz[zdata::ir][m];
    r.feldns_puffer[m] = d.e_next_puffer[m];
    r.feldns_lang[m] = d.e_next_lang[m];
    r.wp_waerme_ww[m] = d.wp_waerme_ww[m];
    r.wp_strom_ww[m] = d.wp_strom_ww[m];
    r.wp_waerme_we[m] = d.wp_waerme_we[m];
    r.wp_strom_we[m] = d.wp_strom_we[m];

    const intervallfeld* const reihen[17] = {
        nullptr,        &d3.lnh,     &d3.lok,     &d3.lpu,    &d3.vwp,
        &d3.ph,         &d3.pt,      &d3.zv,      &d3.volluft, &d3.msp_next_puffer,
        &d3.msp_next_lang, &d3.zwischenspeicher_fuellstand, &d3.lspwt, &d3.agwt,
        &d3.etagwt,     &d3.equer_verbrauch, &d3.tein};
    const int anzahl = intervalle(m);
    for (int s = 1; s <= anzahl; ++s) {
        const double ho = p[zdata::ho][m][s];
        r.feld3[0][m][s] = ho != 0.0 ? d3.zei[m][s] / ho : 0.0;
        for (int k = 1; k < 17; ++k) r.feld3[k][m][s] = (*reihen[k])[m][s];
        r.feld3[17][m][s] = (d3.wpausflag[s] != u'J' && A != 0.0) ? 1.0 : 0.0;
    }
}

double monatsabschluss(flagchar numchar, ::datm& r, datz& vdatz, int modus, int m, double A,
                       anlage& a, const datt& vdatt, ::date3& d3, ::date& d, const datz3& p) {
    bilanzsummen summen;
    monatsstart_summen(a, m, d, d3, summen);
    const int anzahl = intervalle(m);
    for (int s = 1; s <= anzahl; ++s) {
        intervallbilanz b(numchar, m, s, a, d, d3, p, vdatz, vdatt, A,
                          zustand::stoffdaten().kaeltemittel_record);
        energiebilanz_intervall(b, summen);
    }
    kopiere_anlage_speicher(a, d.arrayspeicher_mon[m], 'N');
    speicher_monatsende(a, m, zustand::monatstart(), d, vdatz, modus, numchar, r);
    if (A > 0.0 || numchar[ndata::kopplungsart] == "L" || numchar[ndata::kopplungsart] == "E") {
        pumpenenergie_monat(m, A, a, numchar, vdatt, d, d3);
    } else {
        d.elp[m] = 0.0;
    }
    return heizung_monatsbilanz(numchar, vdatt, m, d);
}

void monatssummen(const flagchar& numchar, const datz& vdatz, ::date& d, const datz3& p,
                  const datt& vdatt, ::date3& d3, double v, double& ziel, double& aktuell,
                  double& bester, ::datm& r, int m, double A) {
    const bool mehr_als_geplant = d.es[m] > vdatz[zdata::ewv][m] && numchar[ndata::zeitraum] == "M";
    if (aktuell > bester && !mehr_als_geplant) return;
    intervalle_zu_monat(d, d3, vdatz, m, A, p);
    // The store-exchanger lengths are evaluated whenever collectors are
    // installed; the store's geometry is the plant's (plant 0).
    verbrauch_monat(m, A, A, numchar, vdatt, vdatz, p, zustand::anlage(0).pufferspeicher, d, d3);
    bester = aktuell;
    ziel = v;
    monat_in_laufergebnis(d, d3, vdatz, p, r, m, A);
}
