#include "app/datensatz_lauf.h"

#include <chrono>

#include "app/lese_daten_ein.h"
#include "data/datenbank.h"
#include "data/einstellungen.h"
#include "engine/anlagenschritte.h"
#include "input/datensatzauswahl.h"
#include "lang/kostentexte.h"
#include "lang/meldung.h"
#include "lang/textglobale.h"
#include "results/dateiersatz.h"
#include "results/dateisperre.h"

namespace {

enum class laufausgang { fertig, nicht_fertig, belegt };

// Locks the files of `ausgabe`, then runs `lauf`. A file another run holds
// gives `belegt` (reported when `melden`).
template <class F>
laufausgang gesperrt(const ausgabefile& ausgabe, bool melden, F lauf) {
    const std::filesystem::path& verzeichnis = einstellungen().ergebnisverzeichnis;
    std::filesystem::path belegt;
    auto sperre = dateisperre::belege(ausgabe.dateien(verzeichnis), std::chrono::milliseconds(0), &belegt);
    if (!sperre) {
        if (melden) meldung(tgtext(tg::datei_belegt) + belegt.string(), "M", 'E');
        return laufausgang::belegt;
    }
    // Leftovers of a run that was killed can go now that this run holds the files.
    for (const auto& datei : ausgabe.dateien(verzeichnis)) entferne_temporaere_reste(datei);
    marken().simulation_durchgefuehrt = false;
    lauf();
    return marken().simulation_durchgefuehrt ? laufausgang::fertig : laufausgang::nicht_fertig;
}

// `gesperrt` with the run's standard services.
template <class F>
laufausgang mit_gesperrten_dateien(const ausgabefile& ausgabe, bool melden, F lauf) {
    return gesperrt(ausgabe, melden, [&] {
        standard_laufdienste dienste(ausgabe, einstellungen().ergebnisverzeichnis);
        anlagenschritte schritte;
        lauf(dienste, schritte);
    });
}

// The loaded data set as the current `haupt` row, with the output file chosen
// for it; reported otherwise.
bool geladen_mit_ausgabefile(std::string& name) {
    if (!marken().daten_eingelesen || !marken().ausgabefile_angelegt || !gewaehltes_ausgabefile()) {
        meldung(tgtext(tg::keine_ausgabedatei), "M", 'E');
        return false;
    }
    // The run belongs to the data set that was read, wherever the list stands.
    name = zustand::geladener_datensatz();
    if (!positioniere_haupt(name)) {
        meldung(tgtext(tg::nichts_geladen) + ": " + name, "M", 'E');
        return false;
    }
    return true;
}

bool lade(const std::string& meldungsmodus) {
    flagchar& n = zustand::numchar();
    n[ndata::einstrahlung_berechnen] = "J";  // compute the irradiation while loading
    n[ndata::meldungsmodus] = meldungsmodus;
    bool dbflag = true;
    return lese_daten_ein(zustand::pvdatz3(1), zustand::pvdatz3(2), dbflag) && dbflag;
}

}  // namespace

std::optional<ausgabefile>& gewaehltes_ausgabefile() {
    static std::optional<ausgabefile> a;
    return a;
}

bool ausgabefile_waehlen(char optimierung, speicherdialog* dialog) {
    auto a = ausgabefile_anlegen(optimierung, einstellungen().ergebnisverzeichnis, dialog);
    if (!a) return false;
    gewaehltes_ausgabefile() = std::move(a);
    return true;
}

bool datensatz_einlesen() { return lade("M"); }

bool datensatz_einlesen(const std::string& name) {
    tabelle& haupt = tab(tabledata::thaupt);
    haupt.filter_aus();
    haupt_ordnen();
    if (!positioniere_haupt(name)) {
        meldung(kostentexte::datensatz_fehlt.text() + name, "M", 'E');
        return false;
    }
    return datensatz_einlesen();
}

bool rechne_geladenen_datensatz(bool optimierung, lauf_beobachter& beobachter) {
    std::string name;
    if (!geladen_mit_ausgabefile(name)) return false;
    const auto& ausgabe = gewaehltes_ausgabefile();
    const laufausgang e = mit_gesperrten_dateien(*ausgabe, true, [&](lauf_dienste& d, perioden_schritte& s) {
        laufumgebung u{d, s, beobachter};
        if (optimierung) {
            optimierung_starten(name, u);
            return;
        }
        // A single simulation asks for control data read before; they are
        // used by control runs only, and the only source of a control file
        // is a single simulation. Like the runner, the desktop runs it
        // without them; the mark itself is left as it was.
        const bool steuerdaten = marken().steuerdatei_eingelesen;
        marken().steuerdatei_eingelesen = true;
        try {
            starte_einzelsimulation(name, u);
        } catch (...) {
            marken().steuerdatei_eingelesen = steuerdaten;
            throw;
        }
        marken().steuerdatei_eingelesen = steuerdaten;
    });
    return e == laufausgang::fertig;
}

