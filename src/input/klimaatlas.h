#pragma once
// "Detailtabelle einlesen": monthly, daily or hourly climate values of a
// weather station from the text files of a climate atlas installation into
// the current weather record (`ir_ta_m`) and its detail rows (`ir_ta_d`).
//
// Files (paths and counts from the climate-data descriptors of the
// settings): the station list, one fixed-width line per station (column
// widths 5, 40, 7, 8, 5, 6, 5, 5, then 2 for each further column, 32
// columns); and one data file per station, series and resolution, named by
// the series prefix ("gr" global, "dr" diffuse irradiation, "tn" minimum,
// "tx" maximum temperature) and the station number, with ".txt", in the
// folder of the resolution. A data file begins with the descriptor's lines
// to skip; then each line holds the descriptor's leading numbers (for daily
// and hourly files the first is the year; daily: year, month; hourly: year,
// month, day) and its values: monthly files one line of 12 month values;
// daily files 12 lines per year (months) of 31 day values; hourly files one
// line per day of the year (365, or 366 in a leap year) of 24 hour values.
// A file may hold several years one after the other; the year chosen is
// read as a raw table through the table reader.

#include <filesystem>
#include <string>
#include <vector>

#include "data/tabelle.h"

enum class atlas_aufloesung { monat, tag, stunde };
enum class atlas_groesse { global, diffus, temperatur };

// The 32 fields of a station-list line, without surrounding blanks; a line
// shorter than the widths gives empty trailing fields; each field holds at
// most 40 characters.
std::vector<std::string> zerlege_stationszeile(const std::string& zeile);

// Reads the station list into `wmo`: a station number not yet present is
// inserted with all its columns (one transaction). Returns the number of
// stations inserted, -1 when the file cannot be read (reported).
int lies_stationsliste(const std::filesystem::path& datei);

struct importvorbereitung {
    bool ok = false;
    std::vector<atlas_aufloesung> aufloesungen;  // what can be chosen
    std::vector<filterbedingung> stationsfilter; // stations that have the series
};
// `vor_aufruf`: the current weather record must have a `zeitintervall`
// ("Fehler: Erst Zeitintervall eingeben", dialog, 'E') other than "D"
// ("Fehler: Keine Monatswerte für diffuse Einstrahlung", dialog, 'E'). The
// station list is read into `wmo`. "K" allows monthly values only, stations
// with monthly global irradiation and temperatures; "T" daily (and monthly)
// values, stations with daily global irradiation and temperatures; "A"
// hourly (and monthly) values, stations with hourly global irradiation.
// The filter is set on `wmo`.
importvorbereitung vor_aufruf();

// The data file of a station and series: "<folder>/<prefix><station>.txt".
std::filesystem::path atlasdatei(atlas_aufloesung a, const std::string& praefix, const std::string& station);

// "Jahre ermitteln": the years a daily or hourly file holds, in file order
// (the first number of each line after the lines to skip).
std::vector<int> jahre_ermitteln(const std::filesystem::path& datei, atlas_aufloesung a);

// February has 29 days when the year is divisible by 4, else 28; the
// calendar of the settings keeps it for the rest of the program run. 'Y' for
// a leap year, 'N' otherwise.
char teste_schaltjahr(int jahr);

// "Daten einlesen": reads the chosen file(s) of `station` (for temperature
// the minimum, then the maximum file) and writes the values into the
// current weather record: monthly values into the month columns (global
// ir<m>, diffuse diff<m>, ta<m>min, ta<m>max), daily and hourly values of
// year `jahr` into its detail rows (number: day of the month, or (day - 1) *
// 24 + hour), creating missing rows with duration and hour (daily: the day
// length of the month at the station's latitude and 12; hourly: 1 and the
// hour) and the record's `zeitintervall`; m<m> becomes the number of detail
// rows of each month. The station's place, number, country, latitude and
// longitude (stored / 100) go into the record. Irradiation values are
// multiplied by `norm_ir`, temperatures by `norm_ta` (the scale factors of
// the path profile). Nothing is written when a file cannot be read. True
// when written.
bool daten_einlesen(atlas_aufloesung a, atlas_groesse g, const std::string& station, int jahr = 0,
                    double norm_ir = 1.0, double norm_ta = 1.0);
