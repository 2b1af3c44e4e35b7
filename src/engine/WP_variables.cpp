#include "engine/WP_variables.h"

#include <algorithm>
#include <memory>

#include "data/konstanten.h"
#include "lang/meldung.h"

laufzustand::laufzustand()
    : allgemein_(std::make_unique<general_state>()),
      serie_(std::make_unique<series_state>()),
      hilfsmonat_(std::make_unique<::date>()) {}

laufzustand::~laufzustand() = default;

void laufzustand::uebernehme(const laufzustand& quelle) {
    if (&quelle == this) return;
    *allgemein_ = *quelle.allgemein_;
    *serie_ = *quelle.serie_;
    marken_ = quelle.marken_;
}

namespace {

thread_local laufzustand* gebundener_lauf = nullptr;

// The process's own run, for threads without a binding; created on first use.
laufzustand& eigener_lauf() {
    static laufzustand lauf;
    return lauf;
}

void pruefe_index(int i, int min, int max, const char* was) {
    if (i < min || i > max) {
        meldung(std::string("Fehler: ") + was + " " + std::to_string(i) + " liegt nicht in " +
                    std::to_string(min) + ".." + std::to_string(max),
                "S", 'T');
    }
}

}  // namespace

laufzustand& aktueller_lauf() { return gebundener_lauf != nullptr ? *gebundener_lauf : eigener_lauf(); }

laufbindung::laufbindung(laufzustand& lauf) : vorher_(gebundener_lauf) { gebundener_lauf = &lauf; }
laufbindung::~laufbindung() { gebundener_lauf = vorher_; }

general_state& tv() { return aktueller_lauf().allgemein(); }
series_state& Tvg() { return aktueller_lauf().serie(); }

namespace zustand {
flagchar& numchar() { return tv().numchar; }
datt& vdatt() { return tv().datt_g.vdatt; }
datz& vdatz() { return tv().datz_g.vdatz; }
datz3& pvdatz3(int k) {
    pruefe_index(k, 1, 2, "Intervallreihe");
    return Tvg().pvdatz3[k - 1];
}
::date3& date3() { return Tvg().d3; }
::date& date_serie(int i) {
    pruefe_index(i, 0, ANZ_DATE_SERIE - 1, "Ergebnissatz");
    return Tvg().date_records[i];
}
::date1& date1_serie(int i) {
    pruefe_index(i, 0, 1, "Monatsergebnissatz");
    return Tvg().date1_records[i];
}
::datm& datm_allgemein() { return tv().datm_kept; }
::datm& datm_serie() { return Tvg().datm_variante; }
::anlage& anlage(int i) {
    pruefe_index(i, 0, ANZ_ANLAGEN - 1, "Anlage");
    return tv().anlagen[i];
}
laufsteuerung& lauf() { return tv().lauf; }
int32_t& monatstart() { return tv().monatstart; }
int32_t& startintervall() { return tv().startintervall; }
haupteinheiten_tabelle& einheiten_tabelle() { return haupteinheiten(); }
::stoffdaten& stoffdaten() { return tv().stoffe; }
std::array<std::string, MAXMONAT + 1>& lade_flag() { return tv().lade_flag; }
std::array<std::string, MAXMONAT + 1>& entnehme_flag() { return tv().entnehme_flag; }
std::string& geladener_datensatz() { return tv().datensatzname; }
::wetterdatensatz& geladener_wetterdatensatz() { return tv().wetter; }
kollektorblatt_einheiten& kollektorblatt() { return tv().kollektorblatt; }
void laufzustand_leeren() {
    // Rebuilt in place: the records are several MB, too large for a
    // temporary on the stack.
    series_state& s = Tvg();
    std::destroy_at(&s);
    std::construct_at(&s);
    general_state& g = tv();
    for (monatsfeld& f : g.datz_g.vdatz) f.fill(0.0);
    g.lade_flag.fill("");
    g.entnehme_flag.fill("");
}
}  // namespace zustand

int32_t intervalle(int m) {
    pruefe_index(m, 1, MAXMONAT, "Monat");
    return tv().n[m];
}

void setze_intervalle(int m, int32_t anzahl) {
    pruefe_index(m, 1, MAXMONAT, "Monat");
    if (anzahl < 0 || anzahl > MAXINTERVALL) {
        meldung("Fehler: Monat " + std::to_string(m) + " hat " + std::to_string(anzahl) +
                    " Intervalle; erlaubt sind 0 bis " + std::to_string(MAXINTERVALL),
                "S", 'T');
        return;
    }
    tv().n[m] = anzahl;
}

int tage_im_monat(int m, const flagchar& numchar) {
    static constexpr int tage[MAXMONAT + 1] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    pruefe_index(m, 1, MAXMONAT, "Monat");
    return m == 2 && numchar[ndata::schaltjahr] == "Y" ? 29 : tage[m];
}

void setze_speicherketten_zurueck(anlage& a) {
    a.langzeitspeicher.inhalt.kette_zuruecksetzen();
    a.pufferspeicher.inhalt.kette_zuruecksetzen();
}

void initialisiere_laufrecords(::date& monatsergebnisse) {
    for (int i : {0, 1, 2, 3, 5, 6, 7}) setze_speicherketten_zurueck(tv().anlagen[i]);
    for (int m = 1; m <= MAXMONAT; ++m) {
        setze_speicherketten_zurueck(tv().datm_kept.arrayspeicher_mon[m]);
        setze_speicherketten_zurueck(Tvg().datm_variante.arrayspeicher_mon[m]);
        setze_speicherketten_zurueck(monatsergebnisse.arrayspeicher_mon[m]);
    }
}

