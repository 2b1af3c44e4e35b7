#pragma once
// A weather station on the simulated installation (weather station COM3,
// pump board COM4, fan COM5, sensor board COM6) over a simulated clock of
// type `Uhr`, for tests that drive the station and read the boards.

#include "station/RSCOM.h"
#include "station/geraeteprotokoll.h"
#include "station/simulierte_ports.h"
#include "station/uhr.h"
#include "station/wetterstation.h"

template <class Uhr>
struct simulierte_station {
    explicit simulierte_station(const datum_uhrzeit& start) : zeit{start} { stecke_beispielanlage(ports); }

    Uhr zeit;
    simulierte_ports ports{zeit};
    RSCOM port{ports, zeit};
    stationseinstellungen einstellungen;
    geraeteprotokoll protokoll{port, einstellungen};
    wetterstation station{protokoll, zeit};
};
