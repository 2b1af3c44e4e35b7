#include "engine/entscheidungsspur.h"

#include <algorithm>

#include "engine/models/speicher.h"

namespace {

double oberste_temperatur(const speicher& sp) {
    double t = 0.0;
    bool erste = true;
    for (const schicht& sc : sp.inhalt.schichten) {
        if (erste || sc.temperatur > t) t = sc.temperatur;
        erste = false;
    }
    return t;
}

}  // namespace

spurwerte spurwerte_des_intervalls(const ::date3& d3, const datz3& p, const anlage& a, int m, int s) {
    spurwerte w;
    w.tein = p[zdata::tein][m][s];
    w.tf = d3.tf[m][s];
    w.tf_s = d3.tf_s[m][s];
    w.vel = d3.vel[m][s];
    w.es = d3.es[m][s];
    w.ls = d3.ls[m][s];
    w.er = d3.er[m][s];
    w.eg = d3.eg[m][s];
    w.elp = d3.elp[m][s];
    w.nh = d3.nh[m][s];
    w.ok = d3.ok[m][s];
    w.virtuell = d3.nh_virtuell[m][s] + d3.ok_virtuell[m][s];
    w.copww = d3.copww[m][s];
    w.bedarf = d3.equer_verbrauch[m][s];
    w.t_puffer = mittlere_temperatur(a.pufferspeicher);
    w.t_puffer_oben = oberste_temperatur(a.pufferspeicher);
    w.t_zwischen = mittlere_temperatur(a.zwischenspeicher);
    w.t_lang = mittlere_temperatur(a.langzeitspeicher);
    w.twf = d3.twfflag[s];
    w.wpaus = d3.wpausflag[s];
    return w;
}

::date& entscheidungsspur::hilfsmonat() {
    if (!hilfsmonat_) hilfsmonat_ = std::make_unique<::date>();
    return *hilfsmonat_;
}
