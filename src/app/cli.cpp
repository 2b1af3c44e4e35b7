#include "app/cli.h"

#include <cstdio>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "app/programmstart.h"
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
  show <file> [--csv]        print a result file (.sim, .dat, .str) in the current
                             output units; --csv writes CSV with a header of codes and units
  init-db [dir]              create the default database in dir (default: the database
                             directory); refuses a directory that is not empty
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

// Messages of the runner: dialogs go to stderr; the last error is the reason
// printed when a command fails.
class cli_senke : public meldungs_senke {
public:
    cli_senke(std::ostream& aus, bool abbrechen) : aus_(aus), abbrechen_(abbrechen) {}
    void zeige(const std::string& text, char schwere) override {
        aus_ << text << '\n';
        if (schwere == 'E' || schwere == 'T') letzter_fehler = text;
    }
    bool frage(const std::string& text) override {
        aus_ << text << (abbrechen_ ? " -> Ja" : " -> Nein") << '\n';
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
        if (b.befehl == "init-db") {
            befehl_init_db(b, aus);
            return 0;
        }
        static const std::map<std::string, std::function<void(const befehlszeile&, std::ostream&)>>
            befehle = {
                {"list", [](const befehlszeile&, std::ostream& o) { befehl_list(o); }},
                {"show", befehl_show},
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
