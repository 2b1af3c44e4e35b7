#include "app/cli.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "app/geraete_befehl.h"
#include "app/lese_daten_ein.h"
#include "app/programmstart.h"
#include "app/serie_parallel.h"
#include "app/serie_teilung.h"
#include "app/variantenbefehl.h"
#include "app/simulation_run.h"
#include "app/spur_befehl.h"
#include "app/standard_laufdienste.h"
#include "app/steuerlauf.h"
#include "app/import_befehl.h"
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
#include "results/dateiersatz.h"
#include "results/dateisperre.h"
#include "results/ergebnisdatei_lesen.h"
#include "results/ergebnistexte.h"
#include "lang/stationstexte.h"
#include "station/kontrolldatei.h"
#include "station/schnittstelle.h"

namespace {

const char* const HILFE_EN = R"(varnek-cli - heating plants: simulation, optimisation and results without a display

Usage: varnek-cli [options] <command> [arguments]

Commands:
  list                       list the site data sets (name, fixed mark, info)
  simulate <data set> [--threads N]
                             single simulation of a data set; writes the .sim result file and
                             the .str control file, prints the yearly figures and the paths
  optimise <data set> [--threads N]
                             optimisation over collector area, tilt and heat-pump power;
                             writes the .dat result file. --threads: the area steps computed
                             by N threads at once (1..1024, default: the number of cores),
                             files byte-identical to --threads 1
  batch [--from <data set>] [--jobs N] [--processes] [--shard K/N]
                             "Serie rechnen": runs every data set that is not fixed, from
                             the given one (default: the first) on up to the first fixed one,
                             fixing each finished one; stops when a run fails. A data set that
                             another batch is computing at the same time is left to that batch.
                             --jobs: N threads, one data set each at a time (1..1024, default:
                             the number of cores); --processes: worker processes instead of
                             threads; a failure stops the handing out, running data sets
                             finish. --shard K/N (worker processes): only the data sets at
                             positions K, K+N, K+2N, ... of the series, into the result folder's
                             own catalogue (RESULT.sqlite there); the database is only read
                             and no data set is fixed
  merge <folder>...          merges the result folders of batch parts into the result
                             directory: copies their files, enters their catalogue rows (with
                             the result directory as folder) and fixes their data sets; refuses
                             two different files under one name, a file that does not read back
                             as a result file and a row for a data set the database does not
                             hold, before anything is written
  sweep <data set> --vary TABLE.COLUMN=v1,v2,... [--vary ...] [--name PATTERN] [--dry-run]
        [--max-variants N]
                             creates a data set for every combination of the values: copies
                             of the named rows (TABLE: haupt, a reference column of haupt such
                             as kolo, wpww, zwischenspei, or a table one column names such as
                             spei, rech, num) with the value set, named like the variant, and
                             a copy of the data set naming them, with its own result and
                             control file names and not fixed. PATTERN: {base} the data set,
                             {n} the number, {1}, {2}, ... the values (default "{base}
                             COLUMN={1} ..."); --dry-run only lists the variants. Each variant
                             is checked as a run would load it (references, value ranges,
                             plain file names); one that fails creates none. More than N
                             combinations (default 10000, at most 1000000) are refused
  inputs <data set> [--tilt deg] [--azimuth deg] [--csv]
                             loads the data set and prints its monthly inputs and the
                             per-interval series is0, ir, diff, ref, ta, ho on the collector
                             plane (one row per month and interval); tilt 0..90, azimuth
                             -180..180 (0 = towards the equator, 90 = west)
  show <file> [--csv]        print a result file (.sim, .dat, .str) in the current
                             output units; --csv writes CSV with a header of codes and units
  costs <result file>... [--csv]
                             yearly costs of up to six result files: per file and
                             collector area the investment, annuity, energy bills,
                             solar-cell income, maintenance and yearly total, with the
                             cost parameters of each file's site data set
  init-db [dir]              create the default database in dir (default: the database
                             directory); refuses a directory that is not empty
  import-weather <file> --name NAME [--replace]
                             reads an EnergyPlus weather file (.epw) or a DWD test reference
                             year (.dat) into the weather record NAME with hourly detail rows
                             (location, units and source from the file); only a whole year in
                             calendar order (8760 hours, 8784 with 29 February) is stored;
                             --replace replaces a record of that name
  devices [--simulated] [--com-pattern PATTERN]
                             list the serial ports COM2..COM100 with their DCD/DSR levels,
                             the port found for each device and its no-connection mark;
                             --simulated uses simulated device boards on COM3..COM6;
                             PATTERN maps COMn to a device path ("{n}" n, "{n-1}" n-1;
                             default /dev/ttyUSB{n-1})
  trace <data set> --month M [--area A] [--optimise] [--attempts] [--csv]
                             decision trace: computes the data set (a single simulation, or an
                             optimisation with --optimise) into a scratch folder and prints for
                             every interval of month M (1..12) of area A (m²; default every
                             area) the weather, the `ge` step and inflow variant kept, flow,
                             inflow and outflow temperatures, collector heat, coupling heat er,
                             pump, heat-pump (nh, ok) and virtual electricity, heat delivered,
                             demand, store temperatures and the objective value of every
                             attempt (ge step/variant:value); --attempts: a full row for
                             every attempt, the kept one marked; nothing is stored
  control <data set> [--test-mode] [--simulated-devices] [--fast-clock] [--control-simulation]
          [--area A]
                             control run: computes the data set interval by interval in step
                             with the clock from the current hour on, measures outdoor
                             temperature and irradiation through the weather station, sets
                             pump, fan and intermediate heat pump through the DACs and prints
                             one line per live interval (time, month/interval, ta, is, set
                             values, coverage %); ends when the first line of "kontrolle.text"
                             in the working directory is exactly "STOP" (or on Ctrl-C/SIGTERM)
                             and switches the three sources off. --test-mode: no devices, no
                             measurement, stored weather; --simulated-devices: simulated boards
                             on COM3..COM6; --fast-clock: the wait for the next measurement
                             ends at once at the next full hour; --control-simulation
                             ("Steuer-Simulation"): full mode that measures and sets the
                             outputs but does not wait for the next measurement; --area:
                             collector area (default: the maximum area of the run parameters).
                             In full mode a weather station, pump board (or fan) that is not
                             found ends the run with an error, unless --control-simulation
  stop                       writes "STOP" into "kontrolle.text" of the working directory
  help                       this text

Options:
  --db <dir>                 database directory (default: <data dir>/Varnek/DataBase;
                             created from the default database when it holds no tables).
                             Reading never changes it: list, simulate, optimise, inputs and
                             show work on a write-protected database
  --results <dir>            result directory (default: <data dir>/Varnek/Results)
  --lang de|en               language of messages and result files (default de)
  --lock-wait <seconds>      how long a run waits for result files that another run is
                             writing (0..86400, default 5); then it is refused
  --abort-on-question        answer "Anwendung beenden?" with Yes (default: No, continue)
  --help                     this text

Result files appear complete or not at all: a run writes them under temporary names and
moves them into place when every area step is written; only then is the file entered in
the result catalogue. A run that fails leaves no new file and no new catalogue row.

Exit status: 0 on success; 1 when the command failed (the reason is the last line on
stderr); 2 for a wrong command line.
)";

const char* const HILFE_DE = R"(varnek-cli - Heizanlagen: Simulation, Optimierung und Ergebnisse ohne Bildschirm

Aufruf: varnek-cli [Optionen] <Befehl> [Argumente]

Befehle:
  list                       listet die Datensätze (Name, Fixierung, Info)
  simulate <Datensatz> [--threads N]
                             Einzelsimulation eines Datensatzes; schreibt die Ergebnisdatei .sim
                             und die Steuerdatei .str, zeigt die Jahreswerte und die Pfade
  optimise <Datensatz> [--threads N]
                             Optimierung über Kollektorfläche, Neigung und Wärmepumpenleistung;
                             schreibt die Ergebnisdatei .dat. --threads: die Flächenschritte von
                             N Threads gleichzeitig gerechnet (1..1024, Vorgabe: Zahl der
                             Kerne), Dateien Byte für Byte wie mit --threads 1
  batch [--from <Datensatz>] [--jobs N] [--processes] [--shard K/N]
                             "Serie rechnen": rechnet jeden nicht fixierten Datensatz ab dem
                             angegebenen (sonst dem ersten) bis zum ersten fixierten und
                             fixiert jeden fertigen; endet, wenn ein Lauf scheitert. Einen
                             Datensatz, den gleichzeitig eine andere Serie rechnet, überlässt
                             sie dieser. --jobs: N Threads, je einer pro Datensatz gleichzeitig
                             (1..1024, Vorgabe: Zahl der Kerne); --processes: Arbeitsprozesse
                             statt Threads; nach einem Fehler wird nichts mehr verteilt,
                             laufende Datensätze werden fertig. --shard K/N (Arbeitsprozesse):
                             nur die Datensätze an den Stellen K, K+N, K+2N, ...
                             der Serie, in den eigenen Katalog des Ergebnisordners
                             (RESULT.sqlite dort); die Datenbank wird nur gelesen, kein
                             Datensatz fixiert
  merge <Ordner>...          führt die Ergebnisordner von Serienteilen im Ergebnisverzeichnis
                             zusammen: kopiert ihre Dateien, trägt ihre Katalogzeilen (mit dem
                             Ergebnisverzeichnis als Ordner) ein und fixiert ihre Datensätze;
                             lehnt zwei verschiedene Dateien unter einem Namen, eine Datei, die
                             sich nicht als Ergebnisdatei lesen lässt, und eine Zeile für einen
                             Datensatz, den die Datenbank nicht hat, ab, bevor irgendetwas
                             geschrieben wird
  sweep <Datensatz> --vary TABELLE.SPALTE=w1,w2,... [--vary ...] [--name MUSTER] [--dry-run]
        [--max-variants N]
                             legt für jede Kombination der Werte einen Datensatz an: Kopien der
                             genannten Zeilen (TABELLE: haupt, eine Bezugsspalte von haupt wie
                             kolo, wpww, zwischenspei, oder eine Tabelle, die eine Spalte nennt,
                             wie spei, rech, num) mit dem Wert, benannt wie die Variante, und
                             eine Kopie des Datensatzes, die sie nennt, mit eigenen Namen der
                             Ergebnis- und Steuerdatei, nicht fixiert. MUSTER: {base} der
                             Datensatz, {n} die Nummer, {1}, {2}, ... die Werte (Vorgabe
                             "{base} SPALTE={1} ..."); --dry-run listet nur die Varianten. Jede
                             Variante wird geprüft, wie ein Lauf sie lädt (Bezüge,
                             Wertebereiche, einfache Dateinamen); scheitert eine, wird keine
                             angelegt. Mehr als N Kombinationen (Vorgabe 10000, höchstens
                             1000000) werden abgelehnt
  inputs <Datensatz> [--tilt Grad] [--azimuth Grad] [--csv]
                             lädt den Datensatz und zeigt seine Monatseingaben und die
                             Intervallreihen is0, ir, diff, ref, ta, ho auf der Kollektorebene
                             (eine Zeile je Monat und Intervall); Neigung 0..90, Azimut
                             -180..180 (0 = zum Äquator, 90 = Westen)
  show <Datei> [--csv]       zeigt eine Ergebnisdatei (.sim, .dat, .str) in den aktuellen
                             Ausgabeeinheiten; --csv schreibt CSV mit Codes und Einheiten
  costs <Ergebnisdatei>... [--csv]
                             Jahreskosten von bis zu sechs Ergebnisdateien: je Datei und
                             Kollektorfläche Investition, Annuität, Energiekosten,
                             Solarzellenertrag, Wartung und Jahreskosten, mit den
                             Kostenparametern des Datensatzes jeder Datei
  init-db [Verzeichnis]      legt die Default-Datenbank im Verzeichnis an (sonst im
                             Datenbankverzeichnis); ein nicht leeres Verzeichnis wird abgelehnt
  import-weather <Datei> --name NAME [--replace]
                             liest eine EnergyPlus-Wetterdatei (.epw) oder ein
                             DWD-Testreferenzjahr (.dat) als Wetterdatensatz NAME mit
                             Stundenwerten ein (Ort, Einheiten und Quelle aus der Datei); nur
                             ein ganzes Jahr in Kalenderfolge (8760 Stunden, 8784 mit dem 29.
                             Februar) wird gespeichert; --replace ersetzt einen Datensatz
                             dieses Namens
  devices [--simulated] [--com-pattern MUSTER]
                             listet die seriellen Schnittstellen COM2..COM100 mit ihren
                             DCD/DSR-Pegeln, die für jedes Gerät gefundene Schnittstelle und
                             seine Markierung "kein Anschluss"; --simulated nimmt simulierte
                             Geräteplatinen an COM3..COM6; MUSTER bildet COMn auf einen
                             Gerätepfad ab ("{n}" n, "{n-1}" n-1; Vorgabe /dev/ttyUSB{n-1})
  trace <Datensatz> --month M [--area A] [--optimise] [--attempts] [--csv]
                             Entscheidungsspur: rechnet den Datensatz (Einzelsimulation, mit
                             --optimise eine Optimierung) in einen Arbeitsordner und zeigt für
                             jedes Intervall des Monats M (1..12) der Fläche A (m²; ohne: jede
                             Fläche) das Wetter, den behaltenen `ge`-Schritt und die
                             Vorlaufvariante, Durchfluss, Ein- und Austrittstemperatur,
                             Kollektorwärme, Kopplungswärme er, Pumpen-, Wärmepumpen- (nh, ok)
                             und virtuellen Strom, gelieferte Wärme, Bedarf,
                             Speichertemperaturen und den Zielwert jedes Versuchs
                             (ge-Schritt/Variante:Wert); --attempts: eine volle Zeile für
                             jeden Versuch, der behaltene markiert; es wird nichts gespeichert
  control <Datensatz> [--test-mode] [--simulated-devices] [--fast-clock] [--control-simulation]
          [--area A]
                             Steuerlauf: rechnet den Datensatz Intervall für Intervall im Takt
                             der Uhr ab der aktuellen Stunde, misst Außentemperatur und
                             Einstrahlung über die Wetterstation, stellt Umwälzpumpe,
                             Ventilator und Zwischen-WP über die DACs und zeigt eine Zeile je
                             Live-Intervall (Zeit, Monat/Intervall, ta, is, Stellwerte,
                             Deckungsgrad %); endet, wenn die erste Zeile von "kontrolle.text"
                             im Arbeitsverzeichnis genau "STOP" ist (oder bei Strg-C/SIGTERM),
                             und schaltet die drei Quellen ab. --test-mode: ohne Geräte und
                             Messung, gespeichertes Wetter; --simulated-devices: simulierte
                             Platinen an COM3..COM6; --fast-clock: das Warten auf die nächste
                             Messung endet sofort zur nächsten vollen Stunde;
                             --control-simulation ("Steuer-Simulation"): Vollmodus, der misst
                             und die Ausgänge stellt, aber nicht auf die nächste Messung
                             wartet; --area: Kollektorfläche (sonst die Höchstfläche der
                             Laufparameter). Im Vollmodus beendet eine nicht gefundene
                             Wetterstation, Pumpenplatine (oder ein Ventilator) den Lauf mit
                             einem Fehler, außer mit --control-simulation
  stop                       schreibt "STOP" in "kontrolle.text" des Arbeitsverzeichnisses
  help                       dieser Text

Optionen:
  --db <Verzeichnis>         Datenbankverzeichnis (Vorgabe: <Datenordner>/Varnek/DataBase;
                             aus der Default-Datenbank angelegt, wenn es keine Tabellen hat).
                             Lesen ändert es nie: list, simulate, optimise, inputs und show
                             arbeiten auch auf einer schreibgeschützten Datenbank
  --results <Verzeichnis>    Ergebnisverzeichnis (Vorgabe: <Datenordner>/Varnek/Results)
  --lang de|en               Sprache der Meldungen und Ergebnisdateien (Vorgabe de)
  --lock-wait <Sekunden>     wie lange ein Lauf auf Ergebnisdateien wartet, die ein anderer
                             Lauf schreibt (0..86400, Vorgabe 5); danach wird er abgelehnt
  --abort-on-question        beantwortet "Anwendung beenden?" mit Ja (Vorgabe: Nein, weiter)
  --help                     dieser Text

Ergebnisdateien erscheinen vollständig oder gar nicht: ein Lauf schreibt sie unter
vorläufigen Namen und benennt sie um, wenn alle Flächenschritte geschrieben sind; erst dann
wird die Datei in den Ergebniskatalog eingetragen. Ein gescheiterter Lauf hinterlässt keine
neue Datei und keine neue Katalogzeile.

Rückgabewert: 0 bei Erfolg; 1, wenn der Befehl scheiterte (der Grund ist die letzte Zeile
auf stderr); 2 bei falscher Befehlszeile.
)";

