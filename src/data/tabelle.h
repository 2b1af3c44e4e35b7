#pragma once
// Cursor-style access to one table of one SQLite database file.
//
// The cursor shows the rows of the table in an order (the key, a named index
// or an ad hoc column list), optionally restricted by filter conditions, and
// stands on one current row. Rows are inserted or edited in a buffer and
// written by `speichern` (post) or dropped by `abbrechen` (cancel). Every
// value that reaches SQL is bound as a parameter; column names are checked
// against the columns of the table before they are used in a statement.
// Failures are reported through `meldung` naming the table file; SQL errors
// abandon the operation (severity 'T').

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>
#include <vector>

#include "data/tabellen_def.h"

struct sqlite3;
struct sqlite3_stmt;

// One field value: empty (NULL), integer, real or text.
using feldwert = std::variant<std::monostate, int64_t, double, std::string>;

// Text form of a value ("" for NULL, numbers without trailing zeros).
std::string als_text(const feldwert& w);
// Numeric value (0 for NULL and for text that is not a number).
double als_zahl(const feldwert& w);
bool ist_leer(const feldwert& w);  // NULL or empty text

// One filter condition: column, comparison "=" or " LIKE " (blanks optional),
// and the value it is compared with. Conditions of a filter are joined by AND.
struct filterbedingung {
    std::string spalte;
    std::string vergleich;
    feldwert wert;
};

class tabelle {
public:
    enum class modus { ansicht, bearbeiten, einfuegen };

    tabelle();
    ~tabelle();
    tabelle(const tabelle&) = delete;
    tabelle& operator=(const tabelle&) = delete;

    // Opens `datei` with the table of `def`. With `anlegen` a missing file is
    // created with the table and its indexes, a file without the table gets
    // the table and missing named indexes are added. Without it nothing is
    // written: a missing file or table is reported by name and the result is
    // false. A file that is not an SQLite database or whose table lacks
    // columns of `def` is reported by name and left untouched; false.
    bool oeffne(const std::filesystem::path& datei, const tabellen_def& def, bool anlegen = true);
    // Opens an existing table of an existing file without a fixed schema:
    // the table named `tabellenname` (case-insensitive), or the only table of
    // the file when the name is empty or not found. Key columns are the
    // primary key, else the first unique index.
    bool oeffne_vorhandene(const std::filesystem::path& datei, const std::string& tabellenname);
    void schliesse();
    bool ist_offen() const { return db_ != nullptr; }
    // True when writes cannot succeed: the file was opened read-only (write-
    // protected file or medium) or its folder does not allow the journal.
    bool nur_lesbar() const;

    const std::filesystem::path& datei() const { return datei_; }
    const std::string& sql_name() const { return def_.sql_name; }

    // Columns in stored order.
    int spaltenanzahl() const { return static_cast<int>(def_.spalten.size()); }
    const spalten_def& spalte(int i) const;
    const std::vector<spalten_def>& spalten() const { return def_.spalten; }
    // Position of a column (case-insensitive), -1 when the table has none.
    int spalten_index(std::string_view name) const;
    const std::vector<std::string>& schluesselspalten() const { return def_.schluessel; }
    // Columns of a named index as stored in the file (empty if unknown).
    std::vector<std::string> indexspalten(const std::string& indexname) const;

    // Order of the rows: key, named index, or the given columns.
    void sortiere_nach_schluessel();
    void sortiere_nach_index(const std::string& indexname);
    void sortiere_nach_spalten(const std::vector<std::string>& spalten);
    const std::vector<std::string>& sortierspalten() const { return sortierung_; }

    // Filter: only rows meeting every condition are shown.
    void setze_filter(std::vector<filterbedingung> bedingungen);
    void filter_aus();
    bool ist_gefiltert() const { return !filter_.empty(); }

    // Navigation. `eof` is true after `naechster` on the last row and on an
    // empty view; `bof` after `vorheriger` on the first row.
    void erster();
    void letzter();
    void naechster();
    void vorheriger();
    bool eof();
    bool bof();
    bool ist_leer();
    int64_t anzahl();    // rows in the current view
    int64_t position();  // 0-based position of the current row, -1 if none
    bool hat_zeile();    // the cursor stands on a row

    // Exact lookup on the first values.size() columns of the current order;
    // on success the cursor moves to the first matching row.
    bool suche(const std::vector<feldwert>& werte);
    // Moves to the first row whose sort columns are >= the values; when no
    // row qualifies, to the last row. True when a row >= the values exists.
    bool suche_naechsten(const std::vector<feldwert>& werte);

    // Field access of the current row (or of the edit buffer while editing).
    const feldwert& wert(int spalte);
    const feldwert& wert(std::string_view spalte);
    std::string text(std::string_view spalte) { return als_text(wert(spalte)); }
    double zahl(std::string_view spalte) { return als_zahl(wert(spalte)); }
    int64_t ganzzahl(std::string_view spalte);
    bool ist_feld_leer(std::string_view spalte) { return ::ist_leer(wert(spalte)); }

