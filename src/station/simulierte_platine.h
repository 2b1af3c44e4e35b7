#pragma once
// Simulated device boards behind simulated serial ports. A board is wired to
// the modem-control lines as the real boards are: it ties DCD and DSR to the
// levels of its identity, drives a DAC from DTR (data), RTS (clock) and TXD
// (frame) and answers ADC reads on the input lines. Line levels pass the
// board's USB adapter: an FT232RL inverts its outputs at the board's pins.
//
// The station board carries the sensor circuit of one ADC mode: 0 the
// duty-cycle irradiation sensor (DSR) and the charge-time snow sensor (DCD),
// 1 two 8-bit ADCs (irradiation: chip select DTR, data DCD; temperature:
// chip select TXD, data RI; clock RTS), 2 the 10-bit ADC with channel
// address (chip select TXD, clock RTS, address DTR, data RI).

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "station/uhr.h"
#include "station/wandlerbausteine.h"

enum class dac_typ { AD7303, AD7304, MCP4802 };

class simulierte_platine {
public:
    // A board with the identity of device letter 'W', 'S', 'V' or 'A'
    // (others tie both lines to 0).
    simulierte_platine(char geraet, uhr& zeit);

    char geraet() const { return geraet_; }

    // --- fitting ---------------------------------------------------------
    // USB adapter of the board: true for an FT232RL (outputs inverted at the
    // pins), false for the breakout kit.
    void setze_ft232rl(bool ja);
    // A DAC chip; full scale (code 255) stands for the maximum current (mA)
    // and the maximum voltage (V) of the board's outputs.
    void bestuecke_dac(dac_typ typ, double maximalstrom, double maximalspannung);
    // The sensor circuit of ADC mode 0, 1 or 2 (station board).
    void bestuecke_adc(int modus);

    // --- what the sensors present ------------------------------------------
    // Raw value of channel `adresse` (0..10) of the 10-bit ADC.
    void setze_kanal(int adresse, int32_t rohwert);
    // Raw value of the 8-bit ADC of type 'I' (irradiation) or 'T' (temperature).
    void setze_adc8(char typ, int32_t rohwert);
    // Mode 0: irradiation as a fraction of the sensor's full scale (above 1
    // the comparator saturates) and the charge time of the snow sensor in ms.
    void setze_einstrahlung(double anteil);
    void setze_ladezeit_ms(double ms);
    // Results of the next conversions of either ADC, in this order; after
    // them the set values apply again.
    void setze_wandlungsfolge(std::deque<int32_t> werte);
    // Each conversion deviates by a uniformly drawn whole number within
    // +-amplitude counts (0: none).
    void setze_rauschen(int32_t amplitude, uint32_t startwert = 1);
    // A changed data bit of the 10-bit ADC shows its old level for this long.
    void setze_einschwingzeit_ms(double ms);

    // --- plugging ----------------------------------------------------------
    void abziehen() { eingesteckt_ = false; }
    void einstecken() { eingesteckt_ = true; }
    bool eingesteckt() const { return eingesteckt_; }
    // A program holds the board's port.
    bool offen() const { return offen_; }

    // --- outputs -----------------------------------------------------------
    // Current and voltage that the board puts out from its DAC.
    double strom_mA() const;
    double spannung_V() const;
    const dac_baustein* dac() const { return dac_.get(); }
    int32_t adc_wandlungen() const;

    // --- line side (the simulated port) -------------------------------------
    // Levels the adapter drives (DTR, RTS, TXD break), as the program set them.
    void leitungen(bool dtr, bool rts, bool txd);
    // Modem status bits as the program reads them.
    uint32_t modemstatus();

    // Line changes with their time, when recording is on.
    struct ereignis {
        double ms;
        bool dtr, rts, txd;
    };
    void aufzeichnen(bool an) { aufzeichnen_ = an; }
    const std::vector<ereignis>& spur() const { return spur_; }

private:
    friend class simulierter_port;
    bool offen_ = false;  // a program holds the port

    void setze_pins();
    int32_t wandle(int32_t wert, int32_t maximum);
    void aktualisiere_integrator();
    double jetzt() { return zeit_->zaehler_ms(); }

    char geraet_;
    uhr* zeit_;
    bool ident_dcd_ = false, ident_dsr_ = false;
    bool ft232rl_ = false;
    bool eingesteckt_ = true;
    bool dtr_ = false, rts_ = false, txd_ = false;  // line levels

    std::unique_ptr<dac_baustein> dac_;
    bool rahmen_invertiert_ = false;
    double maximalstrom_ = 0.0, maximalspannung_ = 0.0;

    int adc_modus_ = -1;
    std::map<int, int32_t> kanaele_;
    int32_t adc8_i_ = 0, adc8_t_ = 0;
    std::unique_ptr<adc_8bit> adc8_einstrahlung_, adc8_temperatur_;
    std::unique_ptr<adc_10bit> adc10_;
    std::deque<int32_t> folge_;
    int32_t rauschen_ = 0;
    std::mt19937 zufall_;
    double einschwingzeit_ = 0.0;
    int ri_alt_ = 0, ri_neu_ = 0;
    double ri_wechsel_ = -1e300;

    // Mode 0 sensors.
    double anteil_ = 0.0, ladezeit_ms_ = 0.0;
    double integrator_ = 0.0, integrator_zeit_ = 0.0;
    double laden_ab_ = 0.0;

    bool aufzeichnen_ = false;
    std::vector<ereignis> spur_;
};
