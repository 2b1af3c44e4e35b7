#include "station/steuerwort.h"

#include <cmath>

bin_vektor zahl_zu_bits(int64_t zahl, int anzahl) {
    bin_vektor b{};
    for (int p = 1; p <= anzahl && p <= 16; ++p) b[static_cast<size_t>(p)] = static_cast<int32_t>((zahl >> (p - 1)) & 1);
    return b;
}

int64_t bits_zu_zahl(const bin_vektor& bits, int anzahl) {
    int64_t summe = 0;
    for (int p = 1; p <= anzahl && p <= 16; ++p) summe += static_cast<int64_t>(bits[static_cast<size_t>(p)]) << (p - 1);
    return summe;
}

int pegel(int logisch, int invertiert) { return invertiert == 1 ? 1 - logisch : logisch; }

int inversion_fuer_adapter(int usb_index) { return usb_index == USB_BAUSATZ_BREAKOUT ? 0 : 1; }

void belege_ident(dat_int_4& check_ident, char geraet) {
    switch (geraet) {
        case 'W': check_ident[0] = 1; check_ident[1] = 0; break;
        case 'S': check_ident[0] = 0; check_ident[1] = 0; break;
        case 'V': check_ident[0] = 1; check_ident[1] = 1; break;
        case 'A': check_ident[0] = 0; check_ident[1] = 1; break;
        default: break;
    }
}

void erzeuge_steuersignal(const bin_vektor& d, steuer_vektor& s, vdata kanal, const std::string& action) {
    s = {};
    for (int p = 1; p <= 8; ++p) s[static_cast<size_t>(p)] = d[static_cast<size_t>(p)];
    s[9] = 1;                                  // CR0
    s[10] = action == "in" ? 0 : 1;            // CR1: 1 updates the DAC register
    s[11] = kanal == vdata::a_st ? 1 : 0;      // A/B: current on DAC B
    // 12..16: PDA, PDB, LDAC, don't care, internal reference: all 0
}

void erzeuge_steuersignal_AD7304(const bin_vektor& d, steuer_vektor& s, vdata kanal, const std::string&) {
    s = {};
    for (int p = 1; p <= 8; ++p) s[static_cast<size_t>(p)] = d[static_cast<size_t>(p)];
    const int ch = kanal == vdata::a_st ? 1 : 0;
    s[9] = ch;
    s[10] = ch;
    s[11] = 1;
    s[12] = 1;
}

void erzeuge_steuersignal_mcp4802(const bin_vektor& d, steuer_vektor& s, vdata kanal, const std::string&) {
    s = {};
    for (int p = 1; p <= 8; ++p) s[static_cast<size_t>(p) + 4] = d[static_cast<size_t>(p)];
    s[13] = 1;                              // active (not shut down)
    s[14] = 0;                              // gain 2x
    s[15] = 1;                              // don't care
    s[16] = kanal == vdata::a_st ? 1 : 0;   // DAC B for the current
}

int32_t dac_code(double wert, double maximum) {
    if (!(maximum > 0.0)) return 0;
    const double n = std::nearbyint(255.0 * wert / maximum);
    if (!(n > 0.0)) return 0;  // also NaN
    return n >= 255.0 ? 255 : static_cast<int32_t>(n);
}