// Texts of the runner itself.
namespace txt {
constexpr text_paar fehler{"Fehler: ", "error: "};
constexpr text_paar siehe_hilfe{" (siehe --help)", " (see --help)"};
constexpr text_paar option_braucht_wert{"Option braucht einen Wert: ", "option needs a value: "};
constexpr text_paar lang_werte{"--lang erlaubt de oder en", "--lang takes de or en"};
constexpr text_paar unbekannte_option{"Unbekannte Option: ", "unknown option: "};
constexpr text_paar unbekannter_befehl{"Unbekannter Befehl: ", "unknown command: "};
constexpr text_paar zahl_im_bereich{" braucht eine Zahl von ", " takes a number from "};
constexpr text_paar ganze_zahl_im_bereich{" braucht eine ganze Zahl von ", " takes a whole number from "};
constexpr text_paar bis{" bis ", " to "};
constexpr text_paar option_nicht_fuer{"Option passt nicht zum Befehl ", "option does not apply to command "};
constexpr text_paar argumente{"Falsche Zahl von Argumenten für ", "wrong number of arguments for "};
constexpr text_paar erwartet{", erwartet: ", ", expected: "};
constexpr text_paar kein_datensatz{"Kein Datensatz mit dem Namen ", "no data set named "};
constexpr text_paar nicht_geladen{"Datensatz konnte nicht geladen werden: ", "data set could not be loaded: "};
constexpr text_paar keine_ergebnisdatei{"Keine Ergebnisdatei für ", "no result file for "};
constexpr text_paar nicht_abgeschlossen{"Lauf nicht abgeschlossen: ", "run did not complete: "};
constexpr text_paar abgebrochen{"Vorgang abgebrochen", "operation abandoned"};
constexpr text_paar belegt{"Ergebnisdatei wird gerade von einem anderen Lauf geschrieben: ",
                           "result file is being written by another run: "};
constexpr text_paar gewartet{" (gewartet: ", " (waited: "};
constexpr text_paar sekunden{" s)", " s)"};
constexpr text_paar keine_datei{"Keine reguläre Datei: ", "not a regular file: "};
constexpr text_paar datei_fehlt{"Datei existiert nicht: ", "file does not exist: "};
constexpr text_paar falsches_format{"Fehler: Falsches Datenformat", "Error: Wrong data format"};
constexpr text_paar neigung_abgelehnt{"Die Wetterdaten erlauben diese Neigung nicht",
                                      "the weather data do not allow this tilt"};
constexpr text_paar serie_angehalten{"Serie angehalten: ", "batch stopped: "};
constexpr text_paar gerechnet{" Datensätze gerechnet", " data sets computed"};
constexpr text_paar uebersprungen{", übersprungen (von einem anderen Lauf gerechnet): ",
                                  ", skipped (computed by another run): "};
constexpr text_paar wird_gerechnet{"Datensatz wird von einem anderen Lauf gerechnet, übersprungen: ",
                                   "data set is being computed by another run, skipped: "};
constexpr text_paar ergebnisdatei{"Ergebnisdatei: ", "Result file: "};
constexpr text_paar shard_form{"--shard braucht K/N mit 1 <= K <= N: \"", "--shard takes K/N with 1 <= K <= N: \""};
constexpr text_paar vary_fehlt{"sweep braucht mindestens ein --vary", "sweep needs at least one --vary"};
constexpr text_paar steuerdatei{"Steuerdatei: ", "Control file: "};
constexpr text_paar schreibgeschuetzt{"Datenbank schreibgeschützt; die Serie fixiert jeden gerechneten Datensatz: ",
                                      "database is write-protected; the batch fixes every data set it computes: "};
}  // namespace txt

