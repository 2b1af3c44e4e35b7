#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "station/steuerwort.h"

namespace {

// Positions 16 down to 1 as a string of digits.
std::string von_oben(const steuer_vektor& s, int hoechste = 16) {
    std::string r;
    for (int p = hoechste; p >= 1; --p) r += static_cast<char>('0' + s[static_cast<size_t>(p)]);
    return r;
}

}  // namespace

TEST(Steuerwort, DacCodeRundetHalbeZurGeradenUndBleibtImAchtBitBereich) {
    struct fall {
        double wert, maximum;
        int32_t code;
    };
    const fall faelle[] = {
        {10.0, 10.0, 255},                // full scale
        {5.0, 10.0, 128},                 // 127.5 -> 128 (even)
        {1.5 / 255.0 * 20.0, 20.0, 2},    // 1.5 -> 2
        {2.5 / 255.0 * 20.0, 20.0, 2},    // 2.5 -> 2
        {0.0, 10.0, 0},
        {12.0, 10.0, 255},                // above the maximum: held at full scale
        {-1.0, 10.0, 0},                  // below zero: 0
        {3.0, 0.0, 0},                    // no maximum
        {std::numeric_limits<double>::quiet_NaN(), 10.0, 0},
    };
    for (const fall& f : faelle) {
        SCOPED_TRACE(std::to_string(f.wert) + " / " + std::to_string(f.maximum));
        EXPECT_EQ(dac_code(f.wert, f.maximum), f.code);
    }
}

TEST(Steuerwort, BitsStehenNiedrigstwertigZuerstInPosition1) {
    const bin_vektor b = zahl_zu_bits(0xA5, 16);  // 1010 0101
    EXPECT_EQ(von_oben(b), "0000000010100101");
    EXPECT_EQ(bits_zu_zahl(b, 16), 0xA5);
    EXPECT_EQ(bits_zu_zahl(zahl_zu_bits(1023, 10), 10), 1023);
    EXPECT_EQ(bits_zu_zahl(zahl_zu_bits(1023, 8), 8), 255);  // only `count` bits
}

TEST(Steuerwort, WorteDerDreiChipsFuerBeideKanaele) {
    const bin_vektor d = zahl_zu_bits(0xA5, 16);
    struct fall {
        const char* chip;
        vdata kanal;
        const char* wort;  // from the highest used position down
    };
    const fall faelle[] = {
        {"AD7303", vdata::v_sp, "0000001110100101"},
        {"AD7303", vdata::a_st, "0000011110100101"},
        {"AD7304", vdata::v_sp, "110010100101"},
        {"AD7304", vdata::a_st, "111110100101"},
        {"MCP4802", vdata::v_sp, "0101101001010000"},
        {"MCP4802", vdata::a_st, "1101101001010000"},
    };
    for (const fall& f : faelle) {
        SCOPED_TRACE(std::string(f.chip) + (f.kanal == vdata::a_st ? " current" : " voltage"));
        steuer_vektor s{};
        const std::string chip = f.chip;
        if (chip == "AD7303") erzeuge_steuersignal(d, s, f.kanal, "DAC");
        else if (chip == "AD7304") erzeuge_steuersignal_AD7304(d, s, f.kanal, "DAC");
        else erzeuge_steuersignal_mcp4802(d, s, f.kanal, "DAC");
        const int hoechste = chip == "AD7304" ? 12 : 16;
        EXPECT_EQ(von_oben(s, hoechste), f.wort);
        for (int p = hoechste + 1; p <= 16; ++p) EXPECT_EQ(s[static_cast<size_t>(p)], 0) << p;
    }

    // The AD7303 word for the voltage channel with value 255; with action
    // "in" the update bit (position 10) is cleared.
    steuer_vektor s{};
    erzeuge_steuersignal(zahl_zu_bits(255, 16), s, vdata::v_sp, "DAC");
    EXPECT_EQ(von_oben(s), "0000001111111111");
    erzeuge_steuersignal(zahl_zu_bits(255, 16), s, vdata::v_sp, "in");
    EXPECT_EQ(von_oben(s), "0000000111111111");
}

TEST(Steuerwort, PegelInversionUndIdentitaeten) {
    // FT232RL (index 0, and any index but 1) inverts, the breakout kit not.
    EXPECT_EQ(inversion_fuer_adapter(USB_FT232RL), 1);
    EXPECT_EQ(inversion_fuer_adapter(USB_BAUSATZ_BREAKOUT), 0);
    EXPECT_EQ(inversion_fuer_adapter(2), 1);
    EXPECT_EQ(pegel(0, 1), 1);
    EXPECT_EQ(pegel(1, 1), 0);
    EXPECT_EQ(pegel(1, 0), 1);

    struct fall {
        char geraet;
        int dcd, dsr;
    };
    for (const fall& f : {fall{'W', 1, 0}, fall{'S', 0, 0}, fall{'V', 1, 1}, fall{'A', 0, 1}}) {
        dat_int_4 ident{7, 7, 7, 7};
        belege_ident(ident, f.geraet);
        EXPECT_EQ(ident[0], f.dcd) << f.geraet;
        EXPECT_EQ(ident[1], f.dsr) << f.geraet;
    }
    dat_int_4 ident{7, 7, 7, 7};
    belege_ident(ident, 'X');
    EXPECT_EQ(ident[0], 7);  // unknown letters leave it as it is
}
