#include "data/tabelle.h"

#include "data/zahltext.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "lang/meldung.h"
#include "lang/sprache.h"

namespace fs = std::filesystem;

namespace {

std::string tx(const char* de, const char* en) { return text_paar{de, en}.text(); }

// Resets a prepared statement when the statement's use ends, so that no
// read lock outlives the call.
struct zuruecksetzen {
    sqlite3_stmt* st;
    ~zuruecksetzen() {
        sqlite3_reset(st);
        sqlite3_clear_bindings(st);
    }
};

void binde(sqlite3_stmt* st, int n, const feldwert& w) {
    if (const auto* i = std::get_if<int64_t>(&w)) {
        sqlite3_bind_int64(st, n, *i);
    } else if (const auto* d = std::get_if<double>(&w)) {
        sqlite3_bind_double(st, n, *d);
    } else if (const auto* s = std::get_if<std::string>(&w)) {
        sqlite3_bind_text(st, n, s->data(), static_cast<int>(s->size()), SQLITE_TRANSIENT);
    } else {
        sqlite3_bind_null(st, n);
    }
}

feldwert lies_spalte(sqlite3_stmt* st, int i) {
    switch (sqlite3_column_type(st, i)) {
        case SQLITE_INTEGER:
            return static_cast<int64_t>(sqlite3_column_int64(st, i));
        case SQLITE_FLOAT:
            return sqlite3_column_double(st, i);
        case SQLITE_NULL:
            return std::monostate{};
        default: {
            const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
            return std::string(p ? p : "", static_cast<size_t>(sqlite3_column_bytes(st, i)));
        }
    }
}

const feldwert& leerwert() {
    static const feldwert leer;
    return leer;
}

}  // namespace

std::string als_text(const feldwert& w) {
    if (const auto* s = std::get_if<std::string>(&w)) return *s;
    if (const auto* i = std::get_if<int64_t>(&w)) return std::to_string(*i);
    if (const auto* d = std::get_if<double>(&w)) {
        std::ostringstream o;
        o.precision(15);
        o << *d;
        return o.str();
    }
    return {};
}

double als_zahl(const feldwert& w) {
    if (const auto* i = std::get_if<int64_t>(&w)) return static_cast<double>(*i);
    if (const auto* d = std::get_if<double>(&w)) return *d;
    if (const auto* s = std::get_if<std::string>(&w)) return lies_zahl(*s).value_or(0.0);
    return 0.0;
}

bool ist_leer(const feldwert& w) {
    if (std::holds_alternative<std::monostate>(w)) return true;
    if (const auto* s = std::get_if<std::string>(&w)) return s->empty();
    return false;
}

// ---------------------------------------------------------------------------

tabelle::tabelle() = default;

tabelle::~tabelle() { schliesse(); }

std::string tabelle::bezeichnung() const { return def_.sql_name + " (" + datei_.string() + ")"; }

void tabelle::schliesse() {
    for (auto& [sql, st] : anweisungen_) sqlite3_finalize(st);
    anweisungen_.clear();
    such_sql_.clear();
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
    zeilen_.clear();
    position_von_.clear();
    sicht_gueltig_ = false;
    positionen_gueltig_ = false;
    pos_ = -1;
    gewuenschte_rowid_ = -1;
    eof_ = bof_ = true;
    zeile_.clear();
    zeile_rowid_ = -1;
    modus_ = modus::ansicht;
    puffer_.clear();
    transaktionstiefe_ = 0;
    data_version_ = -1;
    ++stand_;
}

bool tabelle::verbinde(const fs::path& datei, bool anlegen) {
    std::error_code ec;
    if (fs::exists(datei, ec) && !fs::is_regular_file(datei, ec)) {
        meldung(tx("Fehler: Datenbankdatei ist keine Datei: ", "Error: database file is not a file: ") +
                    datei.string(),
                "M", 'E');
        return false;
    }
    const int flags = SQLITE_OPEN_READWRITE | (anlegen ? SQLITE_OPEN_CREATE : 0);
    sqlite3* db = nullptr;
    // SQLite takes file names in UTF-8 on every platform.
    const std::u8string name = datei.u8string();
    const std::string utf8(name.begin(), name.end());
    if (sqlite3_open_v2(utf8.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        meldung(tx("Fehler: Datenbankdatei kann nicht geöffnet werden: ",
                   "Error: database file cannot be opened: ") +
                    datei.string() + " (" + (db ? sqlite3_errmsg(db) : "out of memory") + ")",
                "M", 'E');
        sqlite3_close_v2(db);
        return false;
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, 2000);
    // A file that is not a database fails on its first read; nothing has
    // been written to it at that point.
    char* fehler = nullptr;
    const int rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &fehler);
    if (rc != SQLITE_OK) {
        const std::string grund = fehler ? fehler : sqlite3_errstr(rc);
        sqlite3_free(fehler);
        sqlite3_close_v2(db);
        if ((rc & 0xff) == SQLITE_NOTADB) {
            meldung(
                tx("Fehler: Datei ist keine SQLite-Datenbank: ", "Error: file is not an SQLite database: ") +
                    datei.string(),
                "M", 'E');
        } else {
            meldung(tx("Fehler: Datenbankdatei kann nicht gelesen werden: ",
                       "Error: database file cannot be read: ") +
                        datei.string() + " (" + grund + ")",
                    "M", 'E');
        }
        return false;
    }
    db_ = db;
    datei_ = datei;
    return true;
}

