#pragma once
// The rows of a data-sheet grid: a copy of a table view as text that the user
// can edit cell by cell. An edit of a stored row is not kept here: it is
// handed on (`aenderung`) to be checked and written by core, and the grid is
// read again, so that what the grid shows is always what is stored. A new
// row waits here, as typed, until it is posted or dropped.

#include <QAbstractTableModel>
#include <QStringList>

#include <string>
#include <vector>

#include "input/datensatzauswahl.h"

class blatt_modell : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit blatt_modell(QObject* eltern = nullptr);

    // Replaces the stored rows (a waiting new row stays).
    void setze(zeilenliste zeilen);
    void setze_titel(const QStringList& titel);
    void setze_nur_lesen(bool an) { nur_lesen_ = an; }

    const zeilenliste& zeilen() const { return zeilen_; }
    int gespeicherte_zeilen() const { return static_cast<int>(zeilen_.zeilen.size()); }
    // Column name of grid column `spalte`.
    std::string spaltenname(int spalte) const;
    int spalte(const std::string& name) const { return zeilen_.spalte(name); }
    // Text of a stored row or of the new row (row = gespeicherte_zeilen()).
    QString wert(int zeile, const std::string& spalte) const;
    // First stored row whose columns have these texts; -1 when none.
    int finde(const std::vector<std::pair<std::string, std::string>>& werte) const;

    // The new row: started empty or with the given values, typed into, then
    // taken out to be posted.
    void beginne_neue_zeile(const std::vector<std::pair<std::string, std::string>>& werte = {});
    bool hat_neue_zeile() const { return neu_aktiv_; }
    bool ist_neue_zeile(int zeile) const { return neu_aktiv_ && zeile == gespeicherte_zeilen(); }
    // (column, text) of the filled cells of the new row.
    std::vector<std::pair<std::string, std::string>> neue_zeile() const;
    void verwerfe_neue_zeile();

    int rowCount(const QModelIndex& eltern = QModelIndex()) const override;
    int columnCount(const QModelIndex& eltern = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int rolle = Qt::DisplayRole) const override;
    QVariant headerData(int abschnitt, Qt::Orientation richtung, int rolle = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& wert, int rolle = Qt::EditRole) override;

signals:
    // The user changed cell (zeile, spalte) of a stored row to `text`.
    void aenderung(int zeile, const QString& spalte, const QString& text);

private:
    zeilenliste zeilen_;
    QStringList titel_;
    std::vector<std::string> neu_;
    bool neu_aktiv_ = false;
    bool nur_lesen_ = false;
};
