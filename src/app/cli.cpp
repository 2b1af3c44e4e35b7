#include "app/cli.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "app/geraete_befehl.h"
#include "app/lese_daten_ein.h"
#include "app/programmstart.h"
#include "app/simulation_run.h"
#include "app/standard_laufdienste.h"
#include "app/kosten_befehl.h"
#include "engine/anlagenschritte.h"
#include "input/wetter_adapter.h"
#include "data/datenbank.h"
#include "data/einheiten.h"
#include "data/einstellungen.h"
#include "data/tabellen_schema.h"
#include "engine/WP_variables.h"
#include "input/demo_datenbank.h"
#include "lang/meldung.h"
#include "lang/sprache.h"
#include "results/ergebnisdatei_lesen.h"
#include "results/ergebnistexte.h"

namespace {

const char* const HILFE = R"(varnek-cli - heating plants: simulation, optimisation and results without a display

Usage: varnek-cli [options] <command> [arguments]

Commands:
  list                       list the site data sets (name, fixed mark, info)
  simulate <data set>        single simulation of a data set; writes the .sim result file and
                             the .str control file, prints the yearly figures and the paths
  optimise <data set>        optimisation over collector area, tilt and heat-pump power;
                             writes the .dat result file
  batch [--from <data set>]  "Serie rechnen": runs every data set that is not fixed, from
                             the given one (default: the first) on, fixing each finished one;
                             stops at the first fixed data set or when a run fails
  inputs <data set> [--tilt deg] [--azimuth deg] [--csv]
                             loads the data set and prints its monthly inputs and the
                             per-interval series is0, ir, diff, ref, ta, ho on the collector
                             plane (one row per month and interval)
  show <file> [--csv]        print a result file (.sim, .dat, .str) in the current
                             output units; --csv writes CSV with a header of codes and units
  costs <result file>... [--csv]
                             yearly costs of up to six result files: per file and
                             collector area the investment, annuity, energy bills,
                             solar-cell income, maintenance and yearly total, with the
                             cost parameters of each file's site data set
  init-db [dir]              create the default database in dir (default: the database
                             directory); refuses a directory that is not empty
  devices [--simulated] [--com-pattern PATTERN]
                             list the serial ports COM2..COM100 with their DCD/DSR levels,
                             the port found for each device and its no-connection mark;
                             --simulated uses simulated device boards on COM3..COM6;
                             PATTERN maps COMn to a device path ("{n}" n, "{n-1}" n-1;
                             default /dev/ttyUSB{n-1})
  help                       this text

Options:
  --db <dir>                 database directory (default: <data dir>/Varnek/DataBase;
                             created from the default database when it holds no tables)
  --results <dir>            result directory (default: <data dir>/Varnek/Results)
  --lang de|en               language of messages and result files (default de)
  --abort-on-question        answer "Anwendung beenden?" with Yes (default: No, continue)
  --help                     this text

Exit status: 0 on success; 1 when the command failed (the reason is the last line on
stderr); 2 for a wrong command line.
)";

// Messages of the runner: dialogs go to stderr and, so that nothing of a
// long run is hidden, to the protocol file; the last error is the reason
// printed when a command fails.
class cli_senke : public meldungs_senke {
public:
    cli_senke(std::ostream& aus, bool abbrechen) : aus_(aus), abbrechen_(abbrechen) {}
    void zeige(const std::string& text, char schwere) override {
        aus_ << text << '\n';
        protokolliere(text);
        if (schwere == 'E' || schwere == 'T') letzter_fehler = text;
    }
    bool frage(const std::string& text) override {
        const std::string zeile = text + (abbrechen_ ? " -> Ja" : " -> Nein");
        aus_ << zeile << '\n';
        protokolliere(zeile);
        if (abbrechen_) letzter_fehler = text;
        return abbrechen_;
    }
    std::string letzter_fehler;

private:
    std::ostream& aus_;
    bool abbrechen_;
};

struct fehlschlag {
    std::string grund;
};

