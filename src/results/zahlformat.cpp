#include "results/zahlformat.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

void rechtsbuendig(std::string& ziel, const char* text, std::size_t laenge, int breite) {
    if (static_cast<int>(laenge) < breite) ziel.append(static_cast<std::size_t>(breite) - laenge, ' ');
    ziel.append(text, laenge);
}

}  // namespace

int feldbreite(double x) {
    if (!std::isfinite(x)) return 20;
    int n = 0;
    while (x > 1.0) {
        x /= 10.0;
        ++n;
    }
    return n > 20 ? n : 20;
}

void schreibe_zahl(std::string& ziel, double x, int nachkommastellen) {
    if (std::isnan(x)) {
        rechtsbuendig(ziel, "NAN", 3, 20);
        return;
    }
    if (std::isinf(x)) {
        if (x > 0) rechtsbuendig(ziel, "INF", 3, 20);
        else rechtsbuendig(ziel, "-INF", 4, 20);
        return;
    }
    if (x == 0.0) x = 0.0;  // no "-0"
    if (nachkommastellen < 0) nachkommastellen = 0;
    if (nachkommastellen > 20) nachkommastellen = 20;  // keeps every double within the buffer
    char puffer[400];
    if (x < 1e-8 && x != 0.0) {
        // to_chars gives "d.ddddddddddddddE-dd"; rewrite the exponent to four digits.
        // Its output is not NUL-terminated, so the exponent is parsed only up to
        // r.ptr: reading on (atoi) would take in stale bytes of the buffer.
        const auto r = std::to_chars(puffer, puffer + sizeof puffer, std::fabs(x),
                                     std::chars_format::scientific, 14);
        const char* e = static_cast<const char*>(std::memchr(puffer, 'e', static_cast<std::size_t>(r.ptr - puffer)));
        const bool negativ = e[1] == '-';
        int exponent = 0;
        std::from_chars(e + 2, r.ptr, exponent);  // e[1] is always the sign
        if (negativ) exponent = -exponent;
        char form[32];
        std::size_t k = 0;
        form[k++] = x < 0 ? '-' : ' ';
        for (const char* p = puffer; p < e; ++p) form[k++] = *p;
        form[k++] = 'E';
        form[k++] = exponent < 0 ? '-' : '+';
        int betrag = std::abs(exponent);
        for (int stelle = 3; stelle >= 0; --stelle) {
            form[k + static_cast<std::size_t>(stelle)] = static_cast<char>('0' + betrag % 10);
            betrag /= 10;
        }
        k += 4;
        ziel.append(form, k);
        return;
    }
    const auto r = std::to_chars(puffer, puffer + sizeof puffer, x, std::chars_format::fixed,
                                 nachkommastellen);
    rechtsbuendig(ziel, puffer, static_cast<std::size_t>(r.ptr - puffer), feldbreite(x));
}

std::string formatiere_zahl(double x, int nachkommastellen) {
    std::string s;
    schreibe_zahl(s, x, nachkommastellen);
    return s;
}
