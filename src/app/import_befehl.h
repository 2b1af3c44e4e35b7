#pragma once
// The runner command "import-weather": an EPW file or a DWD test reference
// year as a weather record of the database.

#include <ostream>
#include <string>

#include "app/programmstart.h"

// varnek-cli import-weather FILE --name NAME [--replace]: starts the program
// with `start`, reads the weather file and writes it as weather record `name`
// (`ir_ta_m` with hourly `ir_ta_d` rows); `ersetzen` replaces a record of
// that name. Prints the record's name, place, coordinates, source, the hours
// per month and the yearly irradiation. Returns the exit status: 0 written,
// 1 the file could not be read or the record not written (the last line on
// `fehler` is the reason in the runner's form), 2 a wrong command line.
int befehl_wetterimport(const startoptionen& start, const std::string& datei, const std::string& name,
                        bool ersetzen, std::ostream& aus, std::ostream& fehler);
