#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "results/cp1252.h"
#include "results/zahlformat.h"

TEST(Zahlformat, FestkommaWissenschaftlichUndFeldbreite) {
    struct fall {
        double x;
        std::string text;
    };
    const fall faelle[] = {
        {0.0, "        0.0000000000"},
        {-0.0, "        0.0000000000"},
        {1.0, "        1.0000000000"},
        {1.5, "        1.5000000000"},
        {1e-8, "        0.0000000100"},  // not below 1E-8: fixed point
        {123456.789, "   123456.7890000000"},
        {5e-9, " 5.00000000000000E-0009"},
        {-1.0, "-1.00000000000000E+0000"},
        {-2.5e-12, "-2.50000000000000E-0012"},
        {-1234.5, "-1.23450000000000E+0003"},
        {1e-300, " 1.00000000000000E-0300"},
        {1e22, "10000000000000000000000.0000000000"},  // wider than its field: whole
        {1e19, "10000000000000000000.0000000000"},
    };
    for (const fall& f : faelle) {
        SCOPED_TRACE(f.text);
        EXPECT_EQ(formatiere_zahl(f.x), f.text);
    }
    EXPECT_EQ(formatiere_zahl(5e-9).size(), 23u);
    EXPECT_EQ(feldbreite(0.5), 20);
    EXPECT_EQ(feldbreite(1e20), 20);
    EXPECT_EQ(feldbreite(1e22), 22);
}

TEST(Zahlformat, ExponentHaengtNichtVomVorherGeschriebenenWertAb) {
    // A long fixed-point value leaves digits in the work buffer past the end of
    // the shorter scientific text that follows; they must not reach the exponent.
    std::string z;
    schreibe_zahl(z, 1e22);
    schreibe_zahl(z, 5e-9);
    schreibe_zahl(z, 123456789012345678.0);
    schreibe_zahl(z, -1234.5);
    EXPECT_EQ(z, "10000000000000000000000.0000000000 5.00000000000000E-0009"
                 "123456789012345680.0000000000-1.23450000000000E+0003");
}

TEST(Zahlformat, NichtEndlicheWerteBleibenLesbarUndEndlich) {
    EXPECT_EQ(formatiere_zahl(std::numeric_limits<double>::quiet_NaN()), std::string(17, ' ') + "NAN");
    EXPECT_EQ(formatiere_zahl(-std::numeric_limits<double>::infinity()), std::string(16, ' ') + "-INF");
    // The largest double in fixed point is written whole (309 digits).
    EXPECT_EQ(formatiere_zahl(std::numeric_limits<double>::max()).size(), 309u + 11u);
}

TEST(Cp1252, UmlauteEinheitenUndNichtDarstellbareZeichen) {
    EXPECT_EQ(utf8_nach_cp1252("Fläche"), "Fl\xE4" "che");
    EXPECT_EQ(utf8_nach_cp1252("Außentemperatur °C"), "Au\xDF" "entemperatur \xB0" "C");
    EXPECT_EQ(utf8_nach_cp1252("€ m²"), "\x80 m\xB2");
    EXPECT_EQ(utf8_nach_cp1252("a→b"), "a?b");
    EXPECT_EQ(utf8_nach_cp1252("x\xFFy"), "x?y");           // not UTF-8
    EXPECT_EQ(utf8_nach_cp1252("x\xC0\x80y"), "x??y");      // overlong NUL
    EXPECT_EQ(utf8_nach_cp1252("x\xC3"), "x?");             // cut sequence

    const std::string alle_texte = "Jährlicher Wärmeübergang Größe € ‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ";
    EXPECT_EQ(cp1252_nach_utf8(utf8_nach_cp1252(alle_texte)), alle_texte);
    // Every byte converts and comes back.
    std::string bytes;
    for (int b = 1; b < 256; ++b) bytes += static_cast<char>(b);
    EXPECT_EQ(utf8_nach_cp1252(cp1252_nach_utf8(bytes)), bytes);
}
