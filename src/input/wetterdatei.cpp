#include "input/wetterdatei.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <numbers>
#include <set>
#include <tuple>
#include <sstream>

#include "data/datenbank.h"
#include "data/einstellungen.h"
#include "input/sonnengeometrie.h"
#include "lang/meldung.h"
#include "lang/sprache.h"

namespace fs = std::filesystem;
using namespace tabledata;

namespace {

namespace txt {
constexpr text_paar nicht_lesbar{"Fehler: Wetterdatei kann nicht gelesen werden: ",
                                 "Error: weather file cannot be read: "};
constexpr text_paar keine_datei{"Fehler: Wetterdatei ist keine reguläre Datei: ",
                                "Error: weather file is not a regular file: "};
constexpr text_paar zu_gross{"Fehler: Wetterdatei ist zu groß: ", "Error: weather file is too large: "};
constexpr text_paar zeile{", Zeile ", ", line "};
constexpr text_paar kein_location{"Fehler: EPW-Datei ohne Zeile LOCATION: ", "Error: EPW file without a LOCATION line: "};
constexpr text_paar falsches_format{"Fehler: Falsches Datenformat: ", "Error: Wrong data format: "};
constexpr text_paar fehlender_wert{": fehlender Wert für ", ": missing value of "};
constexpr text_paar unmoeglich{": unmöglicher Wert für ", ": impossible value of "};
constexpr text_paar doppelt{": Stunde doppelt: ", ": hour given twice: "};
constexpr text_paar teilstuendlich{"Fehler: Nur Stundenwerte werden eingelesen (Werte je Stunde: ",
                                   "Error: only hourly values can be read (values per hour: "};
constexpr text_paar keine_spalten{"Fehler: Testreferenzjahr ohne Spaltenzeile (MM DD HH t ... B D): ",
                                  "Error: test reference year without a column line (MM DD HH t ... B D): "};
constexpr text_paar keine_koordinaten{"Fehler: Testreferenzjahr ohne Rechtswert und Hochwert: ",
                                      "Error: test reference year without Rechtswert and Hochwert: "};
constexpr text_paar keine_stunden{"Fehler: Wetterdatei ohne Stundenwerte: ", "Error: weather file without hourly values: "};
constexpr text_paar unbekannt{"Fehler: Unbekanntes Format der Wetterdatei (EPW oder DWD-Testreferenzjahr erwartet): ",
                              "Error: unknown format of the weather file (EPW or DWD test reference year expected): "};
constexpr text_paar name_falsch{"Fehler: Name des Wetterdatensatzes leer oder länger als 50 Zeichen: ",
                                "Error: name of the weather record empty or longer than 50 characters: "};
constexpr text_paar name_steuerzeichen{"Fehler: Name des Wetterdatensatzes enthält ein Steuerzeichen: ",
                                       "Error: name of the weather record holds a control character: "};
constexpr text_paar name_belegt{"Fehler: Wetterdatensatz existiert bereits (--replace ersetzt ihn): ",
                                "Error: weather record exists already (--replace replaces it): "};
constexpr text_paar luecke{"Fehler: Lücke in den Stundenwerten: Monat ", "Error: gap in the hourly values: month "};
constexpr text_paar tag{", Tag ", ", day "};
constexpr text_paar stunde{", Stunde ", ", hour "};
constexpr text_paar fehlt{" fehlt", " missing"};
constexpr text_paar stunde_kurz{" Stunde ", " hour "};
constexpr text_paar reihenfolge{"Fehler: Stunde nicht in der Reihenfolge des Jahres: ",
                                "Error: hour out of the order of the year: "};
constexpr text_paar nach{" nach ", " after "};
constexpr text_paar unvollstaendig{"Fehler: Wetterdatei ist kein ganzes Jahr (8760 Stunden, 8784 mit dem 29. Februar; "
                                   "gelesen: ",
                                   "Error: weather file is not a whole year (8760 hours, 8784 with 29 February; read: "};
constexpr text_paar endet_nach{"), sie endet nach ", "), it ends after "};
constexpr text_paar tabelle_zu{"Fehler: Tabelle nicht geöffnet: ", "Error: table not open: "};
}  // namespace txt

constexpr std::uintmax_t MAX_DATEIGROESSE = 64u << 20;  // far above any hourly year
constexpr size_t MAX_STUNDEN = 8784 + 24;                // a leap year and a spare day

// A text of the file as UTF-8: valid UTF-8 stays, other bytes are read as
// Latin-1 (older files).
std::string als_utf8(const std::string& s) {
    bool gueltig = true;
    for (size_t i = 0; i < s.size() && gueltig;) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        size_t n = 0;
        if (c >= 0x80) {
            if ((c >> 5) == 6)
                n = 1;
            else if ((c >> 4) == 14)
                n = 2;
            else if ((c >> 3) == 30)
                n = 3;
            else
                gueltig = false;
        }
        for (size_t k = 1; k <= n && gueltig; ++k)
            gueltig = i + k < s.size() && (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80;
        i += n + 1;
    }
    if (gueltig) return s;
    std::string r;
    for (unsigned char c : s) {
        if (c < 0x80) {
            r += static_cast<char>(c);
        } else {
            r += static_cast<char>(0xC0 | (c >> 6));
            r += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return r;
}

std::string trimmen(const std::string& s) {
    const auto a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return {};
    return s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
}

// At most n characters of a UTF-8 text.
std::string kuerzen(const std::string& s, size_t n) {
    size_t zeichen = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            if (zeichen == n) return s.substr(0, i);
            ++zeichen;
        }
    }
    return s;
}

std::optional<double> zahl(const std::string& s) {
    const std::string t = trimmen(s);
    if (t.empty()) return std::nullopt;
    char* ende = nullptr;
    const double x = std::strtod(t.c_str(), &ende);
    if (ende != t.c_str() + t.size() || !std::isfinite(x)) return std::nullopt;
    return x;
}

std::optional<int> ganzzahl(const std::string& s) {
    const auto x = zahl(s);
    if (!x || *x != std::floor(*x) || std::fabs(*x) > 1e6) return std::nullopt;
    return static_cast<int>(*x);
}

bool ist_schaltjahr(int j) { return (j % 4 == 0 && j % 100 != 0) || j % 400 == 0; }

int tage(int monat, bool schaltjahr) {
    static constexpr int t[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return monat == 2 && schaltjahr ? 29 : t[monat];
}

// A weather file must be a regular file: opening a FIFO or a device would
// block or never end. Reported otherwise.
bool ist_lesbare_datei(const fs::path& datei) {
    std::error_code ec;
    const fs::file_status s = fs::status(datei, ec);
    if (!fs::exists(s)) {
        meldung(txt::nicht_lesbar.text() + datei.string(), "M", 'E');
        return false;
    }
    if (!fs::is_regular_file(s)) {
        meldung(txt::keine_datei.text() + datei.string(), "M", 'E');
        return false;
    }
    return true;
}

// The lines of a file (at most MAX_DATEIGROESSE bytes), without a UTF-8
// byte-order mark at its start.
std::optional<std::vector<std::string>> lies_zeilen(const fs::path& datei) {
    std::error_code ec;
    if (!ist_lesbare_datei(datei)) return std::nullopt;
    if (fs::file_size(datei, ec) > MAX_DATEIGROESSE) {
        meldung(txt::zu_gross.text() + datei.string(), "M", 'E');
        return std::nullopt;
    }
    std::ifstream ein(datei, std::ios::binary);
    if (!ein) {
        meldung(txt::nicht_lesbar.text() + datei.string(), "M", 'E');
        return std::nullopt;
    }
    std::vector<std::string> zeilen;
    std::string z;
    while (std::getline(ein, z)) {
        if (!z.empty() && z.back() == '\r') z.pop_back();
        zeilen.push_back(std::move(z));
    }
    if (ein.bad()) {
        meldung(txt::nicht_lesbar.text() + datei.string(), "M", 'E');
        return std::nullopt;
    }
    if (!zeilen.empty() && zeilen.front().rfind("\xEF\xBB\xBF", 0) == 0) zeilen.front().erase(0, 3);
    return zeilen;
}

std::vector<std::string> teile(const std::string& s, char trenner) {
    std::vector<std::string> r;
    std::string t;
    std::stringstream ein(s);
    while (std::getline(ein, t, trenner)) r.push_back(t);
    if (!s.empty() && s.back() == trenner) r.emplace_back();
    return r;
}

std::vector<std::string> woerter(const std::string& s) {
    std::vector<std::string> r;
    std::stringstream ein(s);
    std::string w;
    while (ein >> w) r.push_back(w);
    return r;
}

std::string ort_in_datei(const fs::path& datei, size_t zeile) {
    return datei.filename().string() + txt::zeile.text() + std::to_string(zeile);
}
std::string ort_in_datei(const std::string& datei, size_t zeile) { return ort_in_datei(fs::path(datei), zeile); }

// Checks one hour and adds it; reports and returns false on a misfit.
class stundensammler {
public:
    stundensammler(const fs::path& datei, std::vector<wetterstunde>& ziel) : datei_(datei), ziel_(ziel) {}

    bool fehlt(size_t zeile, const char* was) {
        meldung(txt::falsches_format.text() + ort_in_datei(datei_, zeile) + txt::fehlender_wert.text() + was, "M",
                'E');
        return false;
    }
    bool unmoeglich(size_t zeile, const char* was, double x) {
        std::ostringstream o;
        o << txt::falsches_format.text() << ort_in_datei(datei_, zeile) << txt::unmoeglich.text() << was << " ("
          << x << ")";
        meldung(o.str(), "M", 'E');
        return false;
    }
    bool format(size_t zeile) {
        meldung(txt::falsches_format.text() + ort_in_datei(datei_, zeile), "M", 'E');
        return false;
    }
    bool neu(const wetterstunde& h) {
        if (h.monat < 1 || h.monat > 12 || h.tag < 1 || h.tag > tage(h.monat, true) || h.stunde < 1 || h.stunde > 24)
            return format(static_cast<size_t>(h.zeile));
        if (h.temperatur < -90.0 || h.temperatur > 70.0) return unmoeglich(static_cast<size_t>(h.zeile), "t", h.temperatur);
        if (h.global < 0.0 || h.global > 1500.0) return unmoeglich(static_cast<size_t>(h.zeile), "global", h.global);
        if (h.diffus < 0.0 || h.diffus > 1500.0) return unmoeglich(static_cast<size_t>(h.zeile), "diffus", h.diffus);
        if (!gesehen_.insert({h.monat, h.tag, h.stunde}).second) {
            meldung(txt::falsches_format.text() + ort_in_datei(datei_, static_cast<size_t>(h.zeile)) +
                        txt::doppelt.text() + std::to_string(h.tag) + "." + std::to_string(h.monat) + ". " +
                        std::to_string(h.stunde),
                    "M", 'E');
            return false;
        }
        if (ziel_.size() >= MAX_STUNDEN) return format(static_cast<size_t>(h.zeile));
        ziel_.push_back(h);
        return true;
    }

private:
    const fs::path& datei_;
    std::vector<wetterstunde>& ziel_;
    std::set<std::tuple<int, int, int>> gesehen_;
};

bool hat_steuerzeichen(const std::string& s) {
    for (size_t i = 0; i < s.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c < 0x20 || c == 0x7F) return true;
        // U+0080..U+009F, the C1 controls, in UTF-8.
        if (c == 0xC2 && i + 1 < s.size() && static_cast<unsigned char>(s[i + 1]) >= 0x80 &&
            static_cast<unsigned char>(s[i + 1]) <= 0x9F)
            return true;
    }
    return false;
}

// A text with its control characters written as \n, \t, \r or \xNN, so that
// a message stays one line.
std::string sichtbar(const std::string& s) {
    std::string r;
    for (const char c : s) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '\n') {
            r += "\\n";
        } else if (c == '\t') {
            r += "\\t";
        } else if (c == '\r') {
            r += "\\r";
        } else if (u < 0x20 || u == 0x7F) {
            char x[8];
            std::snprintf(x, sizeof x, "\\x%02X", u);
            r += x;
        } else {
            r += c;
        }
    }
    return r;
}

