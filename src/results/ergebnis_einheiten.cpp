#include "results/ergebnis_einheiten.h"

#include <array>

#include "data/einheiten.h"
#include "lang/groessentexte.h"

static_assert(ANZ_ERGEBNISGROESSEN == ANZ_ADATA && ANZ_INTERVALLREIHEN == ANZ_FELD3,
              "the texts name every result quantity");

namespace {

constexpr int ENERGIE_AUSGABE = -1;  // zpk, zpk_l: program unit = output unit of energy

std::array<int, ANZ_ADATA> zuordnung() {
    std::array<int, ANZ_ADATA> g{};
    g.fill(groesse::keine_einheit);
    using namespace adata;
    for (int q : {jkk, jkk_g, jek, jek_g, er, nh, ok, esa, ls, eg, ereif, speiv_puffer, speiv_lang})
        g[q] = groesse::energie;
    for (int q : {ph, pt}) g[q] = groesse::druck;
    g[lspwt] = groesse::laenge;
    for (int q : {flz, flz_ee, flz_ges_heiz, bf, agwt}) g[q] = groesse::flaeche;
    for (int q : {ztk, tf_s, tz, msp_max_puffer, msp_max_lang, teinv, tev}) g[q] = groesse::temperatur;
    for (int q : {lpu, lpu_l, lnh, lok, lges}) g[q] = groesse::leistung;
    for (int q : {ms, msp_next_puffer, msp_next_lang, speiv_edt}) g[q] = groesse::volumen;
    for (int q : {zv, vwp}) g[q] = groesse::volumenstrom_traeger;
    g[volluft] = groesse::volumenstrom_luft;
    g[zei] = groesse::zeit;
    g[theta] = groesse::winkel;
    g[v_luft] = groesse::geschwindigkeit;
    for (int q : {pek, preis}) g[q] = groesse::preis;
    for (int q : {etawicht, jok, eta}) g[q] = groesse::anteil;
    for (int q : {zpk, zpk_l}) g[q] = ENERGIE_AUSGABE;
    return g;
}

const std::array<int, ANZ_FELD3> INTERVALLGROESSEN{groesse::zeit,
                                                   groesse::leistung,
                                                   groesse::leistung,
                                                   groesse::leistung,
                                                   groesse::volumenstrom_traeger,
                                                   groesse::druck,
                                                   groesse::druck,
                                                   groesse::volumenstrom_traeger,
                                                   groesse::volumenstrom_luft,
                                                   groesse::volumen,
                                                   groesse::volumen,
                                                   groesse::volumen,
                                                   groesse::laenge,
                                                   groesse::flaeche,
                                                   groesse::anteil,
                                                   groesse::energie,
                                                   groesse::temperatur,
                                                   groesse::keine_einheit};

constexpr std::array<int, 46> MONATLICH{adata::jek,
                                        adata::jek_g,
                                        adata::er,
                                        adata::nh,
                                        adata::ok,
                                        adata::esa,
                                        adata::ls,
                                        adata::zpk,
                                        adata::zpk_l,
                                        adata::eg,
                                        adata::eta,
                                        adata::ztk,
                                        adata::tf_s,
                                        adata::teinv,
                                        adata::tev,
                                        adata::lpu,
                                        adata::lpu_l,
                                        adata::lnh,
                                        adata::lok,
                                        adata::lges,
                                        adata::copwe,
                                        adata::copww,
                                        adata::vwp,
                                        adata::pt,
                                        adata::ph,
                                        adata::ereif,
                                        adata::zv,
                                        adata::ms,
                                        adata::zei,
                                        adata::volluft,
                                        adata::lspwt,
                                        adata::agwt,
                                        adata::etagwt,
                                        adata::speiv_puffer,
                                        adata::speiv_lang,
                                        adata::speiv_edt,
                                        adata::msp_max_puffer,
                                        adata::msp_next_puffer,
                                        adata::msp_max_lang,
                                        adata::msp_next_lang,
                                        adata::preis,
                                        adata::degra_ww_m,
                                        adata::degra_m,
                                        adata::a1_skm_oben,
                                        adata::a3_erz,
                                        adata::v_luft};

constexpr std::array<int, 13> JAEHRLICH{
    adata::jkk,      adata::pek,        adata::flz,    adata::flz_ee, adata::flz_ges_heiz,
    adata::etawicht, adata::jaz_ww,     adata::jaz_we, adata::jok,    adata::theta,
    adata::bf,       adata::degra_ww_j, adata::degra_j};

void setze_einheiten(int g, std::string& programm, std::string& ausgabe, std::string& code,
                     umrechnen_struct& u) {
    const auto& h = haupteinheiten();
    const Einheit_struct& e = h[static_cast<size_t>(g < 0 ? groesse::energie : g)];
    programm = g < 0 ? e.ausgabe : e.haupteinheit;
    ausgabe = e.ausgabe;
    code = e.kennzeichen;
    u = umrechnungsfaktor(programm, ausgabe, code, 0);
}

}  // namespace

int groesse_von_ergebnis(int q) {
    static const auto g = zuordnung();
    const int x = g.at(static_cast<size_t>(q));
    return x < 0 ? groesse::energie : x;
}

int groesse_von_intervallreihe(int k) { return INTERVALLGROESSEN.at(static_cast<size_t>(k)); }

void definiere_Ausgabeeinheiten(datm& d) {
    static const auto g = zuordnung();
    for (int q = 0; q < ANZ_ADATA; ++q)
        setze_einheiten(g[static_cast<size_t>(q)], d.programm_einheit[q], d.ausgabe_einheit[q],
                        d.kennzeichen[q], d.umrechnen[q]);
    for (int k = 0; k < ANZ_FELD3; ++k)
        setze_einheiten(INTERVALLGROESSEN[static_cast<size_t>(k)], d.programm_einheit_3[k],
                        d.ausgabe_einheit_3[k], d.kennzeichen_3[k], d.umrechnen_3[k]);
}

void definiere_beschriftungen_mit_einheit(datm& d) {
    for (int q = 0; q < ANZ_ADATA; ++q)
        d.beschriftung[q] = beschriftung_mit_einheit(ergebnistitel(q).text(), d.ausgabe_einheit[q]);
    for (int k = 0; k < ANZ_FELD3; ++k)
        d.beschriftung_3[k] = beschriftung_mit_einheit(intervalltitel(k).text(), d.ausgabe_einheit_3[k]);
}

anzeige_reihenfolge& reihenfolge() {
    static anzeige_reihenfolge r;
    return r;
}

void reihenfolge_anzeige(const datm& d) {
    anzeige_reihenfolge& r = reihenfolge();
    r.monatlich.clear();
    r.jaehrlich.clear();
    r.monatlich_groessen.assign(MONATLICH.begin(), MONATLICH.end());
    r.jaehrlich_groessen.assign(JAEHRLICH.begin(), JAEHRLICH.end());
    for (int q : MONATLICH) r.monatlich.emplace_back(d.beschriftung[q], ergebniskuerzel(q));
    for (int q : JAEHRLICH) r.jaehrlich.emplace_back(d.beschriftung[q], ergebniskuerzel(q));
}
