#pragma once
// Stratified heat stores. A store's content is a chain of water layers, each
// with its own volume and temperature, hottest first (rspeicher::schichten,
// whose front element is the record's first layer). Charging heats the layers
// colder than the charging temperature from the top down, discharging cools
// the hottest layers to a floor temperature (directly or through the ww heat
// pump), and surface losses cool the upper layers. Layers are split when only
// part of one is used and merged when neighbours reach the same temperature.

#include <list>

#include "engine/WP_variables.h"

// Bookings that store operations hand to the interval energy balance.
class energiebilanz_buchungen {
public:
    virtual ~energiebilanz_buchungen() = default;
    // Heat and heat-pump electricity for the part C of the demand that the
    // collector covers (booked for real).
    virtual void kollektor_deckung_buchen(int m, int s, double C) = 0;
    // Supplementary-heating split: extra heat and the final energy it costs.
    // modus 'N' books for real, any other value virtually.
    virtual void zusatzheizung_buchen(int m, int s, char modus, double waerme,
                                      double endenergie) = 0;
    // Heat delivered and electricity taken by heat pump 'W' (ww) or 'E' (we)
    // in a real booking; only counted for the seasonal performance factors.
    virtual void waermepumpe_buchen(int m, int s, char pumpe, double waerme, double strom) {
        (void)m, (void)s, (void)pumpe, (void)waerme, (void)strom;
    }
};

using schichtkette = std::list<schicht>;

// ---------------------------------------------------------------------------
// Chain operations
// ---------------------------------------------------------------------------
// Inserts a layer directly after `nach` and returns it.
schichtkette::iterator schicht_einfuegen(schichtkette& kette, schichtkette::iterator nach,
                                         double temperatur, double masse);
// Orders the chain by strictly decreasing temperature and merges layers of
// equal temperature and layers of volume 0 into their upper neighbour.
void sortiere_schichten(rspeicher& inhalt);
// Copies the content (chain, estore; eminus := 0); flag 'Y' also copies
// spmax, vspei, spwspei, rospei, tmin, tmax.
void kopiere_speicher(const speicher& quelle, speicher& ziel, char flag);
// Buffer and long-term store, and the night energy.
void kopiere_anlage_speicher(const anlage& quelle, anlage& ziel, char flag);
// One layer at T0 with volume spmax (voll > 0) or 0; estore, eminus, mtwv := 0.
void setze_speicher_zurueck(speicher& sp, double voll, double t0);
void setze_anlage_speicher_zurueck(anlage& pl, double voll, double t0);

// ---------------------------------------------------------------------------
// Energy queries (kWh)
// ---------------------------------------------------------------------------
// spwspei * rospei * (t2 - t1) * V / 3 600 000.
double schichtenergie(const speicher& sp, double volumen, double t2, double t1);
// Heat of the layers hotter than x, down to x.
double energie_ueber(const speicher& sp, double x);
// Heat needed to bring the layers below the last one at or above x up to x.
double energie_bis(const speicher& sp, double x);
// Volume-weighted temperature over spmax; 0 when spmax <= 0.
double mittlere_temperatur(const speicher& sp);
// Volume that holds E between t_low and t_high. t_high < t_low: warning, 0.
double volumen_fuer_energie(const speicher& sp, double t_low, double t_high, double E,
                            const flagchar& numchar);

// ---------------------------------------------------------------------------
// Charge, discharge, losses
// ---------------------------------------------------------------------------
// Charges E_in at T_in; returns the stored energy, `ueberlauf` the part that
// found no colder layer. With intermediate coupling (numchar[ndata::kopplungstyp] = "Z") the
// stored heat is booked through the ww heat pump.
double lade_speicher(speicher& sp, double e_in, double t_in, double& ueberlauf, int m, int s,
                     const flagchar& numchar, energiebilanz_buchungen& buchungen);

struct speicher_entnahme {
    double aus_speicher = 0.0;  // heat taken from the store
    double zusatz = 0.0;        // extra heat (way 'D') or heat-pump electricity (way 'W')
    double rest = 0.0;          // demand left uncovered
};

// Discharges up to E_need, hottest layers first, down to t_floor, delivering
// at t_max. weg 'D': directly (colder layers lifted to t_max by extra heat);
// 'W': through the ww heat pump. bestaetigen 'N' changes the layers, any
// other value only evaluates. The extra heat goes to the supplementary split.
// `fluid`: the heat pumps' refrigerant (for the ww pump's COP).
speicher_entnahme entlade_speicher(speicher& sp, double e_bedarf, double t_boden, double t_max, char weg,
                                   char bestaetigen, int m, int s, const flagchar& numchar, const datt& vdatt,
                                   const datz& vdatz, ::date& d, ::date3& d3,
                                   energiebilanz_buchungen& buchungen, const kaeltemittel& fluid);

// Surface losses of interval s (ho hours) of the buffer and the long-term
// store, surroundings at rwv[m]; only the first 10 layers lose heat.
void speicher_verluste(anlage& pl, int m, int s, double ho, const datz& vdatz, ::date3& d3);
// Surface losses of both stores over the night hours of month m
// ((24 - tg[m]) * tage), only for detailed irradiation (numchar[ndata::strahlungsherkunft] = "D").
void speicher_nachtverluste(anlage& pl, int m, const datz& vdatz, const flagchar& numchar,
                            int tage);

// ---------------------------------------------------------------------------
// Month start and end
// ---------------------------------------------------------------------------
// In the start month `startmonat` of the run the stores are reset (at
// rwv[m]); otherwise they are restored from the previous month's end-of-month
// snapshot (datm with yearly resolution numchar[ndata::zeitraum] = "J", else
// the run's date record).
void speicher_monatsanfang(anlage& pl, int m, int startmonat, double voll, const datz& vdatz,
                           const flagchar& numchar, const ::date& d, const ::datm& dm);
// Month-end figures of the stores into d; with pruefen > 0 the balance check.
// Returns the change of the stored energy against the previous month.
double speicher_monatsende(anlage& pl, int m, int startmonat, ::date& d, const datz& vdatz, int pruefen,
                           const flagchar& numchar, const ::datm& dm);
