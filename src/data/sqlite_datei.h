#pragma once
// Minimal RAII access to one SQLite database file: open, run statements,
// prepared statements with bound parameters. Used where the program works on
// table files directly (building the default database, "Addiere Default").

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

class sqlite_anweisung;

class sqlite_datei {
public:
    sqlite_datei() = default;
    // Opens (and with `anlegen` creates) the file; throws std::runtime_error
    // with SQLite's message when that fails.
    sqlite_datei(const std::filesystem::path& datei, bool anlegen);
    ~sqlite_datei();
    sqlite_datei(sqlite_datei&& andere) noexcept;
    sqlite_datei& operator=(sqlite_datei&& andere) noexcept;
    sqlite_datei(const sqlite_datei&) = delete;
    sqlite_datei& operator=(const sqlite_datei&) = delete;

    // Runs statements without results; throws std::runtime_error on failure.
    void ausfuehren(const std::string& sql);
    sqlite_anweisung vorbereiten(const std::string& sql);
    sqlite3* handle() const { return db_; }

private:
    sqlite3* db_ = nullptr;
};

class sqlite_anweisung {
public:
    explicit sqlite_anweisung(sqlite3_stmt* s) : s_(s) {}
    ~sqlite_anweisung();
    sqlite_anweisung(sqlite_anweisung&& andere) noexcept : s_(andere.s_) { andere.s_ = nullptr; }
    sqlite_anweisung(const sqlite_anweisung&) = delete;
    sqlite_anweisung& operator=(const sqlite_anweisung&) = delete;

    // Parameters are numbered from 1.
    void binde_null(int i);
    void binde(int i, const std::string& text);
    void binde(int i, double wert);
    void binde(int i, int64_t wert);
    // Steps once: true while a result row is available; throws on an error
    // (the exception carries SQLite's extended result code in `code`).
    bool schritt();
    void zuruecksetzen();
    // Column values of the current result row (0-based).
    std::optional<std::string> text(int spalte) const;
    double zahl(int spalte) const;
    int spaltenzahl() const;

private:
    sqlite3_stmt* s_;
};

// Error of a statement, with SQLite's extended result code.
struct sqlite_fehler : std::runtime_error {
    sqlite_fehler(const std::string& text, int c) : std::runtime_error(text), code(c) {}
    int code;
};
