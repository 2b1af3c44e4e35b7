#pragma once
// The text globals: the program's named texts (messages, window titles,
// navigator hints, list entries, chart and cost captions) as one table of
// German/English pairs. `tgtext(n)` is the current string of global n; it
// follows the language index at once, so a switch needs no rebuild of its own
// and no global can show the old language.

#include <string>

#include "lang/sprache.h"

namespace tg {
enum : int {
    // Message routine and protocol.
    protokolldatei,
    anwendung_beenden,
    // Window titles.
    produkttitel,
    titel_info,
    titel_einlesedaten,
    titel_simulationsdaten,
    titel_einstellungen,
    titel_lauf,
    titel_ergebnisse_flaeche,
    titel_ergebnisse_zeit,
    titel_funktion,
    titel_zwischenergebnisse_v,
    // The ten navigator buttons.
    nav_erster,
    nav_vorheriger,
    nav_naechster,
    nav_letzter,
    nav_einfuegen,
    nav_loeschen,
    nav_bearbeiten,
    nav_speichern,
    nav_abbrechen,
    nav_aktualisieren,
    // Start-up and main window.
    aufloesung_warnung,
    beta_version,
    handbuch_fehlt,
    drucker_fehlt,
    rechenzeit_sekunden,
    // Runs.
    lauf_laeuft,
    lauf_anhalten,
    lauf_angehalten,
    lauf_monat,
    lauf_flaeche,
    lauf_fehler,
    lauf_beendet,
    lauf_abgebrochen,
    lauf_meldungen,
    lauf_schliessen,
    datei_belegt,
    keine_ausgabedatei,
    serie_gerechnet,
    serie_uebersprungen,
    serie_angehalten,
    nichts_geladen,
    optimierung_fertig,
    simulation_fertig,
    // Input files.
    nicht_fixierte_loeschen,
    datensatz_loeschen_frage,
    addiere_default_fertig,
    steuerdatei_dialogtitel,
    steuerdatei_filter,
    steuerdatei_gelesen,
    ungespeicherte_aenderung,
    zahl_erwartet,
    gruppe_zugeordnet,
    // Run parameters.
    cmaxa,
    // Settings.
    nicht_gespeichert,
    eintrag_markieren,
    datenbank_quelle,
    datenbank_ziel,
    datenbank_filter,
    konvertiert,
    alle_einheiten_loeschen,
    // Texts named in the language tables of other windows.
    such_land,
    such_bezirk,
    such_ort,
    such_kundennummer,
    such_suchen,
    such_schliessen,
    such_datensatz_loeschen,
    such_filter_loeschen,
    label_ein,
    division_identische_x,
    leer,
    strahlungsleistung,
    preis_zwischenwaermepumpe,
    ANZAHL
};
}  // namespace tg

// Pair of text global n (0 .. tg::ANZAHL - 1).
const text_paar& textglobal(int n);
// Current string of text global n.
std::string tgtext(int n);
