#include "station/geraeteprotokoll.h"

#include <cmath>
#include <cstdlib>

#include "engine/WP_variables.h"
#include "lang/meldung.h"
#include "lang/stationstexte.h"

namespace {

constexpr int32_t LETZTER_PORT = 100;
// Half clock period of the 10-bit ADC.
constexpr double HALBPERIODE_10BIT = 100.0;

}  // namespace

geraeteprotokoll::geraeteprotokoll(RSCOM& port, stationseinstellungen& einstellungen, geraete_dialog* dialog)
    : port_(port), e_(einstellungen), dialog_(dialog) {}

int geraeteprotokoll::adc_modus() const { return e_.adc_8bit ? 1 : e_.adc_10bit ? 2 : 0; }

// --- lines ------------------------------------------------------------------

bool geraeteprotokoll::teste_schnittstelle(const std::string& port) {
    if (port_.oeffne_port("COM" + port + ":1200,N,8,1")) return true;
    // A port asked for by number that does not open is named with its
    // device path and the reason, once until it opens again.
    if (std::atoi(port.c_str()) >= 1) port_.melde_oeffnungsfehler(true);
    return false;
}

void geraeteprotokoll::wait(double ms) {
    port_.starte_zeitmessung();
    port_.warte_bis_ms(ms);
}

void geraeteprotokoll::usb_ausgang(usbdata linie, int pegel) {
    switch (linie) {
        case usbdata::vrts: port_.setze_rts(pegel); break;
        case usbdata::vdtr: port_.setze_dtr(pegel); break;
        case usbdata::vtxd: port_.setze_txd(pegel); break;
        default: break;
    }
}

double geraeteprotokoll::usb_eingang(usbdata linie) {
    switch (linie) {
        case usbdata::vcts: return port_.lese_cts();
        case usbdata::vdcd: return port_.lese_dcd();
        case usbdata::vdsr: return port_.lese_dsr();
        case usbdata::vri: return port_.lese_ri();
        default: return 0.0;
    }
}

void geraeteprotokoll::setze_cs(int pegel, char typ) {
    usb_ausgang(typ == 'T' ? usbdata::vtxd : usbdata::vdtr, pegel);
}

int geraeteprotokoll::lese_datenleitung(char typ) {
    if (typ == 'T') return port_.lese_ri();
    if (typ == 'E') return port_.lese_cts();
    return port_.lese_dcd();
}

// --- ADC readings -------------------------------------------------------------

int32_t geraeteprotokoll::lese_ADC(int aufloesung, char typ) {
    // The converter puts out the result of its previous conversion: the
    // second pass reads the conversion the first one started.
    int32_t wert = 0;
    for (int durchgang = 1; durchgang <= 2; ++durchgang) {
        setze_cs(0, typ);
        wait(10);
        port_.setze_txd(0);
        wert = 0;
        for (int k = 1; k <= aufloesung; ++k) {
            port_.setze_rts(1);
            if (lese_datenleitung(typ) == 1) wert |= int32_t{1} << (aufloesung - k);
            port_.setze_rts(0);
        }
        setze_cs(1, typ);
        wait(20);
    }
    return wert;
}

int geraeteprotokoll::entprellt_ri(double p) {
    int vorher = port_.lese_ri();
    wait(p);
    int jetzt = port_.lese_ri();
    while (jetzt != vorher) {
        vorher = jetzt;
        wait(p);
        jetzt = port_.lese_ri();
    }
    return jetzt;
}

int32_t geraeteprotokoll::wandlung_10(int n, const dat_int_4& a, int flag, double p) {
    port_.setze_txd(0);
    wait(p);
    int32_t wert = entprellt_ri(p) == 1 ? int32_t{1} << (n - 1) : 0;
    wait(p);
    for (int pos = 2; pos <= n; ++pos) {
        port_.setze_dtr(pos <= 5 ? a[static_cast<size_t>(pos - 2)] : (flag != 0 ? 1 : 0));
        port_.setze_rts(1);
        wait(p);
        port_.setze_rts(0);
        wait(p);
        if (entprellt_ri(p) == 1) wert |= int32_t{1} << (n - pos);
    }
    port_.setze_rts(1);
    wait(p);
    port_.setze_rts(0);
    wait(p);
    wait(p);
    port_.setze_txd(1);
    wait(p);
    return wert;
}

int32_t geraeteprotokoll::lese_ADC_10_port(int aufloesung, const dat_int_4& address, int flag) {
    const double p = HALBPERIODE_10BIT;
    port_.setze_rts(0);
    wait(p);
    port_.setze_txd(1);
    wait(10);
    int32_t A = 0, B = 0;
    do {
        // The converter puts out the previous conversion, so each conversion
        // is performed twice and the second result counts.
        for (int c = 1; c <= 2; ++c) {
            int32_t wert = 0;
            for (int mal = 1; mal <= 2; ++mal) wert = wandlung_10(aufloesung, address, flag, p);
            (c == 1 ? A : B) = wert;
        }
    } while (std::abs(A - B) / 100.0 > 0.05);
    port_.setze_dtr(0);
    return A;
}

