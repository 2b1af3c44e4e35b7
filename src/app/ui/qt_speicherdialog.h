#pragma once
// The save dialog of the output file ("Datei speichern unter") and the open
// dialog of the windows, as Qt file dialogs (never the platform's own, so that
// they look and behave alike everywhere).

#include <QString>

#include <filesystem>
#include <optional>
#include <string>

#include "results/ergebniskatalog.h"

class QWidget;

class qt_speicherdialog : public speicherdialog {
public:
    explicit qt_speicherdialog(QWidget* eltern) : eltern_(eltern) {}
    std::optional<std::filesystem::path> zeige(const speicherdialog_vorgabe& vorgabe) override;

private:
    QWidget* eltern_;
};

// A filter of the program's form "Text (*.x)|*.x" in Qt's form "Text (*.x)".
QString qt_filter(const std::string& filter);

// Open dialog: title, start file or folder, filter of the program's form;
// nothing when cancelled.
std::optional<std::filesystem::path> oeffnen_dialog(QWidget* eltern, const std::string& titel,
                                                    const std::filesystem::path& start, const std::string& filter);
