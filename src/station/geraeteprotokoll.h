#pragma once
// The device protocol of the weather station window: device identities and
// port discovery, the ADC readings of the station, the DAC control words and
// their transmission, and `anlagensteuerung_neu`, through which the rest of
// the program sets a current or a voltage on a device.
//
// Every exchange is bit-banged over the modem lines of the port module; all
// waits are the port module's timer waits.

#include <array>
#include <cstdint>
#include <string>

#include "station/RSCOM.h"
#include "station/steuerwort.h"

struct anlage;
struct ssq;

// Answer to the no-device dialog (buttons Abort, Retry, Ignore).
enum class dialog_antwort { abbrechen, wiederholen, ignorieren };

class geraete_dialog {
public:
    virtual ~geraete_dialog() = default;
    virtual dialog_antwort frage(const std::string& text) = 0;
};

// Settings of the station window that the protocol reads.
struct stationseinstellungen {
    int usb_adapter = USB_FT232RL;  // RadioGroupUSB: 0 "FT232RL", 1 "Bausatz-Breakout"
    std::string dac = "AD7303";     // RadioGroupDAC: "AD7303", "AD7304", "MCP4802"
    bool adc_8bit = false;          // CheckBox2 "x = 8 bit ADC - Wandler"
    bool adc_10bit = false;         // CheckBox3 "x = 10 bit ADC - Wandler"
    // Port fields: Edit37 weather station, Edit38 pump, Edit47 fan, Edit48
    // sensors (a port number or "leer"/"empty").
    std::array<std::string, 4> com_felder{"0", "0", "0", "0"};
};

// Device letters in discovery order and their window fields.
constexpr std::array<char, 4> GERAETE{'W', 'S', 'V', 'A'};

class geraeteprotokoll {
public:
    // Without a dialog the no-device question is shown as a warning and
    // answered with Ignore.
    geraeteprotokoll(RSCOM& port, stationseinstellungen& einstellungen, geraete_dialog* dialog = nullptr);

    // ADC mode of the check boxes: 1 for 8 bit, else 2 for 10 bit, else 0.
    int adc_modus() const;

    // --- lines --------------------------------------------------------------
    // Opens "COM<port>:1200,N,8,1"; a port that does not open is reported.
    bool teste_schnittstelle(const std::string& port);
    // Restarts the timer and waits `ms`.
    void wait(double ms);
    void usb_ausgang(usbdata linie, int pegel);
    double usb_eingang(usbdata linie);
    // Chip select of an ADC: TXD for type 'T', DTR otherwise.
    void setze_cs(int pegel, char typ);
    // Data line of an ADC: RI for 'T', CTS for 'E', DCD otherwise.
    int lese_datenleitung(char typ);

    // --- ADC readings ---------------------------------------------------------
    int32_t lese_ADC(int aufloesung, char typ);
    int32_t lese_ADC_10_port(int aufloesung, const dat_int_4& address, int flag);
    double WS_lese_irradiation(int mode);
    long double WS_lese_temperatur(int mode, int imesswert);
    long double WS_lese_feuchte(int mode);
    double WS_lese_beschlagen(usbdata eingang, usbdata ausgang, int mode);

    // --- discovery --------------------------------------------------------------
    // Scans COM2..COM100 for the identity; the highest matching port wins.
    // Without one the no-device dialog decides: Retry scans again.
    bool finde_com(int32_t& port, const dat_int_4& ident);
    // The no-device dialog; true means "scan again".
    bool repeat_com(bool& gefunden);
    // Ports and no-connection marks of all four devices; the window fields
    // show the port numbers or "leer".
    void com_fuer_wetterstation(anlage& a);
    // Port numbers from the window fields ("leer"/"empty" gives 0).
    void besetze_com(anlage& a);

    // --- DAC output ---------------------------------------------------------------
    // Sets the current (`ivflag` 'I') or the voltage channel of device
    // `geraet` from `quelle`; the DAC type is the source's unless `testmodus`
    // is not 'N'. Nothing is sent while the plant's pump board is marked as
    // not connected.
    void anlagensteuerung_neu(double strom, double spannung, const ssq& quelle, char ivflag, char geraet,
                              char testmodus, const anlage& a);
    void sende_steuersignal(const steuer_vektor& steuersignal_digital, char geraet);
    void sende_steuersignal_AD7304(const steuer_vektor& steuersignal_digital, vdata kanal, char geraet);
    void sende_steuersignal_MCP4802(const steuer_vektor& steuersignal_digital, char geraet);

    RSCOM& port() { return port_; }
    stationseinstellungen& einstellungen() { return e_; }
    geraete_dialog* dialog() const { return dialog_; }
    void setze_dialog(geraete_dialog* dialog) { dialog_ = dialog; }

private:
    int entprellt_ri(double halbperiode);
    int32_t wandlung_10(int n, const dat_int_4& address, int flag, double halbperiode);
    // Discovers and opens the port of a device; true when it opened.
    bool oeffne_geraet(char geraet);
    int L(int logisch) const;

    RSCOM& port_;
    stationseinstellungen& e_;
    geraete_dialog* dialog_;
};

// Channel address of a temperature sensor of the sensor list (3..9).
dat_int_4 temperatur_adresse(int imesswert);