// Messages of the runner: dialogs go to stderr and, so that nothing of a
// long run is hidden, to the protocol file. The last error, shown or only
// written to the protocol, is the reason printed when a command fails.
class cli_senke : public meldungs_senke {
public:
    cli_senke(std::ostream& aus, bool abbrechen) : aus_(aus), abbrechen_(abbrechen) {}
    void zeige(const std::string& text, char schwere) override {
        aus_ << text << '\n';
        protokolliere(text);
        if (schwere == 'E' || schwere == 'T') letzter_fehler = text;
    }
    bool frage(const std::string& text) override {
        const std::string zeile =
            text + (abbrechen_ ? text_paar{" -> Ja", " -> Yes"} : text_paar{" -> Nein", " -> No"}).text();
        aus_ << zeile << '\n';
        protokolliere(zeile);
        if (abbrechen_) letzter_fehler = text;
        return abbrechen_;
    }
    void protokolliert(const std::string& text, char schwere) override {
        if (schwere == 'E' || schwere == 'T') letzter_fehler = text;
    }
    std::string letzter_fehler;

private:
    std::ostream& aus_;
    bool abbrechen_;
};

// The sink of the calling thread's run (a batch computes in several threads).
thread_local cli_senke* g_senke = nullptr;

// A failed command. `nutzung`: the command line is wrong (exit status 2).
// `meldung_bevorzugen`: the last error reported on the way is the better
// reason, when there is one.
struct fehlschlag {
    std::string grund;
    bool nutzung = false;
    bool meldung_bevorzugen = false;
};