    // Editing. `einfuegen` starts a new empty row, `bearbeiten` edits the
    // current row; `setze` changes a field of the buffer (converted to the
    // column's type); `speichern` writes the buffer, `abbrechen` drops it.
    // Navigating or closing drops an unsaved buffer.
    void einfuegen();
    void bearbeiten();
    void setze(std::string_view spalte, const feldwert& w);
    void setze(int spalte, const feldwert& w);
    void speichern();
    void abbrechen();
    void loeschen();  // deletes the current row; the next row becomes current
    modus aktueller_modus() const { return modus_; }

    // Deletes every row of the current view in one transaction.
    void loesche_alle();
    // Deletes every row meeting the conditions, regardless of the cursor's
    // filter (one statement); returns the count.
    int64_t loesche_wo(const std::vector<filterbedingung>& bedingungen);
    // Sets one column of every row meeting the conditions (all rows when
    // there are none), regardless of the cursor's filter; returns the count.
    // With `schluesselkonflikte_auslassen` a row whose change would duplicate
    // a key keeps its value instead of abandoning the whole update.
    int64_t setze_alle(std::string_view spalte, const feldwert& w,
                       const std::vector<filterbedingung>& bedingungen,
                       bool schluesselkonflikte_auslassen = false);
    // Every row of the table (regardless of the filter) in the order of the
    // given columns, without moving the cursor.
    std::vector<std::vector<feldwert>> lies_alle(const std::vector<std::string>& ordnung);

    // Transactions; they nest (savepoints). `verwerfe` rolls back.
    void beginne_transaktion();
    void bestaetige();
    void verwerfe();

    // Re-reads the view (after writes through another connection).
    void aktualisiere();
    // Changes with every write through this cursor, every reopen and every
    // write to the file by another connection.
    uint64_t aenderungsstand();

    // Name of the file and table, for messages.
    std::string bezeichnung() const;

private:
    bool verbinde(const std::filesystem::path& datei, bool anlegen);
    bool lies_spalten(const std::string& tabellenname);
    void lies_indizes();
    bool pruefe_offen() const;
    int spalte_oder_fehler(std::string_view name) const;
    sqlite3_stmt* vorbereiten(const std::string& sql);
    void fuehre_aus(const std::string& sql);
    [[noreturn]] void sql_fehler(const std::string& was) const;
    void sichere_sicht();
    void lade_sicht();
    void pruefe_fremde_aenderung();
    bool hat_zeile_ohne_laden() const;
    bool suche_intern(const std::vector<feldwert>& werte, bool naechster);
    void lade_zeile();
    std::string where_klausel(int anzahl_schluessel, bool naechster,
                              const std::vector<feldwert>* werte = nullptr) const;
    int64_t loesche(const std::vector<filterbedingung>& bedingungen);
    void binde_filter(sqlite3_stmt* st, int& n) const;
    std::vector<filterbedingung> pruefe_bedingungen(std::vector<filterbedingung> b) const;
    void gehe_zu_rowid(int64_t rowid);
    feldwert passe_an(int spalte, const feldwert& w) const;
    std::string zeilenbeschreibung() const;

    sqlite3* db_ = nullptr;
    std::filesystem::path datei_;
    tabellen_def def_;
    std::map<std::string, std::vector<std::string>> datei_indizes_;
    std::unordered_map<std::string, sqlite3_stmt*> anweisungen_;
    std::unordered_map<std::string, std::string> such_sql_;  // lookup statements by variant

    std::vector<std::string> sortierung_;
    std::vector<filterbedingung> filter_;

    // The view: rowids in order, the current position and its row values.
    std::vector<int64_t> zeilen_;
    std::unordered_map<int64_t, int64_t> position_von_;
    bool sicht_gueltig_ = false;
    bool positionen_gueltig_ = false;
    int64_t pos_ = -1;
    int64_t gewuenschte_rowid_ = -1;  // row to stand on after the next reload
    bool eof_ = true;
    bool bof_ = true;
    std::vector<feldwert> zeile_;
    int64_t zeile_rowid_ = -1;

    modus modus_ = modus::ansicht;
    std::vector<feldwert> puffer_;
    int64_t puffer_rowid_ = -1;

    int transaktionstiefe_ = 0;
    uint64_t stand_ = 0;
    int64_t data_version_ = -1;
};

// Runs a group of writes in one transaction: rolls back unless `bestaetigen`
// was called (for example when an abandoned operation unwinds).
class transaktion {
public:
    explicit transaktion(tabelle& t) : t_(t) { t_.beginne_transaktion(); }
    ~transaktion() {
        if (fertig_) return;
        try {
            t_.verwerfe();
        } catch (...) {
            // The rollback has been reported; nothing more can be done here.
        }
    }
    void bestaetigen() {
        t_.bestaetige();
        fertig_ = true;
    }
    transaktion(const transaktion&) = delete;
    transaktion& operator=(const transaktion&) = delete;

private:
    tabelle& t_;
    bool fertig_ = false;
};
