#include "engine/steuerpunkte.h"

#include <fstream>

#include "lang/meldung.h"
#include "lang/sprache.h"

bool ist_liveblock(const flagchar& numchar, int m, int s, double A, int monatstart,
                   int startintervall) {
    if (numchar[ndata::kontrolllauf] != "J" || numchar[ndata::stopp] != "N" || !(A > 0.0)) {
        return false;
    }
    return (m == monatstart && s >= startintervall) || m > monatstart;
}

bool steuerdatei_sagt_stopp(const std::string& datei, const flagchar& numchar) {
    std::ifstream f(datei, std::ios::binary);
    if (!f) {
        meldung(text_paar{"Fehler: Kontrolldatei kann nicht gelesen werden: ",
                          "Error: cannot read the control file: "}
                        .text() +
                    datei,
                numchar[ndata::meldungsmodus], 'T');
        throw abbruch();
    }
    std::string zeile;
    std::getline(f, zeile);
    if (!zeile.empty() && zeile.back() == '\r') zeile.pop_back();
    return zeile == "STOP";
}

steuerpunkte& headless_steuerpunkte() {
    static ohne_steuerung s;
    return s;
}
