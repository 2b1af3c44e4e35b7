#pragma once
// The user guide shipped with the program (HTML, German and English), and
// which file the help menu opens.

#include <filesystem>
#include <optional>
#include <string>

// Folder of the guide: <prefix>/share/varnek/handbuch of an installed
// program (beside <prefix>/bin), else data/handbuch of the source tree.
std::filesystem::path handbuch_verzeichnis();

// The file the help menu opens for the chosen language: a manual of the
// installation's own in the text folder (`eigene_datei`, e.g.
// "Anleitung.doc") when there is one, else the shipped guide of the
// language; `abschnitt` is an anchor of the guide ("berechnung"), kept
// apart for the caller to add. Nothing when neither exists.
struct anleitung {
    std::filesystem::path datei;
    std::string abschnitt;
};
std::optional<anleitung> finde_anleitung(const std::filesystem::path& textverzeichnis,
                                         const std::string& eigene_datei, bool englisch,
                                         const std::string& abschnitt = {});