bool tabelle::oeffne(const fs::path& datei, const tabellen_def& def, bool anlegen) {
    schliesse();
    std::error_code ec;
    const bool neu = !fs::exists(datei, ec);
    def_ = def;
    datei_ = datei;
    if (neu && !anlegen) {
        meldung(tx("Fehler: Datenbankdatei existiert nicht: ", "Error: database file does not exist: ") +
                    datei.string(),
                "M", 'E');
        return false;
    }
    if (!verbinde(datei, neu)) return false;
    // Does the file hold the table?
    bool vorhanden = false;
    {
        sqlite3_stmt* st =
            vorbereiten("SELECT name FROM sqlite_master WHERE type='table' AND name=? COLLATE NOCASE");
        zuruecksetzen r{st};
        binde(st, 1, def.sql_name);
        if (sqlite3_step(st) == SQLITE_ROW) {
            vorhanden = true;
            def_.sql_name = std::get<std::string>(lies_spalte(st, 0));
        }
    }
    if (!vorhanden && !anlegen) {
        // An empty or foreign file stays as it is; reading never creates.
        meldung(tx("Fehler: Tabelle nicht gefunden in Datei ", "Error: table not found in file ") +
                    datei.string() + ": " + def.sql_name,
                "M", 'E');
        schliesse();
        def_ = def;
        return false;
    }
    if (!vorhanden) {
        std::string ddl = "BEGIN; " + tabellen_ddl(def);
        ddl += " COMMIT;";
        char* fehler = nullptr;
        if (sqlite3_exec(db_, ddl.c_str(), nullptr, nullptr, &fehler) != SQLITE_OK) {
            const std::string grund = fehler ? fehler : "";
            sqlite3_free(fehler);
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
            meldung(tx("Fehler: Tabelle kann nicht angelegt werden: ", "Error: table cannot be created: ") +
                        bezeichnung() + " (" + grund + ")",
                    "M", 'E');
            schliesse();
            if (neu) fs::remove(datei, ec);
            def_ = def;
            return false;
        }
    }
    if (!lies_spalten(def_.sql_name)) {
        schliesse();
        def_ = def;
        return false;
    }
    // Columns of the file in stored order; known columns keep their declared
    // width and type from the description.
    std::vector<std::string> fehlend;
    std::vector<spalten_def> spalten = def_.spalten;
    for (const auto& soll : def.spalten) {
        auto it = std::find_if(spalten.begin(), spalten.end(), [&](const spalten_def& s) {
            return gleich_ohne_gross_klein(s.name, soll.name);
        });
        if (it == spalten.end()) {
            const bool schluessel =
                std::any_of(def.schluessel.begin(), def.schluessel.end(),
                            [&](const std::string& k) { return gleich_ohne_gross_klein(k, soll.name); });
            if (schluessel || !def.nur_schluessel_pflicht) fehlend.push_back(soll.name);
        } else {
            const std::string name = it->name;
            *it = soll;
            it->name = name;
        }
    }
    if (!fehlend.empty()) {
        std::string liste;
        for (const auto& f : fehlend) liste += (liste.empty() ? "" : ", ") + f;
        meldung(tx("Fehler: In der Tabelle der Datei ", "Error: the table in file ") + datei.string() +
                    tx(" fehlen Spalten: ", " lacks columns: ") + liste,
                "M", 'E');
        schliesse();
        def_ = def;
        return false;
    }
    def_.spalten = std::move(spalten);
    def_.schluessel = def.schluessel;
    lies_indizes();
    // Named indexes missing from an existing file are added when the caller
    // allows writing; otherwise the order they define is used without them
    // (the same rows, sorted without the help of an index).
    for (const auto& ix : def.indizes) {
        if (!indexspalten(ix.name).empty()) continue;
        if (!anlegen) {
            datei_indizes_[ix.name] = ix.spalten;
            continue;
        }
        std::string sql = "CREATE INDEX IF NOT EXISTS " + sql_bezeichner(ix.name) + " ON " +
                          sql_bezeichner(def_.sql_name) + " (";
        for (size_t i = 0; i < ix.spalten.size(); ++i) sql += (i ? ", " : "") + sql_bezeichner(ix.spalten[i]);
        sql += ")";
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK) {
            datei_indizes_[ix.name] = ix.spalten;
        }
    }
    sortierung_ = def_.schluessel;
    filter_.clear();
    ++stand_;
    return true;
}

bool tabelle::nur_lesbar() const {
    if (!db_) return true;
    if (sqlite3_db_readonly(db_, "main") == 1) return true;
    // A writable file in a folder that refuses new files cannot write its
    // journal; the first write would fail.
    const fs::path ordner = datei_.has_parent_path() ? datei_.parent_path() : fs::path(".");
#ifdef _WIN32
    std::error_code ec;
    const auto rechte = fs::status(ordner, ec).permissions();
    return !ec && (rechte & fs::perms::owner_write) == fs::perms::none;
#else
    return ::access(ordner.c_str(), W_OK) != 0;
#endif
}