std::string stundentext(const wetterstunde& h) {
    return std::to_string(h.tag) + "." + std::to_string(h.monat) + "." + txt::stunde_kurz.text() +
           std::to_string(h.stunde);
}

// The hours of the file, in its order, are one whole year: from 1 January
// hour 1 to 31 December hour 24, each hour once and in calendar order, with
// 29 February in full or not at all (8760 or 8784 hours). Reports the first
// misfit with the file and its line.
bool pruefe_ganzes_jahr(const wetterjahr& jahr) {
    if (jahr.stunden.empty()) {
        meldung(txt::keine_stunden.text() + jahr.datei, "M", 'E');
        return false;
    }
    wetterstunde soll;
    soll.monat = 1;
    soll.tag = 1;
    soll.stunde = 1;
    auto rang = [](const wetterstunde& h) { return std::tie(h.monat, h.tag, h.stunde); };
    std::map<std::tuple<int, int, int>, int> zeilen;
    for (const wetterstunde& h : jahr.stunden) zeilen.emplace(rang(h), h.zeile);
    bool schalttag = false;
    const wetterstunde* vorige = nullptr;
    for (const wetterstunde& h : jahr.stunden) {
        // After 28 February hour 24 either 29 February or 1 March follows.
        const bool schalttag_beginnt = soll.monat == 3 && soll.tag == 1 && soll.stunde == 1 && h.monat == 2 &&
                                       h.tag == 29 && h.stunde == 1 && !schalttag;
        if (schalttag_beginnt) {
            schalttag = true;
            soll = h;
        }
        if (rang(h) != rang(soll)) {
            // The hour expected here stands later in the file: the file is
            // out of order rather than short of an hour.
            const auto spaeter = zeilen.find(rang(soll));
            if (rang(h) < rang(soll) || spaeter != zeilen.end()) {
                meldung(txt::reihenfolge.text() + ort_in_datei(jahr.datei, static_cast<size_t>(h.zeile)) + ": " +
                            stundentext(h) + (vorige ? txt::nach.text() + stundentext(*vorige) : std::string()),
                        "M", 'E');
            } else {
                meldung(txt::luecke.text() + std::to_string(soll.monat) + txt::tag.text() + std::to_string(soll.tag) +
                            txt::stunde.text() + std::to_string(soll.stunde) + txt::fehlt.text() + " (" +
                            ort_in_datei(jahr.datei, static_cast<size_t>(h.zeile)) + ")",
                        "M", 'E');
            }
            return false;
        }
        vorige = &h;
        // The next hour of the calendar.
        if (++soll.stunde > 24) {
            soll.stunde = 1;
            if (++soll.tag > tage(soll.monat, soll.monat == 2 && schalttag)) {
                soll.tag = 1;
                ++soll.monat;
            }
        }
    }
    if (soll.monat <= 12) {
        const wetterstunde& letzte = jahr.stunden.back();
        meldung(txt::unvollstaendig.text() + std::to_string(jahr.stunden.size()) + txt::endet_nach.text() +
                    stundentext(letzte) + " (" + ort_in_datei(jahr.datei, static_cast<size_t>(letzte.zeile)) + ")",
                "M", 'E');
        return false;
    }
    return true;
}

}  // namespace