void loesche_monatsergebnisse(::date& d, int m) {
    d.jkk = 0.0;
    d.jkk_g = 0.0;
    d.pek = 0.0;
    for (monatsfeld* f :
         {&d.tz, &d.vel, &d.etam, &d.er, &d.es, &d.esa, &d.ls, &d.ek, &d.copww, &d.copwe, &d.zei,
          &d.tf, &d.elp, &d.elp_l, &d.nh, &d.nh_virtuell, &d.ok_virtuell, &d.ok,
          &d.espeicher_luft, &d.ms, &d.msp_max_puffer, &d.msp_next_puffer, &d.e_next_puffer,
          &d.msp_max_lang, &d.msp_next_lang, &d.lspwt, &d.agwt, &d.etagwt, &d.e_next_lang,
          &d.preis, &d.lpu, &d.lpu_l, &d.lok, &d.lnh, &d.vwp, &d.pt, &d.ph, &d.ereif,
          &d.ereif_nacht}) {
        (*f)[m] = 0.0;
    }
}

void loesche_laufergebnisse(::datm& d) {
    for (monatsfeld& zeile : d.feld) zeile.fill(0.0);
    d.feldns_puffer.fill(0.0);
    d.feldns_lang.fill(0.0);
    for (monatsfeld* f : {&d.wp_waerme_ww, &d.wp_strom_ww, &d.wp_waerme_we, &d.wp_strom_we}) {
        f->fill(0.0);
    }
}

void loesche_intervallergebnisse(::date& monatsergebnisse) {
    ::date3& d3 = Tvg().d3;
    ::date& vierte = Tvg().date_records[3];
    intervallfeld* const felder[] = {
        &d3.er,  &d3.es,      &d3.esa,         &d3.ls,          &d3.tf,          &d3.copww,
        &d3.vel, &d3.zei,     &d3.elp,         &d3.elp_l,       &d3.nh,          &d3.zv,
        &d3.ms,  &d3.nh_waerme, &d3.nh_virtuell, &d3.ok,        &d3.eg,          &d3.ok_waerme,
        &d3.ok_virtuell, &d3.vwp, &d3.pt,      &d3.ph,          &d3.q_gesamt,    &d3.thoch,
        &d3.lspwt, &d3.agwt,  &d3.etagwt,      &d3.volluft,     &d3.a1_skm_oben, &d3.a3_erz,
        &d3.v_luft};
    static_assert(std::size(felder) == 31);
    for (int m = 1; m <= MAXMONAT; ++m) {
        loesche_monatsergebnisse(monatsergebnisse, m);
        loesche_monatsergebnisse(vierte, m);
        const int anzahl = tv().n[m];
        for (intervallfeld* f : felder) {
            std::fill((*f)[m].begin() + 1, (*f)[m].begin() + 1 + anzahl, 0.0);
        }
        std::fill(d3.vstore_flag[m].begin() + 1, d3.vstore_flag[m].begin() + 1 + anzahl, u'N');
    }
}

double vorlauftemperatur_aus_bedarf(const flagchar& numchar, const datz& z, int m) {
    if (numchar[ndata::heizung] != "J") return z[zdata::tw][m];
    const double e = z[zdata::ew][m] + z[zdata::eh][m];
    if (!(e > 0.0)) return z[zdata::th][m];
    return (z[zdata::tw][m] * z[zdata::ew][m] + z[zdata::th][m] * z[zdata::eh][m]) / e;
}

double vorlauftemperatur_haus(const flagchar& numchar, const datz& z, int m) {
    if (zustand::lade_flag()[m] != "Y") return z[zdata::twv][m];
    return vorlauftemperatur_aus_bedarf(numchar, z, m);
}

double umrechnungskonstante(const std::string& schluessel) {
    if (schluessel == "kWh_in_Ws") return konst::KWH_IN_WS;
    meldung("Fehler: Umrechnung nicht definiert", tv().numchar[ndata::meldungsmodus], 'T');
    return 0.0;
}

double waermestrom_in_energie(double a, double b, double e, double c, double f) {
    // The constant is looked up once: this runs for every store layer of every interval.
    static const double ws_je_kwh = umrechnungskonstante("kWh_in_Ws");
    return a * b * (e - c) * f / ws_je_kwh;
}

bool ist_direktkopplung(const flagchar& numchar) {
    return numchar[ndata::kopplungsart] == "DK" || numchar[ndata::kopplungsart] == "DKF";
}

bool ist_erzwungen(const flagchar& numchar) {
    return numchar[ndata::kopplungsart] == "DKF" || numchar[ndata::kopplungsart] == "F";
}

const ir_ta_d_zeile* wetterdatensatz::detailzeile(int monat, int nummer) const {
    if (monat < 1 || monat > MAXMONAT || nummer < 1) return nullptr;
    const auto& zeilen = details[monat];
    if (static_cast<size_t>(nummer) <= zeilen.size() && zeilen[nummer - 1].nummer == nummer)
        return &zeilen[nummer - 1];
    const auto it = std::lower_bound(zeilen.begin(), zeilen.end(), nummer,
                                     [](const ir_ta_d_zeile& z, int n) { return z.nummer < n; });
    return it != zeilen.end() && it->nummer == nummer ? &*it : nullptr;
}
