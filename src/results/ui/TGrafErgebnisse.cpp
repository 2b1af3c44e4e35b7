#include "results/ui/TGrafErgebnisse.h"

#include <QPushButton>

#include "lang/sprache.h"

namespace {
constexpr text_paar zeitabhaengige_daten{"Zeitabhängige Daten", "Time-dependent data"};
}

TGrafErgebnisse::TGrafErgebnisse(QWidget* eltern) : uebersichtsfenster("TGrafErgebnisse", eltern) {
    zeit_ = neuer_knopf("Zeitabhaengig");
    connect(zeit_, &QPushButton::clicked, this, &TGrafErgebnisse::zeitabhaengig_gewaehlt);
    beschriften();
}

void TGrafErgebnisse::beschriften() {
    uebersichtsfenster::beschriften();
    zeit_->setText(QString::fromStdString(zeitabhaengige_daten.text()));
}