bool tabelle::oeffne_vorhandene(const fs::path& datei, const std::string& tabellenname) {
    schliesse();
    def_ = {};
    datei_ = datei;
    std::error_code ec;
    if (!fs::exists(datei, ec)) {
        meldung(tx("Fehler: Datenbankdatei existiert nicht: ", "Error: database file does not exist: ") +
                    datei.string(),
                "M", 'E');
        return false;
    }
    if (!verbinde(datei, false)) return false;
    std::vector<std::string> tabellen;
    {
        sqlite3_stmt* st = vorbereiten(
            "SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite\\_%' ESCAPE "
            "'\\' ORDER BY rowid");
        zuruecksetzen r{st};
        while (sqlite3_step(st) == SQLITE_ROW) tabellen.push_back(als_text(lies_spalte(st, 0)));
    }
    std::string gewaehlt;
    for (const auto& t : tabellen)
        if (gleich_ohne_gross_klein(t, tabellenname)) gewaehlt = t;
    if (gewaehlt.empty() && tabellen.size() == 1) gewaehlt = tabellen.front();
    if (gewaehlt.empty()) {
        meldung(tx("Fehler: Tabelle nicht gefunden in Datei ", "Error: table not found in file ") +
                    datei.string() + ": " + tabellenname,
                "M", 'E');
        schliesse();
        return false;
    }
    def_.sql_name = gewaehlt;
    if (!lies_spalten(gewaehlt)) {
        schliesse();
        return false;
    }
    lies_indizes();
    if (def_.schluessel.empty()) {
        // No primary key: the first unique index serves as key.
        sqlite3_stmt* st =
            vorbereiten("SELECT name FROM pragma_index_list(?) WHERE \"unique\"=1 ORDER BY seq DESC");
        zuruecksetzen r{st};
        binde(st, 1, gewaehlt);
        std::string ix;
        while (sqlite3_step(st) == SQLITE_ROW) ix = als_text(lies_spalte(st, 0));
        if (!ix.empty()) {
            sqlite3_stmt* sp = vorbereiten("SELECT name FROM pragma_index_info(?) ORDER BY seqno");
            zuruecksetzen r2{sp};
            binde(sp, 1, ix);
            while (sqlite3_step(sp) == SQLITE_ROW) def_.schluessel.push_back(als_text(lies_spalte(sp, 0)));
        }
    }
    sortierung_ = def_.schluessel;
    filter_.clear();
    ++stand_;
    return true;
}

bool tabelle::lies_spalten(const std::string& tabellenname) {
    sqlite3_stmt* st =
        vorbereiten("SELECT name, type, \"notnull\", pk FROM pragma_table_info(?) ORDER BY cid");
    zuruecksetzen r{st};
    binde(st, 1, tabellenname);
    std::vector<spalten_def> spalten;
    std::vector<std::pair<int64_t, std::string>> pk;
    while (sqlite3_step(st) == SQLITE_ROW) {
        const std::string name = als_text(lies_spalte(st, 0));
        spalten.push_back(
            spalte_aus_deklaration(name, als_text(lies_spalte(st, 1)), sqlite3_column_int(st, 2) != 0));
        if (const int k = sqlite3_column_int(st, 3); k > 0) pk.emplace_back(k, name);
    }
    if (spalten.empty()) {
        meldung(tx("Fehler: Tabelle ohne Spalten in Datei ", "Error: table without columns in file ") +
                    datei_.string(),
                "M", 'E');
        return false;
    }
    def_.spalten = std::move(spalten);
    std::sort(pk.begin(), pk.end());
    def_.schluessel.clear();
    for (auto& [k, n] : pk) def_.schluessel.push_back(n);
    return true;
}

void tabelle::lies_indizes() {
    datei_indizes_.clear();
    std::vector<std::string> namen;
    {
        sqlite3_stmt* st = vorbereiten("SELECT name FROM pragma_index_list(?) WHERE origin='c'");
        zuruecksetzen r{st};
        binde(st, 1, def_.sql_name);
        while (sqlite3_step(st) == SQLITE_ROW) namen.push_back(als_text(lies_spalte(st, 0)));
    }
    for (const auto& n : namen) {
        sqlite3_stmt* st = vorbereiten("SELECT name FROM pragma_index_info(?) ORDER BY seqno");
        zuruecksetzen r{st};
        binde(st, 1, n);
        std::vector<std::string> spalten;
        while (sqlite3_step(st) == SQLITE_ROW) spalten.push_back(als_text(lies_spalte(st, 0)));
        datei_indizes_[n] = spalten;
    }
}

std::vector<std::string> tabelle::indexspalten(const std::string& indexname) const {
    for (const auto& [n, s] : datei_indizes_)
        if (gleich_ohne_gross_klein(n, indexname)) return s;
    return {};
}

const spalten_def& tabelle::spalte(int i) const {
    if (i < 0 || i >= spaltenanzahl()) {
        meldung(tx("Fehler: Spaltennummer ", "Error: column number ") + std::to_string(i) +
                    tx(" existiert nicht in Tabelle ", " does not exist in table ") + bezeichnung(),
                "M", 'T');
    }
    return def_.spalten[static_cast<size_t>(i)];
}

int tabelle::spalten_index(std::string_view name) const {
    const std::string n(name);
    for (int i = 0; i < spaltenanzahl(); ++i)
        if (gleich_ohne_gross_klein(def_.spalten[static_cast<size_t>(i)].name, n)) return i;
    return -1;
}

int tabelle::spalte_oder_fehler(std::string_view name) const {
    const int i = spalten_index(name);
    if (i < 0) {
        meldung(tx("Fehler: Spalte existiert nicht in Tabelle ", "Error: column does not exist in table ") +
                    bezeichnung() + ": " + std::string(name),
                "M", 'T');
    }
    return i;
}

bool tabelle::pruefe_offen() const {
    if (!db_) {
        meldung(tx("Fehler: Tabelle ist nicht geöffnet: ", "Error: table is not open: ") +
                    (datei_.empty() ? def_.sql_name : datei_.string()),
                "M", 'T');
        return false;
    }
    return true;
}

sqlite3_stmt* tabelle::vorbereiten(const std::string& sql) {
    pruefe_offen();
    if (auto it = anweisungen_.find(sql); it != anweisungen_.end()) return it->second;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
        sqlite3_finalize(st);
        sql_fehler(sql);
    }
    anweisungen_.emplace(sql, st);
    return st;
}

