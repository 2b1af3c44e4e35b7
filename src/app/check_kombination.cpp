#include "app/check_kombination.h"

#include <cmath>

#include "data/datenbank.h"
#include "input/addiere_default.h"
#include "lang/meldung.h"

using namespace tabledata;

namespace {

// The time-step methods: velocity with intervals, temperature, or both.
bool zeitschritt_gewaehlt(const flagchar& n) { return (n[0] == "I" && n[3] == "V") || n[3] == "T" || n[3] == "M"; }

long gerundet(double x) { return static_cast<long>(std::nearbyint(x)); }

}  // namespace

void CheckKombination(datt& vdatt, flagchar& numchar, int& bkflag,
                      const zwischenwaermetauscher_praedikat& zwischenwaermetauscher_aktiv) {
    bkflag = 1;
    const std::string& modus = numchar[31];
    auto verweigert = [&bkflag](const char* text) {
        bkflag = 0;
        if (text != nullptr) meldung(text, "M", 'E');
    };
    auto gewarnt = [&bkflag]() {
        if (bkflag != 0) bkflag = 2;
    };

    // 1.
    tabelle& haupt = tab(thaupt);
    const std::string testwort =
        erzeuge_testwort(datenbanken()[thaupt].datei.parent_path(), haupt.text("an"), haupt.text("num"), 'K');

    // 2.
    if (numchar[25] == "K" && (numchar[3] == "A" || numchar[3] == "T")) verweigert(nullptr);
    // 3.
    const bool zwt = zwischenwaermetauscher_aktiv(numchar, vdatt);
    if (zwt && numchar[26] != "G" && numchar[26] != "I" && numchar[26] != "R")
        verweigert("Fehler: Anlage hat keinen Gegenstromwärmetauscher");
    // 4.
    if (numchar[0] == "I" && numchar[3] == "A" && numchar[25] != "A") verweigert("Fehler: Nur Reservoir T erlaubt");
    // 5.
    if (numchar[0] == "I" && numchar[25] == "A" && !zeitschritt_gewaehlt(numchar)) {
        meldung("Optimiert mit beliebig großem Speicher; Nicht optimal bei kleinen Speichern.", modus, 'M');
        gewarnt();
    }
    // 6.
    if (numchar[20] == "N" && numchar[28] != "S") {
        meldung("Warnung: Option Energieverbrauch \"Erst verbrauchen\" ist besser", "M", 'E');
        gewarnt();
    }
    // 7.
    if (numchar[0] == "I" && numchar[3] == "A" && numchar[11] == "E" && numchar[16] != "P") {
        if (vdatt[20] != 0.0) {
            meldung("Warnung: Diff.pump ist <> 0: Keine exakte Lösung möglich", modus, 'W');
            gewarnt();
        }
        if (numchar[16] == "K" || numchar[6] == "N") verweigert(nullptr);
    }
    // 8. Tilt of the collector against the tilt of the weather data.
    const long theta = gerundet(tab(tir_ta_m).zahl("theta"));
    const long theta_lage = gerundet(tab(tlage).zahl("theta"));
    const long phi = gerundet(tab(tlage).zahl("phi"));
    if ((theta != 0 || (numchar[20] == "D" && numchar[21] == "D")) && (theta != theta_lage || phi != 0)) {
        bkflag = 0;
        meldung("Fehler: Mögliche Kollekorneigung nur " + std::to_string(theta) + "°", "M", 'E');
    }
    // 9.
    if (numchar[11] == "Z" && (vdatt[85] != 0.0 || numchar[0] == "I" || !zwt))
        verweigert("Fehler: Nur ein Kollektor in Serie erlaubt");
    // 10.
    if (numchar[13] == "H" && numchar[3] == "A")
        verweigert("Fehler: Kein hyperbolisches Zwischenwärmepumpenmodell erlaubt");
    // 11.
    if (numchar[25] == "K" && (numchar[11] == "Z" || numchar[13] == "H" || numchar[12] == "H" ||
                               numchar[7] == "E" || vdatt[85] != 0.0))
        verweigert("Fehler: Konstante Leistung nur mit einem (1!) lin. Koll. und lin. WP");
    // 12.
    if (numchar[19] == "E" && (numchar[21] != "A" || numchar[20] == "M" || numchar[20] == "N")) {
        meldung("Warnung: Kontrolle: Monatswerte für diffuse Einstrahlung vorhanden?", modus, 'W');
        gewarnt();
    }
    // 13.
    if (bkflag != 0) return;
    tabelle& kontrolle = tab(tkontrolle);
    kontrolle.filter_aus();
    kontrolle.sortiere_nach_schluessel();
    kontrolle.suche_naechsten({feldwert(testwort)});
    meldung("Fehler: Kombination verboten. Nächste an/num: " + testwort, "M", 'E');
    kontrolle.erster();
}
