#pragma once
// The run window: shown while a run computes, with the area and step being
// computed, a progress bar, the time so far and the button "Anhalten".
// Closing it asks the run to stop, like the button.

#include <QDialog>
#include <QElapsedTimer>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

class TLauf : public QDialog {
    Q_OBJECT
public:
    explicit TLauf(QWidget* eltern = nullptr);
    void beschriften();

public slots:
    void zeige_fortschritt(int wert, int maximum);
    void zeige_flaeche(double A);
    // A run's own line in place of "Die Rechnung läuft." (a control run
    // shows its live intervals there); the month progress is hidden.
    void zeige_text(const QString& text);
    // The run has ended: the window closes.
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
    QProgressBar* balken_;
    QPushButton* anhalten_;
    QTimer* uhr_;
    QElapsedTimer dauer_;
    bool beendet_ = false;
    int wert_ = 0, maximum_ = 12;
    double A_ = -1.0;
    QString eigener_text_;
};