double geraeteprotokoll::WS_lese_irradiation(int mode) {
    if (mode == 1) return lese_ADC(8, 'I');
    if (mode == 2) return lese_ADC_10_port(10, {0, 0, 0, 1}, 0);
    // Duty-cycle count: DTR discharges the sensor while its comparator (DSR)
    // is high; the share of high samples measures the irradiation.
    port_.setze_txd(1);
    port_.setze_dtr(1);
    port_.starte_zeitmessung();
    while (port_.lese_dsr() != 1 && port_.zeit_ms() < 500.0) port_.zeit().leerlauf();
    port_.starte_zeitmessung();
    int32_t anzahl = 0;
    for (int j = 1; j <= 1000; ++j) {
        if (port_.lese_dsr() == 1) {
            port_.setze_dtr(0);
            ++anzahl;
        } else {
            port_.setze_dtr(1);
        }
        port_.warte_bis_ms(j * 0.5);
    }
    return anzahl;
}

dat_int_4 temperatur_adresse(int imesswert) {
    switch (imesswert) {
        case 9: return {0, 0, 0, 1};
        case 4: return {0, 1, 0, 0};
        case 5: return {0, 1, 0, 1};
        case 6: return {0, 1, 1, 0};
        case 7: return {0, 1, 1, 1};
        default: return {0, 0, 0, 0};  // sensors 3 and 8
    }
}

long double geraeteprotokoll::WS_lese_temperatur(int mode, int imesswert) {
    if (mode == 1) return lese_ADC(8, 'T');
    if (mode == 2) return lese_ADC_10_port(10, temperatur_adresse(imesswert), 0);
    // An RTS pulse of 2001 ms; the reading is its length.
    port_.setze_rts(1);
    port_.starte_zeitmessung();
    port_.warte_bis_ms(2001.0);
    const double ms = port_.zeit_ms();
    port_.setze_rts(0);
    return ms;
}

long double geraeteprotokoll::WS_lese_feuchte(int mode) {
    // Only the 10-bit station measures humidity; other modes read 0.
    if (mode == 2) return lese_ADC_10_port(10, {0, 0, 1, 1}, 0);
    return 0.0L;
}

double geraeteprotokoll::WS_lese_beschlagen(usbdata eingang, usbdata ausgang, int mode) {
    if (mode == 2) return lese_ADC_10_port(10, {0, 0, 1, 0}, 1);
    if (mode != 0) return 0.0;  // no snow reading in 8-bit mode
    // Charge time of the snow sensor, at most 951 ms.
    usb_ausgang(ausgang, 1);
    port_.starte_zeitmessung();
    while (usb_eingang(eingang) == 0 && port_.zeit_ms() < 951.0) port_.zeit().leerlauf();
    const double ms = port_.zeit_ms();
    usb_ausgang(ausgang, 0);
    wait(951.0);
    return ms;
}

// --- discovery ------------------------------------------------------------------

bool geraeteprotokoll::finde_com(int32_t& port, const dat_int_4& ident) {
    for (;;) {
        int32_t a = 0;
        for (int32_t b = 2; b <= LETZTER_PORT; ++b) {
            if (port_.oeffne_port("COM" + std::to_string(b) + ":1200,N,8,1")) {
                if (port_.lese_dcd() == ident[0] && port_.lese_dsr() == ident[1]) a = b;
            } else {
                // A port that exists but cannot be used is worth a word.
                port_.melde_oeffnungsfehler(false);
            }
        }
        if (a > 0) {
            port = a;
            return true;
        }
        bool gefunden = false;
        if (!repeat_com(gefunden)) {
            port = 0;
            return false;
        }
    }
}

bool geraeteprotokoll::repeat_com(bool& gefunden) {
    using namespace stationstexte;
    const std::string text =
        kein_geraet.text() + std::to_string(LETZTER_PORT) + abbrechen_wiederholen_ignorieren.text();
    dialog_antwort antwort = dialog_antwort::ignorieren;
    if (dialog_) {
        antwort = dialog_->frage(text);
    } else {
        meldung(text, "M", 'W');
    }
    gefunden = false;
    switch (antwort) {
        case dialog_antwort::wiederholen:
            return true;
        case dialog_antwort::abbrechen:
            meldung(programm_beendet.text(), "M", 'M');
            return false;
        case dialog_antwort::ignorieren:
            return false;
    }
    return false;
}

namespace {

struct geraeteplatz {
    int32_t anlage::*port;
    bool anlage::*kein_anschluss;
};

geraeteplatz platz(size_t i) {
    switch (i) {
        case 0: return {&anlage::Wetterstation_com, &anlage::kein_anschluss_com_W};
        case 1: return {&anlage::Umwaelzpumpe_com, &anlage::kein_anschluss_com_U};
        case 2: return {&anlage::ventilator_com, &anlage::kein_anschluss_com_V};
        default: return {&anlage::sensoren_com, &anlage::kein_anschluss_com_S};
    }
}

}  // namespace

