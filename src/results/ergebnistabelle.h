#pragma once
// In-memory form of a result or control file (`parreadtab`), the slice store
// the table reader fills (`dat3d`) and the descriptor of a raw table (`TSDaten`).
//
// Rows, columns and sections are numbered from 1, as in the files; column q+1
// of a result file holds monthly quantity q (adata).

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Limits of one file. A section holds at most 12 × 800 rows, so that every
// control file the writer can produce reads back.
constexpr int MAXZEILEN = 12 * 800;
constexpr int MAXSPALTEN = 61;
constexpr int MAXSCHEIBEN = 20;

struct koor {
    std::string name;     // title (column) or key name (section)
    std::string name_0;   // code
    std::string einheit;  // unit
    double wert = 0.0;
};

struct koor_int {
    std::string name;  // row label
    int32_t wert = 0;  // number written after the label
};

struct parreadtab {
    std::vector<double> feldd;    // values of the current section, row-major
    std::vector<koor_int> feldx;  // row labels [1..zeil]; slot 0 spare
    std::vector<koor> feldy;      // column descriptors [1..spalt]; slot 0 spare
    std::vector<koor> feldz;      // section keys [1..scheib]; slot 0 spare (filled by the reader)
    int32_t zeil = 0;
    int32_t spalt = 0;
    int32_t scheib = 0;
    std::string name;       // path of the file
    std::string hauptname;  // name of the site data set, line 1 of the file
    int stg = 20;           // field width of the number written last
    int stk = 10;           // decimals of fixed-point numbers

    // Sizes the row, column and value arrays for `zeilen` × `spalten`.
    void dimensioniere(int32_t zeilen, int32_t spalten) {
        zeil = zeilen;
        spalt = spalten;
        feldd.assign(static_cast<std::size_t>(zeilen) * static_cast<std::size_t>(spalten), 0.0);
        feldx.assign(static_cast<std::size_t>(zeilen) + 1, koor_int{});
        feldy.assign(static_cast<std::size_t>(spalten) + 1, koor{});
    }
    // Value of row r (1..zeil), column c (1..spalt) of the current section.
    double& wert(int32_t r, int32_t c) {
        return feldd[static_cast<std::size_t>(r - 1) * static_cast<std::size_t>(spalt) +
                     static_cast<std::size_t>(c - 1)];
    }
    double wert(int32_t r, int32_t c) const {
        return feldd[static_cast<std::size_t>(r - 1) * static_cast<std::size_t>(spalt) +
                     static_cast<std::size_t>(c - 1)];
    }
};

// Values of every section of the file read last. Storage grows with the rows
// actually read, never with the counts a file merely announces.
class dat3d {
public:
    void leere() { scheiben_.clear(); spalten_ = 0; }
    void beginne(int32_t spalten) { leere(); spalten_ = spalten; }
    // Starts the next section.
    void neue_scheibe() { scheiben_.emplace_back(); }
    // Appends one row of `spalten` values to the current section.
    double* neue_zeile() {
        auto& s = scheiben_.back();
        s.resize(s.size() + static_cast<std::size_t>(spalten_), 0.0);
        return s.data() + s.size() - static_cast<std::size_t>(spalten_);
    }

    int32_t scheiben() const { return static_cast<int32_t>(scheiben_.size()); }
    int32_t spalten() const { return spalten_; }
    int32_t zeilen(int32_t s) const {
        return spalten_ == 0 ? 0
                             : static_cast<int32_t>(scheiben_[static_cast<std::size_t>(s - 1)].size() /
                                                    static_cast<std::size_t>(spalten_));
    }
    // Row r, column c, section s, all from 1.
    double& wert(int32_t r, int32_t c, int32_t s) {
        return scheiben_[static_cast<std::size_t>(s - 1)]
                        [static_cast<std::size_t>(r - 1) * static_cast<std::size_t>(spalten_) +
                         static_cast<std::size_t>(c - 1)];
    }
    double wert(int32_t r, int32_t c, int32_t s) const {
        return const_cast<dat3d*>(this)->wert(r, c, s);
    }

private:
    std::vector<std::vector<double>> scheiben_;
    int32_t spalten_ = 0;
};

// Descriptor of a table to read. For self-describing files it is cleared and
// `vzeile` is set from the file; for raw tables the caller fills it.
struct TSDaten {
    std::string name;
    int32_t azeile = 0;   // lines to skip before the table
    int32_t bspalte = 0;  // leading numbers to skip in every data row
    int32_t nzeile = 0;   // rows
    int32_t mspalte = 0;  // columns
    int32_t lscheibe = 0; // sections
    std::array<int32_t, MAXSCHEIBEN + 1> vzeile{};  // rows of section s (1..20); 0 = nzeile
};
