#pragma once
// Window tests: a program started on a data folder of the test's own, and an
// answerer that waits for the message boxes and file dialogs the windows open,
// records them and answers them as told. The warnings and notes of a run
// open no box (they go to the run window's list); the answerer records them
// as well, from the program's run executor.

#include <QElapsedTimer>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>

#include <QWidget>

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/steuerlauf.h"

class varnek_programm;
class lauf_ausfuehrer;

// One message box or dialog seen.
struct gesehene_meldung {
    QString text;
    QMessageBox::Icon symbol = QMessageBox::NoIcon;
    QChar schwere;        // severity of `meldung` boxes ('A' for questions)
    QString ja_text;      // caption of the Yes button of a question
    bool kasten = true;   // a message box; false: listed in the run window
};

class antworter : public QObject {
    Q_OBJECT
public:
    antworter();
    ~antworter() override;
    // Records the messages that the runs of `a` collect.
    void hoere(lauf_ausfuehrer& a);
    // Answers of the next questions (Yes/No boxes), in order; without one, No.
    void antworte(QMessageBox::StandardButton b) { antworten_.push_back(b); }
    // The path the next file dialog chooses; without one it is cancelled.
    // A print dialog takes it too: it prints into that PDF file.
    void datei(const std::filesystem::path& p) { dateien_.push_back(p); }
    // Clicks "Anhalten" as soon as the run window appears.
    bool anhalten_klicken = false;

    std::vector<gesehene_meldung> meldungen;
    int dateidialoge = 0;
    int druckdialoge = 0;
    // Texts of all boxes seen so far, for failure output.
    QString alle() const;
    bool gesehen(const QString& teiltext) const;
    void vergiss() { meldungen.clear(); }

    // Any other modal dialog that stays unanswered this long is rejected
    // and recorded ("unbeantwortet: ..."): a test never waits for a dialog.
    int geduld_ms = 10000;

private:
    void pruefe();
    QTimer takt_;
    QPointer<QWidget> wartend_;
    QElapsedTimer wartet_seit_;
    std::deque<QMessageBox::StandardButton> antworten_;
    std::deque<std::filesystem::path> dateien_;
};

// A started program on its own folders <tmp>/db and <tmp>/res.
struct testprogramm {
    explicit testprogramm(int bildschirmbreite = 1280, const steuerlauf_optionen& geraete = {});
    ~testprogramm();
    std::filesystem::path db() const;
    std::filesystem::path res() const;

    QTemporaryDir ordner;
    std::unique_ptr<varnek_programm> programm;
    bool angelegt = false;
};

// Runs `f` once `fenster` is the active modal window (windows that open
// after a run on the worker, which has event loops of its own).
void wenn_modal(QWidget& fenster, const std::function<void()>& f);

// Waits until `bedingung` holds or `ms` have passed, processing events.
bool warte_bis(const std::function<bool()>& bedingung, int ms = 20000);

// A picture program that has not ended after `sekunden` says so (with the
// last step it reached) and exits with status 3 instead of hanging.
void notausgang(int sekunden, const char* programm);
// The step a picture program has reached, for `notausgang`.
void schritt(const QString& name);
