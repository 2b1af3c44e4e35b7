#pragma once
// Display names of the 46 database tables in both languages.

#include "lang/sprache.h"

struct tabellentext {
    text_paar bezeichnung;  // long label
    text_paar kuerzel;      // short label (tab caption)
};

// Label of registry entry `index` (0..45).
const tabellentext& tabellentext_von(int index);
