#include "data/sqlite_datei.h"

#include <sqlite3.h>

#include <stdexcept>

sqlite_datei::sqlite_datei(const std::filesystem::path& datei, bool anlegen) {
    const int flags = SQLITE_OPEN_READWRITE | (anlegen ? SQLITE_OPEN_CREATE : 0);
    const int rc = sqlite3_open_v2(datei.string().c_str(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        const std::string text = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        sqlite3_close(db_);
        db_ = nullptr;
        throw sqlite_fehler(datei.string() + ": " + text, rc);
    }
    sqlite3_extended_result_codes(db_, 1);
}

sqlite_datei::~sqlite_datei() { sqlite3_close(db_); }

sqlite_datei::sqlite_datei(sqlite_datei&& andere) noexcept : db_(andere.db_) { andere.db_ = nullptr; }

sqlite_datei& sqlite_datei::operator=(sqlite_datei&& andere) noexcept {
    if (this != &andere) {
        sqlite3_close(db_);
        db_ = andere.db_;
        andere.db_ = nullptr;
    }
    return *this;
}

void sqlite_datei::ausfuehren(const std::string& sql) {
    char* fehler = nullptr;
    const int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &fehler);
    if (rc != SQLITE_OK) {
        const std::string text = fehler ? fehler : sqlite3_errstr(rc);
        sqlite3_free(fehler);
        throw sqlite_fehler(text, rc);
    }
}

sqlite_anweisung sqlite_datei::vorbereiten(const std::string& sql) {
    sqlite3_stmt* s = nullptr;
    const int rc = sqlite3_prepare_v2(db_, sql.c_str(), -1, &s, nullptr);
    if (rc != SQLITE_OK) throw sqlite_fehler(sqlite3_errmsg(db_), rc);
    return sqlite_anweisung(s);
}

sqlite_anweisung::~sqlite_anweisung() { sqlite3_finalize(s_); }

void sqlite_anweisung::binde_null(int i) { sqlite3_bind_null(s_, i); }

void sqlite_anweisung::binde(int i, const std::string& text) {
    sqlite3_bind_text(s_, i, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

void sqlite_anweisung::binde(int i, double wert) { sqlite3_bind_double(s_, i, wert); }

void sqlite_anweisung::binde(int i, int64_t wert) { sqlite3_bind_int64(s_, i, wert); }

bool sqlite_anweisung::schritt() {
    const int rc = sqlite3_step(s_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    throw sqlite_fehler(sqlite3_errmsg(sqlite3_db_handle(s_)), sqlite3_extended_errcode(sqlite3_db_handle(s_)));
}

void sqlite_anweisung::zuruecksetzen() {
    sqlite3_reset(s_);
    sqlite3_clear_bindings(s_);
}

std::optional<std::string> sqlite_anweisung::text(int spalte) const {
    if (sqlite3_column_type(s_, spalte) == SQLITE_NULL) return std::nullopt;
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s_, spalte));
    return std::string(p, static_cast<size_t>(sqlite3_column_bytes(s_, spalte)));
}

double sqlite_anweisung::zahl(int spalte) const { return sqlite3_column_double(s_, spalte); }

int sqlite_anweisung::spaltenzahl() const { return sqlite3_column_count(s_); }
