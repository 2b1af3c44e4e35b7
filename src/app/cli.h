#pragma once
// The headless runner: the same start-up and run driver as the desktop, with
// messages on stderr and in the protocol file.

#include <iosfwd>

// Runs one command line; returns the process exit status (0 success).
int varnek_cli(int argc, const char* const* argv, std::ostream& aus, std::ostream& fehler);
