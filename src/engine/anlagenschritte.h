#pragma once
// The plant steps of the period loop over the process-wide state: the stores'
// month start, the analytic month step with the reservoir month solutions,
// the month wrap-up and the monthly totals.

#include "engine/periode.h"
#include "engine/zeitschritt.h"

class anlagenschritte : public perioden_schritte {
public:
    // `kerne` computes the months of the time-step methods (the built-in
    // velocity and temperature kernels by default).
    explicit anlagenschritte(monatskerne& kerne = standard_monatskerne()) : kerne_(kerne) {}

    void setze_anlage_speicher_zurueck(anlage& a, double A, double T) override;
    void monatsinitialisierung(periodenkontext& k, int m) override;
    void analytischer_monatsschritt(periodenkontext& k, int m) override;
    void zeitschritt_monat(periodenkontext& k, int& m) override;
    void jahreskern(periodenkontext& k, int m, int g, int v, double& monatswert,
                    double& ge_wert) override;
    void monatssummen(periodenkontext& k, int m, double monatswert) override;
    void beste_variante_behalten(periodenkontext& k, double jahressumme) override;
    void steuerlauf_startpunkt(bool messmodus, int& monat, int& intervall) override;
    entscheidungsspur* spur() override { return spur_; }
    // Attaches a decision trace (nullptr detaches it).
    void setze_spur(entscheidungsspur* spur) { spur_ = spur; }

private:
    monatskerne& kerne_;
    entscheidungsspur* spur_ = nullptr;
};

// True when the plant draws heat from the air at night (air heat exchanger or
// a reservoir with air heat exchanger), so that its night air energy is needed.
bool nutzt_nachtluft(const flagchar& numchar);
