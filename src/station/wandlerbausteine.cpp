#include "station/wandlerbausteine.h"

void dac_baustein::pins(bool rahmen, bool takt, bool daten) {
    if (rahmen != rahmen_) {
        rahmen_ = rahmen;
        if (rahmen) rahmen_steigt();
        else rahmen_faellt();
    }
    if (takt != takt_) {
        takt_ = takt;
        if (takt && !rahmen_) takt_steigt(daten);
    }
}

// --- AD7303 -----------------------------------------------------------------

void ad7303::rahmen_faellt() {
    aktiv_ = true;
    bits_ = 0;
    schiebe_ = 0;
}

void ad7303::rahmen_steigt() { aktiv_ = false; }

void ad7303::takt_steigt(bool daten) {
    if (!aktiv_ || bits_ >= 16) return;
    schiebe_ = (schiebe_ << 1) | (daten ? 1u : 0u);
    if (++bits_ == 16) fuehre_aus(schiebe_);
}

void ad7303::fuehre_aus(uint32_t w) {
    const int32_t daten = static_cast<int32_t>(w & 0xffu);
    const bool ldac = (w >> 13) & 1u;
    const int kanal = static_cast<int>((w >> 10) & 1u);
    const unsigned cr = (w >> 8) & 3u;
    extern_ = (w >> 15) & 1u;
    abgeschaltet_[0] = (w >> 11) & 1u;
    abgeschaltet_[1] = (w >> 12) & 1u;
    if (ldac) {
        eingang_[kanal] = daten;
        dac_[0] = eingang_[0];
        dac_[1] = eingang_[1];
    } else {
        switch (cr) {
            case 0: dac_[0] = eingang_[0]; dac_[1] = eingang_[1]; break;
            case 1: eingang_[kanal] = daten; break;
            case 2: dac_[kanal] = eingang_[kanal]; break;
            default: dac_[kanal] = daten; break;
        }
    }
    ++woerter_;
}

double ad7303::ausgangsspannung(int k) const {
    if (k < 0 || k > 1 || abgeschaltet_[k] || extern_) return 0.0;
    return 2.0 * (vdd_ / 2.0) * dac_[k] / 256.0;
}

// --- AD7304 -----------------------------------------------------------------

void ad7304::rahmen_faellt() {
    aktiv_ = true;
    bits_ = 0;
    schiebe_ = 0;
}

void ad7304::rahmen_steigt() {
    if (!aktiv_) return;
    aktiv_ = false;
    if (bits_ < 12) return;
    const uint32_t w = schiebe_ & 0xfffu;
    const int kanal = static_cast<int>((w >> 8) & 3u);
    chip_aus_ = ((w >> 11) & 1u) == 0;
    dac_aus_[kanal] = ((w >> 10) & 1u) == 0;
    dac_[kanal] = static_cast<int32_t>(w & 0xffu);
    ++woerter_;
}

void ad7304::takt_steigt(bool daten) {
    if (!aktiv_) return;
    // The register keeps the last 12 bits clocked in.
    schiebe_ = ((schiebe_ << 1) | (daten ? 1u : 0u)) & 0xfffu;
    ++bits_;
}

double ad7304::ausgangsspannung(int k) const {
    if (k < 0 || k > 3 || chip_aus_ || dac_aus_[k]) return 0.0;
    return vref_ * dac_[k] / 256.0;
}

// --- MCP4802 ----------------------------------------------------------------

void mcp4802::rahmen_faellt() {
    aktiv_ = true;
    bits_ = 0;
    schiebe_ = 0;
}

void mcp4802::rahmen_steigt() {
    if (!aktiv_) return;
    aktiv_ = false;
    if (bits_ < 16) return;
    const uint32_t w = schiebe_;
    const int kanal = static_cast<int>((w >> 15) & 1u);
    verstaerkung_2_[kanal] = ((w >> 13) & 1u) == 0;
    aktiv_kanal_[kanal] = ((w >> 12) & 1u) == 1;
    dac_[kanal] = static_cast<int32_t>((w >> 4) & 0xffu);
    ++woerter_;
}

void mcp4802::takt_steigt(bool daten) {
    if (!aktiv_ || bits_ >= 16) return;
    schiebe_ = (schiebe_ << 1) | (daten ? 1u : 0u);
    ++bits_;
}

double mcp4802::ausgangsspannung(int k) const {
    if (k < 0 || k > 1 || !aktiv_kanal_[k]) return 0.0;
    return 2.048 * (verstaerkung_2_[k] ? 2.0 : 1.0) * dac_[k] / 256.0;
}

// --- 8-bit ADC --------------------------------------------------------------

void adc_8bit::pins(bool cs, bool takt) {
    if (cs != cs_) {
        cs_ = cs;
        if (!cs) {
            register_ = ergebnis_;
            bit_ = 7;
            fallend_ = 0;
        }
        treibt_ = false;
    }
    if (takt != takt_) {
        takt_ = takt;
        if (cs_) return;
        if (takt) {
            treibt_ = true;
        } else {
            if (bit_ > 0) --bit_;
            if (++fallend_ == 8) {
                ergebnis_ = wandlung_();
                ++wandlungen_;
            }
        }
    }
}

int adc_8bit::ausgang() const { return treibt_ ? (register_ >> bit_) & 1 : -1; }

// --- 10-bit ADC -------------------------------------------------------------

void adc_10bit::pins(bool cs, bool takt, bool daten) {
    if (cs != cs_) {
        cs_ = cs;
        treibt_ = !cs;
        if (!cs) {
            register_ = ergebnis_;
            bit_ = 9;
            steigend_ = fallend_ = 0;
            neue_adresse_ = 0;
        }
    }
    if (takt != takt_) {
        takt_ = takt;
        if (cs_) return;
        if (takt) {
            if (++steigend_ <= 4) neue_adresse_ = (neue_adresse_ << 1) | (daten ? 1 : 0);
        } else {
            if (bit_ > 0) --bit_;
            if (++fallend_ == 10) {
                adresse_ = neue_adresse_;
                ergebnis_ = wandlung_(adresse_);
                ++wandlungen_;
            }
        }
    }
}

int adc_10bit::ausgang() const { return treibt_ ? (register_ >> bit_) & 1 : -1; }
