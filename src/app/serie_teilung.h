#pragma once
// A batch split over machines: the part K/N of a series, computed into a
// result folder of its own with its own result catalogue, and the merge of
// such folders into one result folder and the database's catalogue.

#include <chrono>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

// The part K of N (1 <= K <= N).
struct teilstueck {
    int k = 1, n = 1;
};

// "K/N" with 1 <= K <= N <= 100000; nothing for anything else.
std::optional<teilstueck> lies_teilstueck(const std::string& text);

// The data sets of part K/N: positions K-1, K-1+N, K-1+2N, ... of `liste`.
// The parts 1/N .. N/N together hold every data set exactly once.
std::vector<std::string> waehle_teilstueck(const std::vector<std::string>& liste, teilstueck t);

// The file name of a part's own result catalogue in its result folder.
extern const char* const TEILKATALOG;

// Points the result catalogue (table `result`) of this process to the
// catalogue file in `ergebnisordner`, created when missing.
void katalog_in_ergebnisordner(const std::filesystem::path& ergebnisordner);

// Merges the result folders `teile` (each with its own catalogue) into
// `ziel`: copies their result files there and enters their catalogue rows,
// with `ziel` as folder, into the database's catalogue, and fixes the data
// sets they name, as if the series had run here. Refuses (before anything is
// written) two different files under one name, in two parts or in a part and
// `ziel`. Throws std::runtime_error with the reason.
void befehl_merge(const std::vector<std::string>& teile, const std::filesystem::path& ziel,
                  std::chrono::milliseconds warten, std::ostream& aus, std::ostream& fehler);
