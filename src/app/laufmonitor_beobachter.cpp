#include "app/laufmonitor_beobachter.h"

// With the menu item "Zwischenergebnisse" unchecked the monitors take
// nothing: no window opens and the run spends no time on them.
void laufmonitor_beobachter::zwischenergebnisse_t_oeffnen(double A) {
    if (weiter_.zwischenergebnisse_gewaehlt()) monitor_.oeffne_t(A, zustand::vdatz());
    weiter_.zwischenergebnisse_t_oeffnen(A);
}

void laufmonitor_beobachter::zwischenergebnisse_v_oeffnen(double A) {
    if (weiter_.zwischenergebnisse_gewaehlt()) monitor_.oeffne_v(A, zustand::numchar()[ndata::rechenart]);
    weiter_.zwischenergebnisse_v_oeffnen(A);
}

void laufmonitor_beobachter::zwischenergebnisse_v_zeigen() {
    monitor_.zeige_v();
    weiter_.zwischenergebnisse_v_zeigen();
}

void laufmonitor_beobachter::graph_zeigen(const graphdata& links, const graphdata& rechts) {
    monitor_.zeige_jahreslauf(links);
    weiter_.graph_zeigen(links, rechts);
}

void laufmonitor_beobachter::stufenpunkt(int monat, int ge_schritt, double x, double y) {
    if (weiter_.zwischenergebnisse_gewaehlt()) monitor_.stufenpunkt(monat, ge_schritt, x, y);
}
