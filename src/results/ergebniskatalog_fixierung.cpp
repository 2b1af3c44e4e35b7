#include "results/ergebniskatalog_fixierung.h"

#include "data/datenbank.h"

int64_t ergebnisfixierungen_loeschen() {
    tabelle& t = tab(tabledata::tres);
    if (!t.ist_offen()) return 0;
    const int64_t n = t.setze_alle("lock", feldwert(std::string("NF")), {});
    t.aktualisiere();
    return n;
}

int64_t nicht_fixierte_ergebnisse_loeschen() {
    tabelle& t = tab(tabledata::tres);
    if (!t.ist_offen()) return 0;
    // Rows without any mark count as not fixed too.
    int64_t n = t.loesche_wo({{"lock", " LIKE ", feldwert(std::string("NF"))}});
    n += t.loesche_wo({{"lock", "=", feldwert(std::string(""))}});
    t.aktualisiere();
    t.erster();
    return n;
}
