#pragma once
// Units, labels and display order of the result quantities of a run
// (`datm`): every monthly quantity (enumeration adata) and every per-interval
// series carries a program unit, an output unit, the quantity code, the
// conversion between them and a label with the output unit.

#include <string>
#include <utility>
#include <vector>

#include "engine/WP_variables.h"

// Physical quantity of monthly result quantity q (adata).
int groesse_von_ergebnis(int q);
// Physical quantity of per-interval result series k (0..17).
int groesse_von_intervallreihe(int k);

// Program unit, output unit, code and conversion of every result quantity.
// `zpk` and `zpk_l` are kept in the output unit of energy (not converted).
void definiere_Ausgabeeinheiten(datm& d);
// Labels "title [output unit]" of every result quantity.
void definiere_beschriftungen_mit_einheit(datm& d);

// Display order of the result views: pairs (label with unit, short name).
struct anzeige_reihenfolge {
    std::vector<std::pair<std::string, std::string>> monatlich;  // 46 entries
    std::vector<std::pair<std::string, std::string>> jaehrlich;  // 13 entries
    std::vector<int> monatlich_groessen, jaehrlich_groessen;     // adata indexes
};
anzeige_reihenfolge& reihenfolge();
void reihenfolge_anzeige(const datm& d);
