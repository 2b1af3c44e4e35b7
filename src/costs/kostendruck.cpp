#include "costs/kostendruck.h"

#include "lang/kostentexte.h"

std::vector<druckzeile> kostenparameter_druckzeilen(const kalkulationsdaten& k) {
    using namespace kpar;
    // N, P, the three energy prices, fixed costs, collectors, thermal parts,
    // heating plant, remuneration, subsidies, cells, maintenance.
    static constexpr int REIHENFOLGE[] = {
        laufzeit, zinssatz, preis_strom, preis_ok, preis_nh, festkosten, preis_kol_oben, preis_kol_unten,
        teile_thermisch, teile_pro_kollektor, preis_heizung, zusatz_heizung, verguetung,
        zuschuss_zelle_flaeche, zuschuss_zelle, zuschuss_kol_flaeche, zuschuss_kol, zuschuss_heizung,
        zellpreis, teile_pv, teile_pro_zelle, unterhalt_heizung, unterhalt_pv, unterhalt_thermisch,
        unterhalt_thermisch_flaeche, unterhalt_pv_flaeche};
    std::vector<druckzeile> zeilen;
    for (size_t i = 0; i < k.index.size(); ++i) {
        const kosten_datenindex& d = k.index[i];
        if (i > 0) zeilen.push_back({});
        zeilen.push_back({kostentexte::ergebnis_name.text() + ":", d.dateiname.string()});
        if (k.index.size() == 1) {
            zeilen.push_back({kostentexte::einlesefiles_name.text() + ":", d.herkunft.einlesefile});
        }
        for (int p : REIHENFOLGE) zeilen.push_back({kostenparameter_name(p) + ":", druckzahl(d.vdatk[p])});
        if (d.isolarzellen != 1) {
            zeilen.push_back({kostentexte::keine_solarzellen.text(), ""});
        } else if (d.iradioGroupSf == zellmodus::feste_flaeche) {
            zeilen.push_back({kostentexte::feste_flaeche.text() + ":", druckzahl(d.aszf)});
        } else {
            zeilen.push_back({kostentexte::zellflaeche_berechnet.text(), ""});
        }
    }
    return zeilen;
}