struct befehlszeile {
    startoptionen start;
    bool abbrechen_bei_frage = false;
    bool csv = false;
    std::optional<std::string> ab;      // batch: first data set
    std::optional<double> neigung;      // inputs: collector tilt
    std::optional<double> azimut;       // inputs: collector azimuth
    std::string befehl;
    std::vector<std::string> argumente;
};

befehlszeile lies_befehlszeile(int argc, const char* const* argv) {
    befehlszeile b;
    auto wert = [&](int& i, const std::string& option) -> std::string {
        if (i + 1 >= argc) throw fehlschlag{"option " + option + " needs a value"};
        return argv[++i];
    };
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            b.befehl = "help";
        } else if (a == "--db") {
            b.start.datenbank = wert(i, a);
        } else if (a == "--results") {
            b.start.ergebnisse = wert(i, a);
        } else if (a == "--lang") {
            const std::string s = wert(i, a);
            if (s == "de") b.start.sprache = SPRACHE_DEUTSCH;
            else if (s == "en") b.start.sprache = SPRACHE_ENGLISCH;
            else throw fehlschlag{"--lang takes de or en"};
        } else if (a == "--abort-on-question") {
            b.abbrechen_bei_frage = true;
        } else if (a == "--csv") {
            b.csv = true;
        } else if (a == "--from") {
            b.ab = wert(i, a);
        } else if (a == "--tilt" || a == "--azimuth") {
            const std::string s = wert(i, a);
            char* ende = nullptr;
            const double x = std::strtod(s.c_str(), &ende);
            if (ende == s.c_str() || *ende != '\0') throw fehlschlag{a + " takes a number of degrees"};
            (a == "--tilt" ? b.neigung : b.azimut) = x;
        } else if (a.rfind("--", 0) == 0) {
            throw fehlschlag{"unknown option " + a};
        } else if (b.befehl.empty()) {
            b.befehl = a;
        } else {
            b.argumente.push_back(a);
        }
    }
    if (b.befehl.empty()) b.befehl = "help";
    return b;
}

// Formats a number for the readable table.
std::string zahl(double x) {
    char puffer[32];
    std::snprintf(puffer, sizeof puffer, "%.6g", x);
    return puffer;
}

std::string csv_feld(const std::string& s) {
    if (s.find_first_of(",\"\n") == std::string::npos) return s;
    std::string r = "\"";
    for (char c : s) r += c == '"' ? std::string("\"\"") : std::string(1, c);
    return r + "\"";
}

void befehl_list(std::ostream& aus) {
    tabelle& haupt = tab(tabledata::thaupt);
    haupt.filter_aus();
    haupt.sortiere_nach_index("isortieren");
    for (haupt.erster(); !haupt.eof(); haupt.naechster()) {
        aus << haupt.text("name") << '\t' << haupt.text("lock") << '\t' << haupt.text("info") << '\n';
    }
}

void befehl_show(const befehlszeile& b, std::ostream& aus) {
    if (b.argumente.size() != 1) throw fehlschlag{"show needs exactly one file"};
    parreadtab t;
    t.name = b.argumente[0];
    dat3d werte;
    TSDaten beschreibung;
    bool ok = true;
    lese_tabelle(werte, t, beschreibung, ok);
    if (!ok) throw fehlschlag{"Fehler: Falsches Datenformat: " + t.name};
    const ::datm& d = zustand::datm_allgemein();
    rechne_codes_um(t, werte, d, [](const std::string& von, const std::string& nach,
                                    const std::string& kennzeichen, int monat) {
        return umrechnungsfaktor(von, nach, kennzeichen, monat);
    });
    // Units after conversion: the output unit for the monthly quantities.
    std::vector<std::string> einheiten(static_cast<std::size_t>(werte.spalten()) + 1);
    for (int c = 1; c <= werte.spalten(); ++c) einheiten[c] = t.feldy[c].einheit;
    for (int q = 0; q < ANZ_ADATA; ++q) {
        const int c = finde_spalte(t, ergebnistexte::code(q));
        if (c > 0 && c <= werte.spalten()) einheiten[c] = d.ausgabe_einheit[q];
    }
    for (int s = 1; s <= werte.scheiben(); ++s) {
        const koor& schluessel = t.feldz[s];
        if (b.csv) {
            aus << csv_feld(schluessel.name + " [" + schluessel.einheit + "]") << ',' << zahl(schluessel.wert) << '\n';
            aus << "label";
            for (int c = 1; c <= werte.spalten(); ++c) {
                aus << ',' << csv_feld(t.feldy[c].name_0 + " [" + einheiten[c] + "]");
            }
            aus << '\n';
        } else {
            aus << schluessel.name << " = " << zahl(schluessel.wert) << ' ' << schluessel.einheit << '\n';
            aus << "label";
            for (int c = 1; c <= werte.spalten(); ++c) {
                aus << '\t' << t.feldy[c].name_0 << " [" << einheiten[c] << ']';
            }
            aus << '\n';
        }
        for (int r = 1; r <= werte.zeilen(s); ++r) {
            const std::string label =
                r < static_cast<int>(t.feldx.size()) ? t.feldx[r].name : std::to_string(r);
            aus << (b.csv ? csv_feld(label) : label);
            for (int c = 1; c <= werte.spalten(); ++c) aus << (b.csv ? ',' : '\t') << zahl(werte.wert(r, c, s));
            aus << '\n';
        }
    }
}

