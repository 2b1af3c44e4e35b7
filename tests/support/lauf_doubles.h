#pragma once
// Test doubles for the run driver and the period loop: plant steps and run
// services that record what the loops ask of them.

#include <functional>
#include <string>
#include <vector>

#include "app/simulation_run.h"
#include "engine/periode.h"

struct schritt_doppel : perioden_schritte {
    // Monthly objective value a plant step writes for month m.
    std::function<double(int m)> monatswert = [](int) { return 1.0; };
    // Called after each month step (e.g. to request a stop).
    std::function<void(periodenkontext&, int m)> nach_monat;

    std::vector<int> monate;            // months stepped, in order
    std::vector<char> pfade;            // 'A' analytic, 'Z' time-step, 'K' year kernel
    std::vector<double> flaechen;       // A of each month step
    std::vector<double> leistungen;     // vdatt[tdata::ww_leistung] at each month step
    std::vector<std::pair<double, double>> speicherresets;  // (A, T)
    int fortschritte = 0;
    std::vector<double> jahreswerte;    // year sums handed to keep-best

    void setze_anlage_speicher_zurueck(anlage&, double A, double T) override {
        speicherresets.emplace_back(A, T);
    }
    void monatsinitialisierung(periodenkontext&, int) override {}
    void analytischer_monatsschritt(periodenkontext& k, int m) override { schritt(k, m, 'A'); }
    void zeitschritt_monat(periodenkontext& k, int& m) override { schritt(k, m, 'Z'); }
    void jahreskern(periodenkontext& k, int m, int, int, double& wert, double& ge) override {
        monate.push_back(m);
        pfade.push_back('K');
        wert = monatswert(m);
        ge *= 1.0;
        if (nach_monat) nach_monat(k, m);
    }
    void monatssummen(periodenkontext& k, int m, double wert) override { k.ziel[m] = wert; }
    void beste_variante_behalten(periodenkontext&, double jahressumme) override {
        jahreswerte.push_back(jahressumme);
    }
    void fortschritt_schritt() override { ++fortschritte; }
    void steuerlauf_startpunkt(bool, int& monat, int& intervall) override {
        monat = steuer_monat;
        intervall = steuer_intervall;
    }
    int steuer_monat = 1, steuer_intervall = 1;

private:
    void schritt(periodenkontext& k, int m, char pfad) {
        monate.push_back(m);
        pfade.push_back(pfad);
        flaechen.push_back(k.A);
        leistungen.push_back(k.vdatt[tdata::ww_leistung]);
        k.ziel[m] = monatswert(m);
        k.datm_variante.feld[adata::jek][m] = k.ziel[m];
        if (nach_monat) nach_monat(k, m);
    }
};

struct dienst_doppel : lauf_dienste {
    int bkflag_antwort = 1;
    double maxge = 0.0, minge = 0.0;
    std::vector<double> neigungen;             // theta_s of each irradiation call
    std::vector<double> vorbereitete_flaechen;
    std::vector<double> geschriebene_flaechen; // areas of the month-result sections
    std::vector<int> angekuendigte_abschnitte; // last - first + 1 of each month-result section
    int abschluesse = 0;                       // ergebnisse_abschliessen calls
    bool abschluss_gelingt = true;
    std::vector<int> intervall_abschnitte;     // j of each per-interval section
    std::vector<std::string> abschaltungen;
    int kombinationspruefungen = 0;

    void CheckKombination(datt&, flagchar&, int& bkflag) override {
        ++kombinationspruefungen;
        bkflag = bkflag_antwort;
    }
    void eintrittstemperaturen_fuellen() override {}
    bool berechne_Einstrahlungsdaten(double, double theta_s, double, datz&, flagchar&, datz3&,
                                     datt&) override {
        neigungen.push_back(theta_s);
        return theta_s <= neigung_erlaubt_bis;
    }
    double neigung_erlaubt_bis = 90.0;
    void monatsvorbereitung(double A) override { vorbereitete_flaechen.push_back(A); }
    void intervallvorbereitung() override {}
    void ge_grenzen(double& mx, double& mn) override {
        mx = maxge;
        mn = minge;
    }
    void jahresauswertung(::datm&, datz3&, speicher&, ::date&, datz&, datt&) override {}
    void ergebnisauswertung(::datm&) override {}
    double flaeche_in_ausgabeeinheit(double A) override { return A; }
    void schreibe_intervallergebnisse(datt&, ::datm&, double, const abschnittsfolge& a) override {
        intervall_abschnitte.push_back(a.aktuell);
    }
    void schreibe_monatsergebnisse(datt&, ::datm&, double flaeche, const abschnittsfolge& a) override {
        geschriebene_flaechen.push_back(flaeche);
        angekuendigte_abschnitte.push_back(a.letzter - a.erster + 1);
    }
    bool ergebnisse_abschliessen() override {
        ++abschluesse;
        return abschluss_gelingt;
    }
    void anlage_abschalten(char ivflag, char geraet) override {
        abschaltungen.push_back(std::string{ivflag, geraet});
    }
};

struct beobachter_doppel : lauf_beobachter {
    int t_fenster = 0, v_fenster = 0, graphen = 0;
    bool sanduhr_an = false;
    int fortschritt_max = -1;
    void sanduhr(bool an) override { sanduhr_an = an; }
    void fortschritt_beginnen(int maximum) override { fortschritt_max = maximum; }
    void zwischenergebnisse_t_oeffnen(double) override { ++t_fenster; }
    void zwischenergebnisse_v_oeffnen(double) override { ++v_fenster; }
    void graph_zeigen(const graphdata&, const graphdata&) override { ++graphen; }
    void uhrzeit(int& monat, int& tag, int& stunde) override {
        monat = uhr_monat;
        tag = uhr_tag;
        stunde = uhr_stunde;
    }
    int uhr_monat = 3, uhr_tag = 1, uhr_stunde = 9;
};
