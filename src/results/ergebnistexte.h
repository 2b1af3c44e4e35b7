#pragma once
// Codes and titles of the result quantities as written in result and control
// files: the 61 monthly quantities (enumeration adata), the 21 columns of the
// control file (3 input columns and the 18 per-interval result series), the
// month labels and the word for the section key.

#include <array>
#include <string>

#include "engine/WP_variables.h"
#include "lang/sprache.h"

namespace ergebnistexte {

constexpr int ANZ_STEUERSPALTEN = 3 + ANZ_FELD3;  // columns of the control file

// Code of monthly quantity q (0..60), e.g. "jkk"; the same in both languages.
const std::string& code(int q);
// Title of monthly quantity q in the interface language.
std::string titel(int q);

// Code and title of control-file column c (0..20); columns 15..17 have no code.
const std::string& steuer_code(int c);
std::string steuer_titel(int c);

// Month name m (1..12) in the interface language, padded with blanks to 10
// characters ("Januar    ", "January   ").
std::string monatsname(int m);

// Word for the section key: "Fläche" / "Area".
inline constexpr text_paar flaeche{"Fläche", "Area"};
// Start of the title line: "Monat, Nummer, " / "Month, Number, ".
inline constexpr text_paar titelanfang{"Monat, Nummer, ", "Month, Number, "};

}  // namespace ergebnistexte
