#include "data/einstellungen.h"

#include "data/zahltext.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "data/datenbank.h"
#include "data/einheiten.h"
#include "data/ergebnis_einheiten.h"
#include "engine/WP_variables.h"
#include "lang/meldung.h"
#include "lang/sprache.h"

namespace fs = std::filesystem;
using namespace tabledata;

namespace {

constexpr std::array<int32_t, 13> TAGE{0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr std::array<int32_t, 13> MITTE{0, 15, 45, 74, 105, 135, 166, 196, 227, 257, 288, 318, 349};

std::string tx(const char* de, const char* en) { return text_paar{de, en}.text(); }



void kein_zahlenwert(const std::string& text) {
    meldung(tx("Fehler: Ungültiger Zahlenwert: '", "Error: invalid number: '") + text + "'", "M", 'T');
}

// Stores a path setting; reports a path that does not exist.
bool pruefe_pfad(const fs::path& p) {
    std::error_code ec;
    if (fs::exists(p, ec)) return true;
    meldung(tx("Warnung: Verzeichnis nicht angelegt", "Warning: directory not created") + std::string(": ") +
                p.string(),
            "M", 'W');
    return false;
}

void nicht_gespeichert() {
    meldung(tx("Einstellungen werden bei Schliessen des Programms nicht gespeichert",
               "Settings are not saved when the program is closed"),
            "M", 'M');
}

tabelle* aktueller_pfad() {
    tabelle& t = tab(trespfad);
    if (t.ist_offen() && t.hat_zeile()) return &t;
    meldung(text_paar{"Bitte Eintrag markieren", "Pleasse mark entry"}.text(), "M", 'W');
    return nullptr;
}

const Einheit_struct& einheit(int g) { return haupteinheiten()[static_cast<size_t>(g)]; }

}  // namespace

einstellungen_daten& einstellungen() {
    static einstellungen_daten e;
    return e;
}

fs::path standard_basisverzeichnis() {
#ifdef _WIN32
    if (const char* a = std::getenv("LOCALAPPDATA"); a && *a) return fs::path(a) / "Varnek";
#endif
    if (const char* x = std::getenv("XDG_DATA_HOME"); x && *x && fs::path(x).is_absolute())
        return fs::path(x) / "Varnek";
    if (const char* h = std::getenv("HOME"); h && *h) return fs::path(h) / ".local" / "share" / "Varnek";
    return fs::current_path() / "Varnek";
}

int32_t tage_im_monat(int m) {
    if (m < 1 || m > 12) return 0;
    const int32_t t = einstellungen().monatstage[static_cast<size_t>(m)];
    return t > 0 ? t : TAGE[static_cast<size_t>(m)];
}

double runde_dezimal(double x, int n) {
    const double s = std::pow(10.0, n);
    return std::nearbyint(x * s) / s;
}

void setze_Pfade_und_Parameter() {
    einstellungen_daten& e = einstellungen();
    const fs::path basis = standard_basisverzeichnis();
    e.datenbankverzeichnis = basis / "DataBase";
    e.datenbank_alt = basis / "DataBase Alt";
    e.ergebnisverzeichnis = basis / "Results";
    e.textverzeichnis = basis / "Texte";
    e.klimadatenverzeichnis = basis / "European Radiaton Atlas 2000";
    e.monatsmittel = {e.klimadatenverzeichnis / "DATA" / "CLIMATO", 1, 0, 1, 12, 1};
    e.tagesmittel = {e.klimadatenverzeichnis / "DATA" / "DAILY", 1, 2, 12, 31, 1};
    e.stundenmittel = {e.klimadatenverzeichnis / "DATA" / "HOURLY", 1, 3, 365, 24, 0};
    e.stationsliste = {e.klimadatenverzeichnis / "DATA" / "ancillary" / "stations.txt", 0, 0, 0, 0, 0};
}

void DefaultEinstellungen() {
    einstellungen_daten& e = einstellungen();
    e.kWh_in_Ws = 3600000.0;
    e.skalierung_horizontal = e.skalierung_vertikal = 1.0;
    e.monatstage = TAGE;
    e.monatsmitte = MITTE;
    e.monatsanfang[1] = 0;
    for (int m = 2; m <= 12; ++m) e.monatsanfang[m] = e.monatsanfang[m - 1] + e.monatstage[m - 1];
    e.monatstage_grafik = TAGE;
    e.monatstage_grafik[0] = 12;
    e.leer5 = std::string(5, ' ');
    e.leer6 = std::string(6, ' ');
    e.leer7 = std::string(7, ' ');
    e.leer8 = std::string(8, ' ');
    e.leer40 = std::string(40, ' ');
    fuelle_registry(e.datenbankverzeichnis);
    setze_ergebnis_kurznamen();
}

void lege_standardverzeichnisse_an() {
    const einstellungen_daten& e = einstellungen();
    for (const fs::path& p :
         {e.datenbankverzeichnis, e.datenbank_alt, e.ergebnisverzeichnis, e.textverzeichnis}) {
        std::error_code ec;
        if (!fs::exists(p, ec) && !fs::create_directories(p, ec)) {
            meldung(tx("Fehler: Verzeichnis kann nicht angelegt werden: ",
                       "Error: directory cannot be created: ") +
                        p.string() + " (" + ec.message() + ")",
                    "M", 'E');
        }
    }
}

void sprachabhaengig(datm& d, bool namen_speichern) {
    // The text globals follow the language index by themselves; then the
    // table display names and field lists, the quantity names, the units.
    Datenbanknamen();
    definiere_Haupteinheiten_datenbanken();
    default_einheiten();
    lese_ausgabe_einheiten();
    definiere_Ausgabeeinheiten(d);
    definiere_beschriftungen_mit_einheit(d);
    reihenfolge_anzeige(d);
    if (namen_speichern) uebersetze_physgroesse();
}

bool waehle_sprache(int index, datm& d) {
    if (index == sprache() || (index != SPRACHE_DEUTSCH && index != SPRACHE_ENGLISCH)) return false;
    setze_sprache(index);
    sprachabhaengig(d);
    return true;
}

void numerische_parameter_default(laufsteuerung& l) {
    l.maxge = 5e-05;
    l.minge = 5e-08;
    l.anzge = 100;
    einstellungen().anzahl_schritte_2 = 100;
    l.maxwp = 10000.0;
}

numerische_anzeige zeige_numerische_parameter(const laufsteuerung& l) {
    numerische_anzeige a;
    a.maxge = runde_dezimal(in_ausgabeeinheit(l.maxge, groesse::volumenstrom_traeger), 3);
    a.minge = runde_dezimal(in_ausgabeeinheit(l.minge, groesse::volumenstrom_traeger), 3);
    a.anzge = l.anzge;
    a.maxwp = in_ausgabeeinheit(l.maxwp, groesse::keine_einheit);
    return a;
}

numerische_anzeige zeige_rech_parameter() {
    numerische_anzeige a;
    tabelle& r = tab(trech);
    if (!r.ist_offen() || !r.hat_zeile()) return a;
    const Einheit_struct& v = einheit(groesse::volumenstrom_traeger);
    const std::string einge = r.text("einge");
    a.maxge = runde_dezimal(umrechnen(r.zahl("maxge"), einge, v.ausgabe, v.kennzeichen, 0), 3);
    a.minge = runde_dezimal(umrechnen(r.zahl("minge"), einge, v.ausgabe, v.kennzeichen, 0), 3);
    a.anzge = static_cast<int32_t>(r.ganzzahl("anzge"));
    a.maxwp = r.zahl("maxwp");
    return a;
}

void setze_numerische_parameter(laufsteuerung& l, const std::string& maxge, const std::string& minge,
                                const std::string& anzge, const std::string& maxwp) {
    // Every field is read before anything is set: a bad entry changes nothing.
    const auto max_v = lies_zahl(maxge);
    if (!max_v) kein_zahlenwert(maxge);
    const auto min_v = lies_zahl(minge);
    if (!min_v) kein_zahlenwert(minge);
    const auto anz = lies_ganzzahl(anzge);
    if (!anz) kein_zahlenwert(anzge);
    const auto wp = lies_ganzzahl(maxwp);
    if (!wp) kein_zahlenwert(maxwp);
    const Einheit_struct& v = einheit(groesse::volumenstrom_traeger);
    l.maxge = umrechnen(*max_v, v.ausgabe, v.haupteinheit, v.kennzeichen, 0);
    l.minge = umrechnen(*min_v, v.ausgabe, v.haupteinheit, v.kennzeichen, 0);
    l.anzge = *anz;
    if (*anz > 500) {
        meldung(tx("Fehler: Zulässige Anzahl von Werten für Pumpgeschwindigkeit (MAXV) überschritten",
                   "Error: permitted number of values for pump speed (MAXV) exceeded"),
                "M", 'T');
    }
    const Einheit_struct& k = einheit(groesse::keine_einheit);
    l.maxwp = umrechnen(static_cast<double>(*wp), k.ausgabe, k.haupteinheit, k.kennzeichen, 0);
}

bool datenbank_setzen() {
    tabelle* t = aktueller_pfad();
    if (!t) return false;
    einstellungen_daten& e = einstellungen();
    e.datenbankverzeichnis = fs::path(t->text("pfaddatabase"));
    const bool vorhanden = pruefe_pfad(e.datenbankverzeichnis);
    // Choosing a database directory is a change the user asked for: tables
    // it lacks are created there, so that it can be filled.
    if (vorhanden) lege_fehlende_tabellen_an(e.datenbankverzeichnis);
    SetDataBase(e.datenbankverzeichnis);
    nicht_gespeichert();
    return vorhanden;
}

bool ergebnispfad_setzen() {
    tabelle* t = aktueller_pfad();
    if (!t) return false;
    einstellungen_daten& e = einstellungen();
    e.ergebnisverzeichnis = fs::path(t->text("pfadresultate"));
    const bool vorhanden = pruefe_pfad(e.ergebnisverzeichnis);
    nicht_gespeichert();
    return vorhanden;
}

bool klimadaten_setzen() {
    tabelle* t = aktueller_pfad();
    if (!t) return false;
    einstellungen_daten& e = einstellungen();
    auto zahl = [&](const char* s) { return static_cast<int32_t>(t->ganzzahl(s)); };
    e.tagesmittel.pfad = fs::path(t->text("pfadtaeglichedaten"));
    e.tagesmittel.zeilen_ueberlesen = zahl("tdzeilenueberlesen");
    e.tagesmittel.spalten_ueberlesen = zahl("tdspaltenueberlesen");
    e.tagesmittel.zeilen = zahl("tdzeilen");
    e.tagesmittel.spalten = zahl("tdspalten");
    e.stundenmittel.pfad = fs::path(t->text("pfadstuendlichedaten"));
    e.stundenmittel.zeilen_ueberlesen = zahl("sdzeilenueberlesen");
    e.stundenmittel.spalten_ueberlesen = zahl("sdspaltenueberlesen");
    e.stundenmittel.zeilen = zahl("sdzeilen");
    e.stundenmittel.spalten = zahl("sdspalten");
    e.stationsliste.pfad = fs::path(t->text("pfadstationdaten"));
    e.monatsmittel.pfad = fs::path(t->text("pfadklimadaten"));
    e.monatsmittel.zeilen_ueberlesen = zahl("zeilenueberlesen");
    e.monatsmittel.spalten_ueberlesen = zahl("spaltenueberlesen");
    e.monatsmittel.zeilen = zahl("zeilen");
    e.monatsmittel.spalten = zahl("spalten");
    bool alle = true;
    for (const auto* b : {&e.tagesmittel, &e.stundenmittel, &e.stationsliste, &e.monatsmittel})
        alle &= pruefe_pfad(b->pfad);
    nicht_gespeichert();
    return alle;
}

void ausgabeeinheit_setzen(datm& d) {
    setze_ausgabeeinheit();
    sprachabhaengig(d);
}

void einheiten_default(datm& d) {
    einheiten_zuruecksetzen();
    definiere_Ausgabeeinheiten(d);
    definiere_beschriftungen_mit_einheit(d);
    reihenfolge_anzeige(d);
}
