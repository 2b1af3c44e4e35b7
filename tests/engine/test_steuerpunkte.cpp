// The control points of the interval kernel that the engine decides itself:
// which blocks of a control run are live, and the control file's stop line.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/steuerpunkte.h"
#include "lang/meldung.h"
#include "support/aufzeichnende_senke.h"

namespace {

flagchar codes(const char* kontrolllauf, const char* stopp) {
    flagchar n;
    n.fill("");
    n[ndata::kontrolllauf] = kontrolllauf;
    n[ndata::stopp] = stopp;
    n[ndata::meldungsmodus] = "M";
    return n;
}

}  // namespace

// A block is live only in a running control run with a collector, from the
// run's start interval in its start month on and in every later month.
TEST(Steuerpunkte, LiveblockAbDemStartpunkt) {
    struct fall {
        const char* kontrolllauf;
        const char* stopp;
        double A;
        int m, s;
        bool live;
    };
    // Start point: month 5, interval 100.
    const fall faelle[] = {
        {"J", "N", 10.0, 5, 100, true},   // the start interval itself
        {"J", "N", 10.0, 5, 99, false},   // before it in the start month
        {"J", "N", 10.0, 6, 1, true},     // a later month from its first interval
        {"J", "N", 10.0, 4, 700, false},  // an earlier month
        {"N", "N", 10.0, 5, 200, false},  // no control run
        {"J", "J", 10.0, 5, 200, false},  // stopped
        {"J", "N", 0.0, 5, 200, false},   // no collector area
    };
    for (const fall& f : faelle) {
        EXPECT_EQ(ist_liveblock(codes(f.kontrolllauf, f.stopp), f.m, f.s, f.A, 5, 100), f.live)
            << f.kontrolllauf << f.stopp << " A=" << f.A << " m=" << f.m << " s=" << f.s;
    }
}

// The control file says stop with its first line only, also with CR LF line
// ends; a missing file abandons the run with a message.
class Steuerdatei : public mit_meldungen {};

TEST_F(Steuerdatei, ErsteZeileEntscheidet) {
    const auto datei = verzeichnis / "kontrolle.text";
    struct fall {
        const char* inhalt;
        bool stopp;
    };
    for (const fall& f : {fall{"STOP\r\n", true}, fall{"STOP", true}, fall{"START\r\n", false},
                          fall{"START\r\nSTOP\r\n", false}, fall{"", false}, fall{"stop\n", false}}) {
        std::ofstream(datei, std::ios::binary) << f.inhalt;
        EXPECT_EQ(steuerdatei_sagt_stopp(datei.string(), codes("J", "N")), f.stopp) << f.inhalt;
    }
    std::filesystem::remove(datei);
    EXPECT_THROW(steuerdatei_sagt_stopp(datei.string(), codes("J", "N")), abbruch);
    ASSERT_EQ(senke.dialoge.size(), 1u);
    EXPECT_EQ(senke.dialoge[0].schwere, 'T');
}
