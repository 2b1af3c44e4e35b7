#include "app/kosten_befehl.h"

#include <cstdio>
#include <filesystem>

#include "app/lese_daten_ein.h"
#include "costs/kalkulation.h"
#include "data/datenbank.h"
#include "data/einheiten.h"
#include "engine/WP_variables.h"
#include "lang/kostentexte.h"
#include "lang/meldung.h"
#include "lang/sprache.h"
#include "results/ergebniskatalog_tabelle.h"

namespace {

std::string zahl(const char* format, double x) {
    char puffer[48];
    std::snprintf(puffer, sizeof puffer, format, x);
    return puffer;
}

std::string csv_feld(const std::string& s) {
    if (s.find_first_of(",\"\n") == std::string::npos) return s;
    std::string r = "\"";
    for (char c : s) r += c == '"' ? std::string("\"\"") : std::string(1, c);
    return r + "\"";
}

// Positions `haupt` on the data set `name` (the first in sort order).
bool positioniere_datensatz(const std::string& name) {
    tabelle& haupt = tab(tabledata::thaupt);
    haupt.filter_aus();
    haupt.sortiere_nach_index("isortieren");
    for (haupt.erster(); !haupt.eof(); haupt.naechster()) {
        if (haupt.text("name") == name) return true;
    }
    return false;
}

struct misserfolg {
    std::string grund;
};

// Loads `datei` with its data set as the next data index.
void lade_resultat(kalkulationsdaten& k, const std::filesystem::path& datei) {
    const std::string falsch = "Fehler: Falsches Datenformat: " + datei.string();
    kosten_datenindex probe;
    std::string name_in_datei;
    {
        // The reader's own reason (file and line, or what the file lacks).
        class letzter_fehler : public meldungs_senke {
        public:
            explicit letzter_fehler(meldungs_senke& weiter) : weiter_(weiter) {}
            void zeige(const std::string& text, char schwere) override {
                if (schwere == 'E' || schwere == 'T') grund = text;
                weiter_.zeige(text, schwere);
            }
            bool frage(const std::string& text) override { return weiter_.frage(text); }
            std::string grund;

        private:
            meldungs_senke& weiter_;
        };
        meldungs_senke& bisher = aktuelle_meldungs_senke();
        letzter_fehler senke(bisher);
        setze_meldungs_senke(&senke);
        bool gelesen = false;
        try {
            gelesen = lies_kostenresultat(datei, probe, &name_in_datei);
        } catch (...) {
            setze_meldungs_senke(&bisher);
            throw;
        }
        setze_meldungs_senke(&bisher);
        if (!gelesen) throw misserfolg{senke.grund.empty() ? falsch : senke.grund};
    }

    // The catalogue row of the file names the data set, as in the cost window;
    // a file without a row names it in its first line.
    resultat_herkunft h;
    ergebniskatalog_tabelle katalog;
    if (const auto zeile = katalog.finde_ergebnisdatei(datei.filename().string())) {
        h.haupteingabefile = zeile->haupteingabefile;
        h.ort = zeile->ort;
        h.land = zeile->land;
        h.bezirk = zeile->bezirk;
        h.einlesefile = (std::filesystem::path(zeile->pfad) / zeile->name).string();
    }
    if (h.haupteingabefile.empty()) {
        h.haupteingabefile = name_in_datei;
        h.einlesefile = datei.string();
    }
    if (!positioniere_datensatz(h.haupteingabefile)) {
        throw misserfolg{kostentexte::datensatz_fehlt.text() + h.haupteingabefile};
    }
    zustand::numchar()[ndata::einstrahlung_berechnen] = "J";  // irradiation on the collector plane
    bool dbflag = true;
    if (!lese_daten_ein(zustand::pvdatz3(1), zustand::pvdatz3(2), dbflag)) {
        throw misserfolg{kostentexte::datensatz_fehlt.text() + h.haupteingabefile};
    }
    if (!resultat_einlesen(k, datei, h)) throw misserfolg{falsch};
}

void zeige_parameter(const kosten_datenindex& d, std::ostream& aus) {
    for (int p = 0; p < ANZ_KOSTENPARAMETER; ++p) {
        aus << "  " << kostenparameter_name(p) << " = " << zahl("%.6g", d.vdatk[p]) << ' '
            << kostenparameter_einheit(p) << '\n';
    }
    aus << "  "
        << (d.isolarzellen == 1 ? kostentexte::zellflaechen_modus[d.iradioGroupSf] : kostentexte::keine_solarzellen)
               .text()
        << '\n';
}

// The runner's reason line: one prefix in the chosen language, the reason
// in its own words.
void grundzeile(std::ostream& fehler, std::string grund) {
    for (const char* p : {"Fehler: ", "Error: ", "error: "})
        if (grund.rfind(p, 0) == 0) grund.erase(0, std::string(p).size());
    fehler << "varnek-cli: " << text_paar{"Fehler: ", "error: "}.text() << grund << '\n';
}

}  // namespace

