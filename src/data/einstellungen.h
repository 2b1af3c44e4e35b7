#pragma once
// Process-wide settings: working directories, climate-data file
// descriptors, calendar and conversion constants, layout scale. They are not
// stored between program runs; every start begins from the defaults.

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "data/konstanten.h"

// Description of one kind of climate-data file: path, lines and columns to
// skip, lines and columns to read.
struct klimadaten_beschreibung {
    std::filesystem::path pfad;
    int32_t zeilen_ueberlesen = 0;
    int32_t spalten_ueberlesen = 0;
    int32_t zeilen = 0;
    int32_t spalten = 0;
    int32_t zusatz = 0;  // further count of the monthly and daily descriptors (1)
};

struct einstellungen_daten {
    std::filesystem::path datenbankverzeichnis;
    std::filesystem::path datenbank_alt;  // old database ("Konvertieren")
    std::filesystem::path ergebnisverzeichnis;
    std::filesystem::path textverzeichnis;  // manuals
    std::filesystem::path klimadatenverzeichnis;
    klimadaten_beschreibung monatsmittel, tagesmittel, stundenmittel, stationsliste;

    double kWh_in_Ws = konst::KWH_IN_WS;
    double skalierung_horizontal = 1.0, skalierung_vertikal = 1.0;

    // Calendar, months 1..12 (slot 0 spare): days per month, day offset of
    // the first day, day number of mid-month; the chart copy of the days per
    // month holds the count 12 in slot 0.
    std::array<int32_t, 13> monatstage{};
    std::array<int32_t, 13> monatsanfang{};
    std::array<int32_t, 13> monatsmitte{};
    std::array<int32_t, 13> monatstage_grafik{};

    int32_t anzahl_schritte_2 = 0;  // second flow-step count of the "Default" button

    // Blank padding strings of 5, 6, 7, 8 and 40 spaces.
    std::string leer5, leer6, leer7, leer8, leer40;

    // Serial ports on POSIX systems: the device path of port n ("COMn"). An
    // entry of com_pfade wins; otherwise com_pfadmuster with "{n}" replaced by
    // n and "{n-1}" by n - 1. Windows opens COMn by its own name.
    std::string com_pfadmuster = "/dev/ttyUSB{n-1}";
    std::map<int32_t, std::string> com_pfade;
};

einstellungen_daten& einstellungen();

// Base folder "Varnek" in the user's data directory ($XDG_DATA_HOME or
// ~/.local/share; on Windows %LOCALAPPDATA%).
std::filesystem::path standard_basisverzeichnis();

// Days of month m (1..12); 0 outside.
int32_t tage_im_monat(int m);

// x rounded to n decimals, halves to even.
double runde_dezimal(double x, int n);

// Directories and climate-data descriptors to their defaults.
void setze_Pfade_und_Parameter();
// Calendar and conversion constants, layout scale, padding strings, the
// table registry for the database directory and the result short names.
void DefaultEinstellungen();
// Creates the default directories that do not exist yet (first start).
void lege_standardverzeichnisse_an();

// Path actions on the current row of `respfad`. Each stores the path as the
// setting; a directory (or file) that does not exist is reported with
// "Warnung: Verzeichnis nicht angelegt". Return: whether the path exists
// (the form shows it).
bool datenbank_setzen();
bool ergebnispfad_setzen();
bool klimadaten_setzen();

// Short names of the result quantities (result-file column codes), filled by
// `DefaultEinstellungen`: [0..60] monthly, then [61..78] the per-interval series.
std::vector<std::string>& ergebnis_kurznamen();
void setze_ergebnis_kurznamen();
