#pragma once
// The input-file form ("Einlesedaten"): the list of site data sets (`haupt`)
// with its navigator, the pages of the data set's fields (which catalogue
// rows it names), and the work on it: loading it, reading control data back,
// a batch of data sets ("Serie rechnen"), an optimisation, and the
// housekeeping of `haupt` (copy, search filter, fixation marks, deletion,
// the standard test data sets).
//
// Field edits are kept in the form until they are posted (navigator "✔", or
// before the form moves to another data set or starts an action on it).

#include <QDialog>

#include <map>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QTableView;
class TNavigator;
class tabellen_modell;

class TEinlesefiles : public QDialog {
    Q_OBJECT
public:
    explicit TEinlesefiles(QWidget* eltern = nullptr);

    // The opening steps, then shown modally.
    void zeige_modal();
    // Opening: first page, `haupt` in list order, list and catalogue names
    // read, captions and column titles, "Steuerfile einlesen" disabled.
    void oeffnen();
    void beschriften();

    // The form's actions.
    void daten_einlesen();
    void steuerfile_einlesen();
    void serie_rechnen();
    void optimieren();
    void wetterstation_und_steuern();
    void kopieren();
    void suchen();
    void anwenden();
    void fixierungen_loeschen();
    void datensaetze_loeschen();
    void addiere_default();
    void grenzen_uebernehmen();
    void gruppe_zuordnen();
    void drucken();

    // The data set the list stands on ("" when none).
    QString aktueller_datensatz() const;
    // Moves the list to data set `name`; false when the list does not hold it.
    bool waehle_datensatz(const QString& name);
    // Posts the edited fields (insert or edit); false when nothing was posted
    // because the post was refused (reported).
    bool speichern();
    bool geaendert() const { return geaendert_; }
    // Reads the list again (after changes by an action or another program).
    void liste_lesen();

    // Field of a `haupt` column (line edit or combo box) for tests.
    QWidget* feld(const std::string& spalte) const;
    void setze_feld(const std::string& spalte, const QString& text);
    QString feldtext(const std::string& spalte) const;
    QLineEdit* suchfeld(int i) const { return suchfelder_[static_cast<std::size_t>(i)]; }
    QLabel* statuszeile() const { return status_; }
    QPushButton* knopf(const char* name) const;
    QTabWidget* seiten() const { return seiten_; }
    TNavigator* navigator() const { return navigator_; }
    QTableView* liste() const { return liste_; }

protected:
    void changeEvent(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    struct feldeintrag {
        std::string spalte;
        QLabel* titel = nullptr;
        QLineEdit* text = nullptr;
        QComboBox* auswahl = nullptr;
    };
    QWidget* baue_seite(const std::vector<std::string>& spalten, int spaltenpaare);
    QWidget* baue_grenzen();
    QWidget* baue_suche();
    QWidget* baue_aktionen();
    void zeige_datensatz(int zeile);
    void navigator_gedrueckt(int knopf);
    void als_geaendert();
    bool vor_aktion();
    void katalognamen_lesen();
    void gruppen_zeigen();
    void status(const QString& text);
    std::vector<std::pair<std::string, std::string>> feldwerte() const;
    void nach_lauf();

    TNavigator* navigator_;
    QTableView* liste_;
    tabellen_modell* modell_;
    QTabWidget* seiten_;
    std::vector<feldeintrag> felder_;
    QCheckBox* fixiert_;
    QGroupBox* grenzen_;
    std::map<std::string, QLineEdit*> grenzfelder_;
    std::map<std::string, QLabel*> grenztitel_;
    QGroupBox* suche_;
    std::vector<QLineEdit*> suchfelder_;
    std::vector<QLabel*> suchtitel_;
    QGroupBox* gruppen_;
    QComboBox* gruppenwahl_;
    QListWidget* gruppenliste_;
    QLabel* status_;
    std::map<std::string, QPushButton*> knoepfe_;
    bool geaendert_ = false;
    bool neu_ = false;  // the fields hold a row to insert
    bool laedt_ = false;
    bool vorbereitet_ = false;
    std::string angezeigt_;  // name of the data set the fields show
};