// Progress of a run on stderr: the area step and the month.
class cli_beobachter : public lauf_beobachter {
public:
    explicit cli_beobachter(std::ostream& aus) : aus_(aus) {}
    void fortschritt_beginnen(int maximum) override {
        maximum_ = maximum;
        schritt_ = 0;
    }
    void fortschritt_auf_minimum() override { schritt_ = 0; }
    void fortschritt_schritt() override {
        ++schritt_;
        aus_ << "  A = " << zahl(zustand::anlage(0).n * zustand::vdatt()[77]) << " qm: " << schritt_
             << '/' << maximum_ << '\n';
    }

private:
    std::ostream& aus_;
    int maximum_ = 12;
    int schritt_ = 0;
};

// Positions `haupt` on the data set `name`; false when there is none.
bool positioniere_datensatz(const std::string& name) {
    tabelle& haupt = tab(tabledata::thaupt);
    haupt.filter_aus();
    haupt.sortiere_nach_index("isortieren");
    for (haupt.erster(); !haupt.eof(); haupt.naechster()) {
        if (haupt.text("name") == name) return true;
    }
    return false;
}

// Loads the current data set; reports and fails when it cannot be loaded.
void lade_datensatz() {
    flagchar& n = zustand::numchar();
    n[35] = "J";
    bool dbflag = true;
    if (!lese_daten_ein(zustand::pvdatz3(1), zustand::pvdatz3(2), dbflag) || !dbflag) {
        throw fehlschlag{"data set " + tab(tabledata::thaupt).text("name") + " could not be loaded"};
    }
}

void zeige_jahreszahlen(std::ostream& aus) {
    const ::datm& d = zustand::datm_allgemein();
    const int jahreswerte[] = {adata::jkk,   adata::jkk_g,  adata::pek,    adata::flz,
                               adata::flz_ee, adata::jaz_ww, adata::jaz_we, adata::degra_j,
                               adata::degra_ww_j, adata::etawicht};
    for (int q : jahreswerte) {
        aus << d.beschriftung[q] << " (" << ergebnistexte::code(q) << "): " << zahl(d.feld[q][1]) << ' '
            << d.ausgabe_einheit[q] << '\n';
    }
}

