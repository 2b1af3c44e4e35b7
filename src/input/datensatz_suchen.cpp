#include "input/datensatz_suchen.h"

#include <algorithm>
#include <optional>

#include "data/datenbank.h"
#include "data/datensatzbezuege.h"
#include "lang/meldung.h"

using namespace tabledata;

namespace {

namespace txt {
constexpr text_paar frage{"Alle Datensätze mit den Feldwerten löschen?",
                          "Delete all data sets with these field values?"};
constexpr text_paar namen_eingeben{"Fehler: Bitte Namen in Sortierfeld eingeben.",
                                   "Error: Please enter names in the sort fields."};
constexpr text_paar fixiert_behalten{"Fixierte Datensätze nicht gelöscht: ", "Fixed data sets not deleted: "};
constexpr text_paar verweise{"Datensätze verweisen auf zu löschende Zeilen: ",
                             "Data sets refer to rows to be deleted: "};
constexpr text_paar trotzdem{". Trotzdem löschen?", ". Delete anyway?"};
}  // namespace txt

constexpr text_paar MITTELWERTE{"Mittelwerte", "Mean values"};
constexpr text_paar SYSTEMDATEN{"Systemdaten", "System data"};
constexpr text_paar EINSTELLUNGEN{"Einstellungen", "Settings"};
constexpr text_paar RAHMEN{"Rahmenbedingungen", "Boundary conditions"};
constexpr text_paar AUSRICHTUNG{"Ausrichtung", "Orientation"};

std::string feld(const std::map<std::string, std::string>& felder, const std::string& spalte) {
    for (const auto& [k, v] : felder)
        if (gleich_ohne_gross_klein(k, spalte)) return v;
    return {};
}

}  // namespace

