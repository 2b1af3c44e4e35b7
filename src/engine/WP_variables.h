#pragma once
// The simulation state: every record the engine reads and writes, and the two
// process-wide state objects `tv` (general state) and `Tvg` (series state).
//
// Index conventions at every interface: months 1..12, intervals 1..800.
// Per-month and per-interval arrays carry one spare slot at index 0 so that
// formulas read as written. Configuration positions, parameter vectors and
// enumerations are 0-based.

#include <array>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "data/einheit_struct.h"

// ---------------------------------------------------------------------------
// Dimensions
// ---------------------------------------------------------------------------
constexpr int MAXMONAT = 12;
constexpr int MAXINTERVALL = 800;  // inner dimension of every per-interval array
constexpr int ANZ_NUMCHAR = 39;
constexpr int ANZ_DATT = 112;
constexpr int ANZ_ZDATA = 39;
constexpr int ANZ_ZDATA3 = 17;     // per-interval inputs is0..tein
constexpr int ANZ_ADATA = 61;
constexpr int ANZ_FELD3 = 18;      // per-interval result series of datm
constexpr int ANZ_ANLAGEN = 8;
constexpr int ANZ_DATE_SERIE = 7;
constexpr int MAXGRAPHPUNKTE = 2000;
constexpr int MAXKURVEN = 6;
constexpr int ANZ_DAMPFTAFEL = 500;
constexpr int ANZ_STOFFDATEN_LUFT = 600;

// ---------------------------------------------------------------------------
// Basic array types
// ---------------------------------------------------------------------------
using monatsfeld = std::array<double, MAXMONAT + 1>;                  // [1..12]
using intervallzeile = std::array<double, MAXINTERVALL + 1>;          // [1..800]
using intervallfeld = std::array<intervallzeile, MAXMONAT + 1>;       // [1..12][1..800]
using intervallflags = std::array<char16_t, MAXINTERVALL + 1>;        // [1..800]
using intervallflagfeld = std::array<intervallflags, MAXMONAT + 1>;  // [1..12][1..800]

// Configuration code set: 39 short codes, positions 0..38, compared exactly.
using flagchar = std::array<std::string, ANZ_NUMCHAR>;

// Positions of numchar: code reads `numchar[ndata::kopplungsart]`. The letter
// follows the family of zdata (rows of datz) and adata (rows of datm.feld);
// the namespace keeps the short names from colliding with the many locals and
// functions of the same words. Positions 0-30 come from the site data set,
// 31-38 are set by the run entry points and the control loop.
namespace ndata {
enum : int {
    zeitraum = 0,                 // "I" intervals, "M" months, "J" year: time resolution of the run
    unbenutzt_1 = 1,              // not used
    unbenutzt_2 = 2,              // not used
    rechenart = 3,                // "A" analytic step; "V" speed, "T" temperature, "M" both: time-step methods
    unbenutzt_4 = 4,              // not used
    unbenutzt_5 = 5,              // not used
    heizung = 6,                  // "J" space heating with sun, "N" without (hot water only)
    kopplungstyp = 7,             // "E" end-reservoir coupling, "Z" intermediate coupling (types Z and L)
    luftwaermetauscher = 8,       // "L" intermediate coupling with air heat exchanger, "N" otherwise
    kaltwassertemp = 9,           // "W" return temperature, "E" ground temperature as cold-water temperature
    ohne_kopplung = 10,           // uncoupled source: "L" air, "E" ground collector, "G" gas, "K" electric, "F" district heat
    anzahl_kollektoren = 11,      // "E" one collector (upper only), "Z" two collectors in series
    modelltyp_we = 12,            // model of the we (main) heat pump: "L" linear, "H" hyperbolic, "A" analytic, "4" polynomial
    modelltyp_ww = 13,            // model of the ww (intermediate) heat pump, same codes
    antrieb_we = 14,              // drive of the we heat pump: "E" electric, "W" heat engine
    antrieb_ww = 15,              // drive of the ww heat pump: "E" electric, "W" heat engine
    optimierung = 16,             // optimisation target: "P" price, "K" total energy, "A" local energy
    sortierung = 17,              // sorting of the interval intensities: "D" descending, "U" ascending, "N" none
    unbenutzt_18 = 18,            // not used
    diffusestrahlung = 19,        // "B" compute the diffuse irradiation, "E" read it
    strahlung = 20,               // irradiation values: "N" monthly, "M" mean day of the month, "T" daily, "D" hourly
    zeitintervall = 21,           // interval code of the monthly weather record
    bedarfsdetails = 22,          // "D" when the demand details of ew and eh are both given per interval ("A..."), else "N"
    strahlungsherkunft = 23,      // "A" irradiation from averages, "D" from detailed values (set while preparing it)
    schaltjahr = 24,              // "Y" when the weather record's measurement year is a leap year
    kopplungsart = 25,            // intermediate coupling: "A", "K", "L", "F", "E" reservoir kinds, "DK"/"DKF" direct coupling
    gegenstrom = 26,              // heat exchanger: "K" none, "I" ideal, "R" reservoir (kernel in blocks), "G" counter-flow
    druckabfallmodell = 27,       // "D" analytic pressure drop, "L" fitted pump power
    speicherfolge = 28,           // "V" store first, "N" withdraw first, "S" consume first
    unbenutzt_29 = 29,            // not used
    energiebedarfintervall = 30,  // "S" optimise for storage energy, "V" optimise for consumption
    meldungsmodus = 31,           // "M" messages as dialogs; any other value (data reading uses "S") to the protocol
    messmodus = 32,               // control run: "J" measuring mode (clock and devices), "N" test mode
    laufart = 33,                 // "N" optimisation run, "Y" single simulation (a control run passes its own)
    stopp = 34,                   // "N" before the area loop; "J" when the control file says "STOP"
    einstrahlung_berechnen = 35,  // "J" reading the data set also computes the irradiation on the collector plane
    kollektorschritt_fertig = 36, // "J" the collector part of the interval is done (booking of the coupling energy)
    unbenutzt_37 = 37,            // constant "N"; read nowhere
    kontrolllauf = 38,            // "J" control run, "N" otherwise
};
}  // namespace ndata
static_assert(ndata::kontrolllauf == ANZ_NUMCHAR - 1);

