#pragma once
// Start-up of the program without windows: settings and paths, units, the
// database (created from the default database on first start), the
// language-dependent texts and the table check.

#include <filesystem>
#include <optional>

struct startoptionen {
    std::optional<std::filesystem::path> datenbank;   // database directory
    std::optional<std::filesystem::path> ergebnisse;  // result directory
    int sprache = 0;                                   // 0 German, 1 English
};

// Runs the start-up sequence. Returns true when the default database was
// created because the database directory held no table files.
bool programmstart(const startoptionen& optionen);

// The working directory at start-up (control file, control tool).
const std::filesystem::path& arbeitsverzeichnis();
