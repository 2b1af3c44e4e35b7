#pragma once
// File dialogs of the result and cost windows: Qt's own dialogs (never the
// platform's), with several filters, and the size dialog of a chart picture.

#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

// Open dialog starting at `start` (a file is preselected); filters in Qt's
// form ("Text (*.x)"), the first one active. Nothing when cancelled.
std::optional<QString> oeffne_datei(QWidget* eltern, const QString& titel, const QString& start,
                                    const QStringList& filter);

// The file `start` when it exists (a file chosen in a list of result files
// needs no dialog); otherwise the open dialog at `start`, to find it.
std::optional<QString> gewaehlte_datei(QWidget* eltern, const QString& titel, const QString& start,
                                       const QStringList& filter);

// Save dialog; `start` is the proposed file. The extension of the active
// filter is added to a name without one.
std::optional<QString> speichere_datei(QWidget* eltern, const QString& titel, const QString& start,
                                       const QStringList& filter);

// Width and height of a picture in pixels; nothing when cancelled.
std::optional<QSize> frage_bildgroesse(QWidget* eltern, QSize vorschlag);
