#pragma once
// Rules that the forms apply when they write rows: the fixation mark of the
// site data sets and the interval kind of imported weather details.

#include <cstdint>

class tabelle;

// Starts a new `haupt` row in insert state with `lock` "NF" (not fixed).
void neuer_hauptdatensatz(tabelle& haupt);
// Marks the current `haupt` row as fixed (`lock` "F"), as a completed batch run does.
void fixiere_hauptdatensatz(tabelle& haupt);
// Deletes exactly the `haupt` rows marked "NF" (one transaction); returns the count.
int64_t loesche_nicht_fixierte_datensaetze(tabelle& haupt);
// A weather detail row being written takes `zeitintervall` from its monthly
// record (the current row of `ir_ta_m`).
void uebernehme_zeitintervall(tabelle& ir_ta_d, tabelle& ir_ta_m);
