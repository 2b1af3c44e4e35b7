#include "app/serie_teilung.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <ostream>
#include <set>
#include <stdexcept>

#include "data/datenbank.h"
#include "data/tabellen_schema.h"
#include "input/datensatzauswahl.h"
#include "lang/meldung.h"
#include "lang/sprache.h"
#include "results/dateiersatz.h"
#include "results/ergebnisdatei_lesen.h"
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
constexpr text_paar katalog_defekt{"Ergebniskatalog des Teils nicht lesbar: ", "catalogue of the part cannot be read: "};
constexpr text_paar unbekannter_datensatz{"Katalogzeile nennt einen Datensatz, den die Datenbank nicht hat: ",
                                          "catalogue row names a data set the database does not hold: "};
constexpr text_paar datei{", Datei ", ", file "};
constexpr text_paar katalog_schreibgeschuetzt{"Ergebniskatalog nicht beschreibbar: ", "result catalogue cannot be written: "};
constexpr text_paar geaendert{"Datei hat sich seit der Prüfung geändert: ", "file changed since it was checked: "};
constexpr text_paar zurueckgenommen{"; die kopierten Dateien sind wieder entfernt",
                                    "; the files copied have been removed again"};
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

std::string systemgrund(int fehlernummer) { return std::generic_category().message(fehlernummer); }

// Writes `inhalt` as file `ziel`: under a temporary name, flushed, then
// renamed into place. Throws with the system's reason (a full disk says so).
void schreibe_atomar(const std::string& inhalt, const fs::path& ziel) {
    std::string grund;
    const auto tmp = lege_temporaere_datei_an(ziel, grund);
    if (!tmp) throw std::runtime_error(txt::schreibfehler.text() + ziel.string() + " (" + grund + ")");
    auto scheitern = [&](const std::string& warum) {
        std::error_code ec;
        fs::remove(*tmp, ec);
        throw std::runtime_error(txt::schreibfehler.text() + ziel.string() + " (" + warum + ")");
    };
    errno = 0;
#ifdef _WIN32
    std::FILE* f = _wfopen(tmp->c_str(), L"wb");
#else
    std::FILE* f = std::fopen(tmp->c_str(), "wb");
#endif
    if (!f) scheitern(systemgrund(errno));
    const bool geschrieben = std::fwrite(inhalt.data(), 1, inhalt.size(), f) == inhalt.size() && std::fflush(f) == 0;
    const int fehlernummer = errno;
    const bool geschlossen = std::fclose(f) == 0;
    if (!geschrieben || !geschlossen) scheitern(systemgrund(fehlernummer != 0 ? fehlernummer : errno));
    if (!ersetze_datei(*tmp, ziel, grund)) scheitern(grund);
}

// A check of the part's data that shows nothing: the first error is the
// reason of the refusal.
class stille_senke : public meldungs_senke {
public:
    void zeige(const std::string& text, char schwere) override { merke(text, schwere); }
    bool frage(const std::string&) override { return false; }
    void protokolliert(const std::string& text, char schwere) override { merke(text, schwere); }
    std::string grund;

private:
    void merke(const std::string& text, char schwere) {
        if ((schwere == 'E' || schwere == 'T') && grund.empty()) grund = text;
    }
};

