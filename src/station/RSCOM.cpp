#include "station/RSCOM.h"

#include "lang/meldung.h"
#include "lang/stationstexte.h"

namespace {

const char* const NAMENSRAUM = "\\\\.\\";

std::string anzeigename(const std::string& name) {
    const std::string praefix = NAMENSRAUM;
    return name.rfind(praefix, 0) == 0 ? name.substr(praefix.size()) : name;
}

}  // namespace

RSCOM::RSCOM(port_anbieter& anbieter, uhr& zeit) : anbieter_(&anbieter), uhr_(&zeit) {}

RSCOM::~RSCOM() = default;

void RSCOM::setze_anschluss(port_anbieter& anbieter, uhr& zeit) {
    schliesse_port();
    anbieter_ = &anbieter;
    uhr_ = &zeit;
    startmarke_ = uhr_->zaehler_ms();
}

bool RSCOM::oeffne_port(const std::string& text) {
    schliesse_port();
    // The device name ends at the colon: COM1..COM9 as they are, longer
    // names in the device namespace.
    std::string name;
    if (text.size() > 4 && text[4] == ':') {
        name = text.substr(0, 4);
    } else if (text.size() > 5 && text[5] == ':') {
        name = NAMENSRAUM + text.substr(0, 5);
    } else if (text.size() > 6 && text[6] == ':') {
        name = NAMENSRAUM + text.substr(0, 6);
    } else {
        versuchter_name_ = text;
        letzter_fehler_ = {port_fehler::fehlt, text, ""};
        return false;
    }
    const std::string einstellungstext = text.substr(text.find(':') + 1);

    versuchter_name_ = name;
    port_meldung fehler;
    port_ = anbieter_->oeffne(name, fehler);
    if (!port_) {
        letzter_fehler_ = fehler;
        return false;
    }
    name_ = name;
    letzter_fehler_ = {port_fehler::keiner, anbieter_->pfad_von(name), ""};
    // A path that opens again may report its next problem anew.
    const std::string schluessel = letzter_fehler_.pfad + '#';
    for (auto it = gemeldet_.lower_bound(schluessel); it != gemeldet_.end() && it->rfind(schluessel, 0) == 0;) {
        it = gemeldet_.erase(it);
    }

    port_einstellungen e;
    const bool angewendet = lies_port_einstellungen(einstellungstext, e) && port_->konfiguriere(e);
    setze_timeouts(300);
    // A port whose settings fail stays open, as the handle of the original
    // open call does; the caller is told it is not usable.
    if (!angewendet) letzter_fehler_ = {port_fehler::einstellung, letzter_fehler_.pfad, einstellungstext};
    return angewendet;
}

void RSCOM::setze_timeouts(uint32_t konstante) {
    if (!port_) return;
    port_->setze_timeouts({1, 1, konstante, 10, konstante});
}

void RSCOM::schliesse_port() {
    port_.reset();
    name_.clear();
}

void RSCOM::verloren() {
    letzter_fehler_ = {port_fehler::verschwunden, anbieter_->pfad_von(name_), ""};
    const std::string name = name_;
    schliesse_port();
    const std::string schluessel = letzter_fehler_.pfad + '#' + std::to_string(static_cast<int>(port_fehler::verschwunden));
    if (gemeldet_.insert(schluessel).second) meldung(port_fehlertext(letzter_fehler_, name), "M", 'W');
}

void RSCOM::setze_dtr(int pegel) {
    if (port_ && !port_->setze_dtr(pegel != 0)) verloren();
}

void RSCOM::setze_rts(int pegel) {
    if (port_ && !port_->setze_rts(pegel != 0)) verloren();
}

void RSCOM::setze_txd(int pegel) {
    if (port_ && !port_->setze_break(pegel != 0)) verloren();
}

int RSCOM::lese_bit(uint32_t bit) {
    if (!port_) return 0;
    uint32_t status = 0;
    if (!port_->modemstatus(status)) {
        verloren();
        return 0;
    }
    return (status & bit) != 0 ? 1 : 0;
}

