#pragma once
// Hydraulics of the collector loop (pipe friction, bends, static head, the
// collectors' absorber pipework in parallel or in series), the pump and fan
// energies and electric powers of an interval and of a month, the collector
// flow of the time-step kernels and the consistency checks of that flow.

#include <string>

#include "engine/WP_variables.h"

// ---------------------------------------------------------------------------
// Pressure drop (Δp = K Q²)
// ---------------------------------------------------------------------------
double geschwindigkeit_aus_strom(double Q, double d);  // 4 Q / (π d²)
// Friction coefficient of a pipe of diameter d and length L; laminar below
// Re = 2320. 0 for a pipe without cross-section.
double rohr_druckbeiwert(double rho, double nue, double Q, double d, double L);
double statischer_druck(double rho, double h);  // gravity · ρ · h
// 75 d for a small 180° bend ("B180_klein"), 0 for any other kind.
double kruemmer_beiwert(const std::string& art, double d);
// Coefficient of one collector's absorber pipes ('P' parallel, else serial).
double kollektor_druckbeiwert(const kollektor& c, const flagchar& numchar, double d, double rho,
                              double nue, double Q);
// Coefficient of the collector field of one unit (fluid: the collector loop's).
double kollektorfeld_druckbeiwert(const anlage& pl, const flagchar& numchar, double Q);
// Pressure drop of the whole loop for the flow Q of one unit.
double kreis_druckabfall(const anlage& pl, const flagchar& numchar, const datt& vdatt, double Q);

// True when the collector loop runs: an area, or an air ("L") or ground ("E")
// heat exchanger that uses the loop without collectors.
bool kollektorkreis_laeuft(double A, const flagchar& numchar);

// ---------------------------------------------------------------------------
// Pump and fan energy, electric powers
// ---------------------------------------------------------------------------
// elp[m][s] and elp_l[m][s] for the flow Q of one unit; nothing when Q <= 0.
// The pump stops when the collector yields nothing (es + ls = 0) and no air
// heat exchanger needs the loop (numchar[ndata::luftwaermetauscher] = "N").
void pumpe_und_ventilator_intervall(double Q, int m, int s, double A, const anlage& pl,
                                    const flagchar& numchar, const datt& vdatt, ::date3& d3);
// Pump and fan energy of month m and the defrost energy of the month.
void pumpenenergie_monat(int m, double A, const anlage& pl, const flagchar& numchar,
                         const datt& vdatt, ::date& d, ::date3& d3);
// lpu, lpu_l, lnh, lok, lges of interval [m][s] (W when energies are kWh).
void leistungen_intervall(int m, int s, double A, const flagchar& numchar, const datt& vdatt,
                          const datz3& pvdatz3, ::date3& d3);
// Interval powers of month m and their monthly maxima in d; with x > 0 also
// the exchanger length of the buffer store `puffer` for every interval.
void verbrauch_monat(int m, double A, double x, const flagchar& numchar, const datt& vdatt,
                     const datz& vdatz, const datz3& pvdatz3, const speicher& puffer, ::date& d,
                     ::date3& d3);

// ---------------------------------------------------------------------------
// Collector flow
// ---------------------------------------------------------------------------
// One row of the measured table of the control data.
struct messzeile {
    double ta = 0.0;          // measured outdoor temperature
    double is0 = 0.0;         // measured irradiance
    double durchfluss = 0.0;  // flow, m³/s
    double temperatur = 0.0;  // outdoor temperature taken for the interval, °C
};

// The measured table of the control data as the collector flow reads it:
// slices ordered by time, each with rows of measured values.
class steuerdaten_messtabelle {
public:
    virtual ~steuerdaten_messtabelle() = default;
    virtual int anzahl_scheiben() const = 0;
    virtual double scheibenzeit(int k) const = 0;  // k = 1..anzahl_scheiben(), ascending
    virtual int anzahl_zeilen(int k) const = 0;
    virtual messzeile zeile(int k, int r) const = 0;  // r = 1..anzahl_zeilen(k)
    // Time of interval [m][s] on the axis of the slice times.
    virtual double intervallzeit(int m, int s) const = 0;
    // Conversion of the table's units into the main units.
    virtual double durchfluss_in_haupteinheit(double m3_pro_s) const = 0;
    virtual double temperatur_in_haupteinheit(double grad_c) const = 0;
};

// n * vdatt[tdata::kollektorfluid_cpf] * vdatt[tdata::kollektorfluid_dichte] * vel[m][s]: heat-capacity flow of the loop.
double waermekapazitaetsstrom(int m, int s, double A, const datt& vdatt, const ::date3& d3);

// Collector flow per unit of interval [m][s] for `ge` step i (logarithmic
// series from g_min with step delta); sets vel, q_gesamt, mcg and vdatt[tdata::waermekapazitaetsstrom].
// In a measuring control run the flow and outdoor temperature come from the
// measured table (when given). Without a running loop: g_min, nothing set.
double durchfluss_zeitschritt(int m, int s, int i, double g_min, double delta, double A,
                              const flagchar& numchar, datt& vdatt, datz3& pvdatz3, ::date3& d3,
                              const steuerdaten_messtabelle* messtabelle);

// Flow against collector energy (directly coupled plants), ±10 %.
void pruefe_pumpgeschwindigkeit(int m, int s, double A, const flagchar& numchar,
                                const datt& vdatt, const datz3& pvdatz3, const ::date3& d3);
// Flow against the flow that the interval's collector power needs (at most
// the largest flow g_s), ±10 %.
void pruefe_durchfluss(int m, int s, double A, const flagchar& numchar, const datt& vdatt,
                       const datz3& pvdatz3, const ::date3& d3, double g_s);
