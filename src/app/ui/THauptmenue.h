#pragma once
// The main window: the main menu, from which every function is reached, the
// logo and chart panels shown at start, and the status panel with the steps
// of a run ("Daten eingelesen", "Ausgabefile angelegt", "Simulation
// durchgeführt"), the progress bar and the computing time.

#include <QFont>
#include <QMainWindow>
#include <QUrl>

#include <memory>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPrinter;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class lauf_ausfuehrer;

// Page metrics of the printer (printer units).
struct druckseite {
    int oben = 150, unten = 150, links = 200;
    int zeilen_pro_seite = 0;
    int seitenmitte = 0;
    int seite = 1;
};

class THauptmenue : public QMainWindow {
    Q_OBJECT
public:
    explicit THauptmenue(lauf_ausfuehrer& ausfuehrer, QWidget* eltern = nullptr);
    ~THauptmenue() override;

    // Captions of the window and its menu in the current language.
    void beschriften();
    // Enables or disables the menus "Simulation", "Kalkulation", "Ergebnisse"
    // and "Einstellungen" together.
    void menuitem_activate(bool an);
    // Shows the run's check marks (never while a run owns the state).
    void marken_zeigen();
    // The status panel replaces the logo and chart panels for good.
    void statuspanel_zeigen();
    bool statuspanel_sichtbar() const;

    // The menu items, for the windows that set them and for tests.
    QAction* aktion(const char* name) const;
    QMenu* menue(const char* name) const;
    bool zwischenergebnisse_gewaehlt() const;

    // Steuern_Starten: the control run the weather-station window prepared
    // (`messflag` "J" full mode, "N" test mode) on the run executor, with the
    // station window showing its fields; returns when the run has ended.
    void steuern_starten(const QString& messflag);
    void setze_zwischenergebnisse(bool an);

    // The manual the help menu chose last; tests switch the opening off
    // (no viewer is started).
    QUrl letzte_anleitung() const { return letzte_anleitung_; }
    void setze_anleitung_oeffnen(bool an) { anleitung_oeffnen_ = an; }

    const QFont& druckerschrift() const { return druckerschrift_; }
    // The printer of the program (set up by "Drucker einrichten"); created on
    // first use, since asking the print system takes time.
    QPrinter& drucker();
    // Page metrics for the printer font (computed when a print needs them or
    // the font or printer changes: asking the print system takes time).
    const druckseite& seite() {
        if (seite_.zeilen_pro_seite == 0) seitenmasse_berechnen();
        return seite_;
    }

protected:
    void changeEvent(QEvent* e) override;
    bool eventFilter(QObject* objekt, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void baue_menue();
    QWidget* baue_logopanel();
    QWidget* baue_statuspanel();
    void starte_lauf(bool optimierung);
    // Opens the manual of the help menu (`abschnitt`: an anchor of the
    // shipped guide).
    void oeffne_anleitung(const char* deutsch, const char* englisch, const char* abschnitt);
    void seitenmasse_berechnen();

    lauf_ausfuehrer& ausfuehrer_;
    QStackedWidget* stapel_ = nullptr;
    QGroupBox* panel_sim_ = nullptr;
    QCheckBox* check_de_ = nullptr;
    QCheckBox* check_af_ = nullptr;
    QCheckBox* check_sim_ = nullptr;
    QProgressBar* fortschritt_ = nullptr;
    QPushButton* neue_simulation_ = nullptr;
    QLabel* rechenzeit_ = nullptr;
    QLabel* rechenzeit_wert_ = nullptr;
    QLabel* titel_ = nullptr;
    std::vector<QLabel*> logotexte_;
    QFont druckerschrift_;
    std::unique_ptr<QPrinter> drucker_;
    druckseite seite_;
    int beschriftet_in_ = -1;
    QUrl letzte_anleitung_;
    bool anleitung_oeffnen_ = true;
};