// --- EPW ----------------------------------------------------------------------

std::optional<wetterjahr> lies_epw(const fs::path& datei) {
    const auto zeilen = lies_zeilen(datei);
    if (!zeilen) return std::nullopt;
    wetterjahr j;
    j.format = "EPW";
    j.datei = datei.filename().string();
    size_t daten_ab = 0;
    bool mit_location = false;
    for (size_t i = 0; i < zeilen->size() && daten_ab == 0; ++i) {
        const auto f = teile((*zeilen)[i], ',');
        if (f.empty()) continue;
        const std::string kopf = trimmen(f[0]);
        if (kopf == "LOCATION") {
            if (f.size() < 10) {
                meldung(txt::falsches_format.text() + ort_in_datei(datei, i + 1), "M", 'E');
                return std::nullopt;
            }
            const auto breite = zahl(f[6]), laenge = zahl(f[7]), zone = zahl(f[8]);
            if (!breite || !laenge || !zone || std::fabs(*breite) > 90.0 || std::fabs(*laenge) > 180.0 ||
                *zone < -12.0 || *zone > 14.0) {
                meldung(txt::falsches_format.text() + ort_in_datei(datei, i + 1), "M", 'E');
                return std::nullopt;
            }
            j.ort = als_utf8(trimmen(f[1]));
            const std::string region = als_utf8(trimmen(f[2]));
            j.land = als_utf8(trimmen(f[3]));
            const std::string quelle = als_utf8(trimmen(f[4]));
            j.wmo = trimmen(f[5]);
            j.breite = *breite;
            j.laenge = *laenge;
            j.zeitzone = *zone;
            j.quelle = "EPW" + (quelle.empty() || quelle == "-" ? std::string() : " " + quelle);
            j.info = "EPW " + j.ort + (region.empty() || region == "-" ? "" : ", " + region) + ", " + j.land +
                     (quelle.empty() ? "" : ", " + quelle) + (j.wmo.empty() ? "" : ", WMO " + j.wmo) + "; " + j.datei;
            mit_location = true;
        } else if (kopf == "COMMENTS 1" && f.size() > 1) {
            std::string k;
            for (size_t n = 1; n < f.size(); ++n) k += (n > 1 ? "," : "") + f[n];
            k = als_utf8(trimmen(k));
            if (!k.empty()) j.info += "; " + k;
        } else if (kopf == "DATA PERIODS") {
            if (f.size() > 2) {
                const auto je_stunde = ganzzahl(f[2]);
                if (je_stunde && *je_stunde != 1) {
                    meldung(txt::teilstuendlich.text() + std::to_string(*je_stunde) + "): " + datei.string(), "M", 'E');
                    return std::nullopt;
                }
            }
            daten_ab = i + 1;
        }
    }
    if (!mit_location) {
        meldung(txt::kein_location.text() + datei.string(), "M", 'E');
        return std::nullopt;
    }
    stundensammler sammler(datei, j.stunden);
    std::set<int> jahre;
    for (size_t i = daten_ab; i < zeilen->size(); ++i) {
        if (trimmen((*zeilen)[i]).empty()) continue;
        const auto f = teile((*zeilen)[i], ',');
        const int nr = static_cast<int>(i + 1);
        if (f.size() < 22) {
            sammler.format(i + 1);
            return std::nullopt;
        }
        const auto jahr = ganzzahl(f[0]), monat = ganzzahl(f[1]), t = ganzzahl(f[2]), h = ganzzahl(f[3]);
        if (!jahr || !monat || !t || !h) {
            sammler.format(i + 1);
            return std::nullopt;
        }
        wetterstunde s;
        s.monat = *monat;
        s.tag = *t;
        s.stunde = *h;
        s.zeile = nr;
        // Missing values are marked 99.9 (temperature), 9999 (irradiation),
        // 999 (humidity, wind).
        const auto temp = zahl(f[6]), ghi = zahl(f[13]), dhi = zahl(f[15]), rh = zahl(f[8]), ws = zahl(f[21]);
        if (!temp || *temp >= 99.9) {
            sammler.fehlt(i + 1, "t");
            return std::nullopt;
        }
        if (!ghi || *ghi >= 9999.0) {
            sammler.fehlt(i + 1, "global");
            return std::nullopt;
        }
        if (!dhi || *dhi >= 9999.0) {
            sammler.fehlt(i + 1, "diffus");
            return std::nullopt;
        }
        s.temperatur = *temp;
        s.global = *ghi;
        s.diffus = *dhi;
        if (rh && *rh >= 0.0 && *rh <= 110.0) s.feuchte = *rh;
        if (ws && *ws >= 0.0 && *ws < 999.0) s.wind = *ws;
        if (!sammler.neu(s)) return std::nullopt;
        jahre.insert(*jahr);
        if (s.monat == 2 && s.tag == 29) j.jahr = *jahr;
    }
    if (j.stunden.empty()) {
        meldung(txt::keine_stunden.text() + datei.string(), "M", 'E');
        return std::nullopt;
    }
    // One real year, or a typical year put together from several.
    if (!j.jahr && jahre.size() == 1) j.jahr = *jahre.begin();
    if (j.jahr && jahre.size() > 1 && !ist_schaltjahr(*j.jahr)) j.jahr.reset();
    return j;
}