int RSCOM::lese_cts() { return lese_bit(MODEM_CTS); }
int RSCOM::lese_dsr() { return lese_bit(MODEM_DSR); }
int RSCOM::lese_ri() { return lese_bit(MODEM_RI); }
int RSCOM::lese_dcd() { return lese_bit(MODEM_DCD); }

void RSCOM::starte_zeitmessung() { startmarke_ = uhr_->zaehler_ms(); }

double RSCOM::zeit_ms() { return uhr_->zaehler_ms() - startmarke_; }

void RSCOM::warte_bis_ms(double ms) { uhr_->warte_bis(startmarke_ + ms); }

void RSCOM::warte_s(double sekunden) {
    const double start = uhr_->jetzt().sekunden_des_tages();
    auto vergangen = [&] {
        double d = uhr_->jetzt().sekunden_des_tages() - start;
        // Past midnight the time of day starts again at 0.
        if (d < 0) d += 86400.0;
        return d;
    };
    uhr_->warte_bis(uhr_->zaehler_ms() + sekunden * 1000.0);
    while (vergangen() <= sekunden) uhr_->leerlauf();
}

void RSCOM::usb_test_impuls(const std::string& signal) {
    if (usb_test_flag != 'Y') return;
    if (!oeffne_port("COM2:1200,N,8,1")) meldung(stationstexte::schnittstelle_nicht_verfuegbar.text(), "M", 'W');
    if (signal == "TA") {
        setze_dtr(0);
        setze_rts(1);
    } else if (signal == "VEL") {
        setze_dtr(0);
        setze_txd(1);
    }
    warte_s(0.1);
    setze_rts(0);
    setze_txd(0);
    schliesse_port();
}

std::string RSCOM::pfad_von_port(int32_t nummer) {
    return anbieter_->pfad_von(nummer >= 10 ? NAMENSRAUM + ("COM" + std::to_string(nummer))
                                            : "COM" + std::to_string(nummer));
}

void RSCOM::melde_oeffnungsfehler(bool auch_fehlend) {
    const port_meldung& m = letzter_fehler_;
    if (m.fehler == port_fehler::keiner) return;
    if (m.fehler == port_fehler::fehlt && !auch_fehlend) return;
    const std::string schluessel = m.pfad + '#' + std::to_string(static_cast<int>(m.fehler));
    if (!gemeldet_.insert(schluessel).second) return;
    meldung(port_fehlertext(m, versuchter_name_), "M", 'W');
}

std::string port_fehlertext(const port_meldung& m, const std::string& name) {
    using namespace stationstexte;
    const std::string anzeige = anzeigename(name);
    const std::string wo = m.pfad.empty() || m.pfad == anzeige || m.pfad == name ? anzeige : anzeige + " (" + m.pfad + ")";
    const std::string detail = m.detail.empty() ? "" : ": " + m.detail;
    switch (m.fehler) {
        case port_fehler::keiner:
            return "";
        case port_fehler::fehlt:
            return port_fehlt.text() + wo;
        case port_fehler::keine_berechtigung: {
            if (m.detail.empty()) return port_keine_berechtigung.text() + wo;
            std::string hinweis = port_gruppe_hinweis.text();
            for (const char* platzhalter : {"GRUPPE", "GROUP"}) {
                const auto p = hinweis.find(platzhalter);
                if (p != std::string::npos) hinweis.replace(p, std::char_traits<char>::length(platzhalter), m.detail);
            }
            return port_keine_berechtigung.text() + wo + port_gruppe.text() + m.detail + hinweis;
        }
        case port_fehler::belegt:
            return port_belegt.text() + wo + detail;
        case port_fehler::einstellung:
            return port_einstellung.text() + wo + detail;
        case port_fehler::verschwunden:
            return port_verschwunden.text() + wo + detail;
        case port_fehler::sonstiger:
            return port_sonstiger.text() + wo + detail;
    }
    return "";
}

RSCOM& rscom() {
    static RSCOM modul(system_ports(), systemuhr());
    return modul;
}
