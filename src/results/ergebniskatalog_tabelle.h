#pragma once
// The catalogue of result files kept in table `result` of the database.

#include "results/ergebniskatalog.h"

class ergebniskatalog_tabelle : public ergebniskatalog {
public:
    std::optional<result_zeile> finde_ergebnisdatei(const std::string& name) override;
    void speichere(const result_zeile& zeile, bool neu) override;
    void entferne(const std::string& name) override;
};
