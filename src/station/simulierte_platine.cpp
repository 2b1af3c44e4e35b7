#include "station/simulierte_platine.h"

#include <algorithm>

#include "station/schnittstelle.h"

simulierte_platine::simulierte_platine(char geraet, uhr& zeit) : geraet_(geraet), zeit_(&zeit) {
    switch (geraet) {
        case 'W': ident_dcd_ = true; ident_dsr_ = false; break;
        case 'S': ident_dcd_ = false; ident_dsr_ = false; break;
        case 'V': ident_dcd_ = true; ident_dsr_ = true; break;
        case 'A': ident_dcd_ = false; ident_dsr_ = true; break;
        default: break;
    }
    integrator_zeit_ = jetzt();
}

void simulierte_platine::setze_ft232rl(bool ja) {
    ft232rl_ = ja;
    setze_pins();
}

void simulierte_platine::bestuecke_dac(dac_typ typ, double maximalstrom, double maximalspannung) {
    switch (typ) {
        case dac_typ::AD7303: dac_ = std::make_unique<ad7303>(); break;
        case dac_typ::AD7304: dac_ = std::make_unique<ad7304>(); break;
        case dac_typ::MCP4802: dac_ = std::make_unique<mcp4802>(); break;
    }
    // The AD7303 frames its word with SYNC low while TXD is in the break
    // state; its board has an inverter on the frame line.
    rahmen_invertiert_ = typ == dac_typ::AD7303;
    maximalstrom_ = maximalstrom;
    maximalspannung_ = maximalspannung;
    setze_pins();
}

void simulierte_platine::bestuecke_adc(int modus) {
    adc_modus_ = modus;
    adc8_einstrahlung_.reset();
    adc8_temperatur_.reset();
    adc10_.reset();
    if (modus == 1) {
        adc8_einstrahlung_ = std::make_unique<adc_8bit>([this] { return wandle(adc8_i_, 255); });
        adc8_temperatur_ = std::make_unique<adc_8bit>([this] { return wandle(adc8_t_, 255); });
    } else if (modus == 2) {
        adc10_ = std::make_unique<adc_10bit>([this](int adresse) {
            const auto it = kanaele_.find(adresse);
            return wandle(it == kanaele_.end() ? 0 : it->second, 1023);
        });
    }
    setze_pins();
}

void simulierte_platine::setze_kanal(int adresse, int32_t rohwert) { kanaele_[adresse] = rohwert; }

void simulierte_platine::setze_adc8(char typ, int32_t rohwert) { (typ == 'T' ? adc8_t_ : adc8_i_) = rohwert; }

void simulierte_platine::setze_einstrahlung(double anteil) {
    aktualisiere_integrator();
    anteil_ = std::max(0.0, anteil);
}

void simulierte_platine::setze_ladezeit_ms(double ms) { ladezeit_ms_ = ms; }

void simulierte_platine::setze_wandlungsfolge(std::deque<int32_t> werte) { folge_ = std::move(werte); }

void simulierte_platine::setze_rauschen(int32_t amplitude, uint32_t startwert) {
    rauschen_ = std::max(0, amplitude);
    zufall_.seed(startwert);
}

void simulierte_platine::setze_einschwingzeit_ms(double ms) { einschwingzeit_ = ms; }

int32_t simulierte_platine::wandle(int32_t wert, int32_t maximum) {
    int32_t w = wert;
    if (!folge_.empty()) {
        w = folge_.front();
        folge_.pop_front();
    } else if (rauschen_ > 0) {
        w += std::uniform_int_distribution<int32_t>(-rauschen_, rauschen_)(zufall_);
    }
    return std::clamp(w, 0, maximum);
}

int32_t simulierte_platine::adc_wandlungen() const {
    int32_t n = 0;
    if (adc10_) n += adc10_->wandlungen();
    if (adc8_einstrahlung_) n += adc8_einstrahlung_->wandlungen();
    if (adc8_temperatur_) n += adc8_temperatur_->wandlungen();
    return n;
}

