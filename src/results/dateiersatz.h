#pragma once
// Files that appear complete or not at all: a file is written under a
// temporary name beside its target, flushed to the disk and then renamed over
// the target in one step. A reader sees the old file or the whole new one,
// never a part; a write that fails leaves the target as it was.

#include <filesystem>
#include <optional>
#include <string>

// Creates a new, empty temporary file in the folder of `ziel`
// ("<folder>/.<name>.<random>.tmp", never an existing file). Nothing when the
// folder does not allow it; `grund` then receives the system's reason.
std::optional<std::filesystem::path> lege_temporaere_datei_an(const std::filesystem::path& ziel,
                                                              std::string& grund);

// Flushes `temporaer` to the disk and renames it to `ziel` (replacing an
// existing file), then flushes the folder entry. false with the system's
// reason in `grund` when any step fails; `temporaer` then still exists.
bool ersetze_datei(const std::filesystem::path& temporaer, const std::filesystem::path& ziel,
                   std::string& grund);

// Removes temporary files of `ziel` that a run ended by force (kill, power
// loss) left behind. Only for a caller that holds the lock of `ziel`
// (dateisperre): no other run can be writing them then.
void entferne_temporaere_reste(const std::filesystem::path& ziel);