// ---------------------------------------------------------------------------
// Value cell
// ---------------------------------------------------------------------------
struct daten_einheit {
    double wert = 0.0;            // value in the main unit
    std::string eingabe_einheit;  // unit in which it was entered
    std::string haupt_einheit;    // main unit used in computation
    std::string ausgabeeinheit;   // unit for display and result files
};

// ---------------------------------------------------------------------------
// Plant components
// ---------------------------------------------------------------------------
struct schicht {
    double masse = 0.0;
    double temperatur = 0.0;
};

// Store content: the layer chain starts with the `first` layer, which belongs
// to the record; further layers follow it. The chain is a std::list whose
// front element is `first`: iterators stay valid on insert-after and remove,
// and cutting the chain back (`kette_zuruecksetzen`) never removes the front.
struct rspeicher {
    double estore = 0.0;
    double estoremax = 0.0;
    double eminus = 0.0;
    double mtwv = 0.0;
    std::list<schicht> schichten{schicht{}};

    schicht& first() { return schichten.front(); }
    const schicht& first() const { return schichten.front(); }
    // Makes the chain consist of its first layer only.
    void kette_zuruecksetzen() { schichten.resize(1); }
};

struct speicher {
    daten_einheit spmax, radius, vspei, spwspei, rospei, tmax, tmin, speiv, t_spei, rohr_innen,
        rohr_aussen, WTlaenge, alpha;
    rspeicher inhalt;
    daten_einheit austauschflaeche, fuellstand;
};

struct kollektor {
    daten_einheit daf, breite, laenge, hoehe, bul, skm, skb, skg, ak, b;
    int32_t m = 0;
    char16_t rohrverlegung = u' ';
    daten_einheit pmax, windtkoef, windkoef, RelFlaecheOben, RelFlaecheUnten;
};

struct ssq {
    std::string dac_typ;
    std::string breakout_type;
    double maximalstrom = 0.0;
    double maximalspannung = 0.0;
};

struct waermepumpe {
    daten_einheit wpm, wpb, wpg, wpd, wpexp, wpank, wpeta, cwp, wpminq, wpmaxq, wpv0vk, wpv0, pmaxt,
        pmaxh, regelbereich;
    char16_t waermepumpe_steuerung = u' ';
    daten_einheit maximalstrom, maximalspannung;
    ssq strom_spannungs_quelle;
    daten_einheit expt;
};

struct stoffdaten_luft {
    std::array<double, ANZ_STOFFDATEN_LUFT> vstoffdatenluft{};  // 6 columns x 100 rows
    std::array<double, 6> vluftdaten{};
    double tmin = 0.0;
    double tmax = 0.0;
};

struct kaeltemittel {
    daten_einheit dichte, spezifische_waerme_cpg, spezifische_waerme_cvg, spezifische_waerme_cpf,
        gefrierpunkt, nue, mol;
    double tmin = 0.0;
    double tmax = 0.0;
    std::array<double, ANZ_DAMPFTAFEL> vdampftafeldata{};
    stoffdaten_luft stoffdaten_fluid_record;
    int32_t imaxdampf = 0;
};

struct stoffdaten {
    stoffdaten_luft stoffdaten_luft_record;
    stoffdaten_luft stoffdaten_speicher_record;
    kaeltemittel kaeltemittel_record;
};

struct ventilator {
    daten_einheit hoeheventilator, maximalspannung, maxvolstrom;
    ssq strom_spannungs_quelle;
};

