#pragma once
// The parser behind the table reader: reads a self-describing result or
// control file, or a raw table described by a TSDaten, from a source of lines.
// It reports no messages; lese_tabelle (ergebnisdatei_lesen.h) does.
//
// Field rules: in the key, unit and code lines a field is the text up to the
// next comma with every blank removed; a unit or code field of more than 40
// characters makes the input malformed. In a data row the part before the
// first NUL is the row label (up to its first comma, kept with its blanks)
// and the row number; the part after it (the whole line when there is no NUL)
// holds the values, with commas, blanks, tabs and NULs as separators.
//
// Hostile input is bounded: a line may hold at most MAXZEILENLAENGE bytes, a
// row label at most MAXLABELLAENGE, and the value store grows only with rows
// actually read (at most MAXZEILEN × MAXSPALTEN × MAXSCHEIBEN values).

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

#include "results/ergebnistabelle.h"

constexpr std::size_t MAXZEILENLAENGE = std::size_t{1} << 20;
constexpr std::size_t MAXLABELLAENGE = 1024;
constexpr std::size_t MAXFELDLAENGE = 40;  // unit and code fields

// Lines of an input, without their line end (LF, or CR LF).
class zeilenquelle {
public:
    virtual ~zeilenquelle() = default;
    // The next line; false at the end of the input or after a line longer
    // than MAXZEILENLAENGE (then zu_lang() is true) or a read error.
    virtual bool naechste(std::string_view& zeile) = 0;
    bool zu_lang() const { return zu_lang_; }

protected:
    bool zu_lang_ = false;
};

// Lines of text in memory.
class text_zeilenquelle : public zeilenquelle {
public:
    explicit text_zeilenquelle(std::string_view text) : rest_(text) {}
    bool naechste(std::string_view& zeile) override;

private:
    std::string_view rest_;
    bool ende_ = false;
};

// Lines of an open file, read in blocks; the file stays owned by the caller.
class datei_zeilenquelle : public zeilenquelle {
public:
    explicit datei_zeilenquelle(std::FILE* datei) : datei_(datei) {}
    bool naechste(std::string_view& zeile) override;
    bool lesefehler() const { return lesefehler_; }

private:
    std::FILE* datei_;
    std::string puffer_;
    std::size_t anfang_ = 0;
    bool dateiende_ = false;
    bool lesefehler_ = false;
};

enum class leseergebnis {
    ok,
    falsches_format,      // any read or conversion failure
    zu_viele_scheiben,    // more than MAXSCHEIBEN sections announced
};

// Reads a table. layout 'n': self-describing file (the descriptor is cleared
// and its vzeile set from the file); any other character: raw table described
// by `beschreibung` (rows of section s = vzeile[s], or nzeile when that is 0).
// Fills zeil, spalt, scheib, hauptname, feldx, feldy (einheit, name_0) and
// feldz (einheit, wert) of `tab`, and the values of every section into `ziel`.
// On a failure `fehlerzeile` (if given) receives the line of the input
// (1-based) that was malformed or missing.
leseergebnis lies_tabelle(zeilenquelle& quelle, dat3d& ziel, parreadtab& tab,
                          TSDaten& beschreibung, char layout, std::size_t* fehlerzeile = nullptr);
