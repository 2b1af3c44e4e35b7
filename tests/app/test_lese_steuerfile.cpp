// Control data read back: the control file of a simulation is kept with its
// mark; a malformed file changes neither.

#include <fstream>

#include "app/lese_steuerfile.h"
#include "app/simulation_run.h"
#include "cli_hilfen.h"

TEST_F(Cli, SteuerdateiEinerSimulationWirdEingelesen) {
    ASSERT_EQ(rufe(mit_verzeichnissen({"simulate", "test_ir_D_EJEG_IAAN-D_st0"})), 0) << fehler.str();
    const auto str = verzeichnis / "res" / "test_steuer_ir_D_EJEG_IAAN-D_st0.str";
    setze_meldungs_senke(&senke);  // the runner installed its own
    marken().steuerdatei_eingelesen = false;
    ASSERT_TRUE(lese_steuerfile(str));
    EXPECT_TRUE(marken().steuerdatei_eingelesen);
    EXPECT_EQ(steuerdaten().datei, str);
    const int abschnitte = steuerdaten().werte.scheiben();
    ASSERT_GE(abschnitte, 1);
    EXPECT_GT(steuerdaten().werte.zeilen(1), 8000);  // one row per hour of the year

    const auto kaputt = verzeichnis / "kaputt.str";
    std::ofstream(kaputt) << "test\r\n3, 4\r\nkeine Zahlen\r\n";
    EXPECT_FALSE(lese_steuerfile(kaputt));
    ASSERT_FALSE(senke.dialoge.empty());
    EXPECT_NE(senke.dialoge.back().text.find("Falsches Datenformat"), std::string::npos);
    EXPECT_EQ(steuerdaten().datei, str);
    EXPECT_EQ(steuerdaten().werte.scheiben(), abschnitte);
    EXPECT_TRUE(marken().steuerdatei_eingelesen);
    marken().steuerdatei_eingelesen = false;
}