// --- DWD test reference year ------------------------------------------------

std::optional<wetterjahr> lies_try(const fs::path& datei) {
    const auto zeilen = lies_zeilen(datei);
    if (!zeilen) return std::nullopt;
    wetterjahr j;
    j.format = "TRY";
    j.datei = datei.filename().string();
    j.land = "D";
    j.zeitzone = 1.0;  // CET throughout
    std::map<std::string, std::string> kopf;
    std::vector<std::string> spalten;
    size_t daten_ab = 0;
    for (size_t i = 0; i < zeilen->size(); ++i) {
        const std::string z = trimmen((*zeilen)[i]);
        if (z.rfind("***", 0) == 0) {
            daten_ab = i + 1;
            break;
        }
        if (const auto doppelpunkt = z.find(':'); doppelpunkt != std::string::npos) {
            std::string k = trimmen(z.substr(0, doppelpunkt));
            std::transform(k.begin(), k.end(), k.begin(), [](unsigned char c) { return std::tolower(c); });
            kopf[k] = als_utf8(trimmen(z.substr(doppelpunkt + 1)));
        }
        const auto w = woerter(z);
        if (std::find(w.begin(), w.end(), "MM") != w.end() && std::find(w.begin(), w.end(), "HH") != w.end() &&
            std::find(w.begin(), w.end(), "B") != w.end())
            spalten = w;
    }
    auto index = [&](const char* name) -> int {
        const auto it = std::find(spalten.begin(), spalten.end(), name);
        return it == spalten.end() ? -1 : static_cast<int>(it - spalten.begin());
    };
    const int s_mm = index("MM"), s_dd = index("DD"), s_hh = index("HH"), s_t = index("t"), s_b = index("B"),
              s_d = index("D"), s_rf = index("RF"), s_wg = index("WG");
    if (daten_ab == 0 || s_mm < 0 || s_dd < 0 || s_hh < 0 || s_t < 0 || s_b < 0 || s_d < 0) {
        meldung(txt::keine_spalten.text() + datei.string(), "M", 'E');
        return std::nullopt;
    }
    auto kopfzahl = [&](const char* k) -> std::optional<double> {
        const auto it = kopf.find(k);
        if (it == kopf.end()) return std::nullopt;
        const auto w = woerter(it->second);
        return w.empty() ? std::nullopt : zahl(w[0]);
    };
    const auto rw = kopfzahl("rechtswert"), hw = kopfzahl("hochwert");
    if (!rw || !hw) {
        meldung(txt::keine_koordinaten.text() + datei.string(), "M", 'E');
        return std::nullopt;
    }
    const geokoordinaten g = lcc_nach_geographisch(lcc_europa(), *rw, *hw);
    if (!std::isfinite(g.breite) || !std::isfinite(g.laenge) || std::fabs(g.breite) > 90.0) {
        meldung(txt::keine_koordinaten.text() + datei.string(), "M", 'E');
        return std::nullopt;
    }
    j.breite = g.breite;
    j.laenge = g.laenge;
    j.quelle = "DWD TRY";
    std::ostringstream info;
    info << "Testreferenzjahr (DWD)";
    for (const char* k : {"art des try", "bezugszeitraum"})
        if (const auto it = kopf.find(k); it != kopf.end() && !it->second.empty()) info << ", " << it->second;
    info << ", RW " << static_cast<long long>(*rw) << " HW " << static_cast<long long>(*hw) << "; " << j.datei
         << "; Quelle: Deutscher Wetterdienst";
    j.info = info.str();

    stundensammler sammler(datei, j.stunden);
    const size_t benoetigt = static_cast<size_t>(std::max({s_mm, s_dd, s_hh, s_t, s_b, s_d, s_rf, s_wg})) + 1;
    for (size_t i = daten_ab; i < zeilen->size(); ++i) {
        const auto w = woerter((*zeilen)[i]);
        if (w.empty()) continue;
        if (w.size() < benoetigt) {
            sammler.format(i + 1);
            return std::nullopt;
        }
        const auto mm = ganzzahl(w[static_cast<size_t>(s_mm)]), dd = ganzzahl(w[static_cast<size_t>(s_dd)]),
                   hh = ganzzahl(w[static_cast<size_t>(s_hh)]);
        const auto t = zahl(w[static_cast<size_t>(s_t)]), b = zahl(w[static_cast<size_t>(s_b)]),
                   d = zahl(w[static_cast<size_t>(s_d)]);
        if (!mm || !dd || !hh) {
            sammler.format(i + 1);
            return std::nullopt;
        }
        if (!t) {
            sammler.fehlt(i + 1, "t");
            return std::nullopt;
        }
        if (!b) {
            sammler.fehlt(i + 1, "B");
            return std::nullopt;
        }
        if (!d) {
            sammler.fehlt(i + 1, "D");
            return std::nullopt;
        }
        wetterstunde s;
        s.monat = *mm;
        s.tag = *dd;
        s.stunde = *hh;
        s.zeile = static_cast<int>(i + 1);
        s.temperatur = *t;
        s.diffus = *d;
        s.global = *b + *d;  // direct + diffuse on the horizontal
        if (*b < 0.0) {
            sammler.unmoeglich(i + 1, "B", *b);
            return std::nullopt;
        }
        if (s_rf >= 0)
            if (const auto rf = zahl(w[static_cast<size_t>(s_rf)]); rf && *rf >= 0.0 && *rf <= 110.0) s.feuchte = *rf;
        if (s_wg >= 0)
            if (const auto wg = zahl(w[static_cast<size_t>(s_wg)]); wg && *wg >= 0.0 && *wg < 99.0) s.wind = *wg;
        if (!sammler.neu(s)) return std::nullopt;
    }
    if (j.stunden.empty()) {
        meldung(txt::keine_stunden.text() + datei.string(), "M", 'E');
        return std::nullopt;
    }
    return j;
}