double simulierte_platine::strom_mA() const {
    if (!dac_) return 0.0;
    return dac_->ausgangsspannung(dac_->stromkanal()) / dac_->vollausschlag() * maximalstrom_;
}

double simulierte_platine::spannung_V() const {
    if (!dac_) return 0.0;
    return dac_->ausgangsspannung(dac_->spannungskanal()) / dac_->vollausschlag() * maximalspannung_;
}

// Mode 0 irradiation: a charge-balancing integrator. While the sensor is on
// (TXD in the break state) the photo current charges it by `anteil` per
// 0.5 ms; DTR low switches on a discharge of 1 per 0.5 ms; the comparator
// (DSR) reads 1 from a charge of 1 on.
void simulierte_platine::aktualisiere_integrator() {
    const double t = jetzt();
    if (adc_modus_ == 0 && txd_ != ft232rl_) {
        const bool entladen = dtr_ == ft232rl_;  // DTR pin low
        integrator_ += (anteil_ - (entladen ? 1.0 : 0.0)) * (t - integrator_zeit_) / 0.5;
        // The capacitor's voltage stays between ground and the supply.
        integrator_ = std::clamp(integrator_, 0.0, 2.0);
    }
    integrator_zeit_ = t;
}

void simulierte_platine::leitungen(bool dtr, bool rts, bool txd) {
    if (dtr == dtr_ && rts == rts_ && txd == txd_) return;
    aktualisiere_integrator();
    const bool txd_vorher = txd_ != ft232rl_;
    dtr_ = dtr;
    rts_ = rts;
    txd_ = txd;
    if (aufzeichnen_) spur_.push_back({jetzt(), dtr, rts, txd});
    if (adc_modus_ == 0 && !txd_vorher && (txd_ != ft232rl_)) {
        // Sensors switched on: the integrator starts empty, the snow sensor
        // starts charging.
        integrator_ = 0.0;
        laden_ab_ = jetzt();
    }
    setze_pins();
}

void simulierte_platine::setze_pins() {
    // Levels at the board's pins: an FT232RL inverts its outputs.
    const bool dtr = dtr_ != ft232rl_;
    const bool rts = rts_ != ft232rl_;
    const bool txd = txd_ != ft232rl_;
    if (dac_) dac_->pins(rahmen_invertiert_ ? !txd : txd, rts, dtr);
    if (adc8_einstrahlung_) adc8_einstrahlung_->pins(dtr, rts);
    if (adc8_temperatur_) adc8_temperatur_->pins(txd, rts);
    if (adc10_) {
        adc10_->pins(txd, rts, dtr);
        const int neu = std::max(0, adc10_->ausgang());
        if (neu != ri_neu_) {
            // What the line shows now becomes the old level of the change.
            ri_alt_ = jetzt() - ri_wechsel_ < einschwingzeit_ ? ri_alt_ : ri_neu_;
            ri_neu_ = neu;
            ri_wechsel_ = jetzt();
        }
    }
}

uint32_t simulierte_platine::modemstatus() {
    aktualisiere_integrator();
    const bool txd = txd_ != ft232rl_;
    bool dcd = ident_dcd_, dsr = ident_dsr_, ri = false;
    if (adc_modus_ == 0 && txd) {
        dsr = integrator_ >= 1.0;
        if (jetzt() - laden_ab_ < ladezeit_ms_) dcd = false;
    }
    if (adc8_einstrahlung_ && adc8_einstrahlung_->ausgang() >= 0) dcd = adc8_einstrahlung_->ausgang() == 1;
    if (adc8_temperatur_ && adc8_temperatur_->ausgang() >= 0) ri = adc8_temperatur_->ausgang() == 1;
    if (adc10_) ri = (jetzt() - ri_wechsel_ < einschwingzeit_ ? ri_alt_ : ri_neu_) == 1;
    uint32_t bits = 0;
    if (dcd) bits |= MODEM_DCD;
    if (dsr) bits |= MODEM_DSR;
    if (ri) bits |= MODEM_RI;
    return bits;
}
