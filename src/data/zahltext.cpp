#include "data/zahltext.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

std::string ohne_raender(const std::string& s) {
    const auto a = s.find_first_not_of(" \t");
    if (a == std::string::npos) return {};
    return s.substr(a, s.find_last_not_of(" \t") - a + 1);
}

std::optional<double> lies_zahl(const std::string& text) {
    std::string t = ohne_raender(text);
    if (t.empty()) return std::nullopt;
    if (t.find('.') == std::string::npos) std::replace(t.begin(), t.end(), ',', '.');
    char* ende = nullptr;
    const double d = std::strtod(t.c_str(), &ende);
    if (ende != t.c_str() + t.size() || !std::isfinite(d)) return std::nullopt;
    return d;
}

std::optional<int32_t> lies_ganzzahl(const std::string& text) {
    const std::string t = ohne_raender(text);
    if (t.empty()) return std::nullopt;
    char* ende = nullptr;
    const long long v = std::strtoll(t.c_str(), &ende, 10);
    if (ende != t.c_str() + t.size() || v < INT32_MIN || v > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(v);
}
