#pragma once
// Import of the hourly weather files users have today into a weather record:
// EnergyPlus weather files (EPW) and the German test reference years of the
// Deutscher Wetterdienst (TRY, ".dat"). A file is read into a neutral hourly
// year (`wetterjahr`), checked, and written as one `ir_ta_m` record with
// hourly detail rows `ir_ta_d` ("A", absolute times): irradiation in kWh/qm
// per hour, intensity in W/qm, temperature in °C, the record's location,
// units and source from the file.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// One hour of a weather file, as read.
struct wetterstunde {
    int monat = 0;         // 1..12
    int tag = 0;           // day of the month
    int stunde = 0;        // 1..24, the hour ending at this full hour
    double global = 0.0;   // global horizontal irradiation of the hour, Wh/qm (= mean W/qm)
    double diffus = 0.0;   // diffuse horizontal irradiation, Wh/qm
    double temperatur = 0.0;  // air temperature, °C
    std::optional<double> feuchte;  // relative humidity, %
    std::optional<double> wind;     // wind speed, m/s
    int zeile = 0;         // line in the file, for messages
};

struct wetterjahr {
    std::string format;  // "EPW" or "TRY"
    std::string datei;   // file name, for the record's description
    std::string ort, land, wmo;
    std::string quelle;  // short source text (at most 20 characters in the record)
    std::string info;    // longer description
    double breite = 0.0;     // latitude, degrees north
    double laenge = 0.0;     // longitude, degrees east
    double zeitzone = 0.0;   // hours east of UTC of the file's clock
    std::optional<int> jahr; // the year measured, when the file is one real year
    std::vector<wetterstunde> stunden;
};

// Reads an EPW file (a UTF-8 byte-order mark at its start is skipped).
// Failures (unreadable or not a regular file, missing LOCATION, a data line
// that is malformed, a missing or impossible value of temperature or
// irradiation, an hour given twice, more than one value per hour) are
// reported (dialog, 'E') with file and line; the result is then empty.
std::optional<wetterjahr> lies_epw(const std::filesystem::path& datei);
// Reads a DWD test reference year: the "key : value" header (Rechtswert,
// Hochwert in the Lambert projection of Europe give the location), the
// column-name line before the "***" separator, then one line per hour
// (MM, DD, HH in CET, t, RF, WG, B direct and D diffuse horizontal W/qm).
std::optional<wetterjahr> lies_try(const std::filesystem::path& datei);
// EPW or TRY, told by the content (an EPW file begins with "LOCATION,").
std::optional<wetterjahr> lies_wetterdatei(const std::filesystem::path& datei);

// What `schreibe_wetterdatensatz` wrote.
struct wetterimport_ergebnis {
    int stunden = 0;
    double jahreseinstrahlung = 0.0;  // kWh/qm
};

// Writes the year as weather record `name` with its detail rows: monthly
// sums of global and diffuse irradiation, means of the daily minima and
// maxima of the hourly temperatures, the daylight hours of each month at the
// record's latitude (as "h (Breite)" computes them) and the number of hours;
// the yearly irradiation, mean wind speed and humidity. Each detail row
// (number (day - 1) * 24 + hour) holds the hour's irradiation, intensity,
// temperature (minimum = maximum), duration 1 h and the middle of the hour
// in mean solar time. The hours must be one whole year in calendar order
// (8760, or 8784 with 29 February): a missing, repeated or misplaced hour and
// a file that ends early are refused with the file and line, since a run
// needs every hour. A name that is empty, longer than 50 characters or holds
// a control character is refused; a name already taken is refused unless
// `ersetzen`, which replaces the record and its detail rows. Nothing is
// written on a refusal; the old record stays until the new one is written
// whole (record and detail rows are committed together; a failure of the
// second puts the first back).
std::optional<wetterimport_ergebnis> schreibe_wetterdatensatz(const wetterjahr& jahr, const std::string& name,
                                                              bool ersetzen);

// --- Lambert conformal conic projection (two standard parallels, ellipsoid) ---

struct lcc_parameter {
    double a = 6378137.0;              // semi-major axis, m (or the unit of the coordinates)
    double f = 1.0 / 298.257222101;    // flattening
    double breite0 = 52.0, laenge0 = 10.0;  // origin, degrees
    double breite1 = 35.0, breite2 = 65.0;  // standard parallels, degrees
    double x0 = 4000000.0, y0 = 2800000.0;  // false easting and northing
};
// The projection of the test reference years: ETRS89 Lambert conformal conic
// of Europe (EPSG 3034).
const lcc_parameter& lcc_europa();
struct geokoordinaten {
    double breite = 0.0;
    double laenge = 0.0;
};
// Projected coordinates (x east, y north) to latitude and longitude, degrees.
geokoordinaten lcc_nach_geographisch(const lcc_parameter& p, double x, double y);
// Latitude and longitude to projected coordinates.
std::pair<double, double> geographisch_nach_lcc(const lcc_parameter& p, double breite, double laenge);
