#pragma once
// Shared fixture of the data-store tests: a fresh temporary directory and a
// message sink that records every dialog instead of showing it.

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "lang/meldung.h"
#include "lang/sprache.h"

struct daten_senke : meldungs_senke {
    std::vector<std::string> texte;
    void zeige(const std::string& text, char) override { texte.push_back(text); }
    bool frage(const std::string&) override { return false; }
    bool enthaelt(const std::string& teil) const {
        for (const auto& t : texte)
            if (t.find(teil) != std::string::npos) return true;
        return false;
    }
};

class temp_verzeichnis_test : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device rd;
        dir = std::filesystem::temp_directory_path() /
              ("varnek_test_" + std::to_string(rd()) + "_" + std::to_string(rd()));
        std::filesystem::create_directories(dir);
        setze_meldungs_senke(&senke);
        setze_protokollverzeichnis(dir);
        setze_sprache(SPRACHE_DEUTSCH);
    }
    void TearDown() override {
        setze_meldungs_senke(nullptr);
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    std::filesystem::path dir;
    daten_senke senke;
};
