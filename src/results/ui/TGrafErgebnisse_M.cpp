#include "results/ui/TGrafErgebnisse_M.h"

TGrafErgebnisse_M::TGrafErgebnisse_M(QWidget* eltern) : uebersichtsfenster("TGrafErgebnisse_M", eltern) {}