std::optional<wetterjahr> lies_wetterdatei(const fs::path& datei) {
    if (!ist_lesbare_datei(datei)) return std::nullopt;
    std::ifstream ein(datei, std::ios::binary);
    std::string anfang(16, '\0');
    ein.read(anfang.data(), static_cast<std::streamsize>(anfang.size()));
    anfang.resize(static_cast<size_t>(std::max<std::streamsize>(ein.gcount(), 0)));
    if (anfang.rfind("\xEF\xBB\xBF", 0) == 0) anfang.erase(0, 3);
    if (anfang.rfind("LOCATION", 0) == 0) return lies_epw(datei);
    std::string endung = datei.extension().string();
    std::transform(endung.begin(), endung.end(), endung.begin(), [](unsigned char c) { return std::tolower(c); });
    if (endung == ".epw") return lies_epw(datei);
    if (endung == ".dat") return lies_try(datei);
    meldung(txt::unbekannt.text() + datei.string(), "M", 'E');
    return std::nullopt;
}

// --- writing the record ------------------------------------------------------

std::optional<wetterimport_ergebnis> schreibe_wetterdatensatz(const wetterjahr& jahr, const std::string& name,
                                                              bool ersetzen) {
    const std::string n = trimmen(name);
    if (hat_steuerzeichen(name)) {
        meldung(txt::name_steuerzeichen.text() + "\"" + sichtbar(name) + "\"", "M", 'E');
        return std::nullopt;
    }
    if (n.empty() || kuerzen(n, 50) != n) {
        meldung(txt::name_falsch.text() + name, "M", 'E');
        return std::nullopt;
    }
    // A run needs every hour of the year: a part of a year is refused
    // before anything stored is touched.
    if (!pruefe_ganzes_jahr(jahr)) return std::nullopt;
    std::map<int, std::vector<const wetterstunde*>> monate;
    for (const auto& h : jahr.stunden) monate[h.monat].push_back(&h);
    tabelle& mt = tab_zum_schreiben(tir_ta_m);
    tabelle& dt = tab_zum_schreiben(tir_ta_d);
    if (!mt.ist_offen() || !dt.ist_offen()) {
        meldung(txt::tabelle_zu.text() + (mt.ist_offen() ? dt : mt).bezeichnung(), "M", 'E');
        return std::nullopt;
    }
    mt.abbrechen();
    dt.abbrechen();
    mt.filter_aus();
    mt.sortiere_nach_schluessel();
    const bool vorhanden = mt.suche({feldwert(n)});
    if (vorhanden && !ersetzen) {
        meldung(txt::name_belegt.text() + n, "M", 'E');
        return std::nullopt;
    }
    // The record being replaced, to put back should the detail rows fail
    // after the record has been written (the two tables are two files).
    std::vector<feldwert> alter_datensatz;
    if (vorhanden)
        for (int c = 0; c < mt.spaltenanzahl(); ++c) alter_datensatz.push_back(mt.wert(c));

    const bool schalttag = monate[2].size() == 29u * 24u;
    wetterimport_ergebnis e;
    e.stunden = static_cast<int>(jahr.stunden.size());
    std::vector<std::pair<std::string, feldwert>> monat;
    double wind = 0.0, feuchte = 0.0;
    int n_wind = 0, n_feuchte = 0;
    {
        transaktion td(dt);
        dt.loesche_wo({{"name", "=", feldwert(n)}});
        for (int m = 1; m <= 12; ++m) {
            const std::string k = std::to_string(m);
            const auto it = monate.find(m);
            const int tage_m = tage(m, schalttag);
            const double hell = sonne::tageslaenge(m, jahr.breite, tage_m).monatsstunden;
            monat.push_back({"h" + k, feldwert(runde_dezimal(hell, 3))});
            double g = 0.0, d = 0.0;
            std::map<int, std::pair<double, double>> tage_mm;
            for (const wetterstunde* h : it->second) {
                g += h->global;
                d += h->diffus;
                auto [t, neu] = tage_mm.try_emplace(h->tag, h->temperatur, h->temperatur);
                if (!neu) {
                    t->second.first = std::min(t->second.first, h->temperatur);
                    t->second.second = std::max(t->second.second, h->temperatur);
                }
                if (h->wind) {
                    wind += *h->wind;
                    ++n_wind;
                }
                if (h->feuchte) {
                    feuchte += *h->feuchte;
                    ++n_feuchte;
                }
                // Middle of the hour in mean solar time: the hour ends at the
                // full hour of the file's clock, which runs (laenge - 15 zone)/15 h
                // behind the sun.
                double hm = h->stunde - 0.5 + (jahr.laenge - 15.0 * jahr.zeitzone) / 15.0;
                hm = std::fmod(hm, 24.0);
                if (hm < 0.0) hm += 24.0;
                dt.einfuegen();
                dt.setze("name", feldwert(n));
                dt.setze("monat", feldwert(int64_t{m}));
                dt.setze("nummer", feldwert(static_cast<int64_t>((h->tag - 1) * 24 + h->stunde)));
                dt.setze("ir_g", feldwert(runde_dezimal(h->global / 1000.0, 5)));
                dt.setze("is_g", feldwert(h->global));
                dt.setze("ir_d", feldwert(runde_dezimal(h->diffus / 1000.0, 5)));
                dt.setze("is_d", feldwert(h->diffus));
                dt.setze("tamin", feldwert(h->temperatur));
                dt.setze("tamax", feldwert(h->temperatur));
                dt.setze("h", feldwert(1.0));
                dt.setze("hm", feldwert(runde_dezimal(hm, 3)));
                dt.setze("zeitintervall", feldwert(std::string("A")));
                dt.speichern();
            }
            double tmin = 0.0, tmax = 0.0;
            for (const auto& [t, mm] : tage_mm) {
                tmin += mm.first;
                tmax += mm.second;
            }
            const double anzahl_tage = static_cast<double>(tage_mm.size());
            monat.push_back({"ir" + k, feldwert(runde_dezimal(g / 1000.0, 3))});
            monat.push_back({"diff" + k, feldwert(runde_dezimal(d / 1000.0, 3))});
            monat.push_back({"ta" + k + "min", feldwert(runde_dezimal(tmin / anzahl_tage, 3))});
            monat.push_back({"ta" + k + "max", feldwert(runde_dezimal(tmax / anzahl_tage, 3))});
            monat.push_back({"m" + k, feldwert(static_cast<int64_t>(it->second.size()))});
            e.jahreseinstrahlung += runde_dezimal(g / 1000.0, 3);
        }
        monat.push_back({"name", feldwert(n)});
        monat.push_back({"wmo", feldwert(kuerzen(jahr.wmo, 50))});
        monat.push_back({"ort", feldwert(kuerzen(jahr.ort, 20))});
        monat.push_back({"land", feldwert(kuerzen(jahr.land, 20))});
        monat.push_back({"breite", feldwert(jahr.breite)});
        monat.push_back({"laenge", feldwert(jahr.laenge)});
        monat.push_back({"einheit_ir", feldwert(std::string("kWh/qm"))});
        monat.push_back({"einheit_temp", feldwert(std::string("°C"))});
        monat.push_back({"theta", feldwert(0.0)});
        monat.push_back({"quelle", feldwert(kuerzen(jahr.quelle, 20))});
        monat.push_back({"meßdatum", jahr.jahr ? feldwert(static_cast<int64_t>(*jahr.jahr)) : feldwert()});
        monat.push_back({"details", feldwert(std::string("J"))});
        monat.push_back({"zeitintervall", feldwert(std::string("A"))});
        monat.push_back({"irgesamt", feldwert(runde_dezimal(e.jahreseinstrahlung, 3))});
        monat.push_back({"mittlerewind", n_wind > 0 ? feldwert(runde_dezimal(wind / n_wind, 2)) : feldwert()});
        monat.push_back({"einheit_wind", feldwert(std::string("m/s"))});
        monat.push_back({"mittlerefeuchte", n_feuchte > 0 ? feldwert(runde_dezimal(feuchte / n_feuchte, 1)) : feldwert()});
        monat.push_back({"einheit_feuchte", feldwert(std::string("%"))});
        monat.push_back({"info", feldwert(kuerzen(jahr.info, 255))});
        // The detail rows stand written but uncommitted; the record is
        // committed first and the detail rows right after it. Should their
        // commit fail, the record is put back as it was, so that the stored
        // set stays the old one.
        auto schreibe_datensatz = [&](const auto& setzen) {
            transaktion tm(mt);
            try {
                mt.loesche_wo({{"name", "=", feldwert(n)}});
                mt.einfuegen();
                setzen();
                mt.speichern();
                tm.bestaetigen();
            } catch (...) {
                mt.abbrechen();
                throw;
            }
        };
        schreibe_datensatz([&] {
            for (const auto& [spalte, wert] : monat) mt.setze(spalte, wert);
        });
        try {
            td.bestaetigen();
        } catch (...) {
            if (vorhanden) {
                schreibe_datensatz([&] {
                    for (int c = 0; c < mt.spaltenanzahl(); ++c) mt.setze(c, alter_datensatz[static_cast<size_t>(c)]);
                });
            } else {
                transaktion tm(mt);
                mt.loesche_wo({{"name", "=", feldwert(n)}});
                tm.bestaetigen();
            }
            throw;
        }
    }
    e.jahreseinstrahlung = runde_dezimal(e.jahreseinstrahlung, 3);
    mt.aktualisiere();
    mt.suche({feldwert(n)});
    dt.aktualisiere();
    return e;
}

