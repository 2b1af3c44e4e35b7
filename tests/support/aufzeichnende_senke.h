#pragma once
// Test support: a message sink that records dialogs and answers questions as
// told, and a fixture that sends the protocol file to a temporary folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "lang/meldung.h"
#include "lang/sprache.h"

class aufzeichnende_senke : public meldungs_senke {
public:
    struct eintrag {
        std::string text;
        char schwere;
    };
    void zeige(const std::string& text, char schwere) override { dialoge.push_back({text, schwere}); }
    bool frage(const std::string& text) override {
        fragen.push_back(text);
        return antwort_ja;
    }
    void cursor_zuruecksetzen() override { ++cursor_resets; }

    std::vector<eintrag> dialoge;
    std::vector<std::string> fragen;
    bool antwort_ja = false;
    int cursor_resets = 0;
};

// Installs a recording sink and a fresh protocol folder for each test.
class mit_meldungen : public ::testing::Test {
protected:
    void SetUp() override {
        verzeichnis = std::filesystem::temp_directory_path() /
                      ("varnek_test_" + std::to_string(::getpid()) + "_" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(verzeichnis);
        std::filesystem::create_directories(verzeichnis);
        setze_protokollverzeichnis(verzeichnis);
        setze_meldungs_senke(&senke);
        setze_sprache(SPRACHE_DEUTSCH);
    }
    void TearDown() override {
        setze_meldungs_senke(nullptr);
        setze_sprache(SPRACHE_DEUTSCH);
        std::filesystem::remove_all(verzeichnis);
    }
    std::vector<std::string> protokollzeilen() const;

    std::filesystem::path verzeichnis;
    aufzeichnende_senke senke;
};
