#include "app/standard_laufdienste.h"

#include "app/check_kombination.h"
#include "data/datenbank.h"
#include "data/einheiten.h"
#include "data/tabellen_schema.h"
#include "engine/laufvorbereitung.h"
#include "engine/models/luftkollektor.h"
#include "input/wetter_adapter.h"
#include "lang/meldung.h"
#include "lang/sprache.h"

namespace {

ergebnisdatei_angaben angaben_des_datensatzes(const std::filesystem::path& ergebnisdatei,
                                              const std::filesystem::path& verzeichnis) {
    tabelle& haupt = tab(tabledata::thaupt);
    ergebnisdatei_angaben a;
    a.hauptname = haupt.text("name");
    a.ergebnisdatei = ergebnisdatei;
    a.ergebnisverzeichnis = verzeichnis;
    a.steuername = haupt.text("steuer");
    a.flaecheneinheit = haupteinheiten()[groesse::flaeche].ausgabe;
    return a;
}

intervalleingaben eingaben_der_steuerdatei() {
    intervalleingaben e;
    e.pvdatz3 = &zustand::pvdatz3(1);
    const int groessen[3] = {groesse::zeit, groesse::intensitaet, groesse::temperatur};
    for (int i = 0; i < 3; ++i) {
        const Einheit_struct& g = haupteinheiten()[groessen[i]];
        e.einheit[i] = g.ausgabe;
        e.umrechnen[i] = umrechnungsfaktor(g.haupteinheit, g.ausgabe, g.kennzeichen, 0);
    }
    return e;
}

}  // namespace

std::vector<std::filesystem::path> ausgabefile::dateien(const std::filesystem::path& verzeichnis) const {
    std::vector<std::filesystem::path> d{pfad};
    if (optimierung != 'O') d.push_back(verzeichnis / (haupt.steuer + ".str"));
    return d;
}

standard_laufdienste::standard_laufdienste(const ausgabefile& ausgabe,
                                           const std::filesystem::path& ergebnisverzeichnis)
    : schreiber_(std::make_unique<ergebnisschreiber>(
          angaben_des_datensatzes(ausgabe.pfad, ergebnisverzeichnis), eingaben_der_steuerdatei(),
          &katalog_, katalogeintrag{ausgabe.optimierung, ausgabe.haupt, heutiges_datum()})) {}

void standard_laufdienste::CheckKombination(datt& vdatt, flagchar& numchar, int& bkflag) {
    ::CheckKombination(vdatt, numchar, bkflag, [](flagchar n, datt v) {
        return zwischenwaermetauscher_aktiv(n, v);
    });
}

void standard_laufdienste::eintrittstemperaturen_fuellen() {
    ::eintrittstemperaturen_fuellen(zustand::numchar(), zustand::vdatz(), zustand::pvdatz3(1));
}

bool standard_laufdienste::berechne_Einstrahlungsdaten(double breite, double theta_s, double phi_g,
                                                       datz& vdatz, flagchar& numchar,
                                                       datz3& pvdatz3, datt& vdatt) {
    return berechne_Einstrahlungsdaten_geladen(breite, theta_s, phi_g, vdatz, numchar, pvdatz3,
                                               vdatt);
}

void standard_laufdienste::monatsvorbereitung(double A) {
    ::monatsvorbereitung(zustand::numchar(), zustand::vdatz(), zustand::anlage(0), A);
}

void standard_laufdienste::intervallvorbereitung() {
    intervallbedarf(zustand::numchar(), zustand::vdatz(), zustand::pvdatz3(1), zustand::date3());
}

void standard_laufdienste::ge_grenzen(double& maxge, double& minge) {
    tabelle& rech = tab(tabledata::trech);
    const std::string einheit = rech.text("einge");
    maxge = in_haupteinheit(rech.zahl("maxge"), einheit, groesse::volumenstrom_traeger);
    minge = in_haupteinheit(rech.zahl("minge"), einheit, groesse::volumenstrom_traeger);
}

void standard_laufdienste::jahresauswertung(::datm& d, datz3& pvdatz3_2, speicher& puffer,
                                            ::date&, datz& vdatz, datt& vdatt) {
    ::jahresauswertung(d, pvdatz3_2, puffer, vdatz, vdatt, zustand::numchar());
}

void standard_laufdienste::ergebnisauswertung(::datm& d) {
    ergebnisse_umrechnen(d, [](const std::string& von, const std::string& nach,
                               const std::string& kennzeichen) {
        return umrechnungsfaktor(von, nach, kennzeichen, 0);
    });
}

double standard_laufdienste::flaeche_in_ausgabeeinheit(double A) {
    return in_ausgabeeinheit(A, groesse::flaeche);
}

void standard_laufdienste::schreibe_intervallergebnisse(datt&, ::datm& d, double flaeche_aus,
                                                        const abschnittsfolge& abschnitte) {
    schreiber_->schreibe_intervallergebnisse(d, flaeche_aus, abschnitte);
}

void standard_laufdienste::schreibe_monatsergebnisse(datt&, ::datm& d, double flaeche_aus,
                                                     const abschnittsfolge& abschnitte) {
    schreiber_->schreibe_monatsergebnisse(d, flaeche_aus, abschnitte);
}

void standard_laufdienste::anlage_abschalten(char, char) {
    // Switching devices off needs the weather-station connection of the
    // desktop; this runner cannot start control runs.
    meldung(text_paar{"Fehler: Keine Geräteverbindung: Anlage kann nicht abgeschaltet werden.",
                      "Error: no device connection: plant cannot be switched off."}
                .text(),
            "S", 'E');
}

bool standard_laufdienste::ergebnisse_abschliessen() { return schreiber_->abschliessen(); }

laufausgabe standard_laufdienste::ausgabe() const {
    return {schreiber_->angaben().ergebnisdatei, steuerdateipfad(schreiber_->angaben())};
}

std::optional<ausgabefile> ausgabefile_anlegen(char optimierung, const std::filesystem::path& verzeichnis,
                                               speicherdialog* dialog) {
    tabelle& haupt = tab(tabledata::thaupt);
    ausgabefile a;
    a.optimierung = optimierung == 'O' ? 'O' : 'S';
    haupt_angaben& h = a.haupt;
    h.name = haupt.text("name");
    h.ort = haupt.text("ort");
    h.land = haupt.text("land");
    h.bezirk = haupt.text("bezirk");
    h.kundennummer = haupt.text("kundennummer");
    h.ausgabefile = haupt.text("ausgabefile");
    h.steuer = haupt.text("steuer");
    auto pfad = lege_ausgabefile_an(a.optimierung, dialog ? 'J' : 'N', h, verzeichnis, dialog);
    if (!pfad) return std::nullopt;
    a.pfad = *pfad;
    marken().ausgabefile_angelegt = true;
    return a;
}
