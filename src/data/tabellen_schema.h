#pragma once
// The 46 tables of the program: their registry keys, SQL names, columns in
// stored order, key columns and named indexes.

#include <array>
#include <string>

#include "data/tabellen_def.h"

constexpr int ANZ_TABELLEN = 46;

// Registry index of every table (order of the table registry). A namespace
// keeps names such as `tan` apart from the math functions.
namespace tabledata {
enum : int {
    tir_ta_d,
    tew_d,
    teh_d,
    thaupt,
    tir_ta_m,
    tte,
    ttw,
    tth,
    tew_m,
    teh_m,
    tee,
    trw,
    trh,
    tko,
    tkol,
    tgwt,
    twp,
    tkalk,
    tnum,
    trech,
    tan,
    tgas,
    tpreis,
    tkraft,
    tzelle,
    tspei,
    tsub,
    tunter,
    tunter_liste,
    tsteuer,
    tlage,
    tzu,
    tliste,
    tliste2,
    theizwert,
    ttarif,
    tluft,
    tkaelte,
    twaerme,
    tcur,
    teinheit,
    trespfad,
    tres,
    tmemodb,
    tkontrolle,
    twmo
};
}  // namespace tabledata

// Registry key of a table (also the stem of its file name), e.g. "IR_TA_M".
const std::string& tabellenschluessel(int index);
// Schema of a table.
const tabellen_def& tabellenschema(int index);
