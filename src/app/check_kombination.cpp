#include "app/check_kombination.h"

#include <cmath>

#include "data/datenbank.h"
#include "input/addiere_default.h"
#include "lang/meldung.h"
#include "lang/sprache.h"

using namespace tabledata;

namespace {

// The time-step methods: velocity with intervals, temperature, or both.
bool zeitschritt_gewaehlt(const flagchar& n) {
    return (n[ndata::zeitraum] == "I" && n[ndata::rechenart] == "V") || n[ndata::rechenart] == "T" ||
           n[ndata::rechenart] == "M";
}

long gerundet(double x) { return static_cast<long>(std::nearbyint(x)); }

namespace txt {
constexpr text_paar kein_gegenstrom{"Fehler: Anlage hat keinen Gegenstromwärmetauscher",
                                    "Error: plant has no counter-flow heat exchanger"};
constexpr text_paar nur_reservoir_t{"Fehler: Nur Reservoir T erlaubt", "Error: only reservoir T allowed"};
constexpr text_paar beliebiger_speicher{"Optimiert mit beliebig großem Speicher; Nicht optimal bei kleinen Speichern.",
                                        "Optimised with an arbitrarily large store; not optimal for small stores."};
constexpr text_paar erst_verbrauchen{"Warnung: Option Energieverbrauch \"Erst verbrauchen\" ist besser",
                                     "Warning: option energy use \"consume first\" is better"};
constexpr text_paar diffpumpe{"Warnung: Diff.pump ist <> 0: Keine exakte Lösung möglich",
                              "Warning: diff. pump is <> 0: no exact solution possible"};
constexpr text_paar neigung_nur{"Fehler: Mögliche Kollekorneigung nur ", "Error: possible collector tilt only "};
constexpr text_paar ein_kollektor{"Fehler: Nur ein Kollektor in Serie erlaubt",
                                  "Error: only one collector in series allowed"};
constexpr text_paar kein_hyperbolisch{"Fehler: Kein hyperbolisches Zwischenwärmepumpenmodell erlaubt",
                                      "Error: no hyperbolic intermediate heat-pump model allowed"};
constexpr text_paar nur_lineare_zwischenwaermepumpe{
    "Fehler: Die analytische Rechnung mit Zwischenkopplung braucht das lineare (oder analytische) Modell der "
    "Zwischenwärmepumpe, nicht das Polynom",
    "Error: the analytic method with intermediate coupling needs the linear (or analytic) model of the "
    "intermediate heat pump, not the polynomial"};
constexpr text_paar konstante_leistung{"Fehler: Konstante Leistung nur mit einem (1!) lin. Koll. und lin. WP",
                                       "Error: constant power only with one (1!) lin. coll. and lin. HP"};
constexpr text_paar diffuse_monatswerte{"Warnung: Kontrolle: Monatswerte für diffuse Einstrahlung vorhanden?",
                                        "Warning: check: monthly values for diffuse irradiation present?"};
constexpr text_paar blocklaenge{"Fehler: Mit Wärmetauscher \"R\" muss die Blocklänge maxmittemp (Tabelle rech) "
                                "zwischen 1 und 12 liegen; sie ist ",
                                "Error: with heat exchanger \"R\" the block length maxmittemp (table rech) must "
                                "lie between 1 and 12; it is "};
constexpr text_paar verboten{"Fehler: Kombination verboten. Nächste an/num: ",
                             "Error: combination forbidden. Next an/num: "};
}  // namespace txt

}  // namespace

