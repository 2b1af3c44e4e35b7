#pragma once
// The runner's command `devices`: lists the serial ports with the identity
// levels found on them, the port of each device and its no-connection mark.

#include <iosfwd>
#include <optional>

// Runs `varnek-cli [options] devices [--simulated] [--com-pattern PATTERN]`
// and returns its exit status; nothing when the command line names another
// command.
std::optional<int> geraete_befehl(int argc, const char* const* argv, std::ostream& aus, std::ostream& fehler);