struct pumpe {
    daten_einheit maximalspannung, maximalstrom, maximaldurchfluss;
    char16_t pumpe_steuerung = u' ';
    ssq strom_spannungs_quelle;
};

struct rohrleitungen {
    daten_einheit laenge_speicher_kollektor, laenge_kollektor_speicher, hoehe_kollektor_pumpe, ag,
        pmax;
};

struct gegenstrom_waermetauscher {
    daten_einheit rohr_aussen_D3, rohr_aussen_D2, rohr_innen_D1, rohr_innen_d2, rohr_mitte_d1,
        wt_laenge, austauschflaeche;
    int32_t anzahl = 0;
    daten_einheit alpha;
    std::string metall;
    std::string typ;
};

// One plant with all its components.
struct anlage {
    speicher langzeitspeicher;
    speicher zwischenspeicher;
    speicher pufferspeicher;
    kollektor oberer_kollektor, unterer_kollektor;
    rohrleitungen rohre;
    gegenstrom_waermetauscher gegenstromwt;
    kaeltemittel kaeltemittel_kollektoren, kaeltemittel_waermepumpe, kaeltemittel_speicher;
    int32_t n = 0;  // collector units of the current area step
    waermepumpe zwischen_waermepumpe, erd_waermepumpe;
    double nachtenergie = 0.0;
    ventilator kollektorventilator;
    pumpe umwaelzpumpe;
    ssq strom_spannungs_quelle;
    int32_t Wetterstation_com = 0, Umwaelzpumpe_com = 0, ventilator_com = 0, sensoren_com = 0;
    bool kein_anschluss_com_W = false, kein_anschluss_com_U = false, kein_anschluss_com_V = false,
         kein_anschluss_com_S = false, kein_anschluss_com = false;
};

// Makes the long-term store's and the buffer store's layer chains consist of
// their first layer only.
void setze_speicherketten_zurueck(anlage& a);

// ---------------------------------------------------------------------------
// Scalar parameters and monthly inputs
// ---------------------------------------------------------------------------
using datt = std::array<double, ANZ_DATT>;

