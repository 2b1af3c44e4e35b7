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
    // Gives "Braunschweig EFH" the plant with the reservoir exchanger "R" (an
    // row ZJER) and the calculation constants (rech row r45) a block length
    // of 24 intervals, more than the interval kernel holds: the combination
    // check refuses the run with its reason. The database must exist.
    void braunschweig_mit_zu_langem_block() {
        for (const auto& [datei, sql] :
             {std::pair<const char*, const char*>{"HAUPT.sqlite", "UPDATE haupt SET an = 'ZJER' WHERE name = 'Braunschweig EFH'"},
              {"RECH.sqlite", "UPDATE rech SET maxmittemp = 24 WHERE name = 'r45'"}}) {
            sqlite3* db = nullptr;
            ASSERT_EQ(sqlite3_open((verzeichnis / "db" / datei).string().c_str(), &db), SQLITE_OK);
            EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
            EXPECT_EQ(sqlite3_changes(db), 1) << sql;
            sqlite3_close(db);
        }
    }
    std::ostringstream aus, fehler;
};
