#pragma once
// Test support for the runner: calls of varnek_cli with captured output and a
// database and result folder of the test's own.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <sqlite3.h>

#include "app/cli.h"
#include "app/serie_parallel.h"
#include "support/aufzeichnende_senke.h"

class Cli : public mit_meldungen {
protected:
    // Workers of a parallel batch are the real runner, not the test program.
    Cli() { serien_programm() = VARNEK_CLI_PROGRAMM; }
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
    // Turns the method of "Braunschweig EFH" (num row MAVN-N) into the
    // velocity method in intervals, which needs the interval kernel: this
    // version refuses such a run with its reason. The database must exist.
    void braunschweig_braucht_intervallkern() {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open((verzeichnis / "db" / "NUM.sqlite").string().c_str(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, "UPDATE num SET zeitraum = 'I' WHERE name = 'MAVN-N'", nullptr,
                               nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(db);
    }
    std::ostringstream aus, fehler;
};