// Positions of vdatt that the program fills or reads, in main units: code reads
// `vdatt[tdata::daf]` (t as in datt, the family of zdata and adata). The site
// loader fills them; a few are working values of the run (marked). The
// positions without a name are listed in tdata::unbenutzt.
namespace tdata {
enum : int {
    // Fluid of the collector loop (`waerme` row of ko.name_wt_kollektor).
    kollektorfluid_cpf = 0,          // specific heat of the liquid
    kollektorfluid_cpg = 1,          // specific heat of the gas at constant pressure
    kollektorfluid_cvg = 2,          // derived molar value cpg * molecular weight - konst::GASKONSTANTE
    kollektorfluid_dichte = 3,       // density
    kollektorfluid_mol = 4,          // molecular weight
    kollektorfluid_gefrierpunkt = 5, // freezing point (°C)
    kollektorfluid_nue = 6,          // kinematic viscosity = dynamic viscosity / density
    eta_luftwt = 14,                 // efficiency of the air heat exchanger; 0 for coupling kinds A, K, F, DK
    eta_gegenstromwt = 15,           // efficiency of the counter-flow heat exchanger
    relpump_luft = 16,               // relative fan power of the air side
    eta_gas = 17,                    // efficiency of the gas heating
    relpump_kol_unten = 18,          // relative pump power of the lower collector
    relpump_kol_oben = 19,           // relative pump power of the upper collector
    relpump_feld = 20,               // relative pump power of the collector field (upper, or upper + lower)
    zellmodulflaeche = 21,           // area of one solar-cell module (set by the cost calculation)
    eta_zelle = 22,                  // solar-cell efficiency; divisor of the yearly collector ratios
    // COP coefficients of the ww (intermediate) heat pump: c1, c2 of the linear
    // and hyperbolic models, c1..c7 of the polynomial (the ww COP uses c1..c4).
    ww_c1 = 23,
    ww_c2 = 24,
    ww_c3 = 25,
    ww_c4 = 26,
    ww_c5 = 27,
    ww_c6 = 28,
    ww_c7 = 29,
    we_exponent = 30,                // exponent of the polynomial model, we heat pump
    // COP coefficients of the we (main) heat pump, as for the ww pump.
    we_c1 = 31,
    we_c2 = 32,
    we_c3 = 33,
    we_c4 = 34,
    we_c5 = 35,
    we_c6 = 36,
    we_c7 = 37,
    ww_exponent = 38,                // exponent of the polynomial model, ww heat pump
    we_abwaerme = 39,                // waste-heat use coefficient of the we heat pump (0 unless heat-engine drive)
    ww_abwaerme = 40,                // waste-heat use coefficient of the ww heat pump
    we_eta = 41,                     // efficiency of the we heat pump's drive (1 for electric drive)
    ww_eta = 42,                     // efficiency of the ww heat pump's drive (1 for electric drive)
    ww_leistung = 43,                // nominal power of the ww heat pump; the run sets it per power step
    we_leistung = 44,                // nominal power of the we heat pump
    wp_leistung_min = 45,            // lower end of the control range of the heat pump read last (we)
    wp_leistung_max = 46,            // upper end of that control range
    ww_minq = 47,                    // smallest exchanger area of the ww heat pump
    ww_maxq = 48,                    // largest exchanger area of the ww heat pump
    we_minq = 49,                    // smallest exchanger area of the we heat pump
    we_maxq = 50,                    // largest exchanger area of the we heat pump
    ww_vkv0_kehrwert = 51,           // 1 / compression ratio vkv0 of the ww heat pump (analytic model)
    ww_v0 = 52,                      // displacement v0 of the ww heat pump (analytic model)
    we_vkv0_kehrwert = 53,           // 1 / compression ratio vkv0 of the we heat pump (analytic model)
    we_v0 = 54,                      // displacement v0 of the we heat pump (analytic model)
    // Fluid of the heat pump (`waerme` row of ko.name_wt_wp), same order as the collector fluid.
    wpfluid_cpf = 55,
    wpfluid_cpg = 56,
    wpfluid_cvg = 57,                // molar value; every fluid read writes its own here, so it ends as the store fluid's
    wpfluid_dichte = 58,
    wpfluid_mol = 59,
    wpfluid_gefrierpunkt = 60,
    wpfluid_nue = 61,
    // Fluid of the store record (the heat-pump fluid again), same order.
    speicherfluid_cpf = 62,
    speicherfluid_cpg = 63,
    speicherfluid_cvg = 64,
    speicherfluid_dichte = 65,
    speicherfluid_mol = 66,
    speicherfluid_gefrierpunkt = 67,
    speicherfluid_nue = 68,
    preis_nachheizung = 70,          // energy price of the auxiliary heating (per kWh)
    preis_ohne_kopplung = 71,        // energy price of the uncoupled heating (per kWh)
    preis_pumpenstrom = 72,          // price of the pumps' electricity (per kWh)
    eta_kraftwerk = 73,              // efficiency of the power plant behind electric drives
    kraftwerk_abwaerme = 74,         // waste-heat use coefficient of the power plant (always 0)
    flaeche_kol_unten = 75,          // area of the lower collector
    flaeche_kol_oben = 76,           // area of the upper collector
    daf = 77,                        // area of one collector unit: upper, or upper + lower; units = area / daf
    kol_oben_verlust = 80,           // upper collector: linear loss term
    kol_oben_konversion = 81,        // upper collector: conversion factor eta0
    kol_oben_quadratisch = 82,       // upper collector: quadratic loss term
    kol_unten_verlust = 83,          // lower collector: linear loss term
    kol_unten_konversion = 84,       // lower collector: conversion factor eta0
    kol_unten_quadratisch = 85,      // lower collector: quadratic loss term
    feld_verlust = 86,               // run: loss term of the whole collector field
    feld_konversion = 87,            // run: conversion factor of the whole collector field
    bodenabsorption = 88,            // ground absorption of the site
    reflektion = 89,                 // ground reflection of the site
    phi_g = 91,                      // collector azimuth (degrees)
    theta_s = 92,                    // collector tilt (degrees); the run sets it per tilt step
    lage_kollektorflaeche = 94,      // collector area entered with the site
    mittlerer_wind = 97,             // mean wind speed; per tilt step cos(tilt) times the value at the run's start
    mittlere_feuchte = 98,           // mean relative humidity of the outdoor air
    ee_gesamt = 99,                  // yearly electricity demand without heating; added to the yearly ratios
    reservoirtemperatur = 100,       // fixed reservoir temperature: rech.minexp, then MinPrimär of each pump read
    mindeltatkol = 101,              // smallest collector temperature difference; offset for direct coupling
    zehn_durch_g = 102,              // run: 10 / irradiance of the last efficiency evaluation (0.1 without sun)
    volstrom_luft = 103,             // air volume flow
    waermekapazitaetsstrom = 104,    // run: heat-capacity flow of one collector unit (cpf * density * flow)
    wetter_breite = 105,             // latitude of the weather data
    wetter_laenge = 106,             // longitude of the weather data
    wetter_theta = 107,              // tilt of the irradiation measurement of the weather data
    breitengrad = 108,               // latitude of the site
    laengengrad = 109,               // longitude of the site
    hoehe = 110,                     // height of the site above sea level
};
// Positions of vdatt that nothing fills or reads.
inline constexpr int unbenutzt[] = {7, 8, 9, 10, 11, 12, 13, 69, 78, 79, 90, 93, 95, 96, 111};
}  // namespace tdata
static_assert(tdata::hoehe < ANZ_DATT);

struct datt_gesamt {
    datt vdatt{};
    std::array<std::string, ANZ_DATT> einheit_ausgabe;
    std::array<std::string, ANZ_DATT> name;
    std::array<std::string, ANZ_DATT> beschriftung;
};