const std::vector<neuanlegen_eintrag>& neuanlegen_menue() {
    static const std::vector<neuanlegen_eintrag> m = {
        {MITTELWERTE, {"IR_TA_M  (Mittel: Einstr., Temp.)", "IR_TA_M  (Mean: irrad., temp.)"}, tir_ta_m, false},
        {MITTELWERTE, {"IR_TA _D  (Einstr., Temp. Details)", "IR_TA _D  (Irrad., temp. details)"}, tir_ta_d, true},
        {MITTELWERTE, {"TE             (Erdtemperatur)", "TE             (Ground temperature)"}, tte, false},
        {MITTELWERTE, {"EH             (Heizenergie)", "EH             (Heating energy)"}, teh_m, false},
        {MITTELWERTE, {"EH_D         (Heizenergie Details)", "EH_D         (Heating energy details)"}, teh_d, true},
        {MITTELWERTE, {"EW            (Warmwasserenergie)", "EW            (Hot-water energy)"}, tew_m, false},
        {MITTELWERTE, {"EW_D       (Warmwasserenergie Details)", "EW_D       (Hot-water energy details)"}, tew_d,
         true},
        {MITTELWERTE, {"EE             (Elektrische Energie)", "EE             (Electric energy)"}, tee, false},
        {MITTELWERTE, {"TH             (Heiztemperatur)", "TH             (Heating temperature)"}, tth, false},
        {MITTELWERTE, {"TW            (Warmwassertemperatur)", "TW            (Hot-water temperature)"}, ttw, false},
        {MITTELWERTE, {"RH             (Heizungsrückl.temp.)", "RH             (Heating return temp.)"}, trh, false},
        {MITTELWERTE, {"RW            (Warmw.rückl.temp.)", "RW            (Hot-water return temp.)"}, trw, false},
        {SYSTEMDATEN, {"KO            (Anlagedaten)", "KO            (Circuit data)"}, tko, false},
        {SYSTEMDATEN, {"KOL          (Kollektordaten)", "KOL          (Collector data)"}, tkol, false},
        {SYSTEMDATEN, {"GWT        (Wärmetauscher)", "GWT        (Heat exchanger)"}, tgwt, false},
        {SYSTEMDATEN, {"WP           (Wärmepumpendaten)", "WP           (Heat-pump data)"}, twp, false},
        {SYSTEMDATEN, {"WA           (Wärmeträger)", "WA           (Heat-transfer fluid)"}, twaerme, false},
        {SYSTEMDATEN, {"AN            (Anlagedaten)", "AN            (Plant structure)"}, tan, false},
        {SYSTEMDATEN, {"GAS          (Gasnachheizung)", "GAS          (Gas auxiliary heating)"}, tgas, false},
        {SYSTEMDATEN, {"KRAFT     (Abwärmenutzung)", "KRAFT     (Waste-heat use)"}, tkraft, false},
        {SYSTEMDATEN, {"ZELLE      (Solarzellendaten)", "ZELLE      (Solar-cell data)"}, tzelle, false},
        {SYSTEMDATEN, {"SPEI         (Hauptspeicherdaten)", "SPEI         (Main store data)"}, tspei, false},
        {SYSTEMDATEN, {"ZU            (Zubehör)", "ZU            (Accessories)"}, tzu, false},
        {SYSTEMDATEN, {"ZU (LISTE)       (Zubehör Liste)", "ZU (LISTE)       (Accessory list)"}, tliste, false},
        {SYSTEMDATEN, {"ZU (HAUPTLISTE)   (Gruppe von Zubehörlisten)", "ZU (HAUPTLISTE)   (Group of accessory lists)"},
         tliste2, false},
        {SYSTEMDATEN, {"UNTER    (Unterhaltskosten)", "UNTER    (Maintenance costs)"}, tunter, false},
        {SYSTEMDATEN, {"UNTER (LISTE)    (Unterhaltskosten Liste)", "UNTER (LISTE)    (Maintenance cost list)"},
         tunter_liste, false},
        {EINSTELLUNGEN, {"RECH     (Numerische Einstellungen)", "RECH     (Numerical settings)"}, trech, false},
        {EINSTELLUNGEN, {"NUM       (Optimierungsverfahren)", "NUM       (Optimisation method)"}, tnum, false},
        {EINSTELLUNGEN, {"STEUER  (Langzeitspeicher)", "STEUER  (Long-term store)"}, tsteuer, false},
        {EINSTELLUNGEN, {"LUFT      (Stoffdaten Luft)", "LUFT      (Properties of air)"}, tluft, false},
        {RAHMEN, {"PREIS  (Zuordnung Energiepreise)", "PREIS  (Assignment of energy prices)"}, tpreis, false},
        {RAHMEN, {"KALK    (Kalkulkatorische Daten)", "KALK    (Economic data)"}, tkalk, false},
        {RAHMEN, {"SUB      (Subventionen)", "SUB      (Subsidies)"}, tsub, false},
        {RAHMEN, {"TARIFE (Energiepreise)", "TARIFE (Energy prices)"}, ttarif, false},
        {AUSRICHTUNG, {"LAGE        (Lage-Daten)", "LAGE        (Site data)"}, tlage, false},
    };
    return m;
}

std::vector<std::string> Spalten_ueberschriften(int index) {
    const db_struct& d = datenbanken()[static_cast<size_t>(index)];
    if (!d.titelname_spalte.empty()) return d.titelname_spalte;
    std::vector<std::string> titel;
    for (const auto& s : tabellenschema(index).spalten) titel.push_back(s.name);
    return titel;
}

std::vector<std::string> fuelle_einheiten_box(const std::string& kennzeichen) {
    std::vector<std::string> liste;
    tabelle& e = tab(teinheit);
    if (!e.ist_offen()) return liste;
    const int k = e.spalten_index("Kuerzel"), z = e.spalten_index("Kennzeichen");
    if (k < 0 || z < 0) return liste;
    const std::vector<std::string> ordnung =
        e.indexspalten("iname").empty() ? e.schluesselspalten() : e.indexspalten("iname");
    for (const auto& r : e.lies_alle(ordnung))
        if (als_text(r[static_cast<size_t>(z)]) == kennzeichen) liste.push_back(als_text(r[static_cast<size_t>(k)]));
    return liste;
}

std::vector<std::string> suchspalten(int index) {
    tabelle& t = tab(index);
    if (index == thaupt) {
        auto s = t.indexspalten("isortieren");
        if (!s.empty()) return s;
        return {"land", "bezirk", "ort", "kundennummer", "name"};
    }
    return t.ist_offen() ? t.schluesselspalten() : tabellenschema(index).schluessel;
}

