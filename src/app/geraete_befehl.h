#pragma once
// The runner's command `devices`: lists the serial ports with the identity
// levels found on them, the port of each device and its no-connection mark.

#include <iosfwd>
#include <optional>
#include <string>

// Runs `varnek-cli devices [--simulated] [--com-pattern PATTERN]` in the
// language already chosen and returns its exit status (0 listed, 1 failed;
// the reason is the last line on `fehler`). `muster` maps COMn to a device
// path for this listing only.
int befehl_geraete(bool simuliert, const std::optional<std::string>& muster, std::ostream& aus,
                   std::ostream& fehler);
