#pragma once
// The points where the interval kernel meets a running plant in a control
// run: which intervals are live, the measurement of a live interval, the
// control step after it, the control file's stop request and the clock that
// moves the month. The kernel calls them through `steuerpunkte`; a plain
// simulation or optimisation uses `ohne_steuerung`, which never measures and
// never stops. The station side implements them with the weather station,
// the device protocol and the clock (the engine includes none of those).

#include <optional>
#include <string>

#include "engine/WP_variables.h"

struct periodenkontext;
class steuerdaten_messtabelle;

// Live-block predicate: a block starting at interval s of month m is computed
// live when the run is a control run that has not been stopped, the collector
// area is positive, and the interval lies at or after the control run's start
// point (month `monatstart` from its start interval on, or any later month).
bool ist_liveblock(const flagchar& numchar, int m, int s, double A, int monatstart,
                   int startintervall);

// Month and interval of a calendar time: the interval is the hour of the
// month, (day - 1) * 24 + hour + 1.
struct uhrzeitintervall {
    int monat = 1;
    int intervall = 1;
};

class steuerpunkte {
public:
    virtual ~steuerpunkte() = default;

    // Live-interval test for the block starting at interval s of month m.
    // The station implementation answers with `ist_liveblock` over the run's
    // start point.
    virtual bool ist_live(const flagchar& numchar, int m, int s, double A) = 0;

    // Measures the live interval s of month m: outdoor temperature and
    // irradiation of interval s into the first input series of the context,
    // and the irradiation and temperature of the block's following intervals
    // s + 1 .. s + blocklaenge - 1 (not beyond the month's last interval)
    // derived from that measurement. `a` is the plant the kernel computes on.
    virtual void messe_liveintervall(periodenkontext& k, int m, int s, int blocklaenge,
                                     anlage& a) = 0;

    // The inflow temperature chosen for a block (°C), for display.
    virtual void zeige_blocktemperatur(double T) = 0;

    // Control step after the live interval s of month m has been computed
    // once more with the chosen temperature: device outputs of the interval,
    // the intermediate reservoir, the station display and the wait for the
    // next measurement.
    virtual void steuerschritt(periodenkontext& k, int m, int s, anlage& a) = 0;

    // Reads the first line of the control file named in `d3.filename_kontrolle`
    // after each block and each live interval of a control run; true when it
    // is "STOP". A missing or unreadable control file abandons the run
    // (throws `abbruch` after a message).
    virtual bool stopp_angefordert(const flagchar& numchar, const ::date3& d3) = 0;

    // Month and interval of the present clock time, used in full measuring
    // mode to move the kernel (and the caller's month) with the clock;
    // nothing when there is no clock.
    virtual std::optional<uhrzeitintervall> jetzt() = 0;

    // The measured table of the control data from which the collector flow
    // of a measuring run is taken; nothing when the flow is computed.
    virtual const steuerdaten_messtabelle* messtabelle() { return nullptr; }
};

// Plain simulation and optimisation: no interval is live, nothing is
// measured or driven, no stop is ever read, and the clock never moves the
// month.
class ohne_steuerung : public steuerpunkte {
public:
    bool ist_live(const flagchar&, int, int, double) override { return false; }
    void messe_liveintervall(periodenkontext&, int, int, int, anlage&) override {}
    void zeige_blocktemperatur(double) override {}
    void steuerschritt(periodenkontext&, int, int, anlage&) override {}
    bool stopp_angefordert(const flagchar&, const ::date3&) override { return false; }
    std::optional<uhrzeitintervall> jetzt() override { return std::nullopt; }
};

// Reads the first line of the control file `datei`: true when it is "STOP"
// (a trailing CR of a CR LF file is ignored). A file that cannot be opened
// is reported (severity 'T', message mode of `numchar`) and abandons the run.
bool steuerdatei_sagt_stopp(const std::string& datei, const flagchar& numchar);

// The process's headless control points.
steuerpunkte& headless_steuerpunkte();
