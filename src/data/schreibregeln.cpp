#include "data/schreibregeln.h"

#include "data/tabelle.h"

void neuer_hauptdatensatz(tabelle& haupt) {
    haupt.einfuegen();
    haupt.setze("lock", std::string("NF"));
}

void fixiere_hauptdatensatz(tabelle& haupt) {
    haupt.bearbeiten();
    haupt.setze("lock", std::string("F"));
    haupt.speichern();
}

int64_t loesche_nicht_fixierte_datensaetze(tabelle& haupt) {
    return haupt.loesche_wo({{"lock", "=", std::string("NF")}});
}

void uebernehme_zeitintervall(tabelle& ir_ta_d, tabelle& ir_ta_m) {
    ir_ta_d.setze("zeitintervall", ir_ta_m.wert("zeitintervall"));
}
