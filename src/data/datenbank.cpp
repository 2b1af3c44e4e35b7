#include "data/datenbank.h"

#include "lang/spaltentexte.h"

#include "lang/meldung.h"
#include "lang/tabellentexte.h"

namespace fs = std::filesystem;

namespace {

std::string tx(const char* de, const char* en) { return text_paar{de, en}.text(); }

fs::path& datenbankverzeichnis() {
    static fs::path v;
    return v;
}

// Existence, size and modification time of a file, to tell whether a file
// that could not be opened has changed since.
std::string dateistand(const fs::path& p) {
    std::error_code ec;
    if (!fs::exists(p, ec)) return "-";
    const auto groesse = fs::file_size(p, ec);
    const auto zeit = fs::last_write_time(p, ec).time_since_epoch().count();
    return std::to_string(groesse) + "/" + std::to_string(zeit);
}

// Opens the table of a descriptor without writing; remembers a failure.
void oeffne_lesend(db_struct& d, int index) {
    d.oeffnung_versucht = true;
    if (d.tab->oeffne(d.datei, tabellenschema(index), false)) {
        d.stand_bei_fehlschlag.clear();
    } else {
        d.stand_bei_fehlschlag = dateistand(d.datei);
    }
}

}  // namespace

namespace {

thread_local datenbanksitzung* gebundene_sitzung = nullptr;

std::array<db_struct, ANZ_TABELLEN>& programmregister() {
    static std::array<db_struct, ANZ_TABELLEN> reg = [] {
        std::array<db_struct, ANZ_TABELLEN> r;
        for (int i = 0; i < ANZ_TABELLEN; ++i) r[static_cast<size_t>(i)].name_db = tabellenschluessel(i);
        return r;
    }();
    return reg;
}

}  // namespace

datenbanksitzung::datenbanksitzung() {
    const auto& programm = programmregister();
    for (size_t i = 0; i < tabellen_.size(); ++i) {
        db_struct& d = tabellen_[i];
        d.name_db = programm[i].name_db;
        d.bezeichnung = programm[i].bezeichnung;
        d.kuerzel = programm[i].kuerzel;
        d.name_pfad = programm[i].name_pfad;
        d.datei = programm[i].datei;
    }
}

sitzungsbindung::sitzungsbindung(datenbanksitzung& sitzung) : vorher_(gebundene_sitzung) {
    gebundene_sitzung = &sitzung;
}

sitzungsbindung::~sitzungsbindung() { gebundene_sitzung = vorher_; }

std::array<db_struct, ANZ_TABELLEN>& datenbanken() {
    return gebundene_sitzung != nullptr ? gebundene_sitzung->tabellen() : programmregister();
}

tabelle& tab(int index) {
    db_struct& d = datenbanken().at(static_cast<size_t>(index));
    if (!d.tab->ist_offen() && !d.oeffnung_versucht && !d.datei.empty()) {
        d.oeffnung_versucht = true;
        std::error_code ec;
        if (fs::is_directory(datenbankverzeichnis(), ec)) oeffne_lesend(d, index);
    }
    return *d.tab;
}

tabelle& tab_zum_schreiben(int index) {
    db_struct& d = datenbanken().at(static_cast<size_t>(index));
    std::error_code ec;
    if (!d.tab->ist_offen() && !d.datei.empty() && fs::is_directory(datenbankverzeichnis(), ec)) {
        d.oeffnung_versucht = true;
        if (d.tab->oeffne(d.datei, tabellenschema(index), true)) d.stand_bei_fehlschlag.clear();
    }
    return *d.tab;
}

void lege_fehlende_tabellen_an(const fs::path& verzeichnis) {
    for (int i = 0; i < ANZ_TABELLEN; ++i) {
        tabelle t;
        t.oeffne(tabellendatei(verzeichnis, tabellenschluessel(i)), tabellenschema(i), true);
    }
}

int finde_tabelle(const std::string& schluessel) {
    for (int i = 0; i < ANZ_TABELLEN; ++i)
        if (gleich_ohne_gross_klein(tabellenschluessel(i), schluessel)) return i;
    return -1;
}