void CheckKombination(datt& vdatt, flagchar& numchar, int& bkflag,
                      const zwischenwaermetauscher_praedikat& zwischenwaermetauscher_aktiv) {
    bkflag = 1;
    const std::string& modus = numchar[ndata::meldungsmodus];
    auto verweigert = [&bkflag](const text_paar* text) {
        bkflag = 0;
        if (text != nullptr) meldung(text->text(), "M", 'E');
    };
    auto gewarnt = [&bkflag]() {
        if (bkflag != 0) bkflag = 2;
    };

    // Test word of the data set's an and num names (for the nearest allowed one below).
    tabelle& haupt = tab(thaupt);
    const std::string testwort =
        erzeuge_testwort(datenbanken()[thaupt].datei.parent_path(), haupt.text("an"), haupt.text("num"), 'K');

    // Constant heat-pump power is not computed analytically or by temperature steps.
    if (numchar[ndata::kopplungsart] == "K" &&
        (numchar[ndata::rechenart] == "A" || numchar[ndata::rechenart] == "T"))
        verweigert(nullptr);
    // An intermediate heat exchanger needs a heat exchanger code G, I or R.
    const bool zwt = zwischenwaermetauscher_aktiv(numchar, vdatt);
    if (zwt && numchar[ndata::gegenstrom] != "G" && numchar[ndata::gegenstrom] != "I" &&
        numchar[ndata::gegenstrom] != "R")
        verweigert(&txt::kein_gegenstrom);
    // Analytic interval runs: only reservoir kind A.
    if (numchar[ndata::zeitraum] == "I" && numchar[ndata::rechenart] == "A" &&
        numchar[ndata::kopplungsart] != "A")
        verweigert(&txt::nur_reservoir_t);
    // Reservoir A by intervals without time steps assumes an unlimited store.
    if (numchar[ndata::zeitraum] == "I" && numchar[ndata::kopplungsart] == "A" &&
        !zeitschritt_gewaehlt(numchar)) {
        meldung(txt::beliebiger_speicher.text(), modus, 'M');
        gewarnt();
    }
    // The interval kernel computes the reservoir exchanger in blocks of
    // maxmittemp intervals and holds at most 12 of them.
    const int32_t maxmittemp = zustand::lauf().maxmittemp;
    if (numchar[ndata::gegenstrom] == "R" && (maxmittemp < 1 || maxmittemp > 12)) {
        bkflag = 0;
        meldung(txt::blocklaenge.text() + std::to_string(maxmittemp) + ".", "M", 'E');
    }
    // Monthly values: consuming first is better.
    if (numchar[ndata::strahlung] == "N" && numchar[ndata::speicherfolge] != "S") {
        meldung(txt::erst_verbrauchen.text(), "M", 'E');
        gewarnt();
    }
    // Analytic interval runs with one collector and no price target: a
    // differential pump gives no exact solution; energy targets and plants
    // without space heating are refused.
    if (numchar[ndata::zeitraum] == "I" && numchar[ndata::rechenart] == "A" &&
        numchar[ndata::anzahl_kollektoren] == "E" && numchar[ndata::optimierung] != "P") {
        if (vdatt[tdata::relpump_feld] != 0.0) {
            meldung(txt::diffpumpe.text(), modus, 'W');
            gewarnt();
        }
        if (numchar[ndata::optimierung] == "K" || numchar[ndata::heizung] == "N") verweigert(nullptr);
    }
    // Tilt of the collector against the tilt of the weather data.
    const long theta = gerundet(tab(tir_ta_m).zahl("theta"));
    const long theta_lage = gerundet(tab(tlage).zahl("theta"));
    const long phi = gerundet(tab(tlage).zahl("phi"));
    if ((theta != 0 || (numchar[ndata::strahlung] == "D" && numchar[ndata::zeitintervall] == "D")) &&
        (theta != theta_lage || phi != 0)) {
        bkflag = 0;
        meldung(txt::neigung_nur.text() + std::to_string(theta) + "°", "M", 'E');
    }
    // Two collectors in series: no quadratic loss of the lower one, no
    // intervals, and only with an intermediate heat exchanger.
    if (numchar[ndata::anzahl_kollektoren] == "Z" &&
        (vdatt[tdata::kol_unten_quadratisch] != 0.0 || numchar[ndata::zeitraum] == "I" || !zwt))
        verweigert(&txt::ein_kollektor);
    // No hyperbolic model for the intermediate heat pump in analytic runs.
    if (numchar[ndata::modelltyp_ww] == "H" && numchar[ndata::rechenart] == "A")
        verweigert(&txt::kein_hyperbolisch);
    // The analytic solution of intermediate coupling linearises the ww pump's
    // COP with the linear coefficients; the polynomial's coefficients read as
    // such give COPs far beyond any real pump.
    if (numchar[ndata::modelltyp_ww] == "4" && numchar[ndata::rechenart] == "A" &&
        numchar[ndata::kopplungstyp] == "Z")
        verweigert(&txt::nur_lineare_zwischenwaermepumpe);
    // Constant power: one collector, no hyperbolic pumps, intermediate
    // coupling, no quadratic loss of the lower collector.
    if (numchar[ndata::kopplungsart] == "K" &&
        (numchar[ndata::anzahl_kollektoren] == "Z" || numchar[ndata::modelltyp_ww] == "H" ||
         numchar[ndata::modelltyp_we] == "H" || numchar[ndata::kopplungstyp] == "E" ||
         vdatt[tdata::kol_unten_quadratisch] != 0.0))
        verweigert(&txt::konstante_leistung);
    // Read diffuse irradiation: a reminder unless the weather record has
    // interval values ("A") and the irradiation is daily or hourly.
    if (numchar[ndata::diffusestrahlung] == "E" &&
        (numchar[ndata::zeitintervall] != "A" || numchar[ndata::strahlung] == "M" ||
         numchar[ndata::strahlung] == "N")) {
        meldung(txt::diffuse_monatswerte.text(), modus, 'W');
        gewarnt();
    }
    // A refused combination names the nearest tested an/num combination.
    if (bkflag != 0) return;
    tabelle& kontrolle = tab(tkontrolle);
    kontrolle.filter_aus();
    kontrolle.sortiere_nach_schluessel();
    kontrolle.suche_naechsten({feldwert(testwort)});
    meldung(txt::verboten.text() + testwort, "M", 'E');
    kontrolle.erster();
}
