#include "app/import_befehl.h"

#include <cstdio>

#include "data/datenbank.h"
#include "input/wetterdatei.h"
#include "lang/meldung.h"
#include "lang/sprache.h"

namespace {

namespace txt {
constexpr text_paar kein_name{"import-weather braucht --name NAME (siehe --help)",
                                "import-weather needs --name NAME (see --help)"};
constexpr text_paar nicht_importiert{"Wetterdatei nicht eingelesen: ", "weather file not imported: "};
constexpr text_paar schreibgeschuetzt{"Datenbank schreibgeschützt: ", "database is write-protected: "};
constexpr text_paar datensatz{"Wetterdatensatz: ", "Weather record: "};
constexpr text_paar ort{"Ort: ", "Place: "};
constexpr text_paar lage{"Breite, Länge: ", "Latitude, longitude: "};
constexpr text_paar quelle{"Quelle: ", "Source: "};
constexpr text_paar jahr{"Messjahr: ", "Year measured: "};
constexpr text_paar stunden{"Stunden je Monat: ", "Hours per month: "};
constexpr text_paar einstrahlung{"Globalstrahlung im Jahr: ", "Global irradiation of the year: "};
}  // namespace txt

// The runner's reason line: one prefix in the chosen language, the reason
// in its own words.
void grundzeile(std::ostream& fehler, std::string grund) {
    for (const char* p : {"Fehler: ", "Error: ", "error: "})
        if (grund.rfind(p, 0) == 0) grund.erase(0, std::string(p).size());
    fehler << "varnek-cli: " << text_paar{"Fehler: ", "error: "}.text() << grund << '\n';
}

// Keeps the last error shown, for the reason line.
class letzter_fehler_senke : public meldungs_senke {
public:
    letzter_fehler_senke(meldungs_senke& weiter) : weiter_(weiter) {}
    void zeige(const std::string& text, char schwere) override {
        if (schwere == 'E' || schwere == 'T') letzter = text;
        weiter_.zeige(text, schwere);
    }
    bool frage(const std::string& text) override { return weiter_.frage(text); }
    void protokolliert(const std::string& text, char schwere) override { weiter_.protokolliert(text, schwere); }
    std::string letzter;

private:
    meldungs_senke& weiter_;
};

std::string zahl(double x, const char* format = "%.6g") {
    char puffer[32];
    std::snprintf(puffer, sizeof puffer, format, x);
    return puffer;
}

}  // namespace

int befehl_wetterimport(const startoptionen& start, const std::string& datei, const std::string& name,
                        bool ersetzen, std::ostream& aus, std::ostream& fehler) {
    setze_sprache(start.sprache);
    if (name.empty()) {
        grundzeile(fehler, txt::kein_name.text());
        return 2;
    }
    meldungs_senke& bisher = aktuelle_meldungs_senke();
    letzter_fehler_senke senke(bisher);
    setze_meldungs_senke(&senke);
    struct zurueck {
        meldungs_senke* s;
        ~zurueck() { setze_meldungs_senke(s); }
    } z{&bisher};

    programmstart(start);
    auto gescheitert = [&](const std::string& ersatz) {
        grundzeile(fehler, senke.letzter.empty() ? ersatz : senke.letzter);
        return 1;
    };
    tabelle& wetter = tab(tabledata::tir_ta_m);
    if (wetter.ist_offen() && wetter.nur_lesbar())
        return gescheitert(txt::schreibgeschuetzt.text() + wetter.datei().string());
    const auto jahr = lies_wetterdatei(datei);
    if (!jahr) return gescheitert(txt::nicht_importiert.text() + datei);
    const auto e = schreibe_wetterdatensatz(*jahr, name, ersetzen);
    if (!e) return gescheitert(txt::nicht_importiert.text() + datei);

    tabelle& w = tab(tabledata::tir_ta_m);
    aus << txt::datensatz.text() << w.text("name") << '\n';
    const std::string ort = w.text("ort"), land = w.text("land");
    aus << txt::ort.text() << ort << (!ort.empty() && !land.empty() ? ", " : "") << land << '\n';
    aus << txt::lage.text() << zahl(w.zahl("breite"), "%.4f") << ", " << zahl(w.zahl("laenge"), "%.4f") << '\n';
    aus << txt::quelle.text() << w.text("quelle") << '\n';
    if (!w.ist_feld_leer("meßdatum")) aus << txt::jahr.text() << w.text("meßdatum") << '\n';
    aus << txt::stunden.text();
    for (int m = 1; m <= 12; ++m) aus << (m > 1 ? " " : "") << w.ganzzahl("m" + std::to_string(m));
    aus << '\n';
    aus << txt::einstrahlung.text() << zahl(e->jahreseinstrahlung, "%.1f") << " kWh/qm\n";
    return 0;
}
