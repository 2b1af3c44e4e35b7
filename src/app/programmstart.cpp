#include "app/programmstart.h"

#include "app/einstellungen_lauf.h"
#include "data/datenbank.h"
#include "data/einheiten.h"
#include "data/einstellungen.h"
#include "engine/WP_variables.h"
#include "input/demo_datenbank.h"
#include "lang/meldung.h"
#include "lang/sprache.h"

namespace {
std::filesystem::path& gespeichertes_arbeitsverzeichnis() {
    static std::filesystem::path pfad = std::filesystem::current_path();
    return pfad;
}
}  // namespace

const std::filesystem::path& arbeitsverzeichnis() { return gespeichertes_arbeitsverzeichnis(); }

bool programmstart(const startoptionen& optionen) {
    gespeichertes_arbeitsverzeichnis() = std::filesystem::current_path();
    setze_sprache(optionen.sprache);
    setze_Pfade_und_Parameter();
    DefaultEinstellungen();
    einstellungen_daten& e = einstellungen();
    if (optionen.datenbank) e.datenbankverzeichnis = *optionen.datenbank;
    if (optionen.ergebnisse) e.ergebnisverzeichnis = *optionen.ergebnisse;
    std::error_code ec;
    std::filesystem::create_directories(e.ergebnisverzeichnis, ec);
    // The protocol file lives beside the results, where a user looks for it.
    setze_protokollverzeichnis(e.ergebnisverzeichnis);

    const bool angelegt = lege_default_datenbank_an_falls_leer(e.datenbankverzeichnis);
    definiere_haupteinheiten();
    SetDataBase(e.datenbankverzeichnis);
    ::datm& d = zustand::datm_allgemein();
    // Starting reads the database; it never rewrites it.
    sprachabhaengig(d, false);
    CheckAllTables();
    return angelegt;
}