[[noreturn]] void nutzungsfehler(std::string grund) { throw fehlschlag{std::move(grund), true, false}; }

struct befehlszeile {
    startoptionen start;
    bool abbrechen_bei_frage = false;
    bool csv = false;
    std::optional<std::string> ab;      // batch: first data set
    std::optional<int> jobs;            // batch: worker processes
    std::optional<teilstueck> shard;    // batch: the part K/N of the series
    std::vector<std::string> variationen;  // sweep: TABLE.COLUMN=v1,v2,...
    bool probelauf = false;                // sweep: list only
    long long max_varianten = STANDARD_MAX_VARIANTEN;  // sweep: most combinations
    std::optional<double> neigung;      // inputs: collector tilt
    std::optional<double> azimut;       // inputs: collector azimuth
    double sperre_warten = 5.0;         // seconds to wait for result files in use
    bool simuliert = false;             // devices: simulated boards
    std::optional<std::string> com_muster;  // devices: COMn -> device path
    std::optional<std::string> name;        // import-weather: name of the weather record
    bool ersetzen = false;                  // import-weather: replace a record of that name
    steuerlauf_optionen steuern;            // control: mode, devices, clock, area
    std::optional<int> monat;               // trace: the month traced
    bool optimieren = false;                // trace: an optimisation
    bool prozesse = false;                  // batch: worker processes instead of threads
    std::optional<int> threads;             // simulate, optimise: threads for the area steps
    bool alle_versuche = false;             // trace: a row for every attempt
    std::vector<std::string> optionen;  // the command-specific options given
    std::string befehl;
    std::vector<std::string> argumente;
};

// A number option: finite and inside [min, max].
double zahloption(const std::string& option, const std::string& s, double min, double max) {
    char* ende = nullptr;
    const double x = std::strtod(s.c_str(), &ende);
    if (s.empty() || ende == s.c_str() || *ende != '\0' || !std::isfinite(x) || x < min || x > max) {
        std::ostringstream o;
        o << option << txt::zahl_im_bereich.text() << min << txt::bis.text() << max << ": \"" << s << "\"";
        nutzungsfehler(o.str());
    }
    return x;
}

// A whole-number option inside [min, max].
long long ganzzahloption(const std::string& option, const std::string& s, long long min, long long max) {
    char* ende = nullptr;
    const double x = std::strtod(s.c_str(), &ende);
    if (s.empty() || ende == s.c_str() || *ende != '\0' || !std::isfinite(x) || x != std::floor(x) ||
        x < static_cast<double>(min) || x > static_cast<double>(max)) {
        std::ostringstream o;
        o << option << txt::ganze_zahl_im_bereich.text() << min << txt::bis.text() << max << ": \"" << s << "\"";
        nutzungsfehler(o.str());
    }
    return static_cast<long long>(x);
}

