#pragma once
// The energy balance of one interval: the collector energy is offered to the
// store of the month, the interval's heat demand is covered from the stores
// directly or through the heat pumps, what is missing is booked as
// supplementary heating, and the whole is checked against what entered.

#include <functional>

#include "engine/WP_variables.h"
#include "engine/models/speicher.h"
#include "engine/monatsaggregation.h"

// Everything one interval balance works on.
struct intervallbilanz : energiebilanz_buchungen {
    intervallbilanz(flagchar& numchar, int m, int s, anlage& a, ::date& d, ::date3& d3,
                    const datz3& pvdatz3, datz& vdatz, const datt& vdatt, double A,
                    const kaeltemittel& fluid)
        : numchar(numchar), m(m), s(s), a(a), d(d), d3(d3), pvdatz3(pvdatz3), vdatz(vdatz),
          vdatt(vdatt), A(A), fluid(fluid) {}

    flagchar& numchar;  // the run's code set (the coupling may change per interval)
    int m, s;
    anlage& a;          // the working plant
    ::date& d;
    ::date3& d3;
    const datz3& pvdatz3;
    datz& vdatz;
    const datt& vdatt;
    double A;
    const kaeltemittel& fluid;  // the heat pumps' refrigerant
    // Recomputes the heat-pump energy split of the interval after the
    // collector energy was scaled by f (intermediate coupling with a control
    // range); set by the collector-loop month solutions.
    std::function<void(int m, int s, double f)> wp_aufteilung_neu;

    // energiebilanz_buchungen
    void kollektor_deckung_buchen(int m, int s, double C) override;
    void zusatzheizung_buchen(int m, int s, char modus, double waerme, double endenergie) override;
    void waermepumpe_buchen(int m, int s, char pumpe, double waerme, double strom) override;
};

// The store of month m: the buffer store unless the month charges the long-term store.
speicher& speicher_des_monats(anlage& a, int m);
// Energy offered to the store (date3.espeicher) and its charge temperature.
double speicherangebot(const flagchar& numchar, int m, int s, ::date3& d3, const datz& vdatz);
// With code "K" the coupling of each interval comes from endrflag.
void kopplung_aus_endrflag(flagchar& numchar, int s, const ::date3& d3);
// Charges the store with offer E (plus extra heat X covering the demand);
// returns the stored energy and scales the collector energies when the store
// could not take all of the offer.
double speicher_laden_intervall(intervallbilanz& b, speicher& sp, double E, double X, double T);
// Caps the collector energy of the interval at L.
void kollektorenergie_begrenzen(intervallbilanz& b, double L);
// Covers energy Q from the long-term store (withdrawal months) and books the
// rest as supplementary heating through the we pump; modus 'N' books for real.
void langzeitspeicher_waermepumpe(intervallbilanz& b, double Q, char modus);
// True unless both sides exceed 1e-5 kWh and (demand + store change + losses)
// over the heat delivered lies outside [0.99, 1.01].
bool intervallbilanz_ausgeglichen(double zugang, double geliefert);
// One interval's balance; the accumulator sums demand, store change, losses
// and heat delivered over the month.
void energiebilanz_intervall(intervallbilanz& b, bilanzsummen& summen);
// With numchar[ndata::energiebedarfintervall] = "S" and x > 0, books the heat the month's store would
// need to reach its charge temperature as virtual heating.
void speicherbedarf_virtuell(intervallbilanz& b, double x);
