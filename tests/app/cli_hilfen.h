#pragma once
// Test support for the runner: calls of varnek_cli with captured output and a
// database and result folder of the test's own.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/cli.h"
#include "support/aufzeichnende_senke.h"

class Cli : public mit_meldungen {
protected:
    int rufe(std::vector<std::string> argumente) {
        argumente.insert(argumente.begin(), "varnek-cli");
        std::vector<const char*> argv;
        for (const auto& a : argumente) argv.push_back(a.c_str());
        aus.str("");
        fehler.str("");
        return varnek_cli(static_cast<int>(argv.size()), argv.data(), aus, fehler);
    }
    std::vector<std::string> mit_verzeichnissen(std::vector<std::string> rest) {
        std::vector<std::string> a{"--db", (verzeichnis / "db").string(), "--results",
                                   (verzeichnis / "res").string()};
        a.insert(a.end(), rest.begin(), rest.end());
        return a;
    }
    // The last line the runner wrote to stderr.
    std::string letzte_fehlerzeile() const {
        std::istringstream s(fehler.str());
        std::string zeile, letzte;
        while (std::getline(s, zeile)) letzte = zeile;
        return letzte;
    }
    std::ostringstream aus, fehler;
};