befehlszeile lies_befehlszeile(int argc, const char* const* argv) {
    befehlszeile b;
    auto wert = [&](int& i, const std::string& option) -> std::string {
        if (i + 1 >= argc) nutzungsfehler(txt::option_braucht_wert.text() + option);
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
            else nutzungsfehler(txt::lang_werte.text());
        } else if (a == "--abort-on-question") {
            b.abbrechen_bei_frage = true;
        } else if (a == "--csv") {
            b.csv = true;
            b.optionen.push_back(a);
        } else if (a == "--from") {
            b.ab = wert(i, a);
            b.optionen.push_back(a);
        } else if (a == "--tilt") {
            b.neigung = zahloption(a, wert(i, a), 0.0, 90.0);
            b.optionen.push_back(a);
        } else if (a == "--azimuth") {
            b.azimut = zahloption(a, wert(i, a), -180.0, 180.0);
            b.optionen.push_back(a);
        } else if (a == "--simulated") {
            b.simuliert = true;
            b.optionen.push_back(a);
        } else if (a == "--com-pattern") {
            b.com_muster = wert(i, a);
            if (const auto grund = pruefe_com_muster(*b.com_muster)) nutzungsfehler(*grund);
            b.optionen.push_back(a);
        } else if (a == "--name") {
            b.name = wert(i, a);
            b.optionen.push_back(a);
        } else if (a == "--replace") {
            b.ersetzen = true;
            b.optionen.push_back(a);
        } else if (a == "--jobs") {
            b.jobs = static_cast<int>(ganzzahloption(a, wert(i, a), 1, 1024));
            b.optionen.push_back(a);
        } else if (a == "--shard") {
            const std::string s = wert(i, a);
            b.shard = lies_teilstueck(s);
            if (!b.shard) nutzungsfehler(txt::shard_form.text() + s + "\"");
            b.optionen.push_back(a);
        } else if (a == "--vary") {
            b.variationen.push_back(wert(i, a));
            b.optionen.push_back(a);
        } else if (a == "--max-variants") {
            b.max_varianten = ganzzahloption(a, wert(i, a), 1, 1000000);
            b.optionen.push_back(a);
        } else if (a == "--dry-run") {
            b.probelauf = true;
            b.optionen.push_back(a);
        } else if (a == "--test-mode") {
            b.steuern.testmodus = true;
            b.optionen.push_back(a);
        } else if (a == "--simulated-devices") {
            b.steuern.simulierte_geraete = true;
            b.optionen.push_back(a);
        } else if (a == "--fast-clock") {
            b.steuern.schnelle_uhr = true;
            b.optionen.push_back(a);
        } else if (a == "--control-simulation") {
            b.steuern.steuer_simulation = true;
            b.optionen.push_back(a);
        } else if (a == "--month") {
            const double monat = zahloption(a, wert(i, a), 1.0, 12.0);
            if (monat != std::floor(monat)) zahloption(a, "", 1.0, 12.0);
            b.monat = static_cast<int>(monat);
            b.optionen.push_back(a);
        } else if (a == "--optimise") {
            b.optimieren = true;
            b.optionen.push_back(a);
        } else if (a == "--threads") {
            const double t = zahloption(a, wert(i, a), 1.0, 1024.0);
            if (t != std::floor(t)) zahloption(a, "", 1.0, 1024.0);
            b.threads = static_cast<int>(t);
            b.optionen.push_back(a);
        } else if (a == "--processes") {
            b.prozesse = true;
            b.optionen.push_back(a);
        } else if (a == "--attempts") {
            b.alle_versuche = true;
            b.optionen.push_back(a);
        } else if (a == "--area") {
            b.steuern.flaeche = zahloption(a, wert(i, a), 0.0, 1e6);
            b.optionen.push_back(a);
        } else if (a == "--lock-wait") {
            b.sperre_warten = zahloption(a, wert(i, a), 0.0, 86400.0);
            b.optionen.push_back(a);
        } else if (a.rfind("--", 0) == 0) {
            nutzungsfehler(txt::unbekannte_option.text() + a);
        } else if (b.befehl.empty()) {
            b.befehl = a;
        } else {
            b.argumente.push_back(a);
        }
    }
    if (b.befehl.empty()) b.befehl = "help";
    return b;
}

// What each command accepts: number of arguments and its own options.
struct befehlsform {
    const char* befehl;
    std::size_t min_argumente, max_argumente;
    std::vector<std::string> optionen;
    text_paar aufruf;
};

const std::vector<befehlsform>& befehlsformen() {
    static const std::vector<befehlsform> f = {
        {"help", 0, 0, {}, {"help", "help"}},
        {"list", 0, 0, {}, {"list", "list"}},
        {"simulate", 1, 1, {"--lock-wait", "--threads"},
         {"simulate <Datensatz> [--threads N]", "simulate <data set> [--threads N]"}},
        {"optimise", 1, 1, {"--lock-wait", "--threads"},
         {"optimise <Datensatz> [--threads N]", "optimise <data set> [--threads N]"}},
        {"batch", 0, 0, {"--from", "--lock-wait", "--jobs", "--processes", "--shard"},
         {"batch [--from <Datensatz>] [--jobs N] [--processes] [--shard K/N]",
          "batch [--from <data set>] [--jobs N] [--processes] [--shard K/N]"}},
        {"batch-worker", 0, 0, {"--lock-wait", "--shard"}, {"batch-worker", "batch-worker"}},
        {"merge", 1, 4096, {"--lock-wait"}, {"merge <Ergebnisordner>...", "merge <result folder>..."}},
        {"sweep", 1, 1, {"--vary", "--name", "--dry-run", "--max-variants"},
         {"sweep <Datensatz> --vary TABELLE.SPALTE=w1,w2,... [--vary ...] [--name MUSTER] [--dry-run] "
          "[--max-variants N]",
          "sweep <data set> --vary TABLE.COLUMN=v1,v2,... [--vary ...] [--name PATTERN] [--dry-run] "
          "[--max-variants N]"}},
        {"inputs", 1, 1, {"--tilt", "--azimuth", "--csv"},
         {"inputs <Datensatz> [--tilt Grad] [--azimuth Grad] [--csv]",
          "inputs <data set> [--tilt deg] [--azimuth deg] [--csv]"}},
        {"show", 1, 1, {"--csv"}, {"show <Datei> [--csv]", "show <file> [--csv]"}},
        {"devices", 0, 0, {"--simulated", "--com-pattern"},
         {"devices [--simulated] [--com-pattern MUSTER]", "devices [--simulated] [--com-pattern PATTERN]"}},
        {"costs", 0, 64, {"--csv"}, {"costs <Ergebnisdatei>... [--csv]", "costs <result file>... [--csv]"}},
        {"init-db", 0, 1, {}, {"init-db [Verzeichnis]", "init-db [dir]"}},
        {"control", 1, 1, {"--test-mode", "--simulated-devices", "--fast-clock", "--control-simulation", "--area",
                     "--lock-wait"},
         {"control <Datensatz> [--test-mode] [--simulated-devices] [--fast-clock] [--control-simulation] "
          "[--area A]",
          "control <data set> [--test-mode] [--simulated-devices] [--fast-clock] [--control-simulation] "
          "[--area A]"}},
        {"stop", 0, 0, {}, {"stop", "stop"}},
        {"trace", 1, 1, {"--month", "--area", "--optimise", "--attempts", "--csv"},
         {"trace <Datensatz> --month M [--area A] [--optimise] [--attempts] [--csv]",
          "trace <data set> --month M [--area A] [--optimise] [--attempts] [--csv]"}},
        {"import-weather", 1, 1, {"--name", "--replace"},
         {"import-weather <Datei> --name NAME [--replace]", "import-weather <file> --name NAME [--replace]"}},
    };
    return f;
}