void tabelle::fuehre_aus(const std::string& sql) {
    pruefe_offen();
    char* fehler = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &fehler) != SQLITE_OK) {
        sqlite3_free(fehler);
        sql_fehler(sql);
    }
}

void tabelle::sql_fehler(const std::string& was) const {
    meldung(tx("Fehler: Datenbankzugriff fehlgeschlagen, Tabelle ", "Error: database access failed, table ") +
                bezeichnung() + ": " + (db_ ? sqlite3_errmsg(db_) : "") + " [" + was + "]",
            "M", 'T');
    throw abbruch();  // in case a sink lets 'T' pass
}

// --- order and filter -------------------------------------------------------

void tabelle::sortiere_nach_schluessel() { sortiere_nach_spalten(def_.schluessel); }

void tabelle::sortiere_nach_index(const std::string& indexname) {
    pruefe_offen();
    auto spalten = indexspalten(indexname);
    if (spalten.empty()) {
        meldung(tx("Fehler: Index existiert nicht in Tabelle ", "Error: index does not exist in table ") +
                    bezeichnung() + ": " + indexname,
                "M", 'T');
    }
    sortiere_nach_spalten(spalten);
}

void tabelle::sortiere_nach_spalten(const std::vector<std::string>& spalten) {
    pruefe_offen();
    std::vector<std::string> geprueft;
    for (const auto& s : spalten) geprueft.push_back(spalte(spalte_oder_fehler(s)).name);
    abbrechen();
    gewuenschte_rowid_ = hat_zeile() ? zeilen_[static_cast<size_t>(pos_)] : -1;
    sortierung_ = std::move(geprueft);
    such_sql_.clear();
    sicht_gueltig_ = false;
}

std::vector<filterbedingung> tabelle::pruefe_bedingungen(std::vector<filterbedingung> bedingungen) const {
    for (auto& b : bedingungen) {
        b.spalte = def_.spalten[static_cast<size_t>(spalte_oder_fehler(b.spalte))].name;
        std::string v = ohne_raender(b.vergleich);
        std::transform(v.begin(), v.end(), v.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        if (v != "=" && v != "LIKE") {
            meldung(tx("Fehler: Unbekannter Filtervergleich: ", "Error: unknown filter comparison: ") +
                        b.vergleich,
                    "M", 'T');
        }
        b.vergleich = v;
    }
    return bedingungen;
}

void tabelle::setze_filter(std::vector<filterbedingung> bedingungen) {
    pruefe_offen();
    bedingungen = pruefe_bedingungen(std::move(bedingungen));
    abbrechen();
    filter_ = std::move(bedingungen);
    such_sql_.clear();
    gewuenschte_rowid_ = -1;
    sicht_gueltig_ = false;
    pos_ = -1;
}

void tabelle::filter_aus() {
    if (filter_.empty()) return;
    abbrechen();
    gewuenschte_rowid_ =
        (sicht_gueltig_ && pos_ >= 0 && !zeilen_.empty()) ? zeilen_[static_cast<size_t>(pos_)] : -1;
    filter_.clear();
    such_sql_.clear();
    sicht_gueltig_ = false;
}

namespace {

void haenge_bedingungen_an(const std::vector<filterbedingung>& b, std::vector<std::string>& teile) {
    for (const auto& f : b) {
        if (std::holds_alternative<std::monostate>(f.wert))
            teile.push_back(sql_bezeichner(f.spalte) + " IS NULL");
        else
            teile.push_back(sql_bezeichner(f.spalte) + (f.vergleich == "=" ? " = ?" : " LIKE ?"));
    }
}

std::string verbinde_und(const std::vector<std::string>& teile) {
    std::string w;
    for (const auto& t : teile) w += (w.empty() ? " WHERE " : " AND ") + t;
    return w;
}

void binde_bedingungen(sqlite3_stmt* st, int& n, const std::vector<filterbedingung>& b) {
    for (const auto& f : b)
        if (!std::holds_alternative<std::monostate>(f.wert)) binde(st, ++n, f.wert);
}

}  // namespace

std::string tabelle::where_klausel(int anzahl_schluessel, bool naechster,
                                   const std::vector<feldwert>* werte) const {
    std::vector<std::string> teile;
    haenge_bedingungen_an(filter_, teile);
    if (anzahl_schluessel > 0) {
        if (naechster) {
            std::string l = "(", r = "(";
            for (int i = 0; i < anzahl_schluessel; ++i) {
                l += (i ? ", " : "") + sql_bezeichner(sortierung_[static_cast<size_t>(i)]);
                r += i ? ", ?" : "?";
            }
            teile.push_back(l + ") >= " + r + ")");
        } else {
            // NULL never compares equal: an empty search value finds rows
            // whose field IS NULL.
            for (int i = 0; i < anzahl_schluessel; ++i) {
                const bool null =
                    werte && std::holds_alternative<std::monostate>((*werte)[static_cast<size_t>(i)]);
                teile.push_back(sql_bezeichner(sortierung_[static_cast<size_t>(i)]) +
                                (null ? " IS NULL" : " = ?"));
            }
        }
    }
    std::string o = " ORDER BY ";
    for (const auto& s : sortierung_) o += sql_bezeichner(s) + ", ";
    return verbinde_und(teile) + o + "rowid";
}

void tabelle::binde_filter(sqlite3_stmt* st, int& n) const { binde_bedingungen(st, n, filter_); }

// --- the view -----------------------------------------------------------------

void tabelle::pruefe_fremde_aenderung() {
    if (!db_) return;
    sqlite3_stmt* st = vorbereiten("PRAGMA data_version");
    zuruecksetzen r{st};
    if (sqlite3_step(st) != SQLITE_ROW) return;
    const int64_t v = sqlite3_column_int64(st, 0);
    if (v != data_version_) {
        if (data_version_ >= 0) {
            // Another connection wrote to the file: read the view again.
            if (sicht_gueltig_ && pos_ >= 0 && pos_ < static_cast<int64_t>(zeilen_.size()))
                gewuenschte_rowid_ = zeilen_[static_cast<size_t>(pos_)];
            sicht_gueltig_ = false;
            zeile_rowid_ = -1;
            ++stand_;
        }
        data_version_ = v;
    }
}

void tabelle::lade_sicht() {
    const std::string sql = "SELECT rowid FROM " + sql_bezeichner(def_.sql_name) + where_klausel(0, false);
    sqlite3_stmt* st = vorbereiten(sql);
    zuruecksetzen r{st};
    int n = 0;
    binde_filter(st, n);
    zeilen_.clear();
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) zeilen_.push_back(sqlite3_column_int64(st, 0));
    if (rc != SQLITE_DONE) sql_fehler(sql);
    positionen_gueltig_ = false;
    sicht_gueltig_ = true;
    if (zeilen_.empty()) {
        pos_ = -1;
        eof_ = bof_ = true;
        return;
    }
    eof_ = bof_ = false;
    if (gewuenschte_rowid_ >= 0) {
        if (!positionen_gueltig_) {
            position_von_.clear();
            for (size_t i = 0; i < zeilen_.size(); ++i) position_von_[zeilen_[i]] = static_cast<int64_t>(i);
            positionen_gueltig_ = true;
        }
        auto it = position_von_.find(gewuenschte_rowid_);
        pos_ = it != position_von_.end()
                   ? it->second
                   : std::clamp<int64_t>(pos_, 0, static_cast<int64_t>(zeilen_.size()) - 1);
    } else {
        pos_ = std::clamp<int64_t>(pos_, 0, static_cast<int64_t>(zeilen_.size()) - 1);
    }
    gewuenschte_rowid_ = -1;
}