int befehl_kosten(const startoptionen& start, const std::vector<std::string>& dateien, bool csv,
                  std::ostream& aus, std::ostream& fehler) {
    setze_sprache(start.sprache);
    if (dateien.empty()) {
        grundzeile(fehler, kostentexte::keine_datei.text());
        return 2;
    }
    if (static_cast<int>(dateien.size()) > MAX_DATENINDEX) {
        grundzeile(fehler, kostentexte::maximalzahl.text());
        return 2;
    }
    programmstart(start);

    kalkulationsdaten k;
    try {
        for (const std::string& d : dateien) lade_resultat(k, d);
    } catch (const misserfolg& m) {
        grundzeile(fehler, m.grund);
        return 1;
    }

    const std::string preis = haupteinheiten()[groesse::preis].ausgabe;
    const std::string flaeche = haupteinheiten()[groesse::flaeche].ausgabe;
    if (csv) {
        aus << "index,file,area [" << flaeche << "],cell_area [" << flaeche << "],investment [" << preis
            << "],annuity [" << preis << "],energy_bills [" << preis << "],cell_income [" << preis
            << "],maintenance [" << preis << "],yearly_costs [" << preis << "]\n";
    }
    for (int d = 1; d <= static_cast<int>(k.index.size()); ++d) {
        const std::vector<kostenpunkt> punkte = berechne_kosten(k, d);
        const kosten_datenindex& di = k.index[static_cast<size_t>(d - 1)];
        if (csv) {
            for (const kostenpunkt& p : punkte) {
                aus << d << ',' << csv_feld(di.dateiname.string()) << ',' << zahl("%.10g", p.flaeche) << ','
                    << zahl("%.10g", p.zellflaeche) << ',' << zahl("%.10g", p.investition) << ','
                    << zahl("%.10g", p.annuitaet) << ',' << zahl("%.10g", p.energiekosten) << ','
                    << zahl("%.10g", p.solarertrag) << ',' << zahl("%.10g", p.unterhalt) << ','
                    << zahl("%.10g", p.jahreskosten) << '\n';
            }
            continue;
        }
        aus << kostentexte::datenindex.text() << ' ' << d << ": " << di.dateiname.string() << " ("
            << di.herkunft.haupteingabefile << ")\n";
        zeige_parameter(di, aus);
        auto titel = [](const text_paar& t, const std::string& einheit) { return t.text() + " [" + einheit + "]"; };
        aus << titel(kostentexte::flaeche, flaeche) << '\t' << titel(kostentexte::zellflaeche, flaeche) << '\t'
            << titel(kostentexte::investition, preis) << '\t' << titel(kostentexte::annuitaet, preis) << '\t'
            << titel(kostentexte::energiekosten, preis) << '\t' << titel(kostentexte::solarertrag, preis) << '\t'
            << titel(kostentexte::unterhalt, preis) << '\t' << titel(kostentexte::kosten_jahr, preis) << '\n';
        for (const kostenpunkt& p : punkte) {
            aus << zahl("%.6g", p.flaeche) << '\t' << zahl("%.6g", p.zellflaeche) << '\t'
                << zahl("%.2f", p.investition) << '\t' << zahl("%.2f", p.annuitaet) << '\t'
                << zahl("%.2f", p.energiekosten) << '\t' << zahl("%.2f", p.solarertrag) << '\t'
                << zahl("%.2f", p.unterhalt) << '\t' << zahl("%.2f", p.jahreskosten) << '\n';
        }
        aus << '\n';
    }
    return 0;
}
