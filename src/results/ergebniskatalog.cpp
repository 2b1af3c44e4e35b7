#include "results/ergebniskatalog.h"

#include <ctime>
#include <fstream>
#include <system_error>

#include "lang/meldung.h"
#include "lang/sprache.h"

namespace {

constexpr text_paar speichern_unter{"Datei speichern unter", "Store file in"};
constexpr text_paar filter_optimierung{"Optimierungsdateien (*.dat)|*.dat",
                                       "Optimisation files (*.dat)|*.dat"};
constexpr text_paar filter_simulation{"Simulationsdateien (*.sim)|*.sim",
                                      "Simulation files (*.sim)|*.sim"};
constexpr text_paar verzeichnis_nicht_schreibbar{
    "Fehler: Ergebnisverzeichnis nicht beschreibbar: ", "Error: Result folder not writable: "};
constexpr text_paar unzulaessiger_name{"Fehler: Unzulässiger Dateiname: Tabelle haupt, Zeile ",
                                       "Error: Invalid file name: table haupt, row "};
constexpr text_paar spalte{", Spalte ", ", column "};
constexpr text_paar nur_dateiname{
    " (erlaubt ist nur ein Dateiname im Ergebnisverzeichnis, ohne Ordner und ohne \"..\")",
    " (only a file name inside the result folder is allowed, without folders or \"..\")"};

// True when a file can be created in `ordner`; the probe file is removed.
bool beschreibbar(const std::filesystem::path& ordner) {
    std::error_code ec;
    if (!std::filesystem::is_directory(ordner, ec)) return false;
    const auto probe = ordner / ".varnek_schreibprobe";
    bool ok = false;
    {
        std::ofstream f(probe, std::ios::binary | std::ios::app);
        ok = static_cast<bool>(f);
    }
    std::filesystem::remove(probe, ec);
    return ok;
}

}  // namespace

datum heutiges_datum() {
    const std::time_t jetzt = std::time(nullptr);
    std::tm t{};
#ifdef _WIN32
    localtime_s(&t, &jetzt);
#else
    localtime_r(&jetzt, &t);
#endif
    return {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday};
}

speicherdialog_vorgabe ausgabefile_vorgabe(char optimierung, const haupt_angaben& haupt,
                                           const std::filesystem::path& ergebnisverzeichnis) {
    speicherdialog_vorgabe v;
    v.verzeichnis = ergebnisverzeichnis;
    v.titel = speichern_unter.text();
    v.erweiterung = optimierung == 'O' ? ".dat" : ".sim";
    v.filter = optimierung == 'O' ? filter_optimierung.text() : filter_simulation.text();
    v.dateiname = haupt.ausgabefile;
    return v;
}

bool ist_einfacher_dateiname(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (const char c : name) {
        if (c == '/' || c == '\\' || c == ':' || static_cast<unsigned char>(c) < 0x20) return false;
    }
    return true;
}

namespace {
bool pruefe_name(const haupt_angaben& haupt, const char* spaltenname, const std::string& wert) {
    if (ist_einfacher_dateiname(wert)) return true;
    meldung(unzulaessiger_name.text() + haupt.name + spalte.text() + spaltenname + ": \"" + wert + "\"" +
                nur_dateiname.text(),
            "M", 'E');
    return false;
}
}  // namespace

bool pruefe_dateinamen(char optimierung, const haupt_angaben& haupt) {
    if (!pruefe_name(haupt, "ausgabefile", haupt.ausgabefile)) return false;
    return optimierung == 'O' || pruefe_name(haupt, "steuer", haupt.steuer);
}

std::optional<std::filesystem::path> lege_ausgabefile_an(char optimierung, char dialogflag,
                                                         const haupt_angaben& haupt,
                                                         const std::filesystem::path& ergebnisverzeichnis,
                                                         speicherdialog* dialog) {
    const speicherdialog_vorgabe vorgabe = ausgabefile_vorgabe(optimierung, haupt, ergebnisverzeichnis);
    std::filesystem::path pfad;
    if (dialogflag == 'J') {
        if (dialog == nullptr) return std::nullopt;
        const auto gewaehlt = dialog->zeige(vorgabe);
        if (!gewaehlt) return std::nullopt;
        pfad = *gewaehlt;
        if (!pfad.has_extension()) pfad += vorgabe.erweiterung;
        // The control file is still named by the data set.
        if (optimierung != 'O' && !pruefe_name(haupt, "steuer", haupt.steuer)) return std::nullopt;
    } else {
        if (!pruefe_dateinamen(optimierung, haupt)) return std::nullopt;
        pfad = ergebnisverzeichnis / (haupt.ausgabefile + vorgabe.erweiterung);
    }
    const std::filesystem::path ordner = pfad.has_parent_path() ? pfad.parent_path() : ".";
    if (!beschreibbar(ordner)) {
        meldung(verzeichnis_nicht_schreibbar.text() + ordner.string(), "M", 'E');
        return std::nullopt;
    }
    return pfad;
}

void trage_ergebnisdatei_ein(char optimierung, const haupt_angaben& haupt,
                             const std::filesystem::path& datei, ergebniskatalog& katalog,
                             const datum& heute) {
    std::error_code ec;
    std::filesystem::path ordner = std::filesystem::absolute(
        datei.has_parent_path() ? datei.parent_path() : std::filesystem::path("."), ec);
    if (ec) ordner = datei.parent_path();
    ordner = ordner.lexically_normal();
    // "/a/b/." normalises to "/a/b/": store the folder without the separator.
    if (!ordner.has_filename() && ordner.has_relative_path()) ordner = ordner.parent_path();
    const std::string schreiberesultat_name = datei.filename().string();
    const std::string info = std::to_string(heute.jahr) + " " + std::to_string(heute.monat) + " " +
                             std::to_string(heute.tag);
    if (auto zeile = katalog.finde_ergebnisdatei(schreiberesultat_name)) {
        if (zeile->haupteingabefile != haupt.name) zeile->haupteingabefile = haupt.name;
        zeile->pfad = ordner.string();
        zeile->info = info;
        katalog.speichere(*zeile, false);
    } else {
        result_zeile neu;
        neu.name = schreiberesultat_name;
        neu.ort = haupt.ort;
        neu.land = haupt.land;
        neu.bezirk = haupt.bezirk;
        neu.kundennummer = haupt.kundennummer;
        neu.haupteingabefile = haupt.name;
        neu.pfad = ordner.string();
        neu.optimierung = optimierung == 'O' ? 'O' : 'S';
        neu.lock = "F";
        neu.info = info;
        katalog.speichere(neu, true);
    }
}
