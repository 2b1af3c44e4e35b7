#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "station/kontrolldatei.h"
#include "support/aufzeichnende_senke.h"

namespace {

class Kontrolldatei : public mit_meldungen {
protected:
    std::filesystem::path datei() const { return kontrolldatei_pfad(verzeichnis); }
    void schreibe(const std::string& inhalt) const {
        std::ofstream f(datei(), std::ios::binary | std::ios::trunc);
        f << inhalt;
    }
};

}  // namespace

TEST_F(Kontrolldatei, NurEineErsteZeileGenauStopHaeltAn) {
    struct fall {
        std::optional<std::string> inhalt;  // nullopt: no file
        bool stop;
    };
    const fall faelle[] = {
        {"STOP\r\n", true},         {"STOP\n", true},          {"STOP", true},
        {"STOP\r\nweiter\r\n", true}, {"STOP \r\n", false},      {"stop\r\n", false},
        {" STOP\r\n", false},       {"START\r\nSTOP\r\n", false}, {"\r\nSTOP\r\n", false},
        {"", false},                {"STOPP\r\n", false},      {std::nullopt, false},
    };
    for (const fall& f : faelle) {
        std::filesystem::remove(datei());
        if (f.inhalt) schreibe(*f.inhalt);
        EXPECT_EQ(kontrolldatei_stop(datei()), f.stop) << (f.inhalt ? "'" + *f.inhalt + "'" : "no file");
    }
}

TEST_F(Kontrolldatei, StartErsetztDieDateiUndStopIstDannLesbar) {
    schreibe("STOP\r\n");
    ASSERT_TRUE(schreibe_kontrolldatei_start(datei()));
    EXPECT_EQ(erste_zeile(datei()), "START");
    EXPECT_FALSE(kontrolldatei_stop(datei()));
    ASSERT_TRUE(schreibe_kontrolldatei_stop(datei()));
    EXPECT_TRUE(kontrolldatei_stop(datei()));
    // The replacement leaves no temporary file behind.
    int dateien = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(verzeichnis))
        dateien += e.path().filename() != protokolldatei().filename();
    EXPECT_EQ(dateien, 1);
    EXPECT_FALSE(schreibe_kontrolldatei_start(verzeichnis / "fehlt" / KONTROLLDATEI_NAME));
}
