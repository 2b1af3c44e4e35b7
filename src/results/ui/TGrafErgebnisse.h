#pragma once
// "Ergebnisse (Fläche)": the overview of the file loaded last over the
// collector area, for the month marked in the results window. Its button
// "Zeitabhängige Daten" asks the results window for "Ergebnisse (Zeit)".

#include "results/ui/uebersichtsfenster.h"

class TGrafErgebnisse : public uebersichtsfenster {
    Q_OBJECT
public:
    explicit TGrafErgebnisse(QWidget* eltern = nullptr);

signals:
    void zeitabhaengig_gewaehlt();

protected:
    void beschriften() override;

private:
    QPushButton* zeit_;
};
