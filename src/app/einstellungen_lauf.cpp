#include "app/einstellungen_lauf.h"

#include "data/datenbank.h"
#include "data/einheiten.h"
#include "data/einstellungen.h"
#include "data/zahltext.h"
#include "lang/meldung.h"
#include "lang/sprache.h"
#include "results/ergebnis_einheiten.h"

using namespace tabledata;

namespace {

std::string tx(const char* de, const char* en) { return text_paar{de, en}.text(); }

void kein_zahlenwert(const std::string& text) {
    meldung(tx("Fehler: Ungültiger Zahlenwert: '", "Error: invalid number: '") + text + "'", "M", 'T');
}

const Einheit_struct& einheit(int g) { return haupteinheiten()[static_cast<size_t>(g)]; }

}  // namespace

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