// One simulation or optimisation of the data set at the cursor of `haupt`.
// Returns false when the run did not complete.
bool rechne_datensatz(bool optimierung, bool serie, std::ostream& aus, std::ostream& fehler) {
    const std::string name = tab(tabledata::thaupt).text("name");
    lade_datensatz();
    const auto pfad = ausgabefile_anlegen(optimierung ? 'O' : 'S', einstellungen().ergebnisverzeichnis);
    if (!pfad) throw fehlschlag{"no result file for " + name};
    standard_laufdienste dienste(*pfad, einstellungen().ergebnisverzeichnis);
    anlagenschritte schritte;
    cli_beobachter beobachter(fehler);
    laufumgebung u{dienste, schritte, beobachter};
    // The control data of an earlier simulation are only used by control
    // runs; the runner does not ask for them.
    marken().steuerdatei_eingelesen = true;
    marken().simulation_durchgefuehrt = false;
    fehler << name << '\n';
    if (serie) {
        int bkflag = 0;
        starte_simulation(bkflag, u);
    } else if (optimierung) {
        optimierung_starten(name, u);
    } else {
        starte_einzelsimulation(name, u);
    }
    if (!marken().simulation_durchgefuehrt) return false;
    const laufausgabe a = dienste.ausgabe();
    aus << name << '\n';
    zeige_jahreszahlen(aus);
    aus << "Ergebnisdatei: " << a.ergebnisdatei.string() << '\n';
    if (!optimierung && !serie) aus << "Steuerdatei: " << a.steuerdatei.string() << '\n';
    return true;
}

void befehl_rechnen(const befehlszeile& b, bool optimierung, std::ostream& aus, std::ostream& fehler) {
    if (b.argumente.size() != 1) throw fehlschlag{std::string(optimierung ? "optimise" : "simulate") + " needs one data set"};
    if (!positioniere_datensatz(b.argumente[0])) throw fehlschlag{"no data set named " + b.argumente[0]};
    if (!rechne_datensatz(optimierung, false, aus, fehler)) {
        throw fehlschlag{"run of " + b.argumente[0] + " did not complete"};
    }
}

// "Serie rechnen": every data set that is not fixed, from the start row on.
void befehl_batch(const befehlszeile& b, std::ostream& aus, std::ostream& fehler) {
    tabelle& haupt = tab(tabledata::thaupt);
    if (b.ab) {
        if (!positioniere_datensatz(*b.ab)) throw fehlschlag{"no data set named " + *b.ab};
    } else {
        haupt.filter_aus();
        haupt.sortiere_nach_index("isortieren");
        haupt.erster();
    }
    flagchar& n = zustand::numchar();
    n[31] = "S";
    n[33] = "N";
    n[38] = "N";
    n[35] = "J";
    leere_protokoll();
    int gerechnet = 0;
    while (!haupt.eof() && haupt.text("lock") == "NF") {
        const std::string name = haupt.text("name");
        meldung(name, "S", 'M');
        bool fertig = false;
        try {
            fertig = rechne_datensatz(true, true, aus, fehler);
        } catch (const abbruch&) {
            fertig = false;
        }
        if (!fertig) throw fehlschlag{"batch stopped: run of " + name + " did not complete"};
        positioniere_datensatz(name);
        haupt.bearbeiten();
        haupt.setze("lock", std::string("F"));
        haupt.speichern();
        ++gerechnet;
        positioniere_datensatz(name);
        haupt.naechster();
    }
    fehler << gerechnet << " data sets computed\n";
}

void befehl_inputs(const befehlszeile& b, std::ostream& aus) {
    if (b.argumente.size() != 1) throw fehlschlag{"inputs needs one data set"};
    if (!positioniere_datensatz(b.argumente[0])) throw fehlschlag{"no data set named " + b.argumente[0]};
    lade_datensatz();
    datt& v = zustand::vdatt();
    if (b.neigung || b.azimut) {
        if (b.neigung) v[92] = *b.neigung;
        if (b.azimut) v[91] = *b.azimut;
        if (!berechne_Einstrahlungsdaten_geladen(v[105], v[92], v[91], zustand::vdatz(),
                                                 zustand::numchar(), zustand::pvdatz3(1), v)) {
            throw fehlschlag{"the weather data do not allow this tilt"};
        }
    }
    const char t = b.csv ? ',' : '\t';
    const datz& z = zustand::vdatz();
    struct spalte {
        const char* name;
        int index;
    };
    const spalte monatlich[] = {{"ir", zdata::ir},   {"is0", zdata::is0}, {"ta", zdata::ta},
                                {"tamin", zdata::tamin}, {"tamax", zdata::tamax}, {"ho", zdata::ho},
                                {"hogn", zdata::hogn}, {"te", zdata::te}, {"th", zdata::th},
                                {"tw", zdata::tw},   {"rw", zdata::rw},   {"rh", zdata::rh},
                                {"ew", zdata::ew},   {"eh", zdata::eh},   {"ee", zdata::ee}};
    aus << "# tilt " << zahl(v[92]) << " deg, azimuth " << zahl(v[91]) << " deg\n";
    aus << "month";
    for (const spalte& s : monatlich) aus << t << s.name;
    aus << '\n';
    for (int m = 1; m <= 12; ++m) {
        aus << m;
        for (const spalte& s : monatlich) aus << t << zahl(z[s.index][m]);
        aus << '\n';
    }
    const spalte reihen[] = {{"is0", zdata::is0}, {"ir", zdata::ir}, {"diff", zdata::diff},
                             {"ref", zdata::ref}, {"ta", zdata::ta}, {"ho", zdata::ho}};
    const datz3& p = zustand::pvdatz3(1);
    aus << "month" << t << "interval";
    for (const spalte& s : reihen) aus << t << s.name;
    aus << '\n';
    for (int m = 1; m <= 12; ++m) {
        for (int s = 1; s <= intervalle(m); ++s) {
            aus << m << t << s;
            for (const spalte& r : reihen) aus << t << zahl(p[r.index][m][s]);
            aus << '\n';
        }
    }
}

