#include "app/uebersicht_angaben.h"

#include "data/datenbank.h"
#include "data/einheiten.h"
#include "input/energiebedarf.h"

using namespace tabledata;

namespace {

// Positions table `index` on the row with the key values.
bool positioniere(int index, const std::vector<feldwert>& schluessel) {
    tabelle& t = tab(index);
    if (!t.ist_offen()) return false;
    t.filter_aus();
    if (t.sortierspalten() != t.schluesselspalten()) t.sortiere_nach_schluessel();
    return t.suche(schluessel);
}

// maximaleleistung of the heat pump `name` with working mode `art`, in the
// output unit of power.
double nominale_leistung(const std::string& name, const std::string& art) {
    if (!positioniere(twp, {feldwert(name), feldwert(art)})) return 0.0;
    tabelle& wp = tab(twp);
    const Einheit_struct& e = haupteinheiten()[groesse::leistung];
    return umrechnen(wp.zahl("maximaleleistung"), wp.text("einheitleistung"), e.ausgabe, e.kennzeichen, 0);
}

}  // namespace

uebersicht_angaben lies_uebersicht_angaben() {
    uebersicht_angaben a;
    tabelle& haupt = tab(thaupt);
    if (!haupt.ist_offen() || !haupt.hat_zeile()) return a;
    const std::string an = haupt.text("an"), wpww = haupt.text("wpww"), wpwe = haupt.text("wpwe"),
                      eh = haupt.text("eh_m"), ew = haupt.text("ew_m");
    if (positioniere(tan, {feldwert(an)})) a.kopplungstyp = tab(tan).text("Kopplungstyp");
    a.leistungseinheit = haupteinheiten()[groesse::leistung].ausgabe;
    a.leistung_ww = nominale_leistung(wpww, "ww");
    a.leistung_we = nominale_leistung(wpwe, "we");

    a.energieeinheit = haupteinheiten()[groesse::energie].ausgabe;
    if (!positioniere(teh_m, {feldwert(eh)}) || !positioniere(tew_m, {feldwert(ew)})) return a;
    const datm& d = zustand::datm_allgemein();
    const std::string& eg_einheit = d.ausgabe_einheit[adata::eg];
    const std::string& eg_kennzeichen = d.kennzeichen[adata::eg];
    double jahr = 0.0;
    for (int m = 1; m <= 12; ++m) {
        const double kwh = monatsenergie_in_haupteinheiten(zustand::vdatz(), m);
        jahr += kwh;
        a.vorgabe[static_cast<std::size_t>(m)] =
            eg_einheit.empty() ? kwh : umrechnen(kwh, "kWh", eg_einheit, eg_kennzeichen, m);
    }
    a.gesamte_waermeenergie = in_ausgabeeinheit(jahr, groesse::energie);
    a.vorgabe_bekannt = true;
    return a;
}
