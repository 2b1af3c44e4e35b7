#pragma once
// Test support of the data-sheet operations: a fresh database with every
// table and the default units, started the way the program starts, and
// small helpers to put rows in and read them back.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/einstellungen_lauf.h"
#include "data/datenbank.h"
#include "data/einheiten.h"
#include "data/einstellungen.h"
#include "engine/WP_variables.h"
#include "support/aufzeichnende_senke.h"

#include <unistd.h>

class mit_leerer_datenbank : public mit_meldungen {
protected:
    void SetUp() override {
        mit_meldungen::SetUp();
        db = verzeichnis / "db";
        setze_Pfade_und_Parameter();
        DefaultEinstellungen();
        definiere_haupteinheiten();
        // The empty database with its default units is built once per
        // process and copied for every test.
        static const std::filesystem::path vorlage = [] {
            const auto v = std::filesystem::temp_directory_path() /
                           ("varnek_blatt_vorlage_" + std::to_string(::getpid()));
            std::filesystem::remove_all(v);
            std::filesystem::create_directories(v);
            lege_fehlende_tabellen_an(v);
            SetDataBase(v);
            sprachabhaengig(zustand::datm_allgemein());
            schliesse_alle_tabellen();
            std::atexit([] {
                std::error_code ec;
                std::filesystem::remove_all(std::filesystem::temp_directory_path() /
                                                ("varnek_blatt_vorlage_" + std::to_string(::getpid())),
                                            ec);
            });
            return v;
        }();
        std::filesystem::copy(vorlage, db, std::filesystem::copy_options::recursive);
        einstellungen().datenbankverzeichnis = db;
        SetDataBase(db);
        sprachabhaengig(zustand::datm_allgemein());
        senke.dialoge.clear();
    }
    void TearDown() override {
        schliesse_alle_tabellen();
        mit_meldungen::TearDown();
    }

    using felder = std::vector<std::pair<std::string, feldwert>>;

    // Inserts a row and leaves the cursor on it.
    static void zeile(int index, const felder& f) {
        tabelle& t = tab(index);
        t.einfuegen();
        for (const auto& [s, w] : f) t.setze(s, w);
        t.speichern();
    }
    // Positions on the row with these key values (key order, no filter).
    static bool auf(int index, const std::vector<feldwert>& schluessel) {
        tabelle& t = tab(index);
        t.filter_aus();
        t.sortiere_nach_schluessel();
        return t.suche(schluessel);
    }
    // Every field of the row as text.
    static std::vector<std::string> inhalt(int index, const std::vector<feldwert>& schluessel) {
        std::vector<std::string> r;
        if (!auf(index, schluessel)) return r;
        tabelle& t = tab(index);
        for (int i = 0; i < t.spaltenanzahl(); ++i) r.push_back(als_text(t.wert(i)));
        return r;
    }
    bool dialog_enthaelt(const std::string& teil) const {
        for (const auto& d : senke.dialoge)
            if (d.text.find(teil) != std::string::npos) return true;
        return false;
    }
    std::string letzter_dialog() const { return senke.dialoge.empty() ? std::string() : senke.dialoge.back().text; }

    std::filesystem::path db;
};
