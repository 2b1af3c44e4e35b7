#pragma once
// The run's services over the real subsystems: the plant-combination check,
// irradiation of the loaded weather record, run preparation and year
// evaluation, unit conversion and the result writers.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/simulation_run.h"
#include "results/ergebniskatalog_tabelle.h"
#include "results/ergebnisschreiber.h"

// What a run of the loaded data set writes: the result file chosen before
// the run (".sim" or ".dat") and, for simulations, the control file beside it.
struct laufausgabe {
    std::filesystem::path ergebnisdatei;
    std::filesystem::path steuerdatei;
};

// The result file chosen for a run of the current data set, with what its
// catalogue row needs once the file exists.
struct ausgabefile {
    std::filesystem::path pfad;
    char optimierung = 'S';  // 'O' (.dat) or 'S' (.sim)
    haupt_angaben haupt;
    // The files the run writes: the result file and, for a simulation, the
    // control file.
    std::vector<std::filesystem::path> dateien(const std::filesystem::path& ergebnisverzeichnis) const;
};

class standard_laufdienste : public lauf_dienste {
public:
    // Writers for the current `haupt` row and the result file of `ausgabe`.
    standard_laufdienste(const ausgabefile& ausgabe, const std::filesystem::path& ergebnisverzeichnis);

    void CheckKombination(datt& vdatt, flagchar& numchar, int& bkflag) override;
    void eintrittstemperaturen_fuellen() override;
    bool berechne_Einstrahlungsdaten(double breite, double theta_s, double phi_g, datz& vdatz,
                                     flagchar& numchar, datz3& pvdatz3, datt& vdatt) override;
    void monatsvorbereitung(double A) override;
    void intervallvorbereitung() override;
    void ge_grenzen(double& maxge, double& minge) override;
    void jahresauswertung(::datm& d, datz3& pvdatz3_2, speicher& puffer, ::date& monatsergebnisse,
                          datz& vdatz, datt& vdatt) override;
    void ergebnisauswertung(::datm& d) override;
    double flaeche_in_ausgabeeinheit(double A) override;
    void schreibe_intervallergebnisse(datt& vdatt, ::datm& d, double flaeche_aus,
                                      const abschnittsfolge& abschnitte) override;
    void schreibe_monatsergebnisse(datt& vdatt, ::datm& d, double flaeche_aus,
                                   const abschnittsfolge& abschnitte) override;
    void anlage_abschalten(char ivflag, char geraet) override;
    bool ergebnisse_abschliessen() override;

    laufausgabe ausgabe() const;

private:
    ergebniskatalog_tabelle katalog_;
    std::unique_ptr<ergebnisschreiber> schreiber_;
};

// The result file of the current `haupt` row: ".sim" for optimierung 'S',
// ".dat" for 'O', in `ergebnisverzeichnis`; marks "Ausgabefile angelegt".
// With a `dialog` the user chooses the path (dialog flag 'J'; cancelling
// gives nothing). The catalogue row is entered when the run has written the
// file. Nothing on failure (reported: a name leading out of the result
// folder, a folder that cannot be written).
std::optional<ausgabefile> ausgabefile_anlegen(char optimierung,
                                               const std::filesystem::path& ergebnisverzeichnis,
                                               speicherdialog* dialog = nullptr);
