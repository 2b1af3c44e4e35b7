#pragma once
// Records of the unit system that the simulation state refers to: a physical
// quantity with its main and output unit, and a cached linear conversion.

#include <array>
#include <string>

// One physical quantity: main unit, current output unit and its conversion.
struct Einheit_struct {
    std::string name;          // quantity name in the current language
    std::string eingabe;       // input unit (empty in the quantity array)
    std::string haupteinheit;  // main unit abbreviation
    std::string name_spalte;   // name of a unit column in the per-table unit lists
    std::string ausgabe;       // current output unit abbreviation
    double faktor = 1.0;
    double offset = 0.0;
    std::string skalierung;
    std::string kennzeichen;   // quantity code, unique per quantity
};

// Linear map main value = faktor * stored value + offset; `bekannt` holds the
// target unit that was found ("N" while the conversion is not yet known).
struct umrechnen_struct {
    double faktor = 1.0;
    double offset = 0.0;
    std::string bekannt;
};

constexpr int ANZ_HAUPTEINHEITEN = 39;
using haupteinheiten_tabelle = std::array<Einheit_struct, ANZ_HAUPTEINHEITEN>;

// The process-wide table of the 39 physical quantities.
haupteinheiten_tabelle& haupteinheiten();
