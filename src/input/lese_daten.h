#pragma once
// Loading a site data set: the current `haupt` row, with every catalogue
// table positioned on the row it names (SetAllMasters), becomes the run
// state: configuration codes, the parameter vector vdatt in main units,
// monthly inputs, demand and prices, the component records of the plants,
// the property tables, the month flags of the long-term store and the
// run-control ranges.

#include <string>

#include "engine/WP_variables.h"

// Configuration codes 0..30 from `num`, `an` and the weather record; also
// `monatstart`. Missing mandatory `num` columns are reported.
void lese_numan_flags();

// Cold-water temperature of month m in the main temperature unit, by the
// cold-water code: "W" the month's value of the `rw` row, "E" the month's
// value of the `te` row, at least 1 (compared as stored). Another code is
// reported and gives 0.
double bestimme_tk(const std::string& kaltwassercode, int m);

// vdatt[tdata::daf] (area of one collector unit) and vdatt[tdata::relpump_feld] (relative pump power
// of the field): the upper collector alone, or both with two collectors.
void berechne_daf(datt& vdatt);

// The counter-flow heat exchanger of plant 0 from the current `gwt` row.
void besetze_gwt();

// The property tables: air, the store medium and the collector medium.
void Setze_Luftdaten();

// The loader. The per-interval matrices are the run's two series; the
// irradiation is laid out when numchar[ndata::einstrahlung_berechnen] is "J". Problems are reported;
// data outside the data model abandon the operation (abbruch).
void leseausDatenBank(datz3& pvdatz3_1, datz3& pvdatz3_2);
