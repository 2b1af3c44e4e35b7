#include "lang/meldung.h"

#include <fstream>
#include <iostream>
#include <mutex>

#include "lang/meldungstexte.h"
#include "lang/sprache.h"

namespace {

konsolen_senke& standard_senke() {
    static konsolen_senke senke;
    return senke;
}

meldungs_senke* g_senke = nullptr;
thread_local meldungs_senke* t_senke = nullptr;

// Runs in several threads append to one protocol file line by line.
std::mutex& protokollsperre() {
    static std::mutex m;
    return m;
}

std::filesystem::path& protokollverzeichnis() {
    static std::filesystem::path verzeichnis = std::filesystem::current_path();
    return verzeichnis;
}

}  // namespace

void protokolliere(const std::string& text) {
    // Opened, appended and closed per line so that the file holds every line
    // written before an abandonment or a crash. Lines end in CR LF like the
    // installed base's protocol files.
    const std::lock_guard<std::mutex> halten(protokollsperre());
    std::ofstream datei(protokolldatei(), std::ios::binary | std::ios::app);
    if (!datei) {
        std::cerr << "Protokolldatei nicht beschreibbar: " << protokolldatei().string() << '\n'
                  << text << '\n';
        return;
    }
    datei << text << "\r\n";
}

konsolen_senke::konsolen_senke(bool abbrechen_bei_frage)
    : abbrechen_bei_frage_(abbrechen_bei_frage) {}

void konsolen_senke::zeige(const std::string& text, char schwere) {
    std::cerr << '[' << schwere << "] " << text << '\n';
}

bool konsolen_senke::frage(const std::string& frage_text) {
    std::cerr << "[?] " << frage_text << (abbrechen_bei_frage_ ? " -> Ja" : " -> Nein") << '\n';
    return abbrechen_bei_frage_;
}

void setze_meldungs_senke(meldungs_senke* senke) { g_senke = senke; }

meldungs_senke& aktuelle_meldungs_senke() {
    if (t_senke != nullptr) return *t_senke;
    return g_senke ? *g_senke : standard_senke();
}

senkenbindung::senkenbindung(meldungs_senke& senke) : vorher_(t_senke) { t_senke = &senke; }
senkenbindung::~senkenbindung() { t_senke = vorher_; }

void setze_protokollverzeichnis(const std::filesystem::path& verzeichnis) {
    protokollverzeichnis() = verzeichnis;
}

std::filesystem::path protokolldatei() {
    return protokollverzeichnis() / texte::protokolldatei.text();
}

void leere_protokoll() {
    const std::lock_guard<std::mutex> halten(protokollsperre());
    std::ofstream datei(protokolldatei(), std::ios::binary | std::ios::trunc);
}

void meldung(const std::string& text_de, const std::string& modus, char schwere) {
    // Messages built from German pieces follow the chosen language.
    const std::string text = meldung_in_sprache(text_de);
    meldungs_senke& senke = aktuelle_meldungs_senke();
    if (modus == "M") {
        if (schwere == 'A') {
            if (senke.frage(text + " #13 " + texte::anwendung_beenden.text())) {
                senke.cursor_zuruecksetzen();
                throw abbruch();
            }
            return;
        }
        senke.zeige(text, schwere);
    } else {
        protokolliere(text);
        senke.protokolliert(text, schwere);
    }
    if (schwere == 'T') {
        senke.cursor_zuruecksetzen();
        throw abbruch();
    }
}
