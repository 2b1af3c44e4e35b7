#pragma once
// Clock of the device protocol and the control run: the high-resolution
// millisecond counter with its busy waits, and the local date and time of day.
//
// The protocol's timing is its waits, so the clock is an interface: the real
// clock waits in real time, the simulated clock jumps ahead at once, which
// lets tests and the simulated devices run the whole protocol without sleeping.

#include <cstdint>
#include <functional>

// Local calendar date and time of day.
struct datum_uhrzeit {
    int32_t jahr = 2000;
    int32_t monat = 1;   // 1..12
    int32_t tag = 1;     // 1..31
    int32_t stunde = 0;  // 0..23
    int32_t minute = 0;  // 0..59
    double sekunde = 0;  // 0 <= s < 60, with its fraction

    // Seconds since midnight.
    double sekunden_des_tages() const { return stunde * 3600.0 + minute * 60.0 + sekunde; }
};

class uhr {
public:
    virtual ~uhr() = default;
    // Milliseconds of the performance counter since an arbitrary origin;
    // never decreases.
    virtual double zaehler_ms() = 0;
    // Returns once the counter has reached `ziel_ms`.
    virtual void warte_bis(double ziel_ms) = 0;
    // One turn of a polling loop ("read a line until it changes or a time has
    // passed"); the simulated clock advances by its polling step here.
    virtual void leerlauf() = 0;
    // Local date and time of day now.
    virtual datum_uhrzeit jetzt() = 0;
    // The wait of a control run for its next measurement, until the counter
    // reaches `ziel_ms`; a fast clock may move on further. A clock that
    // really waits asks `vorzeitig` now and then and returns early when it
    // says so (the run was asked to stop during the wait).
    virtual void warte_auf_messung(double ziel_ms, const std::function<bool()>& vorzeitig = {}) {
        (void)vorzeitig;
        warte_bis(ziel_ms);
    }
};

// The machine's clocks: a steady clock for the counter, the system clock in
// local time for the date. Waits longer than a few milliseconds sleep until
// shortly before the target and spin the rest, so the timing of a busy wait
// is kept without holding a processor for the 16 s of a 10-bit reading.
class echte_uhr : public uhr {
public:
    double zaehler_ms() override;
    void warte_bis(double ziel_ms) override;
    void leerlauf() override;
    datum_uhrzeit jetzt() override;
    // Sleeps in slices of at most half a second between the asks.
    void warte_auf_messung(double ziel_ms, const std::function<bool()>& vorzeitig = {}) override;
};

// Simulated clock: time advances only when someone waits. A wait jumps to
// its target; a polling turn advances by `takt_ms`. The date starts at
// `start` and runs with the counter.
class simulierte_uhr : public uhr {
public:
    explicit simulierte_uhr(datum_uhrzeit start = standard_start(), double takt_ms = 0.01);
    double zaehler_ms() override { return ms_; }
    void warte_bis(double ziel_ms) override;
    void leerlauf() override { ms_ += takt_ms_; }
    datum_uhrzeit jetzt() override;

    // Moves the clock forward (an operator's pause, a test's step).
    void vorstellen(double ms);
    double takt_ms() const { return takt_ms_; }

    static datum_uhrzeit standard_start();

private:
    double ms_ = 0.0;
    double takt_ms_;
    int64_t start_s_;      // start as seconds since 1970-01-01 00:00 of the local calendar
    double start_bruch_;   // fraction of the start second
};

// Fast clock for tests and demonstrations: a simulated clock on which the
// wait of a control run for its next measurement ends at once at the next
// full hour, so every live interval of a measuring run is the next hour of
// the clock. All other waits jump to their targets as on the simulated clock.
class schnelle_uhr : public simulierte_uhr {
public:
    using simulierte_uhr::simulierte_uhr;
    void warte_auf_messung(double ziel_ms, const std::function<bool()>& vorzeitig = {}) override;
};

// The program's real clock.
uhr& systemuhr();