void befehl_init_db(const befehlszeile& b, std::ostream& aus) {
    std::filesystem::path ziel;
    if (!b.argumente.empty()) {
        ziel = b.argumente[0];
    } else if (b.start.datenbank) {
        ziel = *b.start.datenbank;
    } else {
        setze_Pfade_und_Parameter();
        ziel = einstellungen().datenbankverzeichnis;
    }
    erzeuge_default_datenbank_in(ziel);
    aus << ziel.string() << '\n';
}

}  // namespace

int varnek_cli(int argc, const char* const* argv, std::ostream& aus, std::ostream& fehler) {
    if (const auto status = geraete_befehl(argc, argv, aus, fehler)) return *status;
    befehlszeile b;
    try {
        b = lies_befehlszeile(argc, argv);
    } catch (const fehlschlag& f) {
        fehler << "varnek-cli: " << f.grund << " (see --help)\n";
        return 2;
    }
    cli_senke senke(fehler, b.abbrechen_bei_frage);
    setze_meldungs_senke(&senke);
    struct senke_zuruecksetzen {
        ~senke_zuruecksetzen() { setze_meldungs_senke(nullptr); }
    } zuruecksetzen;

    try {
        if (b.befehl == "help") {
            aus << HILFE;
            return 0;
        }
        if (b.befehl == "costs") return befehl_kosten(b.start, b.argumente, b.csv, aus, fehler);
        if (b.befehl == "init-db") {
            befehl_init_db(b, aus);
            return 0;
        }
        const std::map<std::string, std::function<void(const befehlszeile&, std::ostream&)>>
            befehle = {
                {"list", [](const befehlszeile&, std::ostream& o) { befehl_list(o); }},
                {"show", befehl_show},
                {"simulate", [&](const befehlszeile& x, std::ostream& o) { befehl_rechnen(x, false, o, fehler); }},
                {"optimise", [&](const befehlszeile& x, std::ostream& o) { befehl_rechnen(x, true, o, fehler); }},
                {"batch", [&](const befehlszeile& x, std::ostream& o) { befehl_batch(x, o, fehler); }},
                {"inputs", befehl_inputs},
            };
        const auto it = befehle.find(b.befehl);
        if (it == befehle.end()) {
            fehler << "varnek-cli: unknown command " << b.befehl << " (see --help)\n";
            return 2;
        }
        programmstart(b.start);
        it->second(b, aus);
        return 0;
    } catch (const fehlschlag& f) {
        fehler << "varnek-cli: " << f.grund << '\n';
    } catch (const abbruch&) {
        fehler << "varnek-cli: "
               << (senke.letzter_fehler.empty() ? std::string("operation abandoned") : senke.letzter_fehler)
               << '\n';
    } catch (const std::exception& e) {
        fehler << "varnek-cli: " << e.what() << '\n';
    }
    return 1;
}