// Quantity index of the monthly inputs (and, for is0..tein, of the per-interval inputs).
namespace zdata {
enum : int {
    is0, ir, diff, ref, ir_ex, ta, tt, tamax, tamin, ho, hogn, eh_d, eh, ew, eg_d, ee, tein, ten, tg,
    mtn, gdn, gdt, te, th, rw, rh, tw, tk, zi, ko, kalk, rwv, twv, ewv, ewv_verbrauch, ewv_0,
    ewv_verbrauch_0, spei, la
};
}  // namespace zdata
static_assert(zdata::la == ANZ_ZDATA - 1);
static_assert(zdata::tein == ANZ_ZDATA3 - 1);

using datz = std::array<monatsfeld, ANZ_ZDATA>;  // [zdata][1..12]

struct datz_gesamt {
    datz vdatz{};
    std::array<std::string, ANZ_ZDATA> einheit_ausgabe;
    std::array<std::string, ANZ_ZDATA> beschriftung;
};

using datz3 = std::array<intervallfeld, ANZ_ZDATA3>;  // [is0..tein][1..12][1..800]

// ---------------------------------------------------------------------------
// Results
// ---------------------------------------------------------------------------
// Monthly results of one result set.
struct date {
    monatsfeld er{}, nh{}, ok{}, nh_virtuell{}, ok_virtuell{}, eg{}, es{}, ls{}, esa{}, ereif{},
        ereif_nacht{}, ereif_lv{}, ereif_g{}, e_next_puffer{}, e_next_lang{}, speiver_puffer{},
        speiver_lang{}, copwe{}, copwelok{}, copww{}, etam{}, tf{}, tf_s{}, elp{}, elp_lv{},
        elp_g{}, elp_l{}, elp_l_lv{}, elp_l_g{};
    double jkk = 0.0, jkk_g = 0.0, pek = 0.0;
    monatsfeld ek{}, ek_lv{}, ek_g{}, nh_lv{}, nh_virtuell_lv{}, nh_g{}, nh_virtuell_g{}, ok_lv{},
        ok_virtuell_lv{}, ok_g{}, ok_virtuell_g{}, espeicher_luft{}, espeicher_luft_quot{},
        volluft{}, a1_skm_oben{}, a3_erz{}, v_luft{}, ms{}, msp_max_puffer{}, msp_next_puffer{},
        msp_max_lang{}, msp_next_lang{}, tz{}, vel{}, zv{}, zei{}, vwp{}, ph{}, pt{}, tein{}, te{},
        lnh{}, lok{}, lpu{}, lges{}, lpu_l{}, lspwt{}, etagwt{}, agwt{}, preis{}, flz{};
    std::array<anlage, MAXMONAT + 1> arrayspeicher_mon;  // plant at the end of month [1..12]
    // Heat delivered by and electricity taken by the ww pump and the we pump
    // in the month (kWh, real bookings only): the seasonal performance factors.
    monatsfeld wp_waerme_ww{}, wp_strom_ww{}, wp_waerme_we{}, wp_strom_we{};
};

// The 61 per-interval result quantities, shared by date3 (per interval) and
// date1 (per month). The macro keeps the two records' field lists identical.
#define VARNEK_DATE3_FELDER(X)                                                                   \
    X(pt) X(ph) X(enthalpie) X(vwp) X(alpha) X(uea) X(q_gesamt) X(etagwt) X(copww) X(copwwlok)    \
    X(er) X(er_gesamt) X(es) X(esa) X(ls) X(el) X(el_0) X(el_leistung) X(volluft) X(a1_skm_oben)  \
    X(a3_erz) X(v_luft) X(etam) X(etama) X(tf) X(ta_s) X(te) X(tf_s) X(thoch) X(tein) X(ten)      \
    X(vel) X(zei) X(zv) X(mcg) X(ms) X(elp) X(elp_l) X(nh) X(nh_waerme) X(nh_virtuell) X(ok)      \
    X(ok_waerme) X(ok_virtuell) X(eg) X(lpu) X(lpu_l) X(lnh) X(lok) X(lges) X(wtk) X(vstore)      \
    X(lspwt) X(agwt) X(ereif) X(espeicher) X(zwischenspeicher_fuellstand) X(msp_next_puffer)      \
    X(msp_next_lang) X(speiver_puffer) X(speiver_lang) X(equer_verbrauch)

