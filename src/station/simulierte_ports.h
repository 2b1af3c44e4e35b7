#pragma once
// Simulated serial ports: boards plugged into port numbers answer the port
// module as adapters on those ports do. A port without a board, or with a
// board pulled out, does not exist; pulling a board out while its port is
// open makes the port stop answering.

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "station/schnittstelle.h"
#include "station/simulierte_platine.h"

class simulierte_ports : public port_anbieter {
public:
    explicit simulierte_ports(uhr& zeit) : zeit_(zeit) {}

    // Plugs a new board with the identity of `geraet` into port `nummer`
    // (replacing one that is there) and returns it.
    simulierte_platine& stecke(int32_t nummer, char geraet);
    void entferne(int32_t nummer) { platinen_.erase(nummer); }
    simulierte_platine* platine(int32_t nummer);

    std::unique_ptr<serieller_port> oeffne(const std::string& geraetename, port_meldung& fehler) override;
    std::string pfad_von(const std::string& geraetename) override;

    // Successful opens so far (every DAC write scans the ports).
    int64_t oeffnungen() const { return oeffnungen_; }

private:
    uhr& zeit_;
    std::map<int32_t, std::shared_ptr<simulierte_platine>> platinen_;
    int64_t oeffnungen_ = 0;
};

// One open simulated port.
class simulierter_port : public serieller_port {
public:
    explicit simulierter_port(std::shared_ptr<simulierte_platine> p);
    ~simulierter_port() override;
    bool konfiguriere(const port_einstellungen&) override { return p_->eingesteckt(); }
    bool setze_timeouts(const port_timeouts&) override { return p_->eingesteckt(); }
    bool setze_dtr(bool an) override { return setze(an, rts_, txd_); }
    bool setze_rts(bool an) override { return setze(dtr_, an, txd_); }
    bool setze_break(bool an) override { return setze(dtr_, rts_, an); }
    bool modemstatus(uint32_t& bits) override;

private:
    bool setze(bool dtr, bool rts, bool txd);
    std::shared_ptr<simulierte_platine> p_;
    bool dtr_ = false, rts_ = false, txd_ = false;
};

// A complete simulated installation: the weather station with the 10-bit
// ADC on COM3, the pump board (AD7303, FT232RL, 20 mA / 10 V) on COM4, the
// fan (MCP4802, FT232RL, 10 V) on COM5 and the sensor board on COM6.
void stecke_beispielanlage(simulierte_ports& ports);
