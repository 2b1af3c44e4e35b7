#pragma once
// A result table (ergebnis_anzeigetabelle) as a grid: the row labels in the
// first column, each further column headed by its quantity, code and unit;
// and the panel around it with "Kopieren" and "Als CSV speichern", which
// hand the table's CSV form to the clipboard or a file.

#include <QAbstractTableModel>
#include <QWidget>

#include "results/ergebnis_csv.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;

class ergebnistabellen_modell : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ergebnistabellen_modell(QObject* eltern = nullptr);
    void setze(ergebnis_anzeigetabelle t);
    const ergebnis_anzeigetabelle& tabelle() const { return t_; }

    int rowCount(const QModelIndex& eltern = QModelIndex()) const override;
    int columnCount(const QModelIndex& eltern = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int rolle = Qt::DisplayRole) const override;
    QVariant headerData(int abschnitt, Qt::Orientation richtung, int rolle = Qt::DisplayRole) const override;

    // A value as the grid shows it: 2 decimals, small values with 4 digits.
    static QString anzeige(double x);

private:
    ergebnis_anzeigetabelle t_;
};

// A choice of tables (combo box), the grid, and the copy and save buttons.
class ergebnistabellen_panel : public QWidget {
    Q_OBJECT
public:
    explicit ergebnistabellen_panel(QWidget* eltern = nullptr);
    // The tables to choose from; the one at `auswahl` is shown.
    void setze(std::vector<ergebnis_anzeigetabelle> tabellen, int auswahl = 0);
    void beschriften();
    const ergebnis_anzeigetabelle* gezeigt() const;
    // "Kopieren": the CSV text to the clipboard.
    void kopieren();
    // "Als CSV speichern" to `datei`; a failure is reported.
    bool speichern(const QString& datei);
    QComboBox* auswahl() const { return auswahl_; }
    QTableView* raster() const { return raster_; }

private:
    void zeige(int i);
    std::vector<ergebnis_anzeigetabelle> tabellen_;
    QLabel* tabelle_label_;
    QComboBox* auswahl_;
    QTableView* raster_;
    ergebnistabellen_modell* modell_;
    QPushButton *kopieren_, *speichern_;
};