// --- Lambert conformal conic ---------------------------------------------------

namespace {

constexpr double RAD = std::numbers::pi / 180.0;

struct lcc_konstanten {
    double e = 0.0, n = 0.0, F = 0.0, rho0 = 0.0;
};

double m_von(double e, double phi) { return std::cos(phi) / std::sqrt(1.0 - e * e * std::sin(phi) * std::sin(phi)); }
double t_von(double e, double phi) {
    const double es = e * std::sin(phi);
    return std::tan(std::numbers::pi / 4.0 - phi / 2.0) / std::pow((1.0 - es) / (1.0 + es), e / 2.0);
}

lcc_konstanten konstanten(const lcc_parameter& p) {
    lcc_konstanten k;
    k.e = std::sqrt(p.f * (2.0 - p.f));
    const double phi1 = p.breite1 * RAD, phi2 = p.breite2 * RAD, phi0 = p.breite0 * RAD;
    const double m1 = m_von(k.e, phi1), m2 = m_von(k.e, phi2);
    const double t1 = t_von(k.e, phi1), t2 = t_von(k.e, phi2), t0 = t_von(k.e, phi0);
    k.n = (std::log(m1) - std::log(m2)) / (std::log(t1) - std::log(t2));
    k.F = m1 / (k.n * std::pow(t1, k.n));
    k.rho0 = p.a * k.F * std::pow(t0, k.n);
    return k;
}

}  // namespace

