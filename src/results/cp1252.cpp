#include "results/cp1252.h"

#include <array>
#include <cstdint>

namespace {

// Code points of the bytes 0x80..0x9F; the undefined ones keep their number.
constexpr std::array<char32_t, 32> obere_steuerzeichen{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t zeichen_von_byte(unsigned char b) {
    if (b >= 0x80 && b <= 0x9F) return obere_steuerzeichen[b - 0x80];
    return b;
}

// Byte of a code point, or -1 when Windows-1252 has none.
int byte_von_zeichen(char32_t z) {
    if (z < 0x80 || (z >= 0xA0 && z <= 0xFF)) return static_cast<int>(z);
    for (int i = 0; i < 32; ++i)
        if (obere_steuerzeichen[i] == z) return 0x80 + i;
    return -1;
}

void haenge_utf8_an(std::string& s, char32_t z) {
    if (z < 0x80) {
        s += static_cast<char>(z);
    } else if (z < 0x800) {
        s += static_cast<char>(0xC0 | (z >> 6));
        s += static_cast<char>(0x80 | (z & 0x3F));
    } else {
        s += static_cast<char>(0xE0 | (z >> 12));
        s += static_cast<char>(0x80 | ((z >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (z & 0x3F));
    }
}

}  // namespace

std::string utf8_nach_cp1252(std::string_view utf8) {
    std::string aus;
    aus.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            aus += static_cast<char>(b);
            ++i;
            continue;
        }
        int folge = 0;
        char32_t z = 0;
        if ((b & 0xE0) == 0xC0) {
            folge = 1;
            z = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            folge = 2;
            z = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            folge = 3;
            z = b & 0x07;
        } else {
            aus += '?';
            ++i;
            continue;
        }
        bool gueltig = i + static_cast<std::size_t>(folge) < utf8.size();
        for (int k = 1; gueltig && k <= folge; ++k) {
            const auto f = static_cast<unsigned char>(utf8[i + k]);
            if ((f & 0xC0) != 0x80) gueltig = false;
            else z = (z << 6) | (f & 0x3F);
        }
        // Overlong forms are refused so that no control byte sneaks in.
        constexpr char32_t kleinster[] = {0, 0x80, 0x800, 0x10000};
        if (gueltig && z < kleinster[folge]) gueltig = false;
        if (!gueltig) {
            aus += '?';
            ++i;
            continue;
        }
        const int byte = byte_von_zeichen(z);
        aus += byte < 0 ? '?' : static_cast<char>(byte);
        i += static_cast<std::size_t>(folge) + 1;
    }
    return aus;
}

std::string cp1252_nach_utf8(std::string_view cp1252) {
    std::string aus;
    aus.reserve(cp1252.size() + cp1252.size() / 4);
    for (const char c : cp1252) haenge_utf8_an(aus, zeichen_von_byte(static_cast<unsigned char>(c)));
    return aus;
}