bool suche_positionieren(int index, const std::map<std::string, std::string>& felder) {
    tabelle& t = tab(index);
    if (!t.ist_offen()) return false;
    const auto spalten = suchspalten(index);
    if (index == thaupt)
        t.sortiere_nach_index("isortieren");
    else
        t.sortiere_nach_schluessel();
    size_t n = 0;
    for (size_t i = 0; i < spalten.size(); ++i)
        if (!feld(felder, spalten[i]).empty()) n = i + 1;
    if (n == 0) {
        t.erster();
        return t.hat_zeile();
    }
    std::vector<feldwert> werte;
    for (size_t i = 0; i < n; ++i) werte.push_back(feldwert(feld(felder, spalten[i])));
    return t.suche_naechsten(werte);
}

int64_t loesche_gefundene_datensaetze(int index, const std::map<std::string, std::string>& felder) {
    if (!aktuelle_meldungs_senke().frage(txt::frage.text())) return 0;
    tabelle& t = tab(index);
    if (!t.ist_offen()) return 0;
    const auto spalten = suchspalten(index);
    for (const auto& s : spalten) {
        if (feld(felder, s).empty()) {
            meldung(txt::namen_eingeben.text(), "M", 'E');
            return 0;
        }
    }
    std::vector<size_t> idx;
    for (const auto& s : spalten) idx.push_back(static_cast<size_t>(t.spalten_index(s)));
    const int s_lock = index == thaupt ? t.spalten_index("lock") : -1;
    const auto& schluessel = t.schluesselspalten();

    // The rows to delete, by their key; fixed data sets stay.
    std::vector<std::vector<feldwert>> treffer;
    std::vector<std::string> fixiert;
    std::vector<verweis> verweise;
    for (const auto& z : t.lies_alle(schluessel)) {
        bool passt = true;
        for (size_t i = 0; i < spalten.size() && passt; ++i) {
            const std::string f = feld(felder, spalten[i]);
            passt = f == "*" || als_text(z[idx[i]]) == f;
        }
        if (!passt) continue;
        std::vector<feldwert> k;
        std::vector<std::string> k_text;
        for (const auto& s : schluessel) {
            k.push_back(z[static_cast<size_t>(t.spalten_index(s))]);
            k_text.push_back(als_text(k.back()));
        }
        if (s_lock >= 0 && als_text(z[static_cast<size_t>(s_lock)]) == "F") {
            fixiert.push_back(k_text[0]);
            continue;
        }
        for (auto& v : verweisende_datensaetze(index, k_text)) verweise.push_back(std::move(v));
        treffer.push_back(std::move(k));
    }
    if (!fixiert.empty()) {
        std::string liste;
        for (const auto& f : fixiert) liste += (liste.empty() ? "" : ", ") + f;
        meldung(txt::fixiert_behalten.text() + liste, "M", 'W');
    }
    if (!verweise.empty() &&
        !aktuelle_meldungs_senke().frage(txt::verweise.text() + verweisliste(verweise) + txt::trotzdem.text()))
        return 0;
    if (treffer.empty()) return 0;

    int64_t geloescht = 0;
    // Detail rows of deleted weather records go with them.
    std::optional<transaktion> td;
    if (index == tir_ta_m && tab(tir_ta_d).ist_offen()) td.emplace(tab(tir_ta_d));
    {
        transaktion tt(t);
        for (const auto& k : treffer) {
            std::vector<filterbedingung> b;
            for (size_t i = 0; i < schluessel.size(); ++i) b.push_back({schluessel[i], "=", k[i]});
            geloescht += t.loesche_wo(b);
            if (td) tab(tir_ta_d).loesche_wo({{"name", "=", k[0]}});
        }
        tt.bestaetigen();
    }
    if (td) td->bestaetigen();
    t.erster();
    return geloescht;
}

void setze_suchfilter(int index, const std::string& spalte, const std::string& text) {
    tabelle& t = tab(index);
    if (!t.ist_offen()) return;
    if (text.empty()) {
        t.filter_aus();
    } else {
        t.setze_filter({{spalte, " LIKE ", feldwert(text)}});
    }
    t.erster();
}

void loesche_suchfilter(int index) {
    tabelle& t = tab(index);
    if (!t.ist_offen()) return;
    t.filter_aus();
    t.erster();
}
