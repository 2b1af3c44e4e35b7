#pragma once
// "Datensatz suchen": positions, filters and bulk-deletes the rows of the
// table it is opened for (usually `haupt`). Typing in the key fields moves
// the table to the nearest row; two column/text pairs filter it with a LIKE
// pattern; "Lösche Datensatz" deletes every row matching all key fields ("*"
// matches any value). The grid shows the table's view as it then stands.

#include <QDialog>

#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class tabellen_modell;

class Twp_datensatz_suchen : public QDialog {
    Q_OBJECT
public:
    explicit Twp_datensatz_suchen(QWidget* eltern = nullptr);

    // Prepares the form for registry table `tabelle`.
    void oeffnen(int tabelle);
    void zeige_modal(int tabelle);
    // Shown beside its caller (the result catalogue of the run parameters).
    void zeige(int tabelle);
    void beschriften();
    int tabelle() const { return tabelle_; }

    // Actions.
    void positionieren();
    void felder_loeschen();
    void datensaetze_loeschen();
    void filter_setzen(int paar);
    void filter_loeschen();

    QLineEdit* suchfeld(int i) const { return suchfelder_[static_cast<std::size_t>(i)]; }
    // The key field of column `spalte`; nullptr when the table has none.
    QLineEdit* suchfeld(const std::string& spalte) const;
    QComboBox* filterspalte(int paar) const { return filterspalten_[static_cast<std::size_t>(paar)]; }
    QLineEdit* filtertext(int paar) const { return filtertexte_[static_cast<std::size_t>(paar)]; }
    QPushButton* knopf(const char* name) const;
    QTableView* raster() const { return raster_; }
    // Name (first key column) of the row the table stands on.
    QString aktuelle_zeile() const;

signals:
    // The table was moved, filtered or rows were deleted.
    void veraendert();

protected:
    void changeEvent(QEvent* e) override;

private:
    void lesen();
    void zeile_gewaehlt(int zeile);

    int tabelle_ = -1;
    std::vector<std::string> spalten_;  // the key fields' columns
    std::vector<QLabel*> suchtitel_;
    std::vector<QLineEdit*> suchfelder_;
    std::vector<QComboBox*> filterspalten_;
    std::vector<QLineEdit*> filtertexte_;
    std::vector<QLabel*> filtertitel_;
    QLabel* tabellentitel_;
    QTableView* raster_;
    tabellen_modell* modell_;
    QPushButton *suchen_, *leeren_, *loeschen_, *filter_loeschen_, *schliessen_;
    bool laedt_ = false;
};