void tabelle::sichere_sicht() {
    pruefe_offen();
    if (!sicht_gueltig_) lade_sicht();
}

bool tabelle::hat_zeile() {
    if (!db_) return false;
    sichere_sicht();
    return pos_ >= 0 && pos_ < static_cast<int64_t>(zeilen_.size());
}

void tabelle::lade_zeile() {
    if (!hat_zeile()) {
        meldung(tx("Fehler: Kein aktueller Datensatz in Tabelle ", "Error: no current record in table ") +
                    bezeichnung(),
                "M", 'T');
    }
    const int64_t rowid = zeilen_[static_cast<size_t>(pos_)];
    if (rowid == zeile_rowid_) return;
    const std::string sql = "SELECT * FROM " + sql_bezeichner(def_.sql_name) + " WHERE rowid = ?";
    sqlite3_stmt* st = vorbereiten(sql);
    zuruecksetzen r{st};
    sqlite3_bind_int64(st, 1, rowid);
    if (sqlite3_step(st) != SQLITE_ROW) {
        // The row has gone (deleted through another connection).
        pruefe_fremde_aenderung();
        sicht_gueltig_ = false;
        meldung(tx("Fehler: Datensatz wurde inzwischen gelöscht, Tabelle ",
                   "Error: record has been deleted meanwhile, table ") +
                    bezeichnung(),
                "M", 'T');
    }
    const int n = sqlite3_column_count(st);
    zeile_.assign(static_cast<size_t>(spaltenanzahl()), feldwert{});
    for (int i = 0; i < n && i < spaltenanzahl(); ++i) zeile_[static_cast<size_t>(i)] = lies_spalte(st, i);
    zeile_rowid_ = rowid;
}

void tabelle::gehe_zu_rowid(int64_t rowid) {
    sichere_sicht();
    if (!positionen_gueltig_) {
        position_von_.clear();
        position_von_.reserve(zeilen_.size());
        for (size_t i = 0; i < zeilen_.size(); ++i) position_von_[zeilen_[i]] = static_cast<int64_t>(i);
        positionen_gueltig_ = true;
    }
    auto it = position_von_.find(rowid);
    if (it == position_von_.end()) {
        // Written meanwhile by another connection: read the view again.
        gewuenschte_rowid_ = rowid;
        lade_sicht();
        return;
    }
    pos_ = it->second;
    eof_ = bof_ = false;
}

// --- navigation -----------------------------------------------------------------

void tabelle::erster() {
    abbrechen();
    pruefe_fremde_aenderung();
    sichere_sicht();
    pos_ = zeilen_.empty() ? -1 : 0;
    eof_ = bof_ = zeilen_.empty();
}

void tabelle::letzter() {
    abbrechen();
    pruefe_fremde_aenderung();
    sichere_sicht();
    pos_ = static_cast<int64_t>(zeilen_.size()) - 1;
    eof_ = bof_ = zeilen_.empty();
}

void tabelle::naechster() {
    abbrechen();
    sichere_sicht();
    if (zeilen_.empty()) {
        eof_ = true;
        return;
    }
    if (pos_ + 1 < static_cast<int64_t>(zeilen_.size())) {
        ++pos_;
        bof_ = false;
    } else {
        eof_ = true;
    }
}

void tabelle::vorheriger() {
    abbrechen();
    sichere_sicht();
    if (zeilen_.empty()) {
        bof_ = true;
        return;
    }
    if (pos_ > 0) {
        --pos_;
        eof_ = false;
    } else {
        bof_ = true;
    }
}

