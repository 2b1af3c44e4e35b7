#pragma once
// The tools of the detail data sheet `Tdatenblatt_2`: a monthly record
// (`ir_ta_m`, `eh_m`, `ew_m`) edited together with its detail rows
// (`ir_ta_d`, `eh_d`, `ew_d`). They work on the current row of the monthly
// table; the detail rows of a weather record carry its `name`, those of a
// demand record the name in its `name_d`. Every tool writes in one
// transaction per table.

#include <array>
#include <optional>
#include <string>

// Which pair of tables the sheet edits.
enum class detailart { wetter, heizung, warmwasser };

// --- single detail rows of the weather page ---

// "Ir (is, h)": for the current `ir_ta_d` row, ir_g := round(is_g * h / 1000,
// 3 decimals), ir_d := round(is_d * h / 1000, 3 decimals).
bool ir_aus_is();
// "Is (ir,h)": is_g := round(ir_g * 1000 / h, 3), is_d likewise; refused for
// h = 0.
bool is_aus_ir();
// "h (Breite)": h of the current `ir_ta_d` row := round(day length of its
// month at the record's latitude, 3 decimals).
bool h_aus_breite();

// --- whole record ---

// "Berechne_Anzahl": the detail rows of month m, counted from number 1 on
// while the numbers follow without a gap.
int Berechne_Anzahl(int monat, detailart art);

// Sums and means of a month over its first `anzahl` detail rows.
struct monatsmittel {
    double summe_ir = 0.0;   // sum of ir_g (weather) or of the energy values (demand)
    double summe_h = 0.0;    // sum of the durations h
    double is = 0.0;         // weather: summe_ir / daylight hours of the month (kW/qm for kWh/qm)
    double ta_min = 0.0;     // weather: mean of the daily minima
    double ta_max = 0.0;     // weather: mean of the daily maxima
    double ta = 0.0;         // weather: duration-weighted mean temperature
    int anzahl = 0;          // intervals used
};
// "Mittelwerte Monat" of the current monthly record. Daily extremes are taken
// per day: each daily row is a day, hourly rows are grouped 24 to a day by
// their number.
monatsmittel mittelwerte(int monat, int anzahl, detailart art);

// "Übernehmen": the month's means into the monthly record (weather: ir<m>,
// h<m>, ta<m>min, ta<m>max, m<m>; demand: the month value and m<m>).
bool uebernehme_mittelwerte(int monat, detailart art);
// "Alle berechnen und übernehmen": months 1 to 12, one write.
bool alle_berechnen_und_uebernehmen(detailart art);

// "Gesamte Einstrahlung": the sum of the twelve monthly irradiations in
// kWh/qm; "Übernehmen" writes it to `irgesamt`.
double gesamte_einstrahlung();
bool uebernehme_gesamte_einstrahlung();
// "Gesamter Verbrauch": the twelve month values of a demand record summed
// into `gesamt`.
bool uebernehme_gesamten_verbrauch(detailart art);

// "Daten aus Breitengrad": day length (h) of month m at the record's
// latitude and the month's daylight hours.
struct tagesdaten {
    double tageslaenge = 0.0;
    double monatsstunden = 0.0;
};
tagesdaten daten_aus_breitengrad(int monat);

// "Kopiere aus IR_TA_M": one detail row per month from the monthly columns:
// number 1, ir_g/ir_d the month's global and diffuse irradiation, tamin/tamax
// its temperatures, h the month's daylight hours (days x day length, 3
// decimals), hm 12, is_g/is_d the mean intensity over the daylight hours,
// `zeitintervall` "D". Existing detail rows of the record are replaced.
bool kopiere_aus_ir_ta_m();
// "Alle löschen": deletes every detail row of the record. Returns the count.
long long loesche_alle_details(detailart art);

// "Normieren auf Monatswert": with S the sum of the month's detail values
// and V the month value of the record, when S > 0: weather ir_g :=
// round(ir_g * V / S, 4); demand with absolute month values value :=
// round(value * V / S, 4), with relative ones value := round(value * 1000 /
// S, 4) (thousandths of the month); demand rows get `normiert` "Y". Nothing
// changes when S <= 0. True when rows were written.
bool normiere_monat(int monat, detailart art);
// "Alle normieren": months 1 to 12.
void normiere_alle(detailart art);

// --- filling demand details ---

// "Gleiche Tage": for days 2..days(m) and hours j = 1..24, row (d-1)*24 + j
// of month m receives value and hour data of row j (missing rows are made).
bool gleiche_tage(int monat, detailart art);
// "Erster Tag": the first day of January to every day of every month.
bool erster_tag(detailart art);
// "Gleiche Monate": January's rows to months 2..12 (up to each month's
// 24 x days rows).
bool gleiche_monate(detailart art);
// "Alle ändern": "Gleiche Tage" in every month.
bool alle_aendern(detailart art);
