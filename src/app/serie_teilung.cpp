#include "app/serie_teilung.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <ostream>
#include <set>
#include <stdexcept>

#include "data/datenbank.h"
#include "data/tabellen_schema.h"
#include "input/datensatzauswahl.h"
#include "lang/sprache.h"
#include "results/dateiersatz.h"
#include "results/dateisperre.h"
#include "results/ergebniskatalog_tabelle.h"

namespace fs = std::filesystem;

const char* const TEILKATALOG = "RESULT.sqlite";

namespace {

namespace txt {
constexpr text_paar kein_teil{"Kein Teilergebnis (Ordner ohne ", "not a part result (folder without "};
constexpr text_paar ziel_ist_teil{"Zielordner ist zugleich ein Teilergebnis: ", "target folder is also a part: "};
constexpr text_paar konflikt{"Zwei verschiedene Dateien unter einem Namen: ", "two different files under one name: "};
constexpr text_paar und{" und ", " and "};
constexpr text_paar datei_fehlt{"Katalogzeile ohne Datei: ", "catalogue row without a file: "};
constexpr text_paar lesefehler{"Datei nicht lesbar: ", "file cannot be read: "};
constexpr text_paar schreibfehler{"Datei nicht schreibbar: ", "file cannot be written: "};
constexpr text_paar belegt{"Ergebnisdatei wird gerade von einem anderen Lauf geschrieben: ",
                           "result file is being written by another run: "};
constexpr text_paar zusammengefuehrt{" Dateien und ", " files and "};
constexpr text_paar zeilen{" Katalogzeilen zusammengeführt aus ", " catalogue rows merged from "};
constexpr text_paar teilen{" Teilen", " parts"};
}  // namespace txt

bool gleicher_inhalt(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    if (fs::file_size(a, ec) != fs::file_size(b, ec) || ec) return false;
    std::ifstream x(a, std::ios::binary), y(b, std::ios::binary);
    if (!x || !y) throw std::runtime_error(txt::lesefehler.text() + (x ? b : a).string());
    return std::equal(std::istreambuf_iterator<char>(x), std::istreambuf_iterator<char>(),
                      std::istreambuf_iterator<char>(y), std::istreambuf_iterator<char>());
}

// Files of a part that are results: not hidden (locks, temporary files), not
// its catalogue and not its protocol.
bool ist_ergebnisdatei(const fs::directory_entry& e) {
    const std::string n = e.path().filename().string();
    if (!e.is_regular_file() || n.empty() || n[0] == '.') return false;
    if (n.rfind(TEILKATALOG, 0) == 0) return false;
    return n != texte::protokolldatei.deutsch && n != texte::protokolldatei.englisch;
}

void kopiere_atomar(const fs::path& quelle, const fs::path& ziel) {
    std::string grund;
    const auto tmp = lege_temporaere_datei_an(ziel, grund);
    if (!tmp) throw std::runtime_error(txt::schreibfehler.text() + ziel.string() + " (" + grund + ")");
    std::error_code ec;
    fs::copy_file(quelle, *tmp, fs::copy_options::overwrite_existing, ec);
    if (ec || !ersetze_datei(*tmp, ziel, grund)) {
        fs::remove(*tmp, ec);
        throw std::runtime_error(txt::schreibfehler.text() + ziel.string() + " (" + (grund.empty() ? ec.message() : grund) + ")");
    }
}

}  // namespace

