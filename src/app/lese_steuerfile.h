#pragma once
// Control data of an earlier simulation read back ("Steuerfile einlesen"):
// the per-interval file (".str") of a data set, kept for this program run.

#include <filesystem>

#include "results/ergebnistabelle.h"

// The control-data store: the file's table and values and the file read.
struct steuerdaten_speicher {
    parreadtab tabelle;
    dat3d werte;
    TSDaten beschreibung;
    std::filesystem::path datei;
};
steuerdaten_speicher& steuerdaten();

// The file the open dialog offers: result directory / `haupt`.`steuer` of the
// current data set, with ".str" added when the name has no extension.
std::filesystem::path steuerdatei_vorschlag();

// Reads `datei` (self-describing file, numbers) into the store. A file that
// cannot be read or is malformed is reported ("Fehler: Falsches Datenformat")
// and leaves the store and the control-data mark as they were; false then.
// On success the mark "control data read" is set.
bool lese_steuerfile(const std::filesystem::path& datei);
