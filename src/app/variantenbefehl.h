#pragma once
// Variants of a site data set for a parametric study: for every combination
// of the varied values a new `haupt` row, a copy of the base data set whose
// varied catalogue rows are copies with the new value, ready for a batch.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

// One --vary: TABLE.COLUMN=v1,v2,... TABLE is `haupt` (a column of the data
// set itself), a reference column of `haupt` (`kolo`, `wpww`, `zwischenspei`,
// ...) or a table that exactly one reference column names (`spei`, `num`, ...).
struct variation {
    std::string tabelle, spalte;
    std::vector<std::string> werte;
};

// Parses "TABLE.COLUMN=v1,v2,..."; throws std::invalid_argument with the
// reason for a malformed one.
variation lies_variation(const std::string& text);

// One variant: its name and, per variation, the value it takes.
struct variante {
    std::string name;
    std::vector<std::string> werte;
};

// The variants in order (the last variation changing fastest) with names from
// `muster`: "{base}" the base name, "{n}" the variant's number (from 1),
// "{1}", "{2}", ... the values of the first, second, ... variation.
std::vector<variante> bilde_varianten(const std::string& basis, const std::vector<variation>& v,
                                      const std::string& muster);

// The default name pattern: "{base} COLUMN={1} COLUMN={2} ...".
std::string standardmuster(const std::vector<variation>& v);

// "sweep": creates the variants of data set `basis` (or with `probelauf` only
// lists them). Each variant gets a copy of every catalogue row it varies,
// named like the variant, its own result and control file names and lock
// "NF". Refuses, before anything is written, a malformed or unknown
// table/column, a value that does not fit its column and a name that exists
// already (std::invalid_argument for the command line, std::runtime_error
// for the data).
void befehl_sweep(const std::string& basis, const std::vector<std::string>& variationen,
                  const std::optional<std::string>& muster, bool probelauf, std::ostream& aus);
