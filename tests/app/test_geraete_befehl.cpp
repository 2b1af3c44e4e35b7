#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/cli.h"
#include "support/aufzeichnende_senke.h"

namespace {

int rufe(std::vector<std::string> argumente, std::ostringstream& aus, std::ostringstream& fehler) {
    argumente.insert(argumente.begin(), "varnek-cli");
    std::vector<const char*> argv;
    for (const auto& a : argumente) argv.push_back(a.c_str());
    return varnek_cli(static_cast<int>(argv.size()), argv.data(), aus, fehler);
}

}  // namespace

using GeraeteBefehl = mit_meldungen;

TEST_F(GeraeteBefehl, SimulierteGeraeteMitPortsUndMarken) {
    std::ostringstream aus, fehler;
    ASSERT_EQ(rufe({"devices", "--simulated"}, aus, fehler), 0) << fehler.str();
    const std::string t = aus.str();
    EXPECT_NE(t.find("COM3   sim:COM3            DCD 1  DSR 0  W Wetterstation"), std::string::npos) << t;
    EXPECT_NE(t.find("COM6   sim:COM6            DCD 0  DSR 1  A Sensoren"), std::string::npos) << t;
    EXPECT_NE(t.find("COM4   kein_anschluss_com_U = N"), std::string::npos) << t;
    EXPECT_NE(t.find("COM5   kein_anschluss_com_V = N"), std::string::npos) << t;
    EXPECT_TRUE(fehler.str().empty()) << fehler.str();
}

TEST_F(GeraeteBefehl, OhneGeraeteLeerUndMarkenGesetzt) {
    std::ostringstream aus, fehler;
    const std::string muster = (verzeichnis / "tty{n}").string();
    ASSERT_EQ(rufe({"--lang", "en", "devices", "--com-pattern", muster}, aus, fehler), 0) << fehler.str();
    const std::string t = aus.str();
    EXPECT_NE(t.find("no port with a device found"), std::string::npos) << t;
    EXPECT_NE(t.find("empty  kein_anschluss_com_W = J"), std::string::npos) << t;
    EXPECT_NE(t.find("empty  kein_anschluss_com_S = J"), std::string::npos) << t;
    // The no-device question of the four scans is answered Ignore without a
    // word: the list names each device without a port in the chosen language.
    EXPECT_EQ(fehler.str(), "");

    EXPECT_EQ(rufe({"devices", "--csv"}, aus, fehler), 2);
    EXPECT_EQ(rufe({"devices", "--lang", "fr"}, aus, fehler), 2);
    // Other commands pass by.
    std::ostringstream hilfe;
    EXPECT_EQ(rufe({"--help"}, hilfe, fehler), 0);
    EXPECT_NE(hilfe.str().find("devices [--simulated]"), std::string::npos);
}
