#pragma once
// The run monitors. "Zwischenergebnisse (V)" (TDiagramme): twelve month
// charts of the step points of a run (one point per `ge` step: x the month's
// flow or inflow temperature, y the step's month value), with the area being
// computed; after each parameter step the charts as they stood are kept and
// can be looked at again. "Zwischenergebnisse (T)" (TDiagrammeT): the month
// charts of the stage temperature, each ending at the month's supply
// temperature.
//
// The run fills the monitor record (laufmonitor) on its worker thread; the
// windows read copies of it on the window thread, four times a second and
// only when it changed, and redraw only the months that changed. When the
// run opens a monitor, it appears once it has something to show (a step
// point, or a kept intermediate result), not with twelve empty charts.

#include <QDialog>

#include <cstdint>

#include "results/laufmonitor.h"

class QComboBox;
class QLabel;
class QTimer;
class monatsdiagramme;

class TDiagramme : public QDialog {
    Q_OBJECT
public:
    explicit TDiagramme(laufmonitor& monitor, QWidget* eltern = nullptr);
    // The run opened the window: shown (non-modal) as soon as it has
    // something to show, and kept up to date while the run goes on.
    void oeffnen();
    // Reads the monitor when it changed since the last look.
    void aktualisieren();
    // The run has ended: a last look, then the window waits for the next run.
    void lauf_beendet();
    void beschriften();
    monatsdiagramme* diagramme() const { return diagramme_; }
    QComboBox* zwischenergebnisse() const { return auswahl_; }
    QLabel* flaeche() const { return flaeche_; }

protected:
    void changeEvent(QEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    void zeichnen();
    laufmonitor& monitor_;
    laufmonitor_stand stand_;
    uint64_t gesehen_ = UINT64_MAX;
    int gelistet_ = -1;      // parameter steps in the choice
    bool angefordert_ = false;  // opened by the run, not shown yet
    QLabel *beschriftung_, *flaeche_, *l_auswahl_;
    QComboBox* auswahl_;
    monatsdiagramme* diagramme_;
    QTimer* takt_;
};

class TDiagrammeT : public QDialog {
    Q_OBJECT
public:
    explicit TDiagrammeT(laufmonitor& monitor, QWidget* eltern = nullptr);
    void oeffnen();
    void aktualisieren();
    void lauf_beendet();
    void beschriften();
    monatsdiagramme* diagramme() const { return diagramme_; }
    QLabel* flaeche() const { return flaeche_; }
    QLabel* punkte() const { return punkte_; }

protected:
    void changeEvent(QEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    laufmonitor& monitor_;
    uint64_t gesehen_ = UINT64_MAX;
    bool angefordert_ = false;
    QLabel *beschriftung_, *flaeche_, *punkte_;
    monatsdiagramme* diagramme_;
    QTimer* takt_;
};