// A short fingerprint of a file's bytes (FNV-1a), to see that the file
// copied is the file checked.
std::uint64_t fingerabdruck(const std::string& s) {
    std::uint64_t h = 1469598103934665603ull;
    for (const unsigned char c : s) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
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

    // The data sets the database holds: a catalogue row must name one of them.
    std::set<std::string> datenbank_saetze;
    tabelle& haupt = tab(tabledata::thaupt);
    if (haupt.ist_offen()) {
        const int s_name = haupt.spalten_index("name");
        for (const auto& r : haupt.lies_alle(haupt.schluesselspalten()))
            datenbank_saetze.insert(als_text(r[static_cast<std::size_t>(s_name)]));
    }

    // Plan and check everything first: nothing is written when any part
    // conflicts, holds a file that does not read back whole, or a catalogue
    // row the database cannot take.
    struct quelle {
        fs::path pfad;
        std::uint64_t abdruck;
        std::size_t groesse;
    };
    std::map<std::string, quelle> dateien;  // file name -> source
    std::vector<result_zeile> zeilen;
    for (const auto& t : teile) {
        const fs::path ordner = fs::weakly_canonical(fs::absolute(t));
        if (!fs::is_regular_file(ordner / TEILKATALOG, ec))
            throw std::runtime_error(txt::kein_teil.text() + TEILKATALOG + "): " + t);
        if (ordner == ziel) throw std::runtime_error(txt::ziel_ist_teil.text() + t);
        for (const auto& e : fs::directory_iterator(ordner)) {
            if (!ist_ergebnisdatei(e)) continue;
            const std::string name = e.path().filename().string();
            // Every file is read back as a result file before anything is
            // copied: a file cut short or damaged in a part is refused here.
            std::string inhalt;
            if (const auto grund = lies_und_pruefe_ergebnisdatei(e.path(), inhalt)) throw std::runtime_error(*grund);
            const auto vorher = dateien.find(name);
            if (vorher != dateien.end()) {
                if (!gleicher_inhalt(vorher->second.pfad, e.path()))
                    throw std::runtime_error(txt::konflikt.text() + vorher->second.pfad.string() + txt::und.text() +
                                             e.path().string());
                continue;
            }
            if (fs::exists(ziel / name, ec) && !gleicher_inhalt(ziel / name, e.path()))
                throw std::runtime_error(txt::konflikt.text() + (ziel / name).string() + txt::und.text() +
                                         e.path().string());
            dateien.emplace(name, quelle{e.path(), fingerabdruck(inhalt), inhalt.size()});
        }
        tabelle katalog;
        {
            stille_senke senke;
            meldungs_senke& bisher = aktuelle_meldungs_senke();
            setze_meldungs_senke(&senke);
            bool offen = false;
            try {
                offen = katalog.oeffne(ordner / TEILKATALOG, tabellenschema(tabledata::tres), false);
                if (offen) katalog.sortiere_nach_index("iname");
                if (offen) katalog.erster();
            } catch (const abbruch&) {
                offen = false;
            }
            setze_meldungs_senke(&bisher);
            if (!offen) {
                std::string grund = senke.grund;
                for (const char* p : {"Fehler: ", "Error: "})
                    if (grund.rfind(p, 0) == 0) grund.erase(0, std::string(p).size());
                throw std::runtime_error(txt::katalog_defekt.text() + (ordner / TEILKATALOG).string() +
                                         (grund.empty() ? std::string() : " (" + grund + ")"));
            }
        }
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
            if (!fs::is_regular_file(ordner / z.name, ec) || !dateien.count(z.name))
                throw std::runtime_error(txt::datei_fehlt.text() + (ordner / z.name).string());
            if (!datenbank_saetze.count(z.haupteingabefile))
                throw std::runtime_error(txt::unbekannter_datensatz.text() + "\"" + z.haupteingabefile + "\" (" +
                                         (ordner / TEILKATALOG).string() + txt::datei.text() + z.name + ")");
            z.pfad = ziel.string();
            zeilen.push_back(z);
        }
    }
    // The rows go into the database's catalogue: it must take them, or the
    // files would stand without rows.
    if (!zeilen.empty()) {
        tabelle& res = tab_zum_schreiben(tabledata::tres);
        if (!res.ist_offen() || res.nur_lesbar())
            throw std::runtime_error(txt::katalog_schreibgeschuetzt.text() + res.datei().string());
    }

    std::vector<fs::path> ziele;
    for (const auto& [name, q] : dateien) ziele.push_back(ziel / name);
    fs::path gehalten;
    auto sperre = dateisperre::belege(ziele, warten, &gehalten);
    if (!sperre) throw std::runtime_error(txt::belegt.text() + gehalten.string());
    // The files copied by this merge; on a failure they go again, so that no
    // file stands without its catalogue row.
    std::vector<fs::path> kopiert;
    try {
        for (const auto& [name, q] : dateien) {
            if (fs::exists(ziel / name, ec)) continue;  // the same file is there already
            std::string inhalt;
            if (const auto grund = lies_und_pruefe_ergebnisdatei(q.pfad, inhalt)) throw std::runtime_error(*grund);
            if (inhalt.size() != q.groesse || fingerabdruck(inhalt) != q.abdruck)
                throw std::runtime_error(txt::geaendert.text() + q.pfad.string());
            schreibe_atomar(inhalt, ziel / name);
            kopiert.push_back(ziel / name);
        }
        // Catalogue rows once the files are in place, as a run enters them;
        // all of them or none.
        if (!zeilen.empty()) {
            transaktion tr(tab_zum_schreiben(tabledata::tres));
            ergebniskatalog_tabelle katalog;
            for (const auto& z : zeilen) katalog.speichere(z, !katalog.finde_ergebnisdatei(z.name));
            tr.bestaetigen();
        }
    } catch (const abbruch&) {
        // Reported already (a failed catalogue write); the rows rolled back.
        for (const auto& p : kopiert) fs::remove(p, ec);
        throw;
    } catch (const std::exception& e) {
        for (const auto& p : kopiert) fs::remove(p, ec);
        throw std::runtime_error(e.what() + (kopiert.empty() ? std::string() : txt::zurueckgenommen.text()));
    }
    for (const auto& p : kopiert) aus << p.string() << '\n';
    std::set<std::string> datensaetze;
    for (const auto& z : zeilen)
        if (!z.haupteingabefile.empty()) datensaetze.insert(z.haupteingabefile);
    if (haupt.ist_offen() && !haupt.nur_lesbar()) {
        for (const auto& d : datensaetze) speichere_feld(tabledata::thaupt, "name", d, "lock", "F");
    }
    sperre->freigeben();
    fehler << dateien.size() << txt::zusammengefuehrt.text() << zeilen.size() << txt::zeilen.text() << teile.size()
           << txt::teilen.text() << '\n';
}
