#pragma once
// The chart window "Funktion": every curve display of the program. A caller
// hands it a left and a right chart data record (six curves of up to 2000
// points each); the window draws them with Qt Charts and lets the user
// divide two curves, sum a curve, rescale, switch point labels, the right
// curves and the first point, print the chart and save it as SVG, PNG or PDF
// at a chosen size. The operations themselves are the core's (graphkalk).

#include <QDialog>

#include <memory>

#include "results/graphkalk.h"

class QChart;
class QChartView;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

class TGraphKalk : public QDialog {
    Q_OBJECT
public:
    explicit TGraphKalk(QWidget* eltern = nullptr);
    ~TGraphKalk() override;

    // besetzeSeries: shows the two records (imaxp taken as at most 2000; the
    // left curves from point pmin_links) and opens the window modally,
    // unless it is shown already, in which case it is only refreshed.
    void besetzeSeries(const graphdata& links, const graphdata& rechts, int imaxp, bool rechts_sichtbar,
                       int pmin_links);
    // The same without waiting: the window is shown (non-modal when it is
    // not shown yet).
    void zeige(const graphdata& links, const graphdata& rechts, int imaxp, bool rechts_sichtbar, int pmin_links);

    // The heading of a printout (the name of the current result row).
    void setze_druckkopf(const QString& text) { druckkopf_ = text; }

    void beschriften();

    // The buttons' operations, as the handlers run them.
    bool quotient();              // the two curves selected in the list
    void integral();              // the one curve selected
    bool anwenden(bool faktor_in_beschriftung);  // "Anwenden" with the edits' values
    void labels_umschalten();
    void rechtsdaten_umschalten();
    void erster_punkt_aus();
    // Saves the chart at `groesse` as SVG, PNG or PDF (by the extension);
    // a failure is reported.
    bool speichere(const QString& datei, QSize groesse);

    const graphkalk& kern() const { return *kern_; }
    QChart* chart() const { return chart_; }
    QListWidget* kurvenliste() const { return liste_; }
    QLineEdit* feld(const char* name) const;
    QPushButton* knopf(const char* name) const;
    QString summe_text() const;

protected:
    void changeEvent(QEvent* e) override;

private:
    void neu_zeichnen();
    void darstellen();
    void auswahl_geaendert();
    void speichern_dialog();
    void drucken();

    std::unique_ptr<graphkalk> kern_;
    QChartView* ansicht_;
    QChart* chart_;
    QLabel *titel_, *info_;
    QGroupBox *rechnen_, *integrieren_, *skalieren_, *anzeigen_;
    QListWidget* liste_;
    QPushButton *quotient_, *integral_, *anwenden_, *labels_, *rechtsdaten_, *erster_punkt_, *drucken_,
        *speichern_, *schliessen_;
    QLabel *summe_label_, *summe_;
    QLabel *l_min_, *l_max_, *l_rmin_, *l_rmax_, *l_fak_, *l_text_;
    QLineEdit *min_, *max_, *rmin_, *rmax_, *fak_, *text_;
    QString druckkopf_;
    QSize bildgroesse_{1200, 800};
};
