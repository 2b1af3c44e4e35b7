#pragma once
// The message routine: the engine, the loaders, the writers and the run driver
// all report through `meldung`.
//
// Mode "M" shows the text in a dialog (through the installed message sink);
// any other mode appends it as a line to the protocol file. Severity 'A' in
// mode "M" asks whether to abandon the application's current operation
// ("Anwendung beenden?"); a Yes, and every severity 'T', abandons the current
// operation by throwing `abbruch`, which unwinds to the top of the command
// (the GUI event loop or the CLI command). 'E', 'W' and 'M' only report.

#include <exception>
#include <filesystem>
#include <string>

// Silent abandonment of the current operation.
class abbruch : public std::exception {
public:
    const char* what() const noexcept override { return "operation abandoned"; }
};

// Receives the dialogs of `meldung`.
class meldungs_senke {
public:
    virtual ~meldungs_senke() = default;
    // Shows a message dialog (severity 'E', 'W', 'M' or 'T').
    virtual void zeige(const std::string& text, char schwere) = 0;
    // Yes/No confirmation; true means Yes (abandon the operation).
    virtual bool frage(const std::string& frage_text) = 0;
    // Resets an hourglass cursor to the default before the operation unwinds.
    virtual void cursor_zuruecksetzen() {}
    // A message that went to the protocol file instead of a dialog (any mode
    // other than "M"). A runner without windows uses it to tell the reason of
    // a failure that was only written to the protocol.
    virtual void protokolliert(const std::string& /*text*/, char /*schwere*/) {}
};

// Headless sink: writes dialogs to a stream (stderr by default) and answers
// questions by a fixed policy: continue by default, abandon on request.
class konsolen_senke : public meldungs_senke {
public:
    explicit konsolen_senke(bool abbrechen_bei_frage = false);
    void zeige(const std::string& text, char schwere) override;
    bool frage(const std::string& frage_text) override;

private:
    bool abbrechen_bei_frage_;
};

// Installs the sink for dialogs (nullptr restores the default console sink).
void setze_meldungs_senke(meldungs_senke* senke);
// The sink of the calling thread: the one bound to it (`senkenbindung`), else
// the installed one.
meldungs_senke& aktuelle_meldungs_senke();

// Binds a sink to the calling thread for the binding's lifetime: a thread
// that computes a run of its own answers and records its own messages.
class senkenbindung {
public:
    explicit senkenbindung(meldungs_senke& senke);
    ~senkenbindung();
    senkenbindung(const senkenbindung&) = delete;
    senkenbindung& operator=(const senkenbindung&) = delete;

private:
    meldungs_senke* vorher_;
};

// Folder of the protocol file (default: the working directory at first use).
void setze_protokollverzeichnis(const std::filesystem::path& verzeichnis);
// The protocol file of the current language ("Protokoll.pro" / "Protocol.pro").
std::filesystem::path protokolldatei();
// Creates or truncates the protocol file to length 0.
void leere_protokoll();

// Appends one line to the protocol file.
void protokolliere(const std::string& text);

void meldung(const std::string& text, const std::string& modus, char schwere);
