#include "sheets/feldpruefung.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>

#include "data/datenbank.h"
#include "data/datensatzbezuege.h"
#include "data/zahltext.h"
#include "engine/WP_variables.h"
#include "input/wertepruefung.h"
#include "lang/meldung.h"
#include "lang/sprache.h"
#include "data/einheit_struct.h"

using namespace tabledata;

namespace {

namespace txt {
constexpr text_paar passt_nicht{"Fehler: Wert passt nicht in Tabelle ", "Error: value does not fit table "};
constexpr text_paar zeile{", Zeile ", ", row "};
constexpr text_paar neue_zeile{"(neu)", "(new)"};
constexpr text_paar spalte{", Spalte ", ", column "};
constexpr text_paar unbekannte_spalte{"Spalte existiert nicht", "no such column"};
constexpr text_paar keine_zahl{" ist keine Zahl", " is not a number"};
constexpr text_paar keine_ganzzahl{" ist keine ganze Zahl im Bereich ", " is not a whole number in the range "};
constexpr text_paar zu_lang{" ist zu lang; höchstens ", " is too long; at most "};
constexpr text_paar zeichen{" Zeichen", " characters"};
constexpr text_paar leer{"darf nicht leer sein", "must not be empty"};
constexpr text_paar kein_code{" ist kein zulässiger Code; zulässig: ", " is not an allowed code; allowed: "};
constexpr text_paar einheit_unbekannt{" ist keine Einheit der Einheitentabelle",
                                      " is not a unit of the unit table"};
constexpr text_paar falsche_groesse{" ist keine Einheit der Größe ", " is not a unit of the quantity "};
constexpr text_paar ausserhalb{" liegt außerhalb von ", " lies outside "};
constexpr text_paar bis{" bis ", " to "};
constexpr text_paar kein_datensatz{"Fehler: Kein aktueller Datensatz in Tabelle ",
                                   "Error: no current record in table "};
constexpr text_paar fixiert{"Fehler: Datensatz ist fixiert, Änderung abgelehnt: ",
                            "Error: data set is fixed, change refused: "};
constexpr text_paar fixierung_aufheben{" (erst die Fixierung aufheben)", " (remove the fixation first)"};
constexpr text_paar schluessel_belegt{"Fehler: Datensatz mit diesem Schlüssel existiert bereits in Tabelle ",
                                      "Error: a record with this key already exists in table "};
constexpr text_paar umbenennen_frage{"Datensätze verweisen auf diesen Datensatz und fänden ihn nach dem "
                                     "Umbenennen nicht mehr: ",
                                     "Data sets refer to this record and would no longer find it after the "
                                     "rename: "};
constexpr text_paar loeschen_frage{"Datensätze verweisen auf diesen Datensatz: ",
                                   "Data sets refer to this record: "};
constexpr text_paar trotzdem_aendern{". Trotzdem umbenennen?", ". Rename anyway?"};
constexpr text_paar trotzdem_loeschen{". Trotzdem löschen?", ". Delete anyway?"};
constexpr text_paar nicht_umbenannt{"Nicht umbenannt: ", "Not renamed: "};
constexpr text_paar nicht_geloescht{"Nicht gelöscht: ", "Not deleted: "};
}  // namespace txt

bool gleich(const std::string& a, const char* b) { return gleich_ohne_gross_klein(a, b); }

std::string zahl(double x) {
    char puffer[32];
    std::snprintf(puffer, sizeof puffer, "%.10g", x);
    return puffer;
}

// Characters of a UTF-8 text (continuation bytes not counted).
size_t zeichenzahl(const std::string& s) {
    size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

struct code_regel {
    int tabelle;
    const char* spalte;
    std::vector<std::string> codes;
};

const std::vector<code_regel>& code_regeln() {
    static const std::vector<code_regel> r = {
        {tir_ta_m, "zeitintervall", {"A", "D", "T", "K"}},
        {tir_ta_d, "zeitintervall", {"A", "D", "T", "K"}},
        {teh_m, "zeitintervall", {"A", "P", "K"}},
        {tew_m, "zeitintervall", {"A", "P", "K"}},
        {teh_m, "rel", {"R", "A"}},
        {tew_m, "rel", {"R", "A"}},
        {tee, "Rel", {"R", "A"}},
        {teh_d, "rel", {"R", "A"}},
        {tew_d, "rel", {"R", "A"}},
        {twp, "arbeitsweise", {"ww", "we", "wl"}},
        {twp, "antrieb", {"E", "W"}},
        {tabledata::tan, "Kopplungstyp", {"E", "Z", "L"}},
        {tabledata::tan, "AnzahlKol", {"E", "Z"}},
        {tabledata::tan, "Ohne Kopplung", {"L", "E", "G", "K", "F"}},
        {tabledata::tan, "Heizung", {"J", "N"}},
        {tabledata::tan, "LeistungWP", {"A", "K", "L", "F", "E", "DK", "DKF"}},
        {tabledata::tan, "Speicheraussent", {"A", "E", "R"}},
        {tabledata::tan, "Kaltwassertemp", {"W", "E"}},
        {tabledata::tan, "Gegenstrom", {"K", "I", "R", "G"}},
        {tnum, "zeitraum", {"M", "J", "I"}},
        {tnum, "art", {"V", "T", "M", "A"}},
        {tnum, "optimierung", {"P", "K", "A"}},
        {tnum, "sortierung", {"D", "U", "N"}},
        {tnum, "strahlung", {"N", "M", "T", "D"}},
        {tnum, "speicher", {"V", "N", "S"}},
        {tnum, "diffusestrahlung", {"B", "E"}},
        {tnum, "modelltypwp", {"L", "H", "A", "4"}},
        {tnum, "energiebedarfintervall", {"S", "V"}},
        {tzu, "gruppe", {"P", "T", "H"}},
        {tunter, "gruppe", {"P", "T", "H"}},
        {tzu, "skalieren", {"J", "N"}},
        {tunter, "skalieren", {"J", "N"}},
        {tgwt, "typ", {"GR", "PW", "RE"}},
        {tluft, "aggregatzustand", {"l", "g"}},
        {tkol, "rohrverlegung", {"P", "S"}},
        {thaupt, "lock", {"F", "NF"}},
    };
    return r;
}

// Quantity code of a unit column where it is fixed. Unit columns not listed
// only need a unit of the unit table.
struct einheiten_regel {
    int tabelle;
    const char* spalte;
    const char* kennzeichen;
};

const std::vector<einheiten_regel>& einheiten_regeln() {
    static const std::vector<einheiten_regel> r = {
        {tir_ta_m, "einheit_ir", "IR"},     {tir_ta_m, "einheit_temp", "TE"},  {tir_ta_m, "einheit_wind", "VC"},
        {tir_ta_m, "einheit_feuchte", "RA"}, {tte, "einheit", "TE"},           {ttw, "einheit", "TE"},
        {tth, "einheit", "TE"},             {trw, "einheit", "TE"},            {trh, "einheit", "TE"},
        {teh_m, "einheit", "EN"},           {tew_m, "einheit", "EN"},          {tee, "Einheit", "EN"},
        {teh_m, "einflaeche", "AR"},        {teh_m, "EinT", "TE"},             {tko, "einvolstromluft", "AC"},
        {tko, "einrelpumpkoll", "RCC"},     {tko, "eindurchfluss", "CC"},      {tko, "einspannung", "VT"},
        {tko, "einrelpumpluft", "PO"},      {tko, "einetagwt", "RA"},          {tko, "einlaengerohr", "LE"},
        {tko, "eindurchmesser", "LE"},      {tko, "eindruck", "DR"},           {tkol, "einflaeche", "AR"},
        {tkol, "einalpha", "ALK"},          {tkol, "eingamma", "GAK"},         {tkol, "einwindtkoef", "WTK"},
        {tkol, "einwindkoef", "WK"},        {tkol, "einrohr", "LE"},           {tkol, "einrohrabstand", "RA"},
        {tkol, "eindruck", "DR"},           {tkol, "einhoehe", "LE"},          {tkol, "einspannung", "VT"},
        {tkol, "einvols", "AC"},            {tkol, "einpreis", "PR"},          {tgwt, "einheit_laenge", "LE"},
        {tgwt, "einheit_flaeche", "AR"},    {tgwt, "einheit_waermedz", "WZ"},  {tgwt, "einheit_preis", "PR"},
        {twp, "eineta", "RA"},              {twp, "eindeltalin", "DEL"},       {twp, "eindeltahyp", "DEH"},
        {twp, "einheitleistung", "PO"},     {twp, "einheitq", "AR"},           {twp, "einheitvkv0", "RA"},
        {twp, "einheitv0", "VO"},           {twp, "eindruck", "DR"},           {twp, "einregelbereich", "RA"},
        {twp, "einstrom", "AP"},            {twp, "einpreis", "PR"},           {twp, "EinMinP", "TE"},
        {tspei, "einspmax", "VO"},          {tspei, "einverluste", "LO"},      {tspei, "einspezwaerm", "SH"},
        {tspei, "einrospei", "DE"},         {tspei, "einlaenge", "LE"},        {tspei, "einheit_waermedz", "WZ"},
        {tspei, "einpreis", "PR"},          {tsteuer, "eint", "TE"},           {tsteuer, "eindeltamess", "TI"},
        {twaerme, "einwaerm", "SH"},        {twaerme, "eindicht", "DE"},       {twaerme, "einheit_temp", "TE"},
        {twaerme, "einheit_mol", "MOL"},    {twaerme, "eindynamischevisko", "ETA"},
        {tkaelte, "einheittemperatur", "TE"}, {tkaelte, "einheitdruck", "DR"}, {tkaelte, "einheitenthalpie", "ENT"},
        {tluft, "einheittemp", "TE"},       {tluft, "einheitdichte", "DE"},    {tluft, "einheitcp", "SH"},
        {tluft, "einheitlambda", "LAM"},    {tluft, "einheiteta", "ETA"},      {tluft, "einheitnue", "NUE"},
        {tluft, "einheitps", "DR"},         {tlage, "einheitwinkel", "AN"},    {tlage, "einflaeche", "AR"},
        {tlage, "einabref", "RA"},          {tlage, "eindachflaeche", "AR"},   {tlage, "einhoehe", "LE"},
        {tlage, "eingrad", "AN"},           {tzelle, "einetaz", "RA"},         {tzelle, "einflaeche", "AR"},
        {tzelle, "einpreis", "PR"},         {tgas, "einwirkungsgrad", "RA"},   {tgas, "einpreis", "PR"},
        {tgas, "einleistung", "PO"},        {tkraft, "einwirkungsgrad", "RA"}, {trech, "einge", "CC"},
        {trech, "einflaeche", "AR"},        {trech, "einheittheta", "AN"},     {trech, "einheittemp", "TE"},
        {tkalk, "einheit zins", "RA"},      {tkalk, "einheit ab.", "RET"},     {ttarif, "einpreis", "PR"},
        {ttarif, "einenergie", "EN"},       {tsub, "einenergie", "EN"},        {tsub, "einpreis", "PR"},
        {tsub, "einflaeche", "AR"},         {tunter, "einpreis", "PR"},        {tunter, "einflaeche", "AR"},
        {tzu, "einpreis", "PR"},            {theizwert, "einheitenergie", "EN"},
    };
    return r;
}

// Unit columns in which "n" means "not given" (the loader then keeps the
// model's default).
bool n_erlaubt(int index, const std::string& spalte) {
    return index == tkol && (gleich(spalte, "einalpha") || gleich(spalte, "einwindtkoef") ||
                               gleich(spalte, "einwindkoef"));
}

bool ist_einheitenspalte(int index, const std::string& spalte) {
    if (index == teinheit || index == trespfad) return false;
    // Names beginning with "ein" (einheit, Einheit, EinT, ...) hold units;
    // no other column name of the schema begins so.
    return spalte.size() > 3 && (spalte.compare(0, 3, "ein") == 0 || spalte.compare(0, 3, "Ein") == 0);
}

struct bereich_regel {
    int tabelle;  // -1: every table
    const char* spalte;
    double min, max;
};

// Fixed ranges of values stored without a unit column.
const std::vector<bereich_regel>& bereich_regeln() {
    static const std::vector<bereich_regel> r = {
        {-1, "breite", -90, 90},
        {-1, "breitengrad", -90, 90},
        {-1, "laenge", -180, 180},
        {-1, "länge", -180, 180},
        {-1, "laengengrad", -180, 180},
        {tir_ta_m, "theta", 0, 90},
        {tlage, "theta", 0, 90},
        {tlage, "phi", -180, 180},
        {tir_ta_d, "monat", 1, 12},
        {teh_d, "monat", 1, 12},
        {tew_d, "monat", 1, 12},
        {tir_ta_d, "nummer", 1, MAXINTERVALL},
        {teh_d, "nummer", 1, MAXINTERVALL},
        {tew_d, "nummer", 1, MAXINTERVALL},
        {tir_ta_d, "h", 0, 744},
        {teh_d, "h", 0, 744},
        {tew_d, "h", 0, 744},
        {tir_ta_d, "hm", 0, 24},
        {teh_d, "hm", 0, 24},
        {tew_d, "hm", 0, 24},
        {tnum, "monatstart", 1, 12},
        {trech, "anzge", 0, MAX_VOLUMENSTROMSCHRITTE},
        {trech, "anzwp", 0, MAX_LEISTUNGSSCHRITTE},
        {trech, "anztheta", 0, MAX_NEIGUNGSSCHRITTE},
        {tkol, "beta", 0, 1},
        {tkol, "relflaecheoben", 0, 1},
        {tkol, "relflaecheunten", 0, 1},
        {tko, "etalwt", 0, 1},
    };
    return r;
}

bool ist_monatszaehler(int index, const std::string& spalte) {
    if (index != tir_ta_m && index != teh_m && index != tew_m) return false;
    if (spalte.size() < 2 || spalte.size() > 3 || spalte[0] != 'm') return false;
    const auto n = lies_ganzzahl(spalte.substr(1));
    return n && *n >= 1 && *n <= 12;
}

// Does the unit table hold `kuerzel` (of quantity `kennzeichen` when given)?
bool einheit_bekannt(const std::string& kuerzel, const char* kennzeichen) {
    tabelle& e = tab(teinheit);
    if (!e.ist_offen()) return true;  // nothing to check against
    const int s_k = e.spalten_index("Kuerzel"), s_z = e.spalten_index("Kennzeichen");
    if (s_k < 0 || s_z < 0) return true;
    for (const auto& z : e.lies_alle({"Kuerzel"})) {
        if (als_text(z[static_cast<size_t>(s_k)]) != kuerzel) continue;
        if (!kennzeichen || als_text(z[static_cast<size_t>(s_z)]) == kennzeichen) return true;
    }
    return false;
}

const char* groessenname(const char* kennzeichen) {
    for (const auto& e : haupteinheiten())
        if (e.kennzeichen == kennzeichen) return e.name.empty() ? kennzeichen : e.name.c_str();
    return kennzeichen;
}

const spalten_def* finde_spalte(int index, const std::string& spalte) {
    tabelle& t = tab(index);
    const auto& spalten = t.ist_offen() ? t.spalten() : tabellenschema(index).spalten;
    for (const auto& s : spalten)
        if (gleich_ohne_gross_klein(s.name, spalte)) return &s;
    return nullptr;
}

bool ist_schluessel(int index, const std::string& spalte) {
    for (const auto& k : tabellenschema(index).schluessel)
        if (gleich_ohne_gross_klein(k, spalte)) return true;
    return false;
}

std::string ort(int index, const std::string& zeile, const std::string& spalte) {
    return txt::passt_nicht.text() + tabellenschema(index).sql_name + txt::zeile.text() + "\"" +
           (zeile.empty() ? txt::neue_zeile.text() : zeile) + "\"" + txt::spalte.text() + spalte + ": ";
}

std::vector<std::string> schluesselwerte(tabelle& t) {
    std::vector<std::string> w;
    for (const auto& k : t.schluesselspalten()) w.push_back(t.text(k));
    return w;
}

}  // namespace

std::vector<std::string> codes_der_spalte(int index, const std::string& spalte) {
    for (const auto& r : code_regeln())
        if (r.tabelle == index && gleich(spalte, r.spalte)) return r.codes;
    return {};
}

std::optional<std::string> pruefe_feldwert(int index, const std::string& spalte, const std::string& text,
                                           const std::string& zeile) {
    const spalten_def* s = finde_spalte(index, spalte);
    if (!s) return ort(index, zeile, spalte) + txt::unbekannte_spalte.text();
    const std::string o = ort(index, zeile, s->name);
    const std::string wert = ohne_raender(text);
    if (wert.empty()) {
        if (s->pflicht || ist_schluessel(index, s->name)) return o + txt::leer.text();
        return std::nullopt;
    }
    if (ist_text(s->typ)) {
        if (s->breite > 0 && zeichenzahl(text) > static_cast<size_t>(s->breite))
            return o + "\"" + text + "\"" + txt::zu_lang.text() + std::to_string(s->breite) + txt::zeichen.text();
        if (const auto codes = codes_der_spalte(index, s->name); !codes.empty()) {
            if (std::find(codes.begin(), codes.end(), text) == codes.end()) {
                std::string liste;
                for (const auto& c : codes) liste += (liste.empty() ? "" : ", ") + c;
                return o + "\"" + text + "\"" + txt::kein_code.text() + liste;
            }
        }
        if (ist_einheitenspalte(index, s->name) && !(text == "n" && n_erlaubt(index, s->name))) {
            const char* kennzeichen = nullptr;
            for (const auto& r : einheiten_regeln())
                if (r.tabelle == index && gleich(s->name, r.spalte)) kennzeichen = r.kennzeichen;
            if (!einheit_bekannt(text, nullptr)) return o + "\"" + text + "\"" + txt::einheit_unbekannt.text();
            if (kennzeichen && !einheit_bekannt(text, kennzeichen))
                return o + "\"" + text + "\"" + txt::falsche_groesse.text() + groessenname(kennzeichen);
        }
        return std::nullopt;
    }
    const auto x = lies_zahl(wert);
    if (!x || !std::isfinite(*x)) return o + "\"" + text + "\"" + txt::keine_zahl.text();
    if (s->typ != spaltentyp::real) {
        const double grenze = s->typ == spaltentyp::integer ? 2147483647.0 : 9.2e18;
        const double unten = s->typ == spaltentyp::integer ? -2147483648.0 : -9.2e18;
        if (*x != std::floor(*x) || *x < unten || *x > grenze)
            return o + "\"" + text + "\"" + txt::keine_ganzzahl.text() + zahl(unten) + txt::bis.text() + zahl(grenze);
    }
    for (const auto& r : bereich_regeln()) {
        if ((r.tabelle >= 0 && r.tabelle != index) || !gleich(s->name, r.spalte)) continue;
        if (*x < r.min || *x > r.max)
            return o + "\"" + text + "\"" + txt::ausserhalb.text() + zahl(r.min) + txt::bis.text() + zahl(r.max);
    }
    if (ist_monatszaehler(index, s->name) && (*x < 0 || *x > MAXINTERVALL || *x != std::floor(*x)))
        return o + "\"" + text + "\"" + txt::keine_ganzzahl.text() + "0" + txt::bis.text() +
               std::to_string(MAXINTERVALL);
    return std::nullopt;
}

std::string zeilenname(tabelle& t) {
    std::string s;
    for (const auto& w : schluesselwerte(t)) s += (s.empty() ? "" : ", ") + w;
    return s;
}

bool ist_fixiert(tabelle& haupt, bool melden) {
    if (haupt.text("lock") != "F") return false;
    if (melden)
        meldung(txt::fixiert.text() + haupt.text("name") + txt::fixierung_aufheben.text(), "M", 'E');
    return true;
}

namespace {

// Checks every field; the first misfit is shown.
bool pruefe_alle(int index, const std::vector<feldaenderung>& a, const std::string& zeile) {
    for (const auto& f : a) {
        if (const auto grund = pruefe_feldwert(index, f.spalte, f.text, zeile)) {
            meldung(*grund, "M", 'E');
            return false;
        }
    }
    return true;
}

// Is there a row other than `rowid_zeile` (-1: any) with these key values?
bool schluessel_belegt(tabelle& t, const std::vector<std::string>& schluessel, const std::vector<std::string>& alt) {
    if (schluessel == alt) return false;
    const auto& spalten = t.schluesselspalten();
    std::vector<filterbedingung> b;
    for (size_t i = 0; i < spalten.size(); ++i) b.push_back({spalten[i], "=", feldwert(schluessel[i])});
    std::vector<size_t> idx;
    for (const auto& k : spalten) idx.push_back(static_cast<size_t>(t.spalten_index(k)));
    for (const auto& z : t.lies_alle(spalten)) {
        bool gleich_alle = true;
        for (size_t i = 0; i < idx.size() && gleich_alle; ++i) {
            // Key columns compare as stored: numbers by value, texts exactly.
            const feldwert& w = z[idx[i]];
            const auto zahl_neu = lies_zahl(schluessel[i]);
            if (std::holds_alternative<std::string>(w) || !zahl_neu)
                gleich_alle = als_text(w) == schluessel[i];
            else
                gleich_alle = als_zahl(w) == *zahl_neu;
        }
        if (gleich_alle) return true;
    }
    return false;
}

feldwert als_feldwert(const std::string& text) { return feldwert(text); }

}  // namespace

bool aendere_datensatz(int index, const std::vector<feldaenderung>& aenderungen) {
    tabelle& t = tab(index);
    if (!t.ist_offen() || !t.hat_zeile()) {
        meldung(txt::kein_datensatz.text() + tabellenschema(index).sql_name, "M", 'E');
        return false;
    }
    t.abbrechen();
    const std::string zeile = zeilenname(t);
    if (index == thaupt) {
        const bool nur_lock = std::all_of(aenderungen.begin(), aenderungen.end(),
                                          [](const feldaenderung& f) { return gleich(f.spalte, "lock"); });
        if (!nur_lock && ist_fixiert(t, true)) return false;
    }
    if (!pruefe_alle(index, aenderungen, zeile)) return false;

    // The key after the change.
    const std::vector<std::string> alt = schluesselwerte(t);
    std::vector<std::string> neu = alt;
    const auto& spalten = t.schluesselspalten();
    for (const auto& f : aenderungen)
        for (size_t i = 0; i < spalten.size(); ++i)
            if (gleich_ohne_gross_klein(spalten[i], f.spalte)) neu[i] = f.text;
    if (schluessel_belegt(t, neu, alt)) {
        std::string k;
        for (const auto& w : neu) k += (k.empty() ? "" : ", ") + w;
        meldung(txt::schluessel_belegt.text() + t.sql_name() + ": " + k, "M", 'E');
        return false;
    }
    const bool umbenannt = neu != alt;
    if (umbenannt) {
        const auto v = verweisende_datensaetze(index, alt);
        if (!v.empty() &&
            !aktuelle_meldungs_senke().frage(txt::umbenennen_frage.text() + verweisliste(v) +
                                             txt::trotzdem_aendern.text())) {
            meldung(txt::nicht_umbenannt.text() + zeile, "S", 'M');
            return false;
        }
    }

    // Rows that carry the key of this row follow a rename: the detail rows
    // of a weather record, the accessory groups of a data set. They are
    // renamed in a transaction that is committed only after the row itself
    // is written.
    int begleiter = -1;
    const char* begleitspalte = nullptr;
    if (umbenannt && index == tir_ta_m) {
        begleiter = tir_ta_d;
        begleitspalte = "name";
    } else if (umbenannt && index == thaupt) {
        begleiter = tliste2;
        begleitspalte = "name_einlesefile";
    }
    std::optional<transaktion> tb;
    if (begleiter >= 0 && tab(begleiter).ist_offen()) {
        tb.emplace(tab(begleiter));
        tab(begleiter).setze_alle(begleitspalte, feldwert(neu[0]), {{begleitspalte, "=", feldwert(alt[0])}});
    }
    try {
        transaktion tt(t);
        t.bearbeiten();
        for (const auto& f : aenderungen) t.setze(f.spalte, als_feldwert(f.text));
        t.speichern();
        tt.bestaetigen();
    } catch (...) {
        t.abbrechen();
        throw;
    }
    if (tb) tb->bestaetigen();
    return true;
}

bool lege_datensatz_an(int index, const std::vector<feldaenderung>& werte) {
    tabelle& t = tab_zum_schreiben(index);
    if (!t.ist_offen()) return false;
    t.abbrechen();
    std::vector<feldaenderung> alle = werte;
    if (index == thaupt &&
        std::none_of(alle.begin(), alle.end(), [](const feldaenderung& f) { return gleich(f.spalte, "lock"); }))
        alle.push_back({"lock", "NF"});
    // Key columns that are not given are empty and refused by the check.
    for (const auto& k : t.schluesselspalten())
        if (std::none_of(alle.begin(), alle.end(),
                         [&](const feldaenderung& f) { return gleich_ohne_gross_klein(f.spalte, k); }))
            alle.push_back({k, ""});
    if (!pruefe_alle(index, alle, "")) return false;
    std::vector<std::string> neu;
    for (const auto& k : t.schluesselspalten())
        for (const auto& f : alle)
            if (gleich_ohne_gross_klein(f.spalte, k)) {
                neu.push_back(f.text);
                break;
            }
    if (schluessel_belegt(t, neu, {})) {
        std::string k;
        for (const auto& w : neu) k += (k.empty() ? "" : ", ") + w;
        meldung(txt::schluessel_belegt.text() + t.sql_name() + ": " + k, "M", 'E');
        return false;
    }
    try {
        transaktion tt(t);
        t.einfuegen();
        for (const auto& f : alle) t.setze(f.spalte, als_feldwert(f.text));
        t.speichern();
        tt.bestaetigen();
    } catch (...) {
        t.abbrechen();
        throw;
    }
    return true;
}

bool loesche_datensatz(int index) {
    tabelle& t = tab(index);
    if (!t.ist_offen() || !t.hat_zeile()) {
        meldung(txt::kein_datensatz.text() + tabellenschema(index).sql_name, "M", 'E');
        return false;
    }
    t.abbrechen();
    if (index == thaupt && ist_fixiert(t, true)) return false;
    const std::vector<std::string> schluessel = schluesselwerte(t);
    const auto v = verweisende_datensaetze(index, schluessel);
    if (!v.empty() && !aktuelle_meldungs_senke().frage(txt::loeschen_frage.text() + verweisliste(v) +
                                                       txt::trotzdem_loeschen.text())) {
        meldung(txt::nicht_geloescht.text() + zeilenname(t), "S", 'M');
        return false;
    }
    std::optional<transaktion> td;
    if (index == tir_ta_m && tab(tir_ta_d).ist_offen()) {
        td.emplace(tab(tir_ta_d));
        tab(tir_ta_d).loesche_wo({{"name", "=", feldwert(schluessel[0])}});
    }
    t.loeschen();
    if (td) td->bestaetigen();
    return true;
}
