#pragma once
// Test support for loading site data sets: the default database built once
// per suite, opened the way the program starts, and temporary edits of table
// fields that are undone at the end of a test.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/lese_daten_ein.h"
#include "data/datenbank.h"
#include "data/einheiten.h"
#include "data/einstellungen.h"
#include "engine/WP_variables.h"
#include "input/demo_datenbank.h"
#include "support/aufzeichnende_senke.h"

// Sets a field of the row with key `schluessel` and restores it on destruction.
class feld_zeitweise {
public:
    feld_zeitweise(int tabelle_index, std::vector<feldwert> schluessel, std::string spalte, feldwert neu)
        : index_(tabelle_index), schluessel_(std::move(schluessel)), spalte_(std::move(spalte)) {
        tabelle& t = suche();
        alt_ = t.wert(spalte_);
        setze(neu);
    }
    ~feld_zeitweise() { setze(alt_); }
    feld_zeitweise(const feld_zeitweise&) = delete;
    feld_zeitweise& operator=(const feld_zeitweise&) = delete;

private:
    tabelle& suche() {
        tabelle& t = tab(index_);
        t.filter_aus();
        t.sortiere_nach_schluessel();
        if (!t.suche(schluessel_)) throw std::runtime_error("Testzeile fehlt: " + spalte_);
        return t;
    }
    void setze(const feldwert& w) {
        tabelle& t = suche();
        t.bearbeiten();
        t.setze(spalte_, w);
        t.speichern();
    }
    int index_;
    std::vector<feldwert> schluessel_;
    std::string spalte_;
    feldwert alt_;
};

// The default database of the program, built once for the suite.
class mit_default_datenbank : public mit_meldungen {
protected:
    static void SetUpTestSuite() {
        db = std::filesystem::temp_directory_path() / ("varnek_laden_" + std::to_string(::getpid()));
        std::filesystem::remove_all(db);
        erzeuge_default_datenbank_in(db);
        DefaultEinstellungen();
        definiere_haupteinheiten();
        SetDataBase(db);
        lese_ausgabe_einheiten();
    }
    static void TearDownTestSuite() {
        schliesse_alle_tabellen();
        std::filesystem::remove_all(db);
    }

    // Every data set name in `haupt` order.
    static std::vector<std::string> datensaetze() {
        std::vector<std::string> namen;
        tabelle& h = tab(tabledata::thaupt);
        h.filter_aus();
        h.sortiere_nach_index("iname");
        for (h.erster(); !h.eof(); h.naechster()) namen.push_back(h.text("name"));
        return namen;
    }

    // Makes `name` the current data set and loads it as the input-file
    // dialog does (irradiation computed); messages go to the protocol.
    bool lade(const std::string& name, bool& dbflag) {
        tabelle& h = tab(tabledata::thaupt);
        h.filter_aus();
        h.sortiere_nach_index("iname");
        if (!h.suche({feldwert(name)})) throw std::runtime_error("Datensatz fehlt: " + name);
        flagchar& n = zustand::numchar();
        n[ndata::meldungsmodus] = "S";
        n[ndata::einstrahlung_berechnen] = "J";
        return lese_daten_ein(Tvg().pvdatz3[0], Tvg().pvdatz3[1], dbflag);
    }
    bool lade(const std::string& name) {
        bool dbflag = false;
        const bool ok = lade(name, dbflag);
        EXPECT_TRUE(dbflag) << name;
        return ok;
    }

    static inline std::filesystem::path db;
};
