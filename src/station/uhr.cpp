#include "station/uhr.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <thread>

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
int64_t tage_seit_1970(int64_t j, int64_t m, int64_t t) {
    j -= m <= 2;
    const int64_t era = (j >= 0 ? j : j - 399) / 400;
    const int64_t yoe = j - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + t - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void datum_aus_tagen(int64_t z, int32_t& j, int32_t& m, int32_t& t) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    t = static_cast<int32_t>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int32_t>(mp < 10 ? mp + 3 : mp - 9);
    j = static_cast<int32_t>(yoe + era * 400 + (m <= 2));
}

}  // namespace

// --- real clock -------------------------------------------------------------

double echte_uhr::zaehler_ms() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

void echte_uhr::warte_bis(double ziel_ms) {
    // Sleep while more than 2 ms remain (the scheduler's wake-up is late by
    // well under that), then spin to the exact moment.
    for (double rest = ziel_ms - zaehler_ms(); rest > 2.0; rest = ziel_ms - zaehler_ms()) {
        std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(rest - 1.5));
    }
    while (zaehler_ms() < ziel_ms) {
    }
}

void echte_uhr::warte_auf_messung(double ziel_ms, const std::function<bool()>& vorzeitig) {
    if (!vorzeitig) {
        warte_bis(ziel_ms);
        return;
    }
    constexpr double SCHEIBE_MS = 500.0;
    for (double rest = ziel_ms - zaehler_ms(); rest > 0.0; rest = ziel_ms - zaehler_ms()) {
        if (vorzeitig()) return;
        warte_bis(zaehler_ms() + std::min(rest, SCHEIBE_MS));
    }
}

void echte_uhr::leerlauf() {}

datum_uhrzeit echte_uhr::jetzt() {
    using namespace std::chrono;
    const auto jetzt = system_clock::now();
    const std::time_t t = system_clock::to_time_t(jetzt);
    std::tm lokal{};
#ifdef _WIN32
    localtime_s(&lokal, &t);
#else
    localtime_r(&t, &lokal);
#endif
    const double sekunden = duration<double>(jetzt.time_since_epoch()).count();
    const double bruch = sekunden - std::floor(sekunden);
    return {lokal.tm_year + 1900, lokal.tm_mon + 1, lokal.tm_mday, lokal.tm_hour, lokal.tm_min,
            lokal.tm_sec + bruch};
}

uhr& systemuhr() {
    static echte_uhr u;
    return u;
}

// --- simulated clock --------------------------------------------------------

simulierte_uhr::simulierte_uhr(datum_uhrzeit start, double takt_ms) : takt_ms_(takt_ms > 0 ? takt_ms : 0.01) {
    const double ganz = std::floor(start.sekunde);
    start_s_ = tage_seit_1970(start.jahr, start.monat, start.tag) * 86400 + start.stunde * 3600 +
               start.minute * 60 + static_cast<int64_t>(ganz);
    start_bruch_ = start.sekunde - ganz;
}

datum_uhrzeit simulierte_uhr::standard_start() { return {2024, 6, 21, 12, 0, 0.0}; }

void simulierte_uhr::warte_bis(double ziel_ms) {
    if (ziel_ms > ms_) ms_ = ziel_ms;
}

void simulierte_uhr::vorstellen(double ms) {
    if (ms > 0) ms_ += ms;
}

datum_uhrzeit simulierte_uhr::jetzt() {
    const double s = start_bruch_ + ms_ / 1000.0;
    const double ganz = std::floor(s);
    const int64_t gesamt = start_s_ + static_cast<int64_t>(ganz);
    int64_t tage = gesamt / 86400;
    int64_t rest = gesamt % 86400;
    if (rest < 0) {
        rest += 86400;
        --tage;
    }
    datum_uhrzeit d;
    datum_aus_tagen(tage, d.jahr, d.monat, d.tag);
    d.stunde = static_cast<int32_t>(rest / 3600);
    d.minute = static_cast<int32_t>(rest % 3600 / 60);
    d.sekunde = static_cast<double>(rest % 60) + (s - ganz);
    return d;
}

// --- fast clock ---------------------------------------------------------------

void schnelle_uhr::warte_auf_messung(double ziel_ms, const std::function<bool()>&) {
    const datum_uhrzeit t = jetzt();
    const double bis_zur_stunde_ms = (3600.0 - (t.minute * 60.0 + t.sekunde)) * 1000.0;
    warte_bis(std::max(ziel_ms, zaehler_ms() + bis_zur_stunde_ms));
}