// Per-interval results [1..12][1..800]; the flags are reused month by month.
struct date3 {
    bool nicht_optimieren = false;
    double datetime_neu = 0.0, datetime_alt = 0.0, datetime_neu_pumpen = 0.0,
           datetime_alt_pumpen = 0.0, summe_kfl = 0.0, summe_hours = 0.0, summe_zenergie = 0.0,
           t_reservoir_alt = 0.0;
    bool steuerflag = false;
    std::string filename_kontrolle;
#define VARNEK_FELD_INTERVALL(name) intervallfeld name{};
    VARNEK_DATE3_FELDER(VARNEK_FELD_INTERVALL)
#undef VARNEK_FELD_INTERVALL
    intervallflags twfflag{}, wpausflag{}, speicherflag{}, cflag{}, endrflag{},
        eta_kleiner_null_flag{};
    intervallflagfeld vstore_flag{};
    double minmc = 0.0, mcl = 0.0;
};

// The same quantities as date3, one value per month; used by the models.
struct date1 {
#define VARNEK_FELD_MONAT(name) monatsfeld name{};
    VARNEK_DATE3_FELDER(VARNEK_FELD_MONAT)
#undef VARNEK_FELD_MONAT
};

// Quantity index of the run results `datm.feld`.
namespace adata {
enum : int {
    jkk, jkk_g, degra_ww_j, pek, flz, flz_ee, flz_ges_heiz, etawicht, jaz_ww, jaz_we, jok, bf,
    theta, jek, jek_g, degra_j, degra_m, degra_ww_m, eta, ztk, tf_s, zpk, zpk_l, copwe, copww, er,
    nh, ok, esa, ls, volluft, a1_skm_oben, a3_erz, v_luft, eg, zv, ms, zei, tz, lpu, lpu_l, lnh,
    lok, vwp, ph, pt, ereif, lges, msp_max_puffer, msp_next_puffer, msp_max_lang, msp_next_lang,
    preis, teinv, tev, lspwt, agwt, etagwt, speiv_puffer, speiv_lang, speiv_edt
};
}  // namespace adata
static_assert(adata::speiv_edt == ANZ_ADATA - 1);

// Run results of one variant (series state) or of the kept variant (general state).
struct datm {
    double ktm = 0.0, etm = 0.0;
    monatsfeld ir{};
    std::array<monatsfeld, ANZ_ADATA> feld{};  // [adata][1..12]
    std::array<std::string, ANZ_ADATA> programm_einheit, ausgabe_einheit, kennzeichen;
    std::array<umrechnen_struct, ANZ_ADATA> umrechnen;
    std::array<umrechnen_struct, ANZ_FELD3> umrechnen_3;
    std::array<std::string, ANZ_ADATA> beschriftung;
    std::array<std::string, ANZ_FELD3> beschriftung_3;
    monatsfeld feldns_puffer{}, feldns_lang{};
    std::array<intervallfeld, ANZ_FELD3> feld3{};  // [0..17][1..12][1..800]
    std::array<std::string, ANZ_FELD3> programm_einheit_3, ausgabe_einheit_3, kennzeichen_3;
    intervallflagfeld feld3c{};
    std::string mout;
    std::array<anlage, MAXMONAT + 1> arrayspeicher_mon;  // [1..12]
    // Heat and electricity of the ww and the we pump per month (kWh), from date.
    monatsfeld wp_waerme_ww{}, wp_strom_ww{}, wp_waerme_we{}, wp_strom_we{};
};

// Chart data of one axis side: up to 6 curves of up to 2000 points.
// Curves are numbered 1..6 and points 1..2000 (slot 0 spare), as in the charts.
struct graphdata {
    using kurvenwerte = std::array<double, MAXKURVEN + 1>;
    using punktfeld = std::array<kurvenwerte, MAXGRAPHPUNKTE + 1>;  // [point][curve]
    std::array<int32_t, MAXKURVEN + 1> anzp{};
    kurvenwerte xmin{}, xmax{}, ymin{}, ymax{};
    punktfeld x{}, y{}, z{};
    std::array<std::string, MAXKURVEN + 1> bildname;
    int32_t anzbild = 0;
    std::string xname, yname, title, info;
};

// Ranges of the area, tilt, power, temperature-difference and `ge` loops
// (filled from table `rech` in main units; the run reads them).
struct laufsteuerung {
    double maxa = 0.0;            // maximum area
    double mina = 0.0;            // minimum area
    int32_t danzflaeche = 1;      // collector units added per area step
    double mintheta = 0.0, maxtheta = 0.0;
    int32_t anztheta = 1;
    double minleistwp = 0.0, maxleistwp = 0.0;
    int32_t anzwp = 1;
    double leistungwp = 0.0;      // heat-pump power of the current parameter step
    double mindeltatkol = 0.0, maxdeltatkol = 0.0;
    double deltatkol_schritt = 0.0;
    int32_t anzdeltatkol = 0;
    int32_t anzvarianten = 0;     // temperature-difference variants in use
    int32_t maxmittemp = 1;       // block length of the interval kernel with counter-flow code "R"
    int32_t anzge = 0;
    double maxwp = 0.0;
    double minge = 0.0, maxge = 0.0;
    // Reference value of a year run: the first year sum the run computed.
    double referenzwert = 0.0;
    bool referenzwert_gesetzt = false;
};