bool tabelle::eof() {
    sichere_sicht();
    return eof_ || zeilen_.empty();
}

bool tabelle::bof() {
    sichere_sicht();
    return bof_ || zeilen_.empty();
}

bool tabelle::ist_leer() {
    pruefe_fremde_aenderung();
    sichere_sicht();
    return zeilen_.empty();
}

int64_t tabelle::anzahl() {
    pruefe_fremde_aenderung();
    sichere_sicht();
    return static_cast<int64_t>(zeilen_.size());
}

int64_t tabelle::position() { return hat_zeile() ? pos_ : -1; }

bool tabelle::suche(const std::vector<feldwert>& werte) { return suche_intern(werte, false); }

bool tabelle::suche_naechsten(const std::vector<feldwert>& werte) {
    if (suche_intern(werte, true)) return true;
    letzter();
    return false;
}

bool tabelle::suche_intern(const std::vector<feldwert>& werte, bool naechster) {
    // Lookups do not ask for writes of other connections first (that costs
    // a file lock per call): a found row missing from the view re-reads it.
    abbrechen();
    const int n = static_cast<int>(werte.size());
    if (n == 0 || n > static_cast<int>(sortierung_.size())) {
        meldung(tx("Fehler: Falsche Anzahl von Suchwerten für Tabelle ",
                   "Error: wrong number of search values for table ") +
                    bezeichnung(),
                "M", 'T');
    }
    // The statement text depends on the count, the kind and which values are
    // NULL; it is built once per variant.
    std::string variante(static_cast<size_t>(n) + 1, naechster ? 'n' : 'e');
    for (int i = 0; i < n; ++i)
        if (std::holds_alternative<std::monostate>(werte[static_cast<size_t>(i)]))
            variante[static_cast<size_t>(i) + 1] = '0';
    auto it = such_sql_.find(variante);
    if (it == such_sql_.end())
        it = such_sql_
                 .emplace(variante, "SELECT rowid FROM " + sql_bezeichner(def_.sql_name) +
                                        where_klausel(n, naechster, &werte) + " LIMIT 1")
                 .first;
    const std::string& sql = it->second;
    sqlite3_stmt* st = vorbereiten(sql);
    int64_t rowid = -1;
    {
        zuruecksetzen r{st};
        int k = 0;
        binde_filter(st, k);
        for (const auto& w : werte)
            if (naechster || !std::holds_alternative<std::monostate>(w)) binde(st, ++k, w);
        const int rc = sqlite3_step(st);
        if (rc == SQLITE_ROW)
            rowid = sqlite3_column_int64(st, 0);
        else if (rc != SQLITE_DONE)
            sql_fehler(sql);
    }
    if (rowid < 0) return false;
    gehe_zu_rowid(rowid);
    return true;
}

// --- field access ---------------------------------------------------------------

const feldwert& tabelle::wert(int i) {
    pruefe_offen();
    spalte(i);
    if (modus_ != modus::ansicht) return puffer_[static_cast<size_t>(i)];
    if (!hat_zeile()) return leerwert();
    lade_zeile();
    return zeile_[static_cast<size_t>(i)];
}

const feldwert& tabelle::wert(std::string_view name) {
    pruefe_offen();
    return wert(spalte_oder_fehler(name));
}

int64_t tabelle::ganzzahl(std::string_view name) {
    const feldwert& w = wert(name);
    if (const auto* i = std::get_if<int64_t>(&w)) return *i;
    return static_cast<int64_t>(std::nearbyint(als_zahl(w)));
}

// --- editing --------------------------------------------------------------------

void tabelle::einfuegen() {
    pruefe_offen();
    abbrechen();
    puffer_.assign(static_cast<size_t>(spaltenanzahl()), feldwert{});
    puffer_rowid_ = -1;
    modus_ = modus::einfuegen;
}

void tabelle::bearbeiten() {
    pruefe_offen();
    if (modus_ != modus::ansicht) return;
    lade_zeile();
    puffer_ = zeile_;
    puffer_rowid_ = zeile_rowid_;
    modus_ = modus::bearbeiten;
}

std::string tabelle::zeilenbeschreibung() const {
    std::string s;
    const auto& werte = modus_ != modus::ansicht ? puffer_ : zeile_;
    for (const auto& k : def_.schluessel) {
        const int i = spalten_index(k);
        if (i < 0 || static_cast<size_t>(i) >= werte.size()) continue;
        s += (s.empty() ? "" : ", ") + k + "=" + als_text(werte[static_cast<size_t>(i)]);
    }
    return s;
}

feldwert tabelle::passe_an(int i, const feldwert& w) const {
    const spalten_def& s = def_.spalten[static_cast<size_t>(i)];
    if (std::holds_alternative<std::monostate>(w)) return w;
    if (ist_text(s.typ)) return als_text(w);
    double d = 0.0;
    if (const auto* t = std::get_if<std::string>(&w)) {
        if (ohne_raender(*t).empty()) return std::monostate{};
        const auto z = lies_zahl(*t);
        if (!z) {
            meldung(tx("Fehler: Kein Zahlenwert für Feld ", "Error: not a number for field ") + s.name +
                        ": '" + *t + "' (" + tx("Tabelle ", "table ") + bezeichnung() +
                        (zeilenbeschreibung().empty() ? "" : ", " + zeilenbeschreibung()) + ")",
                    "M", 'T');
        }
        d = *z;
    } else if (const auto* ii = std::get_if<int64_t>(&w)) {
        if (s.typ != spaltentyp::real) return *ii;
        return static_cast<double>(*ii);
    } else {
        d = std::get<double>(w);
    }
    if (s.typ == spaltentyp::real) return d;
    if (!std::isfinite(d) || std::fabs(d) > 9.2e18) {
        meldung(tx("Fehler: Zahlenwert außerhalb des Bereichs für Feld ",
                   "Error: number out of range for field ") +
                    s.name + " (" + bezeichnung() + ")",
                "M", 'T');
    }
    return static_cast<int64_t>(std::nearbyint(d));
}

