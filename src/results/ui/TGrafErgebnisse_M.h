#pragma once
// "Ergebnisse (Zeit)": the overview of the first loaded file over the
// months, for the area marked in the results window.

#include "results/ui/uebersichtsfenster.h"

class TGrafErgebnisse_M : public uebersichtsfenster {
    Q_OBJECT
public:
    explicit TGrafErgebnisse_M(QWidget* eltern = nullptr);
};
