#pragma once
// Names of the physical quantities and of the result quantities in both
// languages, and the short names (codes) of the result quantities.

#include "lang/sprache.h"

// Result quantities named here: the monthly ones (as many as the rows of
// datm.feld) and the per-interval series (as many as datm.feld3 holds).
constexpr int ANZ_ERGEBNISGROESSEN = 61;
constexpr int ANZ_INTERVALLREIHEN = 18;

// Name of physical quantity i (0..38).
const text_paar& groessenname(int i);

// Title of monthly result quantity q (enumeration adata, 0..60) and its
// short name, which is also the column code of result files.
const text_paar& ergebnistitel(int q);
const char* ergebniskuerzel(int q);

// Title and code of per-interval result series k (0..17); the codes of
// series 12 to 14 are empty.
const text_paar& intervalltitel(int k);
const char* intervallkuerzel(int k);