void geraeteprotokoll::com_fuer_wetterstation(anlage& a) {
    for (size_t i = 0; i < GERAETE.size(); ++i) {
        dat_int_4 ident{};
        belege_ident(ident, GERAETE[i]);
        const geraeteplatz g = platz(i);
        int32_t nummer = 0;
        const bool gefunden = finde_com(nummer, ident);
        a.*g.port = nummer;
        a.*g.kein_anschluss = !gefunden;
        e_.com_felder[i] = nummer > 0 ? std::to_string(nummer) : stationstexte::leer.text();
    }
}

void geraeteprotokoll::besetze_com(anlage& a) {
    for (size_t i = 0; i < GERAETE.size(); ++i) {
        const std::string& feld = e_.com_felder[i];
        int32_t nummer = 0;
        if (feld != stationstexte::leer.deutsch && feld != stationstexte::leer.englisch) {
            char* ende = nullptr;
            const long n = std::strtol(feld.c_str(), &ende, 10);
            if (ende != feld.c_str() && *ende == '\0') nummer = static_cast<int32_t>(n);
        }
        a.*platz(i).port = nummer;
    }
}

// --- DAC output -------------------------------------------------------------------

int geraeteprotokoll::L(int logisch) const { return pegel(logisch, inversion_fuer_adapter(e_.usb_adapter)); }

bool geraeteprotokoll::oeffne_geraet(char geraet) {
    dat_int_4 ident{};
    belege_ident(ident, geraet);
    int32_t nummer = 0;
    finde_com(nummer, ident);
    return teste_schnittstelle(std::to_string(nummer));
}

void geraeteprotokoll::sende_steuersignal(const steuer_vektor& s, char geraet) {
    if (oeffne_geraet(geraet)) {
        port_.setze_txd(L(0));
        wait(10);
        port_.setze_txd(L(1));
        wait(10);
        for (int pos = 16; pos >= 1; --pos) {
            port_.setze_rts(L(0));
            wait(10);
            port_.setze_dtr(L(s[static_cast<size_t>(pos)]));
            port_.setze_rts(L(1));
            wait(10);
        }
    }
    wait(100);
    port_.setze_txd(L(0));
}

void geraeteprotokoll::sende_steuersignal_MCP4802(const steuer_vektor& s, char geraet) {
    if (oeffne_geraet(geraet)) {
        port_.setze_txd(L(0));
        wait(100);
        for (int pos = 16; pos >= 1; --pos) {
            port_.setze_rts(L(0));
            wait(10);
            port_.setze_dtr(L(s[static_cast<size_t>(pos)]));
            wait(10);
            port_.setze_rts(L(1));
            wait(10);
        }
    }
    wait(10);
    port_.setze_txd(L(1));
    wait(100);
    port_.setze_txd(L(0));
}

void geraeteprotokoll::sende_steuersignal_AD7304(const steuer_vektor& s, vdata kanal, char geraet) {
    // The current word follows a voltage word on the port that one opened.
    if (kanal == vdata::v_sp && !oeffne_geraet(geraet)) {
        meldung(stationstexte::kein_com.text(), "M", 'M');
        return;
    }
    port_.setze_txd(L(1));
    port_.warte_bis_ms(10);  // from the last timer start
    wait(10);
    port_.setze_txd(L(0));
    port_.setze_rts(L(1));
    wait(10);
    for (int pos = 12; pos >= 1; --pos) {
        port_.setze_rts(L(0));
        wait(10);
        port_.setze_dtr(L(s[static_cast<size_t>(pos)]));
        port_.setze_rts(L(1));
        wait(10);
    }
    wait(100);
    port_.setze_rts(L(0));
    port_.setze_txd(L(1));
}

void geraeteprotokoll::anlagensteuerung_neu(double strom, double spannung, const ssq& quelle, char ivflag,
                                            char geraet, char testmodus, const anlage& a) {
    const std::string typ = testmodus == 'N' ? quelle.dac_typ : e_.dac;
    const vdata kanal = ivflag == 'I' ? vdata::a_st : vdata::v_sp;
    // Values beyond the maximum are held at full scale, negative ones at 0:
    // the 8-bit word cannot carry more.
    const int32_t n = kanal == vdata::a_st ? dac_code(strom, quelle.maximalstrom)
                                           : dac_code(spannung, quelle.maximalspannung);
    const bin_vektor datenbits = zahl_zu_bits(n, 16);
    if (a.kein_anschluss_com_U) return;
    steuer_vektor wort{};
    if (typ == "AD7303") {
        erzeuge_steuersignal(datenbits, wort, kanal, "DAC");
        sende_steuersignal(wort, geraet);
    } else if (typ == "AD7304") {
        erzeuge_steuersignal_AD7304(datenbits, wort, kanal, "DAC");
        sende_steuersignal_AD7304(wort, kanal, geraet);
    } else {
        erzeuge_steuersignal_mcp4802(datenbits, wort, kanal, "DAC");
        sende_steuersignal_MCP4802(wort, geraet);
    }
}
