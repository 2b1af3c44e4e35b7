#pragma once
// The operating system's serial ports on POSIX systems (see schnittstelle.h).
#ifndef _WIN32

#include <string>

#include "station/schnittstelle.h"

class posix_ports : public port_anbieter {
public:
    std::unique_ptr<serieller_port> oeffne(const std::string& geraetename, port_meldung& fehler) override;
    std::string pfad_von(const std::string& geraetename) override;
};

// The problem behind an errno of open() on `pfad`; a missing permission
// names the group that owns the device.
port_meldung oeffnungsfehler_von(int fehler, const std::string& pfad);
// Name of the group owning `pfad` (its number when it has no name).
std::string gruppe_von(const std::string& pfad);

#endif
