#pragma once
// The control file of a control run: "kontrolle.text" in the working
// directory. The station writes the line "START" when a run begins; any tool
// that writes "STOP" as the first line ends the run at its next check.
//
// The file is only ever read with a plain shared read, never locked, so an
// editor or the helper command can write it at any time. A missing or
// unreadable file means "not stopped": a control run must not end, with the
// plant in an unknown state, because a file was briefly absent while another
// program replaced it.

#include <filesystem>
#include <string>

inline constexpr const char* KONTROLLDATEI_NAME = "kontrolle.text";

// The control file of directory `verzeichnis`.
std::filesystem::path kontrolldatei_pfad(const std::filesystem::path& verzeichnis);

// Deletes an existing control file and writes it anew with the one line
// "START". False when it could not be written.
bool schreibe_kontrolldatei_start(const std::filesystem::path& datei);

// Writes "STOP" as the first line. The text goes to a temporary file beside
// it that then replaces the control file, so a reader sees either the old
// or the new content, never a half-written one. False on failure.
bool schreibe_kontrolldatei_stop(const std::filesystem::path& datei);

// The first line of the file without its line end (LF, CR LF or CR); empty
// when the file is missing, unreadable or empty.
std::string erste_zeile(const std::filesystem::path& datei);

// True only when the first line is exactly "STOP" (case and blanks count).
bool kontrolldatei_stop(const std::filesystem::path& datei);
