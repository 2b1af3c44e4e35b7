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

// A name pattern: "{base}" the base name, "{n}" the variant's number (from
// 1), "{1}", "{2}", ... the values of the first, second, ... variation; any
// other text stands for itself. Throws std::invalid_argument for an open
// brace, an unknown placeholder or a value number beyond the variations.
class namensmuster {
public:
    namensmuster(const std::string& muster, std::size_t variationen);
    std::string name(const std::string& basis, long long n, const std::vector<std::string>& werte) const;

private:
    struct teil {
        enum class art { text, basis, nummer, wert } was;
        std::string text;
        std::size_t k;
    };
    std::vector<teil> teile_;
};

// The variants in order (the last variation changing fastest), one at a
// time: a study of many combinations is listed without holding it.
class variantenfolge {
public:
    variantenfolge(const std::string& basis, const std::vector<variation>& v, const namensmuster& muster);
    // The next variant; false after the last.
    bool naechste(variante& x);

private:
    std::string basis_;
    const std::vector<variation>& v_;
    namensmuster muster_;
    std::vector<std::size_t> stelle_;
    long long n_ = 0;
    bool fertig_;
};

// The number of combinations (the product of the value counts; a double, so
// that an absurd product is still a number to report).
double anzahl_varianten(const std::vector<variation>& v);

// The default name pattern: "{base} COLUMN={1} COLUMN={2} ...".
std::string standardmuster(const std::vector<variation>& v);

// The default limit of the number of variants of one sweep.
constexpr long long STANDARD_MAX_VARIANTEN = 10000;

// "sweep": creates the variants of data set `basis` (or with `probelauf` only
// lists them, line by line as they are formed). Each variant gets a copy of
// every catalogue row it varies, named like the variant, its own result and
// control file names and lock "NF". Refuses, before anything is written, a
// malformed or unknown table/column, a malformed name pattern, more than
// `max_varianten` combinations, a value that does not fit its column and a
// name that exists already (std::invalid_argument for the command line,
// std::runtime_error for the data). The variants are then written in one
// transaction per table and each is checked as a run would load it (every
// reference found, every number in its range, plain file names); the first
// variant that fails undoes them all and is the reason.
void befehl_sweep(const std::string& basis, const std::vector<std::string>& variationen,
                  const std::optional<std::string>& muster, bool probelauf, std::ostream& aus,
                  long long max_varianten = STANDARD_MAX_VARIANTEN);
