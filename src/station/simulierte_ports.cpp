#include "station/simulierte_ports.h"

simulierte_platine& simulierte_ports::stecke(int32_t nummer, char geraet) {
    auto p = std::make_shared<simulierte_platine>(geraet, zeit_);
    platinen_[nummer] = p;
    return *p;
}

simulierte_platine* simulierte_ports::platine(int32_t nummer) {
    const auto it = platinen_.find(nummer);
    return it == platinen_.end() ? nullptr : it->second.get();
}

std::unique_ptr<serieller_port> simulierte_ports::oeffne(const std::string& geraetename, port_meldung& fehler) {
    const auto it = platinen_.find(portnummer_von(geraetename));
    if (it == platinen_.end() || !it->second->eingesteckt()) {
        fehler = {port_fehler::fehlt, pfad_von(geraetename), ""};
        return nullptr;
    }
    if (it->second->offen()) {
        fehler = {port_fehler::belegt, pfad_von(geraetename), ""};
        return nullptr;
    }
    ++oeffnungen_;
    fehler = {port_fehler::keiner, pfad_von(geraetename), ""};
    return std::make_unique<simulierter_port>(it->second);
}

std::string simulierte_ports::pfad_von(const std::string& geraetename) {
    const int32_t n = portnummer_von(geraetename);
    return n > 0 ? "sim:COM" + std::to_string(n) : geraetename;
}

simulierter_port::simulierter_port(std::shared_ptr<simulierte_platine> p) : p_(std::move(p)) {
    p_->offen_ = true;
    // An adapter that is opened starts with its outputs deasserted.
    p_->leitungen(false, false, false);
}

simulierter_port::~simulierter_port() {
    p_->offen_ = false;
    // Closing deasserts the outputs again.
    if (p_->eingesteckt()) p_->leitungen(false, false, false);
}

bool simulierter_port::setze(bool dtr, bool rts, bool txd) {
    if (!p_->eingesteckt()) return false;
    dtr_ = dtr;
    rts_ = rts;
    txd_ = txd;
    p_->leitungen(dtr, rts, txd);
    return true;
}

bool simulierter_port::modemstatus(uint32_t& bits) {
    bits = 0;
    if (!p_->eingesteckt()) return false;
    bits = p_->modemstatus();
    return true;
}

void stecke_beispielanlage(simulierte_ports& ports) {
    simulierte_platine& station = ports.stecke(3, 'W');
    station.bestuecke_adc(2);
    station.setze_kanal(0, 330);  // AD22100 temperature, about 10.5 degC
    station.setze_kanal(1, 612);  // irradiation
    station.setze_kanal(2, 120);  // snow
    station.setze_kanal(3, 450);  // humidity
    simulierte_platine& pumpe = ports.stecke(4, 'S');
    pumpe.setze_ft232rl(true);
    pumpe.bestuecke_dac(dac_typ::AD7303, 20.0, 10.0);
    simulierte_platine& ventilator = ports.stecke(5, 'V');
    ventilator.setze_ft232rl(true);
    ventilator.bestuecke_dac(dac_typ::MCP4802, 0.0, 10.0);
    ports.stecke(6, 'A');
}
