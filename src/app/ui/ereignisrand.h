#pragma once
// The boundary of the event loop for the windows' handlers: an operation
// abandoned by a message (severity 'T', a confirmed 'A') ends here, the
// hourglass is reset, and the window goes on. Files written so far stay.

#include <QApplication>

#include "lang/meldung.h"

template <class F>
void am_ereignisrand(F&& f) {
    try {
        f();
    } catch (const abbruch&) {
        while (QApplication::overrideCursor() != nullptr) QApplication::restoreOverrideCursor();
    }
}