fs::path tabellendatei(const fs::path& verzeichnis, const std::string& schluessel) {
    const std::string name = schluessel + ".sqlite";
    fs::path genau = verzeichnis / name;
    std::error_code ec;
    if (fs::exists(genau, ec)) return genau;
    // File names are resolved without regard to case, also on file systems
    // that distinguish case.
    for (fs::directory_iterator it(verzeichnis, ec), ende; !ec && it != ende; it.increment(ec)) {
        if (gleich_ohne_gross_klein(it->path().filename().string(), name)) return it->path();
    }
    return genau;
}

void fuelle_registry(const fs::path& verzeichnis) {
    datenbankverzeichnis() = verzeichnis;
    for (int i = 0; i < ANZ_TABELLEN; ++i) {
        db_struct& d = datenbanken()[static_cast<size_t>(i)];
        d.name_db = tabellenschluessel(i);
        d.datei = tabellendatei(verzeichnis, d.name_db);
        d.name_pfad = "Database=" + d.datei.string();
        d.bezeichnung = tabellentext_von(i).bezeichnung.text();
        d.kuerzel = tabellentext_von(i).kuerzel.text();
        d.oeffnung_versucht = false;
        d.stand_bei_fehlschlag.clear();
    }
}

void SetDataBase(const fs::path& verzeichnis) {
    for (auto& d : datenbanken()) d.tab->schliesse();
    std::error_code ec;
    if (!fs::is_directory(verzeichnis, ec)) {
        fuelle_registry(verzeichnis);
        meldung(tx("Fehler: Datenbankverzeichnis existiert nicht: ",
                   "Error: database directory does not exist: ") +
                    verzeichnis.string(),
                "M", 'E');
        return;
    }
    fuelle_registry(verzeichnis);
    for (int i = 0; i < ANZ_TABELLEN; ++i) {
        oeffne_lesend(datenbanken()[static_cast<size_t>(i)], i);
    }
}

void CheckAllTables() {
    std::error_code ec;
    if (!fs::is_directory(datenbankverzeichnis(), ec)) return;
    for (int i = 0; i < ANZ_TABELLEN; ++i) {
        db_struct& d = datenbanken()[static_cast<size_t>(i)];
        if (d.tab->ist_offen()) continue;
        const fs::path datei = tabellendatei(datenbankverzeichnis(), d.name_db);
        // A file that failed a moment ago and has not changed since would
        // only be reported again.
        if (d.oeffnung_versucht && datei == d.datei && !d.stand_bei_fehlschlag.empty() &&
            d.stand_bei_fehlschlag == dateistand(datei))
            continue;
        d.datei = datei;
        d.name_pfad = "Database=" + d.datei.string();
        oeffne_lesend(d, i);
    }
}

void schliesse_alle_tabellen() {
    for (auto& d : datenbanken()) {
        d.tab->schliesse();
        d.oeffnung_versucht = true;
    }
}

int64_t Zaehle_datensaetze(tabelle& t) {
    int64_t n = 0;
    for (t.erster(); !t.eof(); t.naechster()) ++n;
    return n;
}

void loesche_daten(tabelle& t) { t.loesche_alle(); }

int Finde_index(tabelle& t, const std::string& spalte) { return t.spalten_index(spalte); }

double teste_feld(tabelle& t, int position) {
    const feldwert& w = t.wert(position);
    return ist_leer(w) ? 0.0 : als_zahl(w);
}

void Datenbanknamen() {
    for (int i = 0; i < ANZ_TABELLEN; ++i) {
        db_struct& d = datenbanken()[static_cast<size_t>(i)];
        d.bezeichnung = tabellentext_von(i).bezeichnung.text();
        d.kuerzel = tabellentext_von(i).kuerzel.text();
        d.name_spalte.clear();
        d.titelname_spalte.clear();
        const auto& spalten = d.tab->ist_offen() ? d.tab->spalten() : tabellenschema(i).spalten;
        for (const auto& s : spalten) {
            if (static_cast<int>(d.name_spalte.size()) == MAX_SPALTEN) {
                meldung(tx("Warnung: Mehr als 300 Spalten, nur die ersten werden angezeigt: ",
                           "Warning: more than 300 columns, only the first are shown: ") +
                            d.datei.string(),
                        "M", 'W');
                break;
            }
            // Captions in the chosen language; the stored name where a
            // column has none.
            d.name_spalte.push_back(s.name);
            d.titelname_spalte.push_back(spaltentitel(i, s.name));
        }
    }
}
