#include "app/geraete_befehl.h"

#include <cstring>
#include <memory>
#include <ostream>
#include <string>

#include "data/einstellungen.h"
#include "engine/WP_variables.h"
#include "lang/meldung.h"
#include "lang/sprache.h"
#include "lang/stationstexte.h"
#include "station/RSCOM.h"
#include "station/geraeteprotokoll.h"
#include "station/simulierte_ports.h"
#include "station/wetterstation.h"

namespace {

// Dialogs go to stderr; questions are answered with No.
class befehl_senke : public meldungs_senke {
public:
    explicit befehl_senke(std::ostream& f) : f_(f) {}
    void zeige(const std::string& text, char) override { f_ << text << '\n'; }
    bool frage(const std::string& text) override {
        f_ << text << (sprache() == SPRACHE_ENGLISCH ? " -> No\n" : " -> Nein\n");
        return false;
    }

private:
    std::ostream& f_;
};

// The no-device dialog is answered with Ignore, silently: the list below
// names every device without a port, in the chosen language.
class befehl_dialog : public geraete_dialog {
public:
    dialog_antwort frage(const std::string&) override { return dialog_antwort::ignorieren; }
};

// `text` padded with blanks to `breite` characters (UTF-8 counted by
// characters, not bytes).
std::string spalte(const std::string& text, size_t breite) {
    size_t zeichen = 0;
    for (unsigned char c : text) zeichen += (c & 0xC0) != 0x80;
    return zeichen >= breite ? text + ' ' : text + std::string(breite - zeichen, ' ');
}

char geraet_mit_ident(int dcd, int dsr) {
    for (char g : GERAETE) {
        dat_int_4 ident{};
        belege_ident(ident, g);
        if (ident[0] == dcd && ident[1] == dsr) return g;
    }
    return '?';
}

void liste(RSCOM& port, std::ostream& aus, bool simuliert) {
    stationseinstellungen einstellungen;
    befehl_dialog dialog;
    geraeteprotokoll protokoll(port, einstellungen, &dialog);

    aus << stationstexte::liste_ports.text();
    if (simuliert) aus << ' ' << stationstexte::liste_simuliert.text();
    aus << '\n';
    int gefunden = 0;
    for (int32_t n = 2; n <= 100; ++n) {
        const std::string name = "COM" + std::to_string(n);
        if (port.oeffne_port(name + ":1200,N,8,1")) {
            const int dcd = port.lese_dcd();
            const int dsr = port.lese_dsr();
            const char g = geraet_mit_ident(dcd, dsr);
            aus << "  " << spalte(name, 7) << spalte(port.letzter_fehler().pfad, 20) << "DCD " << dcd << "  DSR "
                << dsr << "  " << g << ' ' << geraetename(g).text() << '\n';
            ++gefunden;
        } else if (port.letzter_fehler().fehler != port_fehler::fehlt) {
            aus << "  " << spalte(name, 7) << port_fehlertext(port.letzter_fehler(), name) << '\n';
            ++gefunden;
        }
    }
    port.schliesse_port();
    if (gefunden == 0) aus << stationstexte::liste_keine_ports.text() << '\n';

    auto a = std::make_unique<anlage>();
    protokoll.com_fuer_wetterstation(*a);
    port.schliesse_port();
    const bool anlage::*marken[] = {&anlage::kein_anschluss_com_W, &anlage::kein_anschluss_com_U,
                                    &anlage::kein_anschluss_com_V, &anlage::kein_anschluss_com_S};
    const char* markennamen[] = {"kein_anschluss_com_W", "kein_anschluss_com_U", "kein_anschluss_com_V",
                                 "kein_anschluss_com_S"};
    aus << stationstexte::liste_geraete.text() << '\n';
    for (size_t i = 0; i < GERAETE.size(); ++i) {
        const std::string feld = einstellungen.com_felder[i];
        aus << "  " << GERAETE[i] << ' ' << spalte(geraetename(GERAETE[i]).text(), 46)
            << spalte(feld == stationstexte::leer.text() ? feld : "COM" + feld, 7) << markennamen[i] << " = "
            << ((*a).*marken[i] ? 'J' : 'N') << '\n';
    }
}

}  // namespace

int befehl_geraete(bool simuliert, const std::optional<std::string>& muster, std::ostream& aus,
                   std::ostream& fehler) {
    const std::string muster_vorher = einstellungen().com_pfadmuster;
    if (muster) einstellungen().com_pfadmuster = *muster;
    befehl_senke senke(fehler);
    setze_meldungs_senke(&senke);
    int status = 0;
    try {
        if (simuliert) {
            simulierte_uhr zeit;
            simulierte_ports ports(zeit);
            stecke_beispielanlage(ports);
            RSCOM port(ports, zeit);
            liste(port, aus, true);
        } else {
            liste(rscom(), aus, false);
        }
    } catch (const std::exception& e) {
        fehler << "varnek-cli: " << text_paar{"Fehler: ", "error: "}.text() << e.what() << '\n';
        status = 1;
    }
    setze_meldungs_senke(nullptr);
    einstellungen().com_pfadmuster = muster_vorher;
    return status;
}