void pruefe_befehlsform(const befehlszeile& b) {
    const auto& formen = befehlsformen();
    const auto it = std::find_if(formen.begin(), formen.end(),
                                 [&](const befehlsform& f) { return b.befehl == f.befehl; });
    if (it == formen.end()) nutzungsfehler(txt::unbekannter_befehl.text() + b.befehl);
    if (b.argumente.size() < it->min_argumente || b.argumente.size() > it->max_argumente)
        nutzungsfehler(txt::argumente.text() + b.befehl + txt::erwartet.text() + it->aufruf.text());
    for (const auto& o : b.optionen) {
        if (std::find(it->optionen.begin(), it->optionen.end(), o) == it->optionen.end())
            nutzungsfehler(txt::option_nicht_fuer.text() + b.befehl + ": " + o);
    }
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
    parreadtab t;
    t.name = b.argumente[0];
    // A FIFO or a device would block the reader or never end.
    std::error_code ec;
    const std::filesystem::path datei(t.name);
    if (!std::filesystem::exists(datei, ec)) throw fehlschlag{txt::datei_fehlt.text() + t.name};
    if (!std::filesystem::is_regular_file(datei, ec)) throw fehlschlag{txt::keine_datei.text() + t.name};
    dat3d werte;
    TSDaten beschreibung;
    bool ok = true;
    lese_tabelle(werte, t, beschreibung, ok);
    if (!ok) throw fehlschlag{txt::falsches_format.text() + ": " + t.name, false, true};
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
        aus_ << "  A = " << zahl(zustand::anlage(0).n * zustand::vdatt()[tdata::daf]) << " qm: " << schritt_
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

// Loads the current data set; fails with the reported reason when it cannot
// be loaded.
void lade_datensatz() {
    flagchar& n = zustand::numchar();
    n[ndata::einstrahlung_berechnen] = "J";
    bool dbflag = true;
    if (!lese_daten_ein(zustand::pvdatz3(1), zustand::pvdatz3(2), dbflag) || !dbflag) {
        throw fehlschlag{txt::nicht_geladen.text() + tab(tabledata::thaupt).text("name"), false, true};
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

enum class laufergebnis { fertig, von_anderem_lauf_belegt };

// One simulation or optimisation of the data set at the cursor of `haupt`.
// The result files are locked before anything is loaded or computed: a run
// waits at most `warten` for files another run writes and is then refused;
// in a batch (`serie`) a data set that another run holds is reported as
// such (no wait), and one that another batch has fixed meanwhile is left
// alone. Fails (fehlschlag) when the run did not complete. A batch part of a
// sharded series (`fixieren` false) leaves the data set's fixed mark alone.
laufergebnis rechne_datensatz(bool optimierung, bool serie, std::chrono::milliseconds warten,
                              std::ostream& aus, std::ostream& fehler, bool fixieren = true, int threads = 1) {
    const std::string name = tab(tabledata::thaupt).text("name");
    if (g_senke) g_senke->letzter_fehler.clear();
    const std::filesystem::path& verzeichnis = einstellungen().ergebnisverzeichnis;
    const auto ausgabe = ausgabefile_anlegen(optimierung ? 'O' : 'S', verzeichnis);
    if (!ausgabe) throw fehlschlag{txt::keine_ergebnisdatei.text() + name, false, true};
    std::filesystem::path belegt;
    auto sperre = dateisperre::belege(ausgabe->dateien(verzeichnis), serie ? std::chrono::milliseconds(0) : warten,
                                      &belegt);
    if (!sperre) {
        if (serie) return laufergebnis::von_anderem_lauf_belegt;
        std::ostringstream o;
        o << txt::belegt.text() << belegt.string() << txt::gewartet.text() << warten.count() / 1000.0
          << txt::sekunden.text();
        throw fehlschlag{o.str()};
    }
    // Temporary files of a run that was killed are removed now that no other
    // run can be writing them.
    for (const auto& datei : ausgabe->dateien(verzeichnis)) entferne_temporaere_reste(datei);
    if (serie) {
        // Another batch may have finished this data set since the list of
        // the batch was made.
        tabelle& haupt = tab(tabledata::thaupt);
        haupt.aktualisiere();
        if (!positioniere_datensatz(name) || haupt.text("lock") != "NF") return laufergebnis::von_anderem_lauf_belegt;
    }
    lade_datensatz();
    standard_laufdienste dienste(*ausgabe, verzeichnis);
    anlagenschritte schritte;
    cli_beobachter beobachter(fehler);
    laufumgebung u{dienste, schritte, beobachter};
    u.threads = threads;
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
    if (!marken().simulation_durchgefuehrt) throw fehlschlag{txt::nicht_abgeschlossen.text() + name, false, true};
    if (serie && fixieren) {
        // Fixed while the claim is still held, so that no other batch
        // takes the data set up again.
        positioniere_datensatz(name);
        tabelle& haupt = tab(tabledata::thaupt);
        haupt.bearbeiten();
        haupt.setze("lock", std::string("F"));
        haupt.speichern();
    }
    const laufausgabe a = dienste.ausgabe();
    aus << name << '\n';
    zeige_jahreszahlen(aus);
    aus << txt::ergebnisdatei.text() << a.ergebnisdatei.string() << '\n';
    if (!optimierung && !serie) aus << txt::steuerdatei.text() << a.steuerdatei.string() << '\n';
    return laufergebnis::fertig;
}

std::chrono::milliseconds wartezeit(const befehlszeile& b) {
    return std::chrono::milliseconds(static_cast<long long>(std::llround(b.sperre_warten * 1000.0)));
}

void befehl_rechnen(const befehlszeile& b, bool optimierung, std::ostream& aus, std::ostream& fehler) {
    if (!positioniere_datensatz(b.argumente[0])) throw fehlschlag{txt::kein_datensatz.text() + b.argumente[0]};
    rechne_datensatz(optimierung, false, wartezeit(b), aus, fehler, true, b.threads.value_or(anzahl_kerne()));
}

// Message settings of a batch: messages to the protocol file.
void serie_vorbereiten() {
    flagchar& n = zustand::numchar();
    n[ndata::meldungsmodus] = "S";
    n[ndata::laufart] = "N";
    n[ndata::kontrolllauf] = "N";
    n[ndata::einstrahlung_berechnen] = "J";
}

// One data set of a batch; failures become the reason the runner would print.
serienantwort rechne_serienglied(const std::string& name, const befehlszeile& b, std::ostream& aus,
                                 std::ostream& fehler) {
    if (!positioniere_datensatz(name)) return {serienantwort::art::entfallen, {}};  // deleted meanwhile
    meldung(name, "S", 'M');
    auto grund = [&](const fehlschlag& f) {
        if (f.meldung_bevorzugen && g_senke && !g_senke->letzter_fehler.empty()) return g_senke->letzter_fehler;
        return txt::serie_angehalten.text() + f.grund;
    };
    try {
        const laufergebnis e = rechne_datensatz(true, true, wartezeit(b), aus, fehler, !b.shard);
        if (e == laufergebnis::von_anderem_lauf_belegt) return {serienantwort::art::belegt, {}};
        return {serienantwort::art::fertig, {}};
    } catch (const abbruch&) {
        return {serienantwort::art::fehler,
                grund(fehlschlag{txt::nicht_abgeschlossen.text() + name, false, true})};
    } catch (const fehlschlag& f) {
        return {serienantwort::art::fehler, grund(f)};
    } catch (const std::exception& e) {
        return {serienantwort::art::fehler, e.what()};
    }
}

// "Serie rechnen": every data set that is not fixed, from the start row up
// to the first fixed one. The list is taken at the start; each data set is
// claimed (its result file locked) before it is computed, so two batches on
// one database share the work instead of computing the same data sets.
// With --jobs N the list is computed by N worker processes; with --shard K/N
// only every N-th data set from the K-th on, into the result folder's own
// catalogue, leaving the database unchanged.
void befehl_batch(const befehlszeile& b, std::ostream& aus, std::ostream& fehler) {
    tabelle& haupt = tab(tabledata::thaupt);
    // The batch fixes every data set it computes; without a writable table
    // it would compute and then fail. A part of a sharded series writes
    // nothing to the database.
    if (!b.shard && haupt.ist_offen() && haupt.nur_lesbar())
        throw fehlschlag{txt::schreibgeschuetzt.text() + haupt.datei().string()};
    if (b.ab) {
        if (!positioniere_datensatz(*b.ab)) throw fehlschlag{txt::kein_datensatz.text() + *b.ab};
    } else {
        haupt.filter_aus();
        haupt.sortiere_nach_index("isortieren");
        haupt.erster();
    }
    std::vector<std::string> liste;
    for (; !haupt.eof() && haupt.text("lock") == "NF"; haupt.naechster()) liste.push_back(haupt.text("name"));
    if (b.shard) {
        liste = waehle_teilstueck(liste, *b.shard);
        katalog_in_ergebnisordner(einstellungen().ergebnisverzeichnis);
    }

    serie_vorbereiten();
    leere_protokoll();
    const bool prozesse = b.prozesse || b.shard.has_value();
    const int jobs = b.jobs.value_or(!prozesse || parallel_verfuegbar() ? anzahl_kerne() : 1);
    int gerechnet = 0, uebersprungen = 0;
    if (jobs > 1 && !liste.empty() && !prozesse) {
        // Threads of this process: each data set in a run state copied from
        // this process's (as a fresh worker process starts) and a database
        // session of its own, its messages to its own sink.
        laufzustand& programm = aktueller_lauf();
        const serien_bilanz bilanz = rechne_in_threads(
            liste, jobs,
            [&](const std::string& name, std::ostream& f) {
                laufzustand lauf;
                lauf.uebernehme(programm);
                const laufbindung an_lauf(lauf);
                datenbanksitzung sitzung;
                const sitzungsbindung an_sitzung(sitzung);
                cli_senke senke(f, b.abbrechen_bei_frage);
                const senkenbindung an_senke(senke);
                g_senke = &senke;
                std::ostringstream ausgabe;
                serienantwort r = rechne_serienglied(name, b, ausgabe, f);
                g_senke = nullptr;
                if (r.status == serienantwort::art::fertig) r.text = ausgabe.str();
                return r;
            },
            aus, fehler);
        gerechnet = bilanz.gerechnet;
        uebersprungen = bilanz.uebersprungen;
        if (bilanz.fehler) throw fehlschlag{*bilanz.fehler};
    } else if (jobs > 1 && !liste.empty()) {
        std::vector<std::string> a{"--db", einstellungen().datenbankverzeichnis.string(), "--results",
                                   einstellungen().ergebnisverzeichnis.string(), "--lang",
                                   sprache() == SPRACHE_ENGLISCH ? "en" : "de", "--lock-wait",
                                   std::to_string(b.sperre_warten)};
        if (b.abbrechen_bei_frage) a.push_back("--abort-on-question");
        if (b.shard) a.insert(a.end(), {"--shard", std::to_string(b.shard->k) + "/" + std::to_string(b.shard->n)});
        a.push_back("batch-worker");
        const serien_bilanz bilanz = rechne_parallel(liste, jobs, a, aus, fehler);
        gerechnet = bilanz.gerechnet;
        uebersprungen = bilanz.uebersprungen;
        if (bilanz.fehler) throw fehlschlag{*bilanz.fehler};
    } else {
        for (const std::string& name : liste) {
            const serienantwort r = rechne_serienglied(name, b, aus, fehler);
            if (r.status == serienantwort::art::fehler) throw fehlschlag{r.text};
            if (r.status == serienantwort::art::belegt) {
                fehler << txt::wird_gerechnet.text() << name << '\n';
                ++uebersprungen;
            } else if (r.status == serienantwort::art::fertig) {
                ++gerechnet;
            }
        }
    }
    fehler << gerechnet << txt::gerechnet.text();
    if (uebersprungen > 0) fehler << txt::uebersprungen.text() << uebersprungen;
    fehler << '\n';
}

// A worker of a parallel batch: the names come on stdin, the answers go to
// stdout (see serie_parallel.h).
int befehl_batch_arbeiter(const befehlszeile& b, std::ostream& fehler) {
    if (b.shard) katalog_in_ergebnisordner(einstellungen().ergebnisverzeichnis);
    serie_vorbereiten();
    return serien_arbeiter([&](const std::string& name) {
        std::ostringstream aus;
        serienantwort r = rechne_serienglied(name, b, aus, fehler);
        if (r.status == serienantwort::art::fertig) r.text = aus.str();
        return r;
    });
}

// A control run of a data set until "STOP" in the control file of the
// working directory (or SIGINT/SIGTERM); one line per live interval.
void befehl_control(const befehlszeile& b, std::ostream& aus, std::ostream& fehler) {
    if (!positioniere_datensatz(b.argumente[0])) throw fehlschlag{txt::kein_datensatz.text() + b.argumente[0]};
    const std::string name = b.argumente[0];
    const std::filesystem::path& verzeichnis = einstellungen().ergebnisverzeichnis;
    const auto ausgabe = ausgabefile_anlegen('S', verzeichnis);
    if (!ausgabe) throw fehlschlag{txt::keine_ergebnisdatei.text() + name, false, true};
    std::filesystem::path belegt;
    auto sperre = dateisperre::belege(ausgabe->dateien(verzeichnis), wartezeit(b), &belegt);
    if (!sperre) throw fehlschlag{txt::belegt.text() + belegt.string()};
    for (const auto& datei : ausgabe->dateien(verzeichnis)) entferne_temporaere_reste(datei);
    lade_datensatz();
    marken().steuerdatei_eingelesen = true;
    steuerlauf_optionen o = b.steuern;
    o.arbeitsverzeichnis = arbeitsverzeichnis();
    fehler << name << '\n';
    const steuerlauf_ergebnis e =
        steuerlauf(*ausgabe, verzeichnis, name, o, [&](const liveintervall_zeile& z) {
            schreibe_liveintervall(aus, z);
            aus.flush();
        });
    if (!e.gestoppt) throw fehlschlag{txt::nicht_abgeschlossen.text() + name, false, true};
}

void befehl_inputs(const befehlszeile& b, std::ostream& aus) {
    if (!positioniere_datensatz(b.argumente[0])) throw fehlschlag{txt::kein_datensatz.text() + b.argumente[0]};
    lade_datensatz();
    datt& v = zustand::vdatt();
    if (b.neigung || b.azimut) {
        if (b.neigung) v[tdata::theta_s] = *b.neigung;
        if (b.azimut) v[tdata::phi_g] = *b.azimut;
        if (!berechne_Einstrahlungsdaten_geladen(v[tdata::wetter_breite], v[tdata::theta_s], v[tdata::phi_g],
                                                 zustand::vdatz(), zustand::numchar(), zustand::pvdatz3(1),
                                                 v)) {
            throw fehlschlag{txt::neigung_abgelehnt.text(), false, true};
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
    aus << "# tilt " << zahl(v[tdata::theta_s]) << " deg, azimuth " << zahl(v[tdata::phi_g]) << " deg\n";
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

void befehl_trace(const befehlszeile& b, std::ostream& aus, std::ostream& fehler) {
    if (!b.monat) nutzungsfehler(text_paar{"trace braucht --month M (1..12)", "trace needs --month M (1..12)"}.text());
    if (!positioniere_datensatz(b.argumente[0])) throw fehlschlag{txt::kein_datensatz.text() + b.argumente[0]};
    lade_datensatz();
    spuroptionen o;
    o.monat = *b.monat;
    o.flaeche = b.steuern.flaeche;
    o.optimierung = b.optimieren;
    o.csv = b.csv;
    o.versuche = b.alle_versuche;
    cli_beobachter beobachter(fehler);
    marken().steuerdatei_eingelesen = true;
    spur_rechnen(b.argumente[0], o, aus, beobachter);
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
    // The language first, so that even a wrong command line is answered in it.
    setze_sprache(SPRACHE_DEUTSCH);
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string(argv[i]) == "--lang") {
            const std::string s = argv[i + 1];
            if (s == "en") setze_sprache(SPRACHE_ENGLISCH);
            if (s == "de") setze_sprache(SPRACHE_DEUTSCH);
        }
    }
    auto grundzeile = [&](std::string grund) {
        // One prefix in the chosen language; the reason keeps its own words.
        for (const char* p : {"Fehler: ", "Error: ", "error: "})
            if (grund.rfind(p, 0) == 0) grund.erase(0, std::string(p).size());
        fehler << "varnek-cli: " << txt::fehler.text() << grund << '\n';
    };
    befehlszeile b;
    try {
        b = lies_befehlszeile(argc, argv);
        pruefe_befehlsform(b);
    } catch (const fehlschlag& f) {
        grundzeile(f.grund + txt::siehe_hilfe.text());
        return 2;
    }
    setze_sprache(b.start.sprache);
    cli_senke senke(fehler, b.abbrechen_bei_frage);
    setze_meldungs_senke(&senke);
    g_senke = &senke;
    struct senke_zuruecksetzen {
        ~senke_zuruecksetzen() {
            setze_meldungs_senke(nullptr);
            g_senke = nullptr;
        }
    } zuruecksetzen;

    try {
        if (b.befehl == "help") {
            aus << (sprache() == SPRACHE_ENGLISCH ? HILFE_EN : HILFE_DE);
            return 0;
        }
        if (b.befehl == "devices") return befehl_geraete(b.simuliert, b.com_muster, aus, fehler);
        if (b.befehl == "costs") return befehl_kosten(b.start, b.argumente, b.csv, aus, fehler);
        if (b.befehl == "import-weather")
            return befehl_wetterimport(b.start, b.argumente[0], b.name.value_or(""), b.ersetzen, aus, fehler);
        if (b.befehl == "stop") {
            const std::filesystem::path datei = kontrolldatei_pfad(std::filesystem::current_path());
            if (!schreibe_kontrolldatei_stop(datei))
                throw fehlschlag{stationstexte::kontrolldatei_nicht_schreibbar.text() + datei.string()};
            aus << datei.string() << '\n';
            return 0;
        }
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
                {"merge", [&](const befehlszeile& x, std::ostream& o) {
                     befehl_merge(x.argumente, einstellungen().ergebnisverzeichnis, wartezeit(x), o, fehler);
                 }},
                {"sweep", [&](const befehlszeile& x, std::ostream& o) {
                     if (x.variationen.empty()) nutzungsfehler(txt::vary_fehlt.text());
                     try {
                         befehl_sweep(x.argumente[0], x.variationen, x.name, x.probelauf, o, x.max_varianten);
                     } catch (const std::invalid_argument& e) {
                         nutzungsfehler(e.what());
                     }
                 }},
                {"inputs", befehl_inputs},
                {"trace", [&](const befehlszeile& x, std::ostream& o) { befehl_trace(x, o, fehler); }},
                {"control", [&](const befehlszeile& x, std::ostream& o) { befehl_control(x, o, fehler); }},
            };
        programmstart(b.start);
        if (b.befehl == "batch-worker") return befehl_batch_arbeiter(b, fehler);
        befehle.at(b.befehl)(b, aus);
        return 0;
    } catch (const fehlschlag& f) {
        if (f.meldung_bevorzugen && !senke.letzter_fehler.empty()) {
            grundzeile(senke.letzter_fehler);
        } else {
            grundzeile(f.grund);
        }
        return f.nutzung ? 2 : 1;
    } catch (const abbruch&) {
        grundzeile(senke.letzter_fehler.empty() ? txt::abgebrochen.text() : senke.letzter_fehler);
    } catch (const std::exception& e) {
        grundzeile(e.what());
    }
    return 1;
}
