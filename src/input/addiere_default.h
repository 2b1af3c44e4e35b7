#pragma once
// "Addiere Default": the standard test data sets, and the test word of a
// plant structure (`an`) and a calculation method (`num`).

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

class sqlite_datei;

// One standard test data set, decoded from its suffix.
//   suffix := ["_ir_T" | "_ir_D"] "_" an "_" num "_" st [extra]
// The first group names the `an` row, the second the `num` row, the third the
// store-control row; "_ir_T"/"_ir_D" select the daily/hourly weather record;
// the extras change further columns (see `zerlege_default_suffix`).
struct default_variante {
    std::string suffix;
    std::string an, num, steuerspeicher;
    std::vector<std::pair<std::string, std::string>> aenderungen;  // further haupt column := value
};

// The 42 suffixes in their fixed order.
const std::vector<std::string>& default_suffixe();

// Decodes a suffix. Extras: "-F" fixed data set (lock "F"); "_p"/"_d" demand
// with periodic / hourly detail rows (eh0_p, ew0_p / eh0_d, ew0_d); "_pass"
// passive-house heating demand (eh_passiv); "_2" doubled collector field (l0_2);
// "-verl" long-term store with high losses; store-control "st1"/"st2" bring the
// long-term store lsp20m3 (st0 keeps the null store); an "...-K" (constant
// power) uses the linearised collector "Euro C 20 lin". Throws
// std::invalid_argument for a suffix outside this grammar.
default_variante zerlege_default_suffix(const std::string& suffix);

// The default values every standard data set starts from: (haupt column, value)
// for all 40 columns in stored order.
std::vector<std::pair<std::string, std::string>> default_werte();

// Builds the test word of the `an` row and the `num` row (their code columns
// concatenated, see the implementation for the order). Mode 'I' also records it
// in `kontrolle` (kennung, an, num) when not yet there; mode 'K' only builds it.
// A missing row abandons the operation (severity 'T').
std::string erzeuge_testwort(const std::filesystem::path& db_verzeichnis, const std::string& an,
                             const std::string& num, char modus);

// Inserts the 42 standard data sets into `haupt` of the database in
// `db_verzeichnis` and records their test words. A data set whose key already
// exists is skipped with a warning. Returns the number of rows inserted.
int addiere_default(const std::filesystem::path& db_verzeichnis);