std::optional<teilstueck> lies_teilstueck(const std::string& text) {
    const auto strich = text.find('/');
    if (strich == std::string::npos || strich == 0 || strich + 1 >= text.size()) return std::nullopt;
    auto zahl = [](const std::string& s) -> std::optional<int> {
        if (s.empty() || s.size() > 6 || !std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return std::nullopt;
        return std::stoi(s);
    };
    const auto k = zahl(text.substr(0, strich)), n = zahl(text.substr(strich + 1));
    if (!k || !n || *k < 1 || *n > 100000 || *k > *n) return std::nullopt;
    return teilstueck{*k, *n};
}

std::vector<std::string> waehle_teilstueck(const std::vector<std::string>& liste, teilstueck t) {
    std::vector<std::string> teil;
    for (std::size_t i = static_cast<std::size_t>(t.k - 1); i < liste.size(); i += static_cast<std::size_t>(t.n))
        teil.push_back(liste[i]);
    return teil;
}

void katalog_in_ergebnisordner(const fs::path& ergebnisordner) {
    db_struct& d = datenbanken().at(tabledata::tres);
    d.tab->schliesse();
    d.datei = ergebnisordner / TEILKATALOG;
    d.oeffnung_versucht = true;
    d.tab->oeffne(d.datei, tabellenschema(tabledata::tres), true);
}

void befehl_merge(const std::vector<std::string>& teile, const fs::path& ziel_angabe,
                  std::chrono::milliseconds warten, std::ostream& aus, std::ostream& fehler) {
    std::error_code ec;
    fs::create_directories(ziel_angabe, ec);
    const fs::path ziel = fs::weakly_canonical(fs::absolute(ziel_angabe));

    // Plan everything first: nothing is written when any part conflicts.
    std::map<std::string, fs::path> dateien;  // file name -> source
    std::vector<result_zeile> zeilen;
    for (const auto& t : teile) {
        const fs::path ordner = fs::weakly_canonical(fs::absolute(t));
        if (!fs::is_regular_file(ordner / TEILKATALOG, ec))
            throw std::runtime_error(txt::kein_teil.text() + TEILKATALOG + "): " + t);
        if (ordner == ziel) throw std::runtime_error(txt::ziel_ist_teil.text() + t);
        for (const auto& e : fs::directory_iterator(ordner)) {
            if (!ist_ergebnisdatei(e)) continue;
            const std::string name = e.path().filename().string();
            const auto vorher = dateien.find(name);
            if (vorher != dateien.end()) {
                if (!gleicher_inhalt(vorher->second, e.path()))
                    throw std::runtime_error(txt::konflikt.text() + vorher->second.string() + txt::und.text() +
                                             e.path().string());
                continue;
            }
            if (fs::exists(ziel / name, ec) && !gleicher_inhalt(ziel / name, e.path()))
                throw std::runtime_error(txt::konflikt.text() + (ziel / name).string() + txt::und.text() +
                                         e.path().string());
            dateien.emplace(name, e.path());
        }
        tabelle katalog;
        if (!katalog.oeffne(ordner / TEILKATALOG, tabellenschema(tabledata::tres), false))
            throw std::runtime_error(txt::kein_teil.text() + TEILKATALOG + "): " + t);
        katalog.sortiere_nach_index("iname");
        for (katalog.erster(); !katalog.eof(); katalog.naechster()) {
            result_zeile z;
            z.name = katalog.text("name");
            z.land = katalog.text("land");
            z.bezirk = katalog.text("bezirk");
            z.ort = katalog.text("ort");
            z.kundennummer = katalog.text("kundennummer");
            z.haupteingabefile = katalog.text("haupteingabefile");
            const std::string art = katalog.text("optimierung");
            z.optimierung = art.empty() ? 'S' : art[0];
            z.lock = katalog.text("lock");
            z.info = katalog.text("info");
            if (!fs::is_regular_file(ordner / z.name, ec))
                throw std::runtime_error(txt::datei_fehlt.text() + (ordner / z.name).string());
            z.pfad = ziel.string();
            zeilen.push_back(z);
        }
    }

    std::vector<fs::path> ziele;
    for (const auto& [name, quelle] : dateien) ziele.push_back(ziel / name);
    fs::path gehalten;
    auto sperre = dateisperre::belege(ziele, warten, &gehalten);
    if (!sperre) throw std::runtime_error(txt::belegt.text() + gehalten.string());
    for (const auto& [name, quelle] : dateien) {
        if (fs::exists(ziel / name, ec)) continue;  // the same file is there already
        kopiere_atomar(quelle, ziel / name);
        aus << (ziel / name).string() << '\n';
    }
    // Catalogue rows once the files are in place, as a run enters them.
    ergebniskatalog_tabelle katalog;
    std::set<std::string> datensaetze;
    for (const auto& z : zeilen) {
        katalog.speichere(z, !katalog.finde_ergebnisdatei(z.name));
        if (!z.haupteingabefile.empty()) datensaetze.insert(z.haupteingabefile);
    }
    tabelle& haupt = tab(tabledata::thaupt);
    if (haupt.ist_offen() && !haupt.nur_lesbar()) {
        for (const auto& d : datensaetze) speichere_feld(tabledata::thaupt, "name", d, "lock", "F");
    }
    sperre->freigeben();
    fehler << dateien.size() << txt::zusammengefuehrt.text() << zeilen.size() << txt::zeilen.text() << teile.size()
           << txt::teilen.text() << '\n';
}
