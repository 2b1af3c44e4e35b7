#pragma once
// Fixing marks of the result catalogue (table `result`, column `lock`): a
// result row is fixed ("F") when a run enters it and loses the mark ("NF")
// by "Fixierungen löschen"; rows without the mark can be deleted together.
// Only catalogue rows change; the result files stay.

#include <cstdint>

// Every result row gets lock "NF". Returns the count.
int64_t ergebnisfixierungen_loeschen();
// Deletes every result row whose lock is not "F". Returns the count.
int64_t nicht_fixierte_ergebnisse_loeschen();