void tabelle::setze(std::string_view name, const feldwert& w) {
    pruefe_offen();
    setze(spalte_oder_fehler(name), w);
}

void tabelle::setze(int i, const feldwert& w) {
    spalte(i);
    if (modus_ == modus::ansicht) {
        meldung(tx("Fehler: Tabelle ist nicht im Bearbeitungsmodus: ", "Error: table is not in edit mode: ") +
                    bezeichnung(),
                "M", 'T');
    }
    puffer_[static_cast<size_t>(i)] = passe_an(i, w);
}

void tabelle::speichern() {
    pruefe_offen();
    if (modus_ == modus::ansicht) return;
    for (int i = 0; i < spaltenanzahl(); ++i) {
        const auto& s = def_.spalten[static_cast<size_t>(i)];
        if (s.pflicht && std::holds_alternative<std::monostate>(puffer_[static_cast<size_t>(i)])) {
            meldung(tx("Fehler: Feld darf nicht leer sein: ", "Error: field must not be empty: ") + s.name +
                        " (" + tx("Tabelle ", "table ") + bezeichnung() +
                        (zeilenbeschreibung().empty() ? "" : ", " + zeilenbeschreibung()) + ")",
                    "M", 'T');
        }
    }
    std::string sql;
    if (modus_ == modus::einfuegen) {
        sql = "INSERT INTO " + sql_bezeichner(def_.sql_name) + " (";
        std::string platz;
        for (int i = 0; i < spaltenanzahl(); ++i) {
            sql += (i ? ", " : "") + sql_bezeichner(def_.spalten[static_cast<size_t>(i)].name);
            platz += i ? ", ?" : "?";
        }
        sql += ") VALUES (" + platz + ")";
    } else {
        sql = "UPDATE " + sql_bezeichner(def_.sql_name) + " SET ";
        for (int i = 0; i < spaltenanzahl(); ++i)
            sql += (i ? ", " : "") + sql_bezeichner(def_.spalten[static_cast<size_t>(i)].name) + " = ?";
        sql += " WHERE rowid = ?";
    }
    sqlite3_stmt* st = vorbereiten(sql);
    int rc;
    {
        zuruecksetzen r{st};
        int n = 0;
        for (const auto& w : puffer_) binde(st, ++n, w);
        if (modus_ == modus::bearbeiten) sqlite3_bind_int64(st, ++n, puffer_rowid_);
        rc = sqlite3_step(st);
    }
    if (rc == SQLITE_DONE && modus_ == modus::bearbeiten && sqlite3_changes(db_) == 0) {
        // The row was deleted through another connection while it was edited.
        meldung(tx("Fehler: Datensatz wurde inzwischen gelöscht, Tabelle ",
                   "Error: record has been deleted meanwhile, table ") +
                    bezeichnung() + (zeilenbeschreibung().empty() ? "" : ", " + zeilenbeschreibung()),
                "M", 'T');
    }
    if (rc != SQLITE_DONE) {
        if (rc == SQLITE_CONSTRAINT_PRIMARYKEY || rc == SQLITE_CONSTRAINT_UNIQUE) {
            meldung(tx("Fehler: Datensatz mit diesem Schlüssel existiert bereits: ",
                       "Error: a record with this key already exists: ") +
                        zeilenbeschreibung() + " (" + tx("Tabelle ", "table ") + bezeichnung() + ")",
                    "M", 'T');
        }
        sql_fehler(sql);
    }
    const int64_t rowid = modus_ == modus::einfuegen ? sqlite3_last_insert_rowid(db_) : puffer_rowid_;
    modus_ = modus::ansicht;
    puffer_.clear();
    zeile_rowid_ = -1;
    gewuenschte_rowid_ = rowid;
    sicht_gueltig_ = false;
    ++stand_;
}

void tabelle::abbrechen() {
    if (modus_ == modus::ansicht) return;
    modus_ = modus::ansicht;
    puffer_.clear();
}

void tabelle::loeschen() {
    abbrechen();
    if (!hat_zeile()) {
        meldung(tx("Fehler: Kein aktueller Datensatz in Tabelle ", "Error: no current record in table ") +
                    bezeichnung(),
                "M", 'T');
    }
    const int64_t rowid = zeilen_[static_cast<size_t>(pos_)];
    const std::string sql = "DELETE FROM " + sql_bezeichner(def_.sql_name) + " WHERE rowid = ?";
    sqlite3_stmt* st = vorbereiten(sql);
    int rc;
    {
        zuruecksetzen r{st};
        sqlite3_bind_int64(st, 1, rowid);
        rc = sqlite3_step(st);
    }
    if (rc != SQLITE_DONE) sql_fehler(sql);
    zeilen_.erase(zeilen_.begin() + pos_);
    positionen_gueltig_ = false;
    zeile_rowid_ = -1;
    if (zeilen_.empty()) {
        pos_ = -1;
        eof_ = bof_ = true;
    } else {
        pos_ = std::min<int64_t>(pos_, static_cast<int64_t>(zeilen_.size()) - 1);
    }
    ++stand_;
}

