#pragma once
// A grid's rows: a copy of a table view as text (zeilenliste), so that
// painting a grid never reads a table, also while a run owns the tables.

#include <QAbstractTableModel>
#include <QStringList>

#include "input/datensatzauswahl.h"

class tabellen_modell : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit tabellen_modell(QObject* eltern = nullptr);

    // Replaces the rows; `sichtbar` names the columns shown, in order (all
    // columns when empty).
    void setze(zeilenliste zeilen, const std::vector<std::string>& sichtbar = {});
    // Column titles in the order of the shown columns.
    void setze_titel(const QStringList& titel);

    const zeilenliste& zeilen() const { return zeilen_; }
    // Text of column `spalte` (table column name) in row `zeile`.
    QString wert(int zeile, const std::string& spalte) const;
    // Row whose column `spalte` has the text `wert`; -1 when none.
    int finde(const std::string& spalte, const std::string& wert) const;

    int rowCount(const QModelIndex& eltern = QModelIndex()) const override;
    int columnCount(const QModelIndex& eltern = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int rolle = Qt::DisplayRole) const override;
    QVariant headerData(int abschnitt, Qt::Orientation richtung, int rolle = Qt::DisplayRole) const override;

private:
    zeilenliste zeilen_;
    std::vector<int> spalten_;  // table columns of the shown columns
    QStringList titel_;
};
