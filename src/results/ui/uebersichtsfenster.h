#pragma once
// The common frame of the overview windows "Ergebnisse (Fläche)" and
// "Ergebnisse (Zeit)": one tab per page of the overview, its fields on top
// and its charts below (a panel of its own for a group such as
// "Jahresmaxima"), every chart with a border of 5 and no bevel. The content
// is built by the core (ergebnisgraphik); the window rebuilds it when the
// language changes.

#include <QDialog>

#include <functional>
#include <map>

#include "results/ergebnisgraphik.h"

class QChartView;
class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QVBoxLayout;

class uebersichtsfenster : public QDialog {
    Q_OBJECT
public:
    // Shows the overview that `bauen` builds (now and after a language switch).
    void zeige(std::function<uebersicht()> bauen);

    const uebersicht& inhalt() const { return inhalt_; }
    QTabWidget* seiten() const { return seiten_; }
    // The chart view named as in the overview ("Chart1", ...), or null when hidden.
    QChartView* diagramm(const std::string& name) const;
    QLineEdit* feld(const std::string& name) const;

protected:
    uebersichtsfenster(const char* name, QWidget* eltern);
    void changeEvent(QEvent* e) override;
    // A button below the tabs, for the derived window.
    QPushButton* neuer_knopf(const char* name);
    virtual void beschriften();

private:
    void aufbauen();
    QTabWidget* seiten_;
    QVBoxLayout* spalte_;
    QPushButton* schliessen_;
    QHBoxLayout* knoepfe_;
    std::function<uebersicht()> bauen_;
    uebersicht inhalt_;
    int sprache_ = -1;
    std::map<std::string, QChartView*> diagramme_;
    std::map<std::string, QLineEdit*> felder_;
};
