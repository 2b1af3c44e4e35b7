#pragma once
// The cost window "Kosten": up to six result files (data indexes) loaded
// from the result catalogue, each with the cost parameters gathered from its
// site data set's tables; the parameters of the shown index can be edited;
// the yearly costs per collector area are shown as a table (copy, CSV) and
// as the five charts "Kosten/Jahr", "Mehrkosten/Jahr", "Gesamtkosten",
// "Energie pro qm" and "Zusatzinvestition" through the chart window; the
// parameters are printed through the list printer. The calculation is the
// core's (costs/kalkulation); nothing is written back to the database.

#include <QDialog>

#include <map>

#include "costs/kalkulation.h"
#include "costs/kostengraphik.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QTableView;
class TGraphKalk;
class ergebnistabellen_panel;
class tabellen_modell;

class TKalkulation : public QDialog {
    Q_OBJECT
public:
    explicit TKalkulation(QWidget* eltern = nullptr);
    ~TKalkulation() override;

    void zeige_modal();
    // FormActivate: the catalogue on the data set's result file, captions,
    // the value fields cleared, Edit1 "0".
    void aktivieren();
    void beschriften();
    void katalog_lesen();
    bool waehle_ergebnis(const QString& name);

    // "Resultat einlesen": the selected row's data set is loaded, its file
    // chosen in the open dialog and added as the next data index.
    bool resultat_einlesen();
    // The five chart buttons; true when the chart was shown.
    bool diagramm(kostenart art);
    // "Drucken": the parameters through the list printer.
    void drucken();
    // Shows data index d (1-based) in the fields.
    void zeige_index(int d);

    const kalkulationsdaten& daten() const { return k_; }
    // The yearly costs of index d as the window computed them.
    std::vector<kostenpunkt> kosten(int d);
    QLineEdit* wertfeld(int k) const;
    QPushButton* knopf(const char* name) const;
    QSpinBox* datenindex() const { return index_; }
    ergebnistabellen_panel* tabellen() const { return tabellen_; }
    TGraphKalk& graphfenster();

protected:
    void showEvent(QShowEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    QWidget* baue_katalog();
    QWidget* baue_parameter();
    QWidget* baue_steuerung();
    kosten_datenindex* gezeigt();
    void wert_geaendert(int k, const QString& text);
    void zeige_parameter();
    void zellflaechen_box();
    void tabellen_fuellen();
    void schaltflaechen_zeigen();
    bool lade_datensatz(const std::string& name);
    QString zeile(const char* spalte) const;

    kalkulationsdaten k_;
    bool vorbereitet_ = false;
    bool fuellt_ = false;
    TGraphKalk* eigenes_graphfenster_ = nullptr;

    QTableView* raster_;
    tabellen_modell* katalog_;
    QPushButton *einlesen_, *suchen_, *drucken_, *schliessen_;
    QLabel *l_index_, *dateiname_, *anzahl_;
    QSpinBox* index_;
    QWidget* parameter_;
    QTabWidget* seiten_;
    std::map<int, QLineEdit*> felder_;
    std::map<int, QLabel*> namen_, einheiten_;
    QPushButton *solarzellen_, *waermebedarf_, *berechnen_, *delta_, *skalieren_;
    QCheckBox* hfn_;
    QGroupBox* flaechenmodus_;
    QButtonGroup* modi_;
    QLabel *l_zellflaeche_, *l_kollektorflaeche_, *l_strom_;
    QComboBox* zellflaeche_;
    QLineEdit *kollektorflaeche_, *strom_;
    QGroupBox* diagramme_;
    std::map<kostenart, QPushButton*> diagrammknoepfe_;
    ergebnistabellen_panel* tabellen_;
};