// ---------------------------------------------------------------------------
// The loaded site data set beyond the parameter vectors
// ---------------------------------------------------------------------------
// One detail row of the weather record (table ir_ta_d, key name/monat/nummer).
struct ir_ta_d_zeile {
    int nummer = 0;      // running number within the month, 1..
    double ir_g = 0.0;   // global irradiation (unit einheit_ir)
    double ir_d = 0.0;   // diffuse irradiation (unit einheit_ir)
    double tamin = 0.0;  // minimum temperature; the temperature of an hourly row (einheit_temp)
    double tamax = 0.0;  // maximum temperature (einheit_temp)
    double h = 0.0;      // interval length, hours
    double hm = 0.0;     // hour of day of the row (hourly rows)
};

// What the irradiation computation needs of the site's weather record
// (one row of ir_ta_m with its detail rows), values as stored.
struct wetterdatensatz {
    std::string name;                       // ir_ta_m.name: the main input file name
    double breite = 0.0;  // latitude, degrees (the run passes it as vdatt[tdata::wetter_breite])
    double theta = 0.0;   // tilt at which the record was measured, degrees (vdatt[tdata::wetter_theta])
    std::string einheit_ir;                 // unit of every irradiation value
    std::string einheit_temp;               // unit of every temperature
    monatsfeld ir{}, diff{};                // irm, diffm: global and diffuse of month m
    monatsfeld ta_min{}, ta_max{};          // tamminm, tammaxm
    std::array<int32_t, MAXMONAT + 1> m{};  // mm: number of detail rows of month m
    // Detail rows of month m in order of their running number.
    std::array<std::vector<ir_ta_d_zeile>, MAXMONAT + 1> details;

    // The detail row (month, number), nullptr when the record has none.
    const ir_ta_d_zeile* detailzeile(int monat, int nummer) const;
};

// Unit columns of the current row of the collector data sheet that switch the
// air-side model: "n" in `einalpha` computes the loss coefficient from natural
// convection, "n" in `einwindtkoef` computes `windtkoef` from forced
// convection. Filled by the site loader together with the collector row.
struct kollektorblatt_einheiten {
    std::string einalpha;
    std::string einwindtkoef;
};

// ---------------------------------------------------------------------------
// The two process-wide state records
// ---------------------------------------------------------------------------
struct general_state {
    flagchar numchar;
    datt_gesamt datt_g;
    datz_gesamt datz_g;
    std::array<int32_t, MAXMONAT + 1> n{};  // intervals per month [1..12], 0..800
    int32_t monatstart = 1;
    int32_t startintervall = 1;             // start interval of a control run
    std::array<anlage, ANZ_ANLAGEN> anlagen;
    // Month flags of the long-term store ("Y"/"N", [1..12]): charged in the
    // month, and energy withdrawn in the month.
    std::array<std::string, MAXMONAT + 1> lade_flag, entnehme_flag;
    datm datm_kept;                         // best variant of the current area step
    laufsteuerung lauf;
    stoffdaten stoffe;                      // property tables: air, store fluid, heat-pump refrigerant
    // The site data set loaded last: its name, its weather record (the run
    // lays out the irradiation from it for every tilt step) and the model
    // switches of its collector row.
    std::string datensatzname;
    wetterdatensatz wetter;
    kollektorblatt_einheiten kollektorblatt;
};

struct series_state {
    std::array<datz3, 2> pvdatz3{};  // working series and second series
    std::array<date, ANZ_DATE_SERIE> date_records;
    std::array<date1, 2> date1_records;
    date3 d3;
    datm datm_variante;              // result of the variant just computed
};

// The check marks of a run; the main window shows them.
struct laufmarken {
    bool daten_eingelesen = false;          // "Daten eingelesen"
    bool ausgabefile_angelegt = false;      // "Ausgabefile angelegt"
    bool simulation_durchgefuehrt = false;  // "Simulation durchgeführt"
    bool steuerdatei_eingelesen = false;    // a control data file has been read
};

// The state of one simulation run: the general and the series record (several
// MB of per-interval matrices, allocated with the run) and the scratch record
// the kernels evaluate single intervals in. Every operation of the engine
// works on the run bound to its thread (`laufbindung`); a thread without a
// binding works on the process's own run, so that a program that computes one
// run at a time needs no binding.
class laufzustand {
public:
    laufzustand();
    ~laufzustand();
    laufzustand(const laufzustand&) = delete;
    laufzustand& operator=(const laufzustand&) = delete;
    general_state& allgemein() { return *allgemein_; }
    series_state& serie() { return *serie_; }
    // Scratch month record for the objective value of a single interval.
    ::date& hilfsmonat() { return *hilfsmonat_; }
    laufmarken& marken() { return marken_; }
    // Takes over the whole state of `quelle` (a loaded data set and what the
    // run has prepared), e.g. to compute some of its area steps in another
    // thread.
    void uebernehme(const laufzustand& quelle);

private:
    std::unique_ptr<general_state> allgemein_;
    std::unique_ptr<series_state> serie_;
    std::unique_ptr<::date> hilfsmonat_;
    laufmarken marken_;
};

