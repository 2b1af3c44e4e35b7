#pragma once
// Chart data of the five cost charts: one curve per loaded result on the
// left and on the right axis, for the chart window.

#include "costs/kalkulation.h"
#include "engine/WP_variables.h"

enum class kostenart {
    kosten_jahr,        // "Kosten/Jahr": yearly costs; right: total energy consumption
    mehrkosten_jahr,    // "Mehrkosten/Jahr": costs minus those of the first area; right: over the term
    gesamtkosten,       // "Gesamtkosten": costs over the term; right: price per unit of heat demand
    energie_pro_qm,     // "Energie pro qm": cost per unit of solar energy; right: solar energy per area over the term
    zusatzinvestition,  // "Zusatzinvestition": investment; right: investment per unit of heat demand
};

// Caption of the chart kind ("Kosten/Jahr", ...) in the interface language.
std::string kostenart_name(kostenart art);

// Fills `links` and `rechts` for chart `art` from every loaded result,
// recomputing the costs from the stored parameters. Refuses (message
// "Minimalfläche muss Null sein für alle Resultate", false, records left
// cleared) "Mehrkosten/Jahr" and "Energie pro qm" when a result does not start
// at collector area 0, and "Kosten/Jahr" when some index varies the cell area
// and a result does not start at collector area 0.
bool berechne_kostengraphik(kalkulationsdaten& k, kostenart art, graphdata& links, graphdata& rechts);
