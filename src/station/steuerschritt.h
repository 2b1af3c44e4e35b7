#pragma once
// The control step of a control run, once per live interval after the
// engine has computed it: the computed flows and powers become voltages and
// currents for the circulation pump, the collector fan and the intermediate
// heat pump; the intermediate reservoir is filled and pumped out; the
// coverage ratio is shown; the step waits for the next measurement and
// measures the next outdoor temperature and irradiation.

#include "engine/WP_variables.h"
#include "station/wetterstation.h"

// What the engine computed for the live interval.
struct steuerwerte {
    double vel = 0.0;      // volume flow through one collector unit, m³/s
    double volluft = 0.0;  // air volume flow, m³/s
    double tein = 0.0;     // collector inflow temperature, °C
    double tf = 0.0;       // collector outflow temperature, °C
    double lnh = 0.0;      // power of the intermediate heat pump, kW
    double equer_verbrauch = 0.0, nh = 0.0, ok = 0.0, elp = 0.0;  // kWh
    double copww = 0.0;    // COP of the intermediate heat pump in the interval
    char wpausflag = 'N', speicherflag = 'N';
};

// Set value of the circulation pump: the voltage under voltage control
// (capped at the maximum), else the current (not capped). Shows pump I/U
// and the flow of all collectors in l/h.
double ausgabewert_umwaelzpumpe(wetterstation& w, const steuerwerte& x, const anlage& a);
// Voltage of the collector fan for area A; a running fan gets at least 4 V.
double ausgabewert_ventilator(wetterstation& w, const steuerwerte& x, double A, const anlage& a);
// Set value of the intermediate heat pump for power P: voltage or current
// by its control character, in proportion to the nominal power vdatt[ww_leistung].
double ausgabewert_zwischenwaermepumpe(wetterstation& w, double leistung_zwp, const anlage& a,
                                       const datt& vdatt);
// Coverage ratio (%) 100 (V - (nh + ok + elp)) / V, 0 when V <= 0; shown in Edit34.
double berechne_deckungsgrad(wetterstation& w, double equer_verbrauch, double nh, double ok, double elp);

// Waits until `nm` minutes and `ns` seconds from now (time of day, hours
// not wrapped at 24; a wait across midnight counts on into the next day).
// The target shows in Edit27-Edit29. `messung` marks the wait for the next
// measurement, which a fast clock ends at the next full hour.
void warte_naechste_messung(wetterstation& w, double nm, double ns, bool messung = false);

// Hours since the last fill step (whole seconds between the two times of
// day; across midnight the day is added); the mark moves to now.
double stunden_seit_messung(wetterstation& w, ::date3& d3);

// Seconds the intermediate heat pump needs to empty the reservoir; 0 when
// the heat to lift is negative or the COP is not positive.
double abpumpdauer(const steuerwerte& x, const anlage& a, const datt& vdatt);

// The whole step for interval j of month m with area A. Full mode is
// numchar[messmodus] "J"; in test mode nothing is written to the devices and
// the fill counts one interval length.
void steuerschritt_intervall(wetterstation& w, const steuerwerte& x, datz3& pvdatz3, ::date3& d3, int m,
                             int j, double A, const flagchar& numchar, const datt& vdatt, anlage& a);
