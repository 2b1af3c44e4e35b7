#include "app/lese_daten_ein.h"

#include "app/simulation_run.h"
#include "data/datenbank.h"
#include "data/stammdaten.h"
#include "input/addiere_default.h"
#include "input/lese_daten.h"
#include "input/wertepruefung.h"
#include "lang/meldung.h"
#include "lang/sprache.h"

using namespace tabledata;

bool lese_daten_ein(datz3& p1, datz3& p2, bool& dbflag) {
    marken().daten_eingelesen = false;
    tabelle& haupt = tab(thaupt);
    const std::string an = haupt.text("an"), num = haupt.text("num");

    // Is the plant configuration one of the tested ones?
    const std::string wort = erzeuge_testwort(datenbanken()[thaupt].datei.parent_path(), an, num, 'K');
    tabelle& kontrolle = tab(tkontrolle);
    kontrolle.filter_aus();
    kontrolle.sortiere_nach_schluessel();
    if (!kontrolle.suche({feldwert(wort)})) {
        meldung(text_paar{"Warnung: An, Num - Kombination nicht getestet: ",
                          "Warning: an, num combination not tested: "}
                        .text() +
                    an + ", " + num,
                "S", 'W');
    }

    // Nothing of an earlier data set's run carries over; the data set's
    // name; both per-interval series start empty.
    zustand::laufzustand_leeren();
    zustand::geladener_datensatz() = haupt.text("name");
    for (datz3* p : {&p1, &p2})
        for (auto& groesse : *p)
            for (auto& reihe : groesse) reihe.fill(0.0);

    // Position the tables, check and load; the master links go again
    // afterwards. A data set whose references are not all found is not
    // loaded: its rows would be those the tables happen to stand on. Before
    // loading, every value the run uses is checked.
    try {
        dbflag = SetAllMasters(zustand::numchar()[ndata::meldungsmodus]);
        if (!dbflag) {
            loese_alle_master();
            return false;
        }
        pruefe_datensatzwerte(zustand::numchar()[ndata::meldungsmodus]);
        leseausDatenBank(p1, p2);
    } catch (...) {
        loese_alle_master();
        throw;
    }
    loese_alle_master();
    marken().daten_eingelesen = true;
    return true;
}
