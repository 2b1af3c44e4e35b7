#pragma once
// The run window: shown while a run computes, with the area and step being
// computed, a progress bar, the computing time so far and the button
// "Anhalten". Closing it asks the run to stop, like the button.
//
// Warnings and notes of the run do not stop it: they are listed in the
// window as they come (and written to the protocol). When the run has ended
// with such messages, the window stays open without holding anything up,
// shows how the run ended, the computing time and the list, and "Anhalten"
// has become "Schließen".

#include <QDialog>
#include <QElapsedTimer>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTimer;

class TLauf : public QDialog {
    Q_OBJECT
public:
    explicit TLauf(QWidget* eltern = nullptr);
    void beschriften();
    // The clock counts from `beginn`, the start of the run.
    void setze_beginn(const QElapsedTimer& beginn);
    // How a finished run ended.
    enum class ausgang { fertig, angehalten, abgebrochen };
    // The run has ended: the bar stands at its end when the run completed,
    // the time shown is `rechenzeit_s`; the window stays (non-modal) for the
    // user to read its messages.
    void abschliessen(ausgang a, double rechenzeit_s);
    QListWidget* meldungsliste() const { return liste_; }
    bool abgeschlossen() const { return abgeschlossen_; }

public slots:
    void zeige_fortschritt(int wert, int maximum);
    void zeige_flaeche(double A);
    // A run's own line in place of "Die Rechnung läuft." (a control run
    // shows its live intervals there); the month progress is hidden.
    void zeige_text(const QString& text);
    // A warning or note of the run ('E', 'W', 'M' or 'T').
    void zeige_meldung(const QString& text, QChar schwere);
    // The run has ended: the window closes (exec returns).
    void beenden();

signals:
    void anhalten_gewaehlt();

protected:
    void closeEvent(QCloseEvent* e) override;
    void reject() override;

private:
    void anhalten();
    void zeit_zeigen();

    QLabel* text_;
    QLabel* flaeche_;
    QLabel* schritt_;
    QLabel* zeit_;
    QLabel* meldungen_titel_;
    QListWidget* liste_;
    QProgressBar* balken_;
    QPushButton* anhalten_;
    QTimer* uhr_;
    QElapsedTimer dauer_;
    bool beendet_ = false;
    bool abgeschlossen_ = false;
    ausgang ausgang_ = ausgang::fertig;
    double rechenzeit_s_ = 0.0;
    int wert_ = 0, maximum_ = 12;
    double A_ = -1.0;
    QString eigener_text_;
};