const lcc_parameter& lcc_europa() {
    static const lcc_parameter p{};
    return p;
}

std::pair<double, double> geographisch_nach_lcc(const lcc_parameter& p, double breite, double laenge) {
    const lcc_konstanten k = konstanten(p);
    const double rho = p.a * k.F * std::pow(t_von(k.e, breite * RAD), k.n);
    const double theta = k.n * (laenge - p.laenge0) * RAD;
    return {p.x0 + rho * std::sin(theta), p.y0 + k.rho0 - rho * std::cos(theta)};
}

geokoordinaten lcc_nach_geographisch(const lcc_parameter& p, double x, double y) {
    const lcc_konstanten k = konstanten(p);
    const double dx = x - p.x0, dy = k.rho0 - (y - p.y0);
    const double rho = std::copysign(std::hypot(dx, dy), k.n);
    const double t = std::pow(rho / (p.a * k.F), 1.0 / k.n);
    const double theta = k.n > 0 ? std::atan2(dx, dy) : std::atan2(-dx, -dy);
    double phi = std::numbers::pi / 2.0 - 2.0 * std::atan(t);
    for (int i = 0; i < 20; ++i) {
        const double es = k.e * std::sin(phi);
        const double neu = std::numbers::pi / 2.0 - 2.0 * std::atan(t * std::pow((1.0 - es) / (1.0 + es), k.e / 2.0));
        if (std::fabs(neu - phi) < 1e-14) {
            phi = neu;
            break;
        }
        phi = neu;
    }
    return {phi / RAD, theta / k.n / RAD + p.laenge0};
}