void tabelle::loesche_alle() { loesche(filter_); }

int64_t tabelle::loesche_wo(const std::vector<filterbedingung>& bedingungen) {
    pruefe_offen();
    return loesche(pruefe_bedingungen(bedingungen));
}

int64_t tabelle::loesche(const std::vector<filterbedingung>& bedingungen) {
    pruefe_offen();
    abbrechen();
    std::vector<std::string> teile;
    haenge_bedingungen_an(bedingungen, teile);
    const std::string sql = "DELETE FROM " + sql_bezeichner(def_.sql_name) + verbinde_und(teile);
    transaktion t(*this);
    sqlite3_stmt* st = vorbereiten(sql);
    int rc;
    {
        zuruecksetzen r{st};
        int n = 0;
        binde_bedingungen(st, n, bedingungen);
        rc = sqlite3_step(st);
    }
    if (rc != SQLITE_DONE) sql_fehler(sql);
    const int64_t anzahl = sqlite3_changes(db_);
    t.bestaetigen();
    sicht_gueltig_ = false;
    gewuenschte_rowid_ = -1;
    pos_ = -1;
    zeile_rowid_ = -1;
    ++stand_;
    return anzahl;
}

// --- transactions -----------------------------------------------------------------

void tabelle::beginne_transaktion() {
    pruefe_offen();
    fuehre_aus("SAVEPOINT vk" + std::to_string(transaktionstiefe_ + 1));
    ++transaktionstiefe_;
}

void tabelle::bestaetige() {
    if (transaktionstiefe_ == 0) return;
    fuehre_aus("RELEASE vk" + std::to_string(transaktionstiefe_));
    --transaktionstiefe_;
}

void tabelle::verwerfe() {
    if (transaktionstiefe_ == 0 || !db_) return;
    const std::string n = "vk" + std::to_string(transaktionstiefe_);
    --transaktionstiefe_;
    abbrechen();
    if (hat_zeile_ohne_laden()) gewuenschte_rowid_ = zeilen_[static_cast<size_t>(pos_)];
    sicht_gueltig_ = false;
    zeile_rowid_ = -1;
    ++stand_;
    // The outermost level ends the transaction with a ROLLBACK: releasing
    // it would commit the (emptied) transaction and count a change in the
    // file's header, so a refused write would still change the file.
    if (transaktionstiefe_ == 0 && !sqlite3_get_autocommit(db_))
        fuehre_aus("ROLLBACK");
    else
        fuehre_aus("ROLLBACK TO " + n + "; RELEASE " + n);
}

bool tabelle::hat_zeile_ohne_laden() const {
    return sicht_gueltig_ && pos_ >= 0 && pos_ < static_cast<int64_t>(zeilen_.size());
}

void tabelle::aktualisiere() {
    if (!db_) return;
    abbrechen();
    if (hat_zeile_ohne_laden()) gewuenschte_rowid_ = zeilen_[static_cast<size_t>(pos_)];
    sicht_gueltig_ = false;
    zeile_rowid_ = -1;
    pruefe_fremde_aenderung();
    ++stand_;
}

uint64_t tabelle::aenderungsstand() {
    pruefe_fremde_aenderung();
    return stand_;
}

int64_t tabelle::setze_alle(std::string_view spalte, const feldwert& w,
                            const std::vector<filterbedingung>& bedingungen,
                            bool schluesselkonflikte_auslassen) {
    pruefe_offen();
    const int i = spalte_oder_fehler(spalte);
    const feldwert neu = passe_an(i, w);
    const auto b = pruefe_bedingungen(bedingungen);
    std::vector<std::string> teile;
    haenge_bedingungen_an(b, teile);
    const std::string sql = std::string(schluesselkonflikte_auslassen ? "UPDATE OR IGNORE " : "UPDATE ") +
                            sql_bezeichner(def_.sql_name) + " SET " +
                            sql_bezeichner(def_.spalten[static_cast<size_t>(i)].name) + " = ?" +
                            verbinde_und(teile);
    abbrechen();
    sqlite3_stmt* st = vorbereiten(sql);
    int rc;
    {
        zuruecksetzen r{st};
        int n = 0;
        binde(st, ++n, neu);
        binde_bedingungen(st, n, b);
        rc = sqlite3_step(st);
    }
    if (rc != SQLITE_DONE) sql_fehler(sql);
    if (hat_zeile_ohne_laden()) gewuenschte_rowid_ = zeilen_[static_cast<size_t>(pos_)];
    sicht_gueltig_ = false;
    zeile_rowid_ = -1;
    ++stand_;
    return sqlite3_changes(db_);
}

std::vector<std::vector<feldwert>> tabelle::lies_alle(const std::vector<std::string>& ordnung) {
    pruefe_offen();
    std::string sql = "SELECT * FROM " + sql_bezeichner(def_.sql_name) + " ORDER BY ";
    for (const auto& o : ordnung)
        sql += sql_bezeichner(def_.spalten[static_cast<size_t>(spalte_oder_fehler(o))].name) + ", ";
    sql += "rowid";
    sqlite3_stmt* st = vorbereiten(sql);
    zuruecksetzen r{st};
    std::vector<std::vector<feldwert>> zeilen;
    const int n = std::min(sqlite3_column_count(st), spaltenanzahl());
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        std::vector<feldwert> z(static_cast<size_t>(spaltenanzahl()));
        for (int i = 0; i < n; ++i) z[static_cast<size_t>(i)] = lies_spalte(st, i);
        zeilen.push_back(std::move(z));
    }
    if (rc != SQLITE_DONE) sql_fehler(sql);
    return zeilen;
}
