#pragma once
// Messages of the desktop: dialogs become message boxes with the icon of
// their severity ('E' and 'T' error, 'W' warning, 'M' information), 'A'
// questions a Yes/No box.
//
// A run's worker thread reports too. Its warnings, errors and notes never
// stop the run: they are written to the protocol and handed to the window
// thread (signal `laufmeldung`), which lists them in the run window. Only a
// question stops the run: its box is shown by the window thread while the
// run waits for the answer; that waiting time is counted (`gewartet_ms`) so
// that the run's computing time leaves it out.

#include <QObject>
#include <QString>

#include <mutex>
#include <string>

#include "lang/meldung.h"

class gui_senke : public QObject, public meldungs_senke {
    Q_OBJECT
public:
    // Created on the window thread.
    explicit gui_senke(QObject* eltern = nullptr);

    void zeige(const std::string& text, char schwere) override;
    bool frage(const std::string& frage_text) override;
    void cursor_zuruecksetzen() override;
    void protokolliert(const std::string& text, char schwere) override;

    // The last error ('E' or 'T') that went only to the protocol file, so that
    // a batch can say why it stopped; cleared by `vergiss_protokollfehler`.
    std::string letzter_protokollfehler() const;
    void vergiss_protokollfehler();

    // The text as the box shows it: the line break " #13 " of the message
    // routine becomes a new line.
    static QString anzeigetext(const std::string& text);

    // Milliseconds that runs have waited for answers to questions, in all.
    static qint64 gewartet_ms();

signals:
    // A message of a run's worker thread (queued to the window thread).
    void laufmeldung(const QString& text, QChar schwere);

private:
    mutable std::mutex mutex_;
    std::string protokollfehler_;
};
