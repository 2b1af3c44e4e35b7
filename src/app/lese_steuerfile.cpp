#include "app/lese_steuerfile.h"

#include "app/simulation_run.h"
#include "data/datenbank.h"
#include "data/einstellungen.h"
#include "results/ergebnisdatei_lesen.h"

steuerdaten_speicher& steuerdaten() {
    static steuerdaten_speicher s;
    return s;
}

std::filesystem::path steuerdatei_vorschlag() {
    tabelle& haupt = tab(tabledata::thaupt);
    std::filesystem::path name = haupt.ist_offen() && haupt.hat_zeile() ? haupt.text("steuer") : std::string();
    if (!name.empty() && !name.has_extension()) name += ".str";
    return einstellungen().ergebnisverzeichnis / name;
}

bool lese_steuerfile(const std::filesystem::path& datei) {
    // Read into a fresh store first: a malformed file must not leave half of
    // itself in the control data of the run.
    steuerdaten_speicher neu;
    neu.tabelle.name = datei.string();
    bool ok = true;
    lese_tabelle(neu.werte, neu.tabelle, neu.beschreibung, ok, 'n', 'd');
    if (!ok) return false;
    neu.datei = datei;
    steuerdaten() = std::move(neu);
    marken().steuerdatei_eingelesen = true;
    return true;
}