// The run bound to the calling thread, else the process's own run.
laufzustand& aktueller_lauf();

// Binds a run to the calling thread for the binding's lifetime (bindings nest:
// the previous one comes back at the end).
class laufbindung {
public:
    explicit laufbindung(laufzustand& lauf);
    ~laufbindung();
    laufbindung(const laufbindung&) = delete;
    laufbindung& operator=(const laufbindung&) = delete;

private:
    laufzustand* vorher_;
};

// The two state records of the run bound to the calling thread.
general_state& tv();
series_state& Tvg();

// Accessors, so that operations never name the state objects directly.
namespace zustand {
flagchar& numchar();
datt& vdatt();
datz& vdatz();
datz3& pvdatz3(int k);           // k = 1 working series, k = 2 second series
::date3& date3();
::date& date_serie(int i);       // i = 0..6
::date1& date1_serie(int i);     // i = 0..1
::datm& datm_allgemein();        // general state: kept result
::datm& datm_serie();            // series state: variant result
::anlage& anlage(int i);         // i = 0..7
laufsteuerung& lauf();
int32_t& monatstart();
int32_t& startintervall();
haupteinheiten_tabelle& einheiten_tabelle();
::stoffdaten& stoffdaten();      // property tables of the site (air, store fluid, refrigerant)
// Month flags of the long-term store, [1..12] "Y"/"N": charged in the month,
// and energy withdrawn in the month.
std::array<std::string, MAXMONAT + 1>& lade_flag();
std::array<std::string, MAXMONAT + 1>& entnehme_flag();
std::string& geladener_datensatz();                  // name of the data set loaded last ("" before)
::wetterdatensatz& geladener_wetterdatensatz();      // its weather record
kollektorblatt_einheiten& kollektorblatt();          // its collector row's model switches
// Empties what a run computes and leaves behind (the per-interval series,
// result records, interval flags, month values and store month flags), so
// that a data set loaded after another one computes as in a fresh process.
// Codes, settings, plants and the run control stay.
void laufzustand_leeren();
}  // namespace zustand

// ---------------------------------------------------------------------------
// Calendar
// ---------------------------------------------------------------------------
// Intervals of month m (1..12).
int32_t intervalle(int m);
// Sets the interval count of month m; a count outside 0..800 or a month outside
// 1..12 is refused with a message (severity 'T') and nothing is changed.
void setze_intervalle(int m, int32_t anzahl);
// Days of month m; February has 29 when the weather year is a leap year
// (numchar[ndata::schaltjahr] = "Y").
int tage_im_monat(int m, const flagchar& numchar);
// Month of run step k: k <= 12 gives k, otherwise k - 12.
inline int monat_des_laufschritts(int k) { return k <= 12 ? k : k - 12; }

// ---------------------------------------------------------------------------
// Operations on the state
// ---------------------------------------------------------------------------
// Resets the store chains of plants 0, 1, 2, 3, 5, 6, 7 and of the month plant
// records of both datm records and of the run's month-results record.
void initialisiere_laufrecords(::date& monatsergebnisse);
// Sets jkk, jkk_g, pek and element m of the 39 monthly result arrays to 0.
void loesche_monatsergebnisse(::date& d, int m);
// Sets every element of feld, feldns_puffer and feldns_lang to 0.
void loesche_laufergebnisse(::datm& d);
// Clears the month results of the run's record and of the fourth series-state
// date record, and the 31 per-interval result arrays of date3 (plus vstore_flag).
void loesche_intervallergebnisse(::date& monatsergebnisse);

// Supply temperature of the house in month m from its demand: the hot-water
// temperature tw, or with space heating (numchar[ndata::heizung] = "J") the mean of tw and
// th weighted with the hot-water and heating energies (th without demand).
double vorlauftemperatur_aus_bedarf(const flagchar& numchar, const datz& vdatz, int m);
// The temperature the house is supplied at in month m: twv, except in a month
// that charges the long-term store, whose twv is the store's top temperature.
double vorlauftemperatur_haus(const flagchar& numchar, const datz& vdatz, int m);

// Named conversion constant: only "kWh_in_Ws" (3 600 000) is defined; any other
// key reports "Fehler: Umrechnung nicht definiert" with severity 'T' (abandons).
double umrechnungskonstante(const std::string& schluessel);
// Heat flow to energy in kWh: a * b * (e - c) * f / 3 600 000.
double waermestrom_in_energie(double a, double b, double e, double c, double f);

// Plant-code predicates on numchar[ndata::kopplungsart].
bool ist_direktkopplung(const flagchar& numchar);  // "DK" or "DKF"
bool ist_erzwungen(const flagchar& numchar);       // "DKF" or "F"
