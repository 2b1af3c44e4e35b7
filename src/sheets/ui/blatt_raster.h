#pragma once
// The grid of one catalogue table on a data sheet, with its navigator and
// search field. The grid shows the rows of the table's view and stands on the
// table's current row: choosing a row in the grid moves the table there, and
// a calculator that works on the current row works on the row the user sees.
// Cell edits are checked and written by core (`aendere_datensatz`), new rows
// posted by `lege_datensatz_an`, deletions by `loesche_datensatz`; a refusal
// is shown by core and leaves the row as stored.

#include <QWidget>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "data/tabelle.h"

class QLabel;
class QLineEdit;
class QTableView;
class TNavigator;
class blatt_modell;

class blatt_raster : public QWidget {
    Q_OBJECT
public:
    explicit blatt_raster(int tabelle, QWidget* eltern = nullptr);

    int tabelle() const { return tabelle_; }
    // Reads the rows of the table's view and selects the table's current row.
    void lesen();
    // Column titles, navigator hints and the search label in the language.
    void beschriften();

    QTableView* raster() const { return raster_; }
    blatt_modell* modell() const { return modell_; }
    TNavigator* navigator() const { return navigator_; }
    QLineEdit* suchfeld() const { return suchfeld_; }

    // The selected stored row (-1 when none or the new row).
    int zeile() const;
    // Text of column `spalte` of the selected row.
    QString wert(const std::string& spalte) const;
    // Moves the table to the selected row; false when none is selected.
    bool positionieren();
    // Selects stored row `zeile` and moves the table there.
    void waehle_zeile(int zeile);
    // Selects the row whose first key column is `name`; false when none.
    bool waehle(const std::string& name);

    // Writes fields of the selected row through the checks of core, then
    // reads the grid again. True when written.
    bool aendern(const std::vector<std::pair<std::string, std::string>>& felder);

    // Only rows meeting the conditions (detail rows of one record); applied
    // again whenever the grid is read and the table has lost it.
    void setze_feste_filter(std::vector<filterbedingung> bedingungen);

    // Runs before the grid moves to another row or the navigator acts (it
    // may abandon the move by a message); runs after "post".
    void setze_vor_navigation(std::function<void()> f) { vor_navigation_ = std::move(f); }
    void setze_nach_speichern(std::function<void()> f) { nach_speichern_ = std::move(f); }

    // The navigator's actions (TNavigator::knopf).
    void navigiere(int knopf);
    // Search field: the nearest row by the first key column.
    void suche(const QString& text);

signals:
    // The grid stands on another row (or the rows were read again).
    void zeile_gewechselt();
    // Rows of the table were written.
    void geschrieben();

private:
    void zeile_gewaehlt(int neu, int alt);
    void zelle_geaendert(int zeile, const QString& spalte, const QString& text);
    bool neue_zeile_speichern();

    int tabelle_;
    TNavigator* navigator_;
    QLabel* suchtitel_;
    QLineEdit* suchfeld_;
    QTableView* raster_;
    blatt_modell* modell_;
    std::optional<std::vector<filterbedingung>> feste_filter_;
    std::function<void()> vor_navigation_;
    std::function<void()> nach_speichern_;
    bool laedt_ = false;
    bool breiten_gesetzt_ = false;
};