bool optimieren(lauf_beobachter& beobachter, const std::function<void()>& geladen) {
    if (!lade("S")) return false;
    if (geladen) geladen();
    if (!ausgabefile_waehlen('O')) return false;
    return rechne_geladenen_datensatz(true, beobachter);
}

bool zum_steuern_einlesen() {
    if (!lade("S")) return false;
    if (!steuerlauf_erlaubt()) return false;
    return ausgabefile_waehlen('S');
}

steuerlauf_ergebnis steuere_geladenen_datensatz(steuergeraete& g, const std::string& messflag,
                                                lauf_beobachter& beobachter,
                                                const std::function<void(const liveintervall_zeile&)>& nach_liveintervall) {
    steuerlauf_ergebnis e;
    std::string name;
    if (!geladen_mit_ausgabefile(name) || !steuerlauf_erlaubt()) return e;
    const ausgabefile& ausgabe = *gewaehltes_ausgabefile();
    g.anlage_anpassen(zustand::anlage(0));
    gesperrt(ausgabe, true, [&] {
        e = steuerlauf_ausfuehren(g.station(), zustand::anlage(0), messflag, ausgabe,
                                  einstellungen().ergebnisverzeichnis, name, nach_liveintervall, &beobachter);
    });
    return e;
}

serienstand serie_rechnen(lauf_beobachter& beobachter, const std::function<void(const std::string&)>& begonnen) {
    serienstand stand;
    tabelle& haupt = tab(tabledata::thaupt);
    if (!haupt.ist_offen() || !haupt.hat_zeile()) return stand;
    // The data sets of the batch: from the current row up to the first fixed one.
    std::vector<std::string> liste;
    for (; !haupt.eof() && haupt.text("lock") == "NF"; haupt.naechster()) liste.push_back(haupt.text("name"));

    flagchar& n = zustand::numchar();
    n[ndata::meldungsmodus] = "S";  // messages to the protocol file
    n[ndata::laufart] = "N";  // optimisation runs
    n[ndata::kontrolllauf] = "N";
    n[ndata::einstrahlung_berechnen] = "J";
    beobachter.sanduhr(true);
    leere_protokoll();
    const std::filesystem::path& verzeichnis = einstellungen().ergebnisverzeichnis;
    for (const std::string& name : liste) {
        // Another program may have fixed or computed data sets meanwhile.
        haupt.aktualisiere();
        if (!positioniere_haupt(name)) {
            stand.angehalten_bei = name;
            break;
        }
        if (haupt.text("lock") != "NF") {
            ++stand.uebersprungen;
            continue;
        }
        meldung(name, "S", 'M');
        if (begonnen) begonnen(name);
        laufausgang e = laufausgang::nicht_fertig;
        try {
            auto ausgabe = ausgabefile_anlegen('O', verzeichnis);
            if (ausgabe) {
                gewaehltes_ausgabefile() = ausgabe;
                e = mit_gesperrten_dateien(*ausgabe, false, [&](lauf_dienste& d, perioden_schritte& s) {
                    if (!lade("S")) return;
                    laufumgebung u{d, s, beobachter};
                    int bkflag = 0;
                    starte_simulation(bkflag, u);
                    // Fixed while the files are still locked, so that no other
                    // batch takes the data set up again.
                    if (marken().simulation_durchgefuehrt && positioniere_haupt(name)) {
                        haupt.bearbeiten();
                        haupt.setze("lock", feldwert(std::string("F")));
                        haupt.speichern();
                    }
                });
            }
        } catch (const abbruch&) {
            stand.angehalten_bei = name;
            stand.abgebrochen = true;
            break;
        }
        if (e == laufausgang::belegt) {
            ++stand.uebersprungen;
            continue;
        }
        if (e != laufausgang::fertig) {
            stand.angehalten_bei = name;
            break;
        }
        ++stand.gerechnet;
        beobachter.einlesefenster_neu_zeichnen();
    }
    beobachter.sanduhr(false);
    return stand;
}
