#include "results/ergebniskatalog_tabelle.h"

#include "data/datenbank.h"
#include "data/tabellen_schema.h"
#include "lang/meldung.h"
#include "lang/sprache.h"

namespace {

constexpr text_paar schreibgeschuetzt{
    "Warnung: Ergebniskatalog schreibgeschützt, Ergebnisdatei nicht eingetragen: ",
    "Warning: result catalogue is write-protected, result file not entered: "};

// The result table positioned on the row named `name` (index "iname").
tabelle* positioniere(const std::string& name) {
    tabelle& t = tab(tabledata::tres);
    if (!t.ist_offen()) return nullptr;
    t.filter_aus();
    t.sortiere_nach_index("iname");
    return t.suche({name}) ? &t : nullptr;
}

}  // namespace

std::optional<result_zeile> ergebniskatalog_tabelle::finde_ergebnisdatei(const std::string& name) {
    tabelle* t = positioniere(name);
    if (!t) return std::nullopt;
    result_zeile z;
    z.name = t->text("name");
    z.land = t->text("land");
    z.bezirk = t->text("bezirk");
    z.ort = t->text("ort");
    z.kundennummer = t->text("kundennummer");
    z.haupteingabefile = t->text("haupteingabefile");
    z.pfad = t->text("pfad");
    const std::string art = t->text("optimierung");
    z.optimierung = art.empty() ? 'S' : art[0];
    z.lock = t->text("lock");
    z.info = t->text("info");
    return z;
}

void ergebniskatalog_tabelle::speichere(const result_zeile& z, bool neu) {
    // Entering a result is a change the user asked for: a database without
    // a result table gets one.
    tabelle& t = tab_zum_schreiben(tabledata::tres);
    if (t.ist_offen() && t.nur_lesbar()) {
        meldung(schreibgeschuetzt.text() + z.name + " (" + t.datei().string() + ")", "M", 'W');
        return;
    }
    if (neu) {
        t.einfuegen();
    } else {
        if (!positioniere(z.name)) {
            t.einfuegen();
        } else {
            t.bearbeiten();
        }
    }
    t.setze("name", z.name);
    t.setze("land", z.land);
    t.setze("bezirk", z.bezirk);
    t.setze("ort", z.ort);
    t.setze("kundennummer", z.kundennummer);
    t.setze("haupteingabefile", z.haupteingabefile);
    t.setze("pfad", z.pfad);
    t.setze("optimierung", std::string(1, z.optimierung));
    t.setze("lock", z.lock);
    t.setze("info", z.info);
    t.speichern();
}

void ergebniskatalog_tabelle::entferne(const std::string& name) {
    if (tabelle* t = positioniere(name)) t->loeschen();
}
