#pragma once
// The desktop's question when no device answers on the ports searched: a box
// with "Abbrechen", "Wiederholen" and "Ignorieren" in the chosen language.
// Closing the box ignores. Asked only by the window thread; a search on a
// run's worker thread (a control run never asks) ignores.

#include "station/geraeteprotokoll.h"

class geraetefrage : public geraete_dialog {
public:
    dialog_antwort frage(const std::string& text) override;
};
