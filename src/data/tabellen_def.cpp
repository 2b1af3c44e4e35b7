#include "data/tabellen_def.h"

#include <algorithm>
#include <cctype>

std::string sql_typ(const spalten_def& spalte) {
    switch (spalte.typ) {
        case spaltentyp::text:
            return "VARCHAR(" + std::to_string(spalte.breite > 0 ? spalte.breite : 20) + ")";
        case spaltentyp::real:
            return "REAL";
        case spaltentyp::integer:
            return "INTEGER";
        case spaltentyp::bigint:
            return "BIGINT";
        case spaltentyp::dezimal:
            return "NUMERIC(20,0)";
        case spaltentyp::memo:
            return "TEXT";
    }
    return "TEXT";
}

spalten_def spalte_aus_deklaration(const std::string& name, const std::string& deklaration, bool pflicht) {
    std::string d = deklaration;
    std::transform(d.begin(), d.end(), d.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    spalten_def s{name, spaltentyp::memo, 0, pflicht};
    // SQLite's affinity rules, in their order of precedence.
    if (d.find("INT") != std::string::npos) {
        s.typ = d.find("BIG") != std::string::npos ? spaltentyp::bigint : spaltentyp::integer;
    } else if (d.find("CHAR") != std::string::npos || d.find("CLOB") != std::string::npos ||
               d.find("TEXT") != std::string::npos) {
        s.typ = d.find("CHAR") != std::string::npos ? spaltentyp::text : spaltentyp::memo;
        const auto auf = d.find('(');
        if (s.typ == spaltentyp::text && auf != std::string::npos) {
            try {
                s.breite = std::stoi(d.substr(auf + 1));
            } catch (...) {
                s.breite = 0;
            }
        }
    } else if (d.empty() || d.find("BLOB") != std::string::npos) {
        s.typ = spaltentyp::memo;
    } else if (d.find("REAL") != std::string::npos || d.find("FLOA") != std::string::npos ||
               d.find("DOUB") != std::string::npos) {
        s.typ = spaltentyp::real;
    } else {
        s.typ = spaltentyp::dezimal;
    }
    return s;
}

std::string sql_bezeichner(const std::string& name) {
    std::string s = "\"";
    for (char c : name) {
        if (c == '"') s += '"';
        s += c;
    }
    return s + "\"";
}

bool gleich_ohne_gross_klein(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

std::string tabellen_ddl(const tabellen_def& def) {
    std::string sql = "CREATE TABLE " + sql_bezeichner(def.sql_name) + " (";
    for (size_t i = 0; i < def.spalten.size(); ++i) {
        const auto& s = def.spalten[i];
        if (i) sql += ", ";
        sql += sql_bezeichner(s.name) + " " + sql_typ(s) + (s.pflicht ? " NOT NULL" : "");
    }
    if (!def.schluessel.empty()) {
        sql += ", PRIMARY KEY (";
        for (size_t i = 0; i < def.schluessel.size(); ++i)
            sql += (i ? ", " : "") + sql_bezeichner(def.schluessel[i]);
        sql += ")";
    }
    sql += ");";
    for (const auto& ix : def.indizes) {
        sql += " CREATE INDEX " + sql_bezeichner(ix.name) + " ON " + sql_bezeichner(def.sql_name) + " (";
        for (size_t i = 0; i < ix.spalten.size(); ++i) sql += (i ? ", " : "") + sql_bezeichner(ix.spalten[i]);
        sql += ");";
    }
    return sql;
}
