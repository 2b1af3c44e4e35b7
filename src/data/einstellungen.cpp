#include "data/einstellungen.h"

#include "data/zahltext.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "data/datenbank.h"
#include "data/einheiten.h"
#include "data/konstanten.h"
#include "lang/groessentexte.h"
#include "lang/meldung.h"
#include "lang/sprache.h"

namespace fs = std::filesystem;
using namespace tabledata;

namespace {

constexpr std::array<int32_t, 13> TAGE{0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr std::array<int32_t, 13> MITTE{0, 15, 45, 74, 105, 135, 166, 196, 227, 257, 288, 318, 349};

std::string tx(const char* de, const char* en) { return text_paar{de, en}.text(); }

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
    e.kWh_in_Ws = konst::KWH_IN_WS;
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

std::vector<std::string>& ergebnis_kurznamen() {
    static std::vector<std::string> n;
    return n;
}

void setze_ergebnis_kurznamen() {
    auto& n = ergebnis_kurznamen();
    n.clear();
    for (int q = 0; q < ANZ_ERGEBNISGROESSEN; ++q) n.emplace_back(ergebniskuerzel(q));
    for (int k = 0; k < ANZ_INTERVALLREIHEN; ++k) n.emplace_back(intervallkuerzel(k));
}
