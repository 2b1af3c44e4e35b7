#include "input/wertepruefung.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <mutex>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "data/datenbank.h"
#include "data/einheiten.h"
#include "data/zahltext.h"
#include "engine/WP_variables.h"
#include "lang/meldung.h"
#include "lang/sprache.h"

using namespace tabledata;

namespace {

namespace txt {
constexpr text_paar ungueltig{"Fehler: Ungültiger Wert in Tabelle ", "Error: invalid value in table "};
constexpr text_paar bereich_falsch{"Fehler: Ungültiger Bereich in Tabelle ", "Error: invalid range in table "};
constexpr text_paar zeile{", Zeile ", ", row "};
constexpr text_paar spalte{", Spalte ", ", column "};
constexpr text_paar leer{"leer", "empty"};
constexpr text_paar keine_zahl{" ist keine Zahl", " is not a number"};
constexpr text_paar zulaessig{"; zulässig ", "; allowed "};
constexpr text_paar ganze_zahl{"ganze Zahl ", "whole number "};
constexpr text_paar bis{" bis ", " to "};
constexpr text_paar groesser_als{" größer als ", " greater than "};
constexpr text_paar detailzeilen{"; Zeilen in ", "; rows in "};
constexpr text_paar fuer_monat{" für Monat ", " for month "};
constexpr text_paar fehlende_zeile{"Fehler: Datensatz nennt eine fehlende Zeile: Tabelle ",
                                   "Error: the data set names a missing row: table "};
constexpr text_paar genannt_in{" (genannt in Tabelle ", " (named in table "};
}  // namespace txt

// The largest mean irradiance over an interval, kW/m²: above the solar
// constant (1.361 kW/m²), with room for cloud enhancement and measurement.
constexpr double MAX_BESTRAHLUNGSSTAERKE = 1.5;
// Coefficients of fits (heat-pump models): any sign, but a real number.
constexpr double MAX_KOEFFIZIENT = 1e9;
// Energies of a month or year in kWh; far above any plant, so that only
// overflow-sized numbers are caught.
constexpr double MAX_ENERGIE = 1e9;

std::string zahl(double x) {
    char puffer[32];
    std::snprintf(puffer, sizeof puffer, "%.6g", x);
    return puffer;
}

// Allowed range of one value, in the main unit `einheit`.
struct grenze {
    double min, max;
    const char* einheit;
    bool ganzzahl = false;
};

std::string bereichstext(const grenze& g) {
    std::string s = txt::zulaessig.text();
    if (g.ganzzahl) s += txt::ganze_zahl.text();
    s += zahl(g.min) + txt::bis.text() + zahl(g.max);
    if (g.einheit && *g.einheit && std::string(g.einheit) != "-") s += std::string(" ") + g.einheit;
    return s;
}

// Where a value stands, for the message.
struct ort {
    std::string tabelle, zeile, spalte;
};

std::string ortstext(const ort& o) {
    return o.tabelle + txt::zeile.text() + "\"" + o.zeile + "\"" + txt::spalte.text() + o.spalte;
}

class pruefer {
public:
    std::vector<std::string> fehler;

    // A stored value `w` in the unit `einheit` of quantity `q` (no unit
    // column: raw number, q < 0), converted with the day count of month
    // `monat` (0: none). An empty field is allowed with `leer_erlaubt` (the
    // loader reads it as 0). Returns the value in the main unit when valid.
    std::optional<double> wert(const feldwert& w, const ort& o, const std::string& einheit, int q, int monat,
                               const grenze& g, bool leer_erlaubt) {
        std::optional<double> roh;
        if (const auto* i = std::get_if<int64_t>(&w)) {
            roh = static_cast<double>(*i);
        } else if (const auto* d = std::get_if<double>(&w)) {
            roh = *d;
        } else if (const auto* s = std::get_if<std::string>(&w); s && !ohne_raender(*s).empty()) {
            roh = lies_zahl(*s);
            if (!roh) {
                melde(txt::ungueltig.text() + ortstext(o) + ": \"" + *s + "\"" + txt::keine_zahl.text() +
                      bereichstext(g));
                return std::nullopt;
            }
        }
        if (!roh) {
            if (!leer_erlaubt) melde(txt::ungueltig.text() + ortstext(o) + ": " + txt::leer.text() + bereichstext(g));
            return std::nullopt;
        }
        double x = *roh;
        if (q >= 0 && std::isfinite(x)) {
            const Einheit_struct& e = haupteinheiten()[static_cast<size_t>(q)];
            const umrechnen_struct u = umrechnungsfaktor(einheit, e.haupteinheit, e.kennzeichen, monat);
            x = u.faktor * x + u.offset;
        }
        const bool ganz_ok = !g.ganzzahl || x == std::floor(x);
        if (!std::isfinite(x) || x < g.min || x > g.max || !ganz_ok) {
            std::string gezeigt = zahl(*roh);
            if (q >= 0 && !einheit.empty()) gezeigt += " " + einheit;
            melde(txt::ungueltig.text() + ortstext(o) + ": " + gezeigt + bereichstext(g));
            return std::nullopt;
        }
        return x;
    }

    // Minimum above maximum of a pair of checked values.
    void reihenfolge(const std::string& tabelle, const std::string& zeile, const char* min_spalte,
                     std::optional<double> min, const char* max_spalte, std::optional<double> max,
                     const char* einheit) {
        if (!min || !max || *min <= *max) return;
        melde(txt::bereich_falsch.text() + tabelle + txt::zeile.text() + "\"" + zeile + "\": " + min_spalte + " " +
              zahl(*min) + " " + einheit + txt::groesser_als.text() + max_spalte + " " + zahl(*max) + " " + einheit);
    }

    void melde(std::string text) { fehler.push_back(std::move(text)); }
};

// One column of the current row of a table.
struct spaltenpruefung {
    const char* spalte;
    const char* einheit_spalte;  // nullptr: stored without a unit
    int groesse;                 // quantity of the conversion (ignored without a unit column)
    grenze g;
    bool leer_erlaubt = false;
};

// The current row of `t` (a catalogue row reached by name).
class zeilenpruefung {
public:
    zeilenpruefung(pruefer& p, tabelle& t, std::string name)
        : p_(p), t_(t), name_(std::move(name)), tabelle_(t.sql_name()) {}

    std::optional<double> operator()(const spaltenpruefung& s, int monat = 0) {
        return pruefe(s.spalte, s, monat);
    }
    // Column `spalte` with the rule `s` (for columns found by position).
    std::optional<double> pruefe(const std::string& spalte, const spaltenpruefung& s, int monat = 0) {
        const int i = t_.spalten_index(spalte);
        if (i < 0) return std::nullopt;  // the table's schema check reports missing columns
        std::string einheit;
        int q = -1;
        if (s.einheit_spalte) {
            einheit = t_.text(s.einheit_spalte);
            q = s.groesse;
        }
        return p_.wert(t_.wert(i), {tabelle_, name_, t_.spalte(i).name}, einheit, q, monat, s.g, s.leer_erlaubt);
    }
    // The text of a unit column.
    std::string text(const char* spalte) { return t_.text(spalte); }
    const std::string& name() const { return name_; }
    const std::string& tabellenname() const { return tabelle_; }

private:
    pruefer& p_;
    tabelle& t_;
    std::string name_;
    std::string tabelle_;
};

// Twelve monthly columns from the column `januar` on, `schritt` apart.
void pruefe_monatsspalten(zeilenpruefung& z, tabelle& t, const char* januar, int schritt,
                          const spaltenpruefung& s, bool mit_tagen) {
    const int erste = t.spalten_index(januar);
    if (erste < 0) return;
    for (int m = 1; m <= MAXMONAT; ++m) {
        const int i = erste + schritt * (m - 1);
        if (i >= t.spaltenanzahl()) return;
        z.pruefe(t.spalte(i).name, s, mit_tagen ? m : 0);
    }
}

bool positioniert(tabelle& t) { return t.ist_offen() && t.hat_zeile(); }

// The messages depend on the language and the unit table.
std::string sprache_kennung() { return std::to_string(sprache()); }

// The checks of detail and property rows read a whole table. Their findings
// are kept per table, state of the table and what was asked (`schluessel`),
// so that checking many data sets over one unchanged table (the variants of
// a sweep) reads it once.
template <class F>
void einmal_je_stand(pruefer& p, tabelle& t, const std::string& schluessel, F pruefen) {
    struct eintrag {
        std::string datei, schluessel;
        uint64_t stand;
        std::vector<std::string> fehler;
    };
    static std::mutex sperre;
    static std::vector<eintrag> gemerkt;
    // The values are converted with the unit table: its state belongs to
    // what was asked.
    tabelle& einheiten = tab(teinheit);
    const std::string frage = schluessel + '\n' + einheiten.datei().string() + '\n' +
                              std::to_string(einheiten.ist_offen() ? einheiten.aenderungsstand() : 0);
    const uint64_t stand = t.aenderungsstand();
    const std::string datei = t.datei().string();
    {
        std::lock_guard<std::mutex> l(sperre);
        for (const eintrag& e : gemerkt) {
            if (e.datei == datei && e.schluessel == frage && e.stand == stand) {
                p.fehler.insert(p.fehler.end(), e.fehler.begin(), e.fehler.end());
                return;
            }
        }
    }
    const size_t vorher = p.fehler.size();
    pruefen();
    std::lock_guard<std::mutex> l(sperre);
    if (gemerkt.size() >= 64) gemerkt.erase(gemerkt.begin());
    gemerkt.push_back({datei, frage, stand, {p.fehler.begin() + static_cast<std::ptrdiff_t>(vorher), p.fehler.end()}});
}

// --- the tables -------------------------------------------------------------

void pruefe_wetter(pruefer& p, const std::string& strahlung) {
    tabelle& t = tab(tir_ta_m);
    if (!positioniert(t)) return;
    zeilenpruefung z(p, t, t.text("name"));
    z({"breite", nullptr, -1, {-90, 90, "°"}});
    z({"laenge", nullptr, -1, {-180, 180, "°"}});
    z({"theta", nullptr, -1, {0, 90, "°"}});
    z({"meßdatum", nullptr, -1, {1, 9999, "", true}, true});
    z({"mittlerewind", "einheit_wind", groesse::geschwindigkeit, {0, 100, "m/s"}});
    z({"mittlerefeuchte", "einheit_feuchte", groesse::anteil, {0, 1, "-"}});
    const double max_monat = MAX_BESTRAHLUNGSSTAERKE * 24.0 * 31.0;
    // When the run lays the intervals out from the detail rows, `m` is the
    // number of intervals of the month: a month without it would be left out
    // of the run.
    const std::string zeitintervall = t.text("zeitintervall");
    const bool intervalle_aus_details = (strahlung == "D" && (zeitintervall == "D" || zeitintervall == "A")) ||
                                        (strahlung == "T" && zeitintervall == "A");
    std::array<std::optional<double>, MAXMONAT + 1> intervalle{};
    for (int m = 1; m <= MAXMONAT; ++m) {
        const std::string k = std::to_string(m);
        z.pruefe("ir" + k, {"", "einheit_ir", groesse::einstrahlung, {0, max_monat, "kWh/qm"}}, m);
        // Without monthly diffuse values the diffuse part is computed.
        z.pruefe("diff" + k, {"", "einheit_ir", groesse::einstrahlung, {0, max_monat, "kWh/qm"}, true}, m);
        z.pruefe("ta" + k + "min", {"", "einheit_temp", groesse::temperatur, {-90, 60, "°C"}});
        z.pruefe("ta" + k + "max", {"", "einheit_temp", groesse::temperatur, {-90, 60, "°C"}});
        if (intervalle_aus_details)
            intervalle[static_cast<size_t>(m)] = z.pruefe("m" + k, {"", nullptr, -1, {1, MAXINTERVALL, "", true}});
        else
            z.pruefe("m" + k, {"", nullptr, -1, {0, MAXINTERVALL, "", true}, true});
    }

    // Detail rows, when the run lays out the irradiation from them.
    if (zeitintervall == "K" || (strahlung != "D" && strahlung != "T")) return;
    tabelle& d = tab(tir_ta_d);
    if (!d.ist_offen()) return;
    const std::string name = t.text("name");
    const std::string einheit_ir = t.text("einheit_ir"), einheit_temp = t.text("einheit_temp");
    const int s_name = d.spalten_index("name"), s_monat = d.spalten_index("monat"),
              s_nummer = d.spalten_index("nummer"), s_irg = d.spalten_index("ir_g"),
              s_ird = d.spalten_index("ir_d"), s_tmin = d.spalten_index("tamin"),
              s_tmax = d.spalten_index("tamax"), s_h = d.spalten_index("h"), s_hm = d.spalten_index("hm");
    if (s_name < 0 || s_monat < 0 || s_nummer < 0 || s_irg < 0 || s_ird < 0 || s_tmin < 0 || s_tmax < 0 ||
        s_h < 0 || s_hm < 0)
        return;
    std::string gesucht = name + '\n' + einheit_ir + '\n' + einheit_temp + '\n' + sprache_kennung();
    for (const auto& i : intervalle) gesucht += '\n' + (i ? zahl(*i) : std::string());
    einmal_je_stand(p, d, gesucht, [&] {
    const size_t anfang = p.fehler.size();
    std::array<int, MAXMONAT + 1> zeilen_je_monat{};
    for (const auto& r : d.lies_alle(d.schluesselspalten())) {
        if (als_text(r[static_cast<size_t>(s_name)]) != name) continue;
        const double monat_der_zeile = als_zahl(r[static_cast<size_t>(s_monat)]);
        if (monat_der_zeile >= 1 && monat_der_zeile <= MAXMONAT && monat_der_zeile == std::floor(monat_der_zeile))
            ++zeilen_je_monat[static_cast<size_t>(monat_der_zeile)];
        const std::string zeile = name + ", " + als_text(r[static_cast<size_t>(s_monat)]) + ", " +
                                  als_text(r[static_cast<size_t>(s_nummer)]);
        auto o = [&](int s) { return ort{d.sql_name(), zeile, d.spalte(s).name}; };
        auto feld = [&](int s) -> const feldwert& { return r[static_cast<size_t>(s)]; };
        p.wert(feld(s_monat), o(s_monat), "", -1, 0, {1, MAXMONAT, "", true}, false);
        p.wert(feld(s_nummer), o(s_nummer), "", -1, 0, {1, MAXINTERVALL, "", true}, false);
        const auto h = p.wert(feld(s_h), o(s_h), "", -1, 0, {0.01, 744, "h"}, false);
        p.wert(feld(s_hm), o(s_hm), "", -1, 0, {0, 24, "h"}, false);
        const double max_ir = MAX_BESTRAHLUNGSSTAERKE * (h ? *h : 744.0);
        p.wert(feld(s_irg), o(s_irg), einheit_ir, groesse::einstrahlung, 0, {0, max_ir, "kWh/qm"}, false);
        p.wert(feld(s_ird), o(s_ird), einheit_ir, groesse::einstrahlung, 0, {0, max_ir, "kWh/qm"}, true);
        p.wert(feld(s_tmin), o(s_tmin), einheit_temp, groesse::temperatur, 0, {-90, 60, "°C"}, false);
        p.wert(feld(s_tmax), o(s_tmax), einheit_temp, groesse::temperatur, 0, {-90, 60, "°C"}, false);
    }
    // Every interval of a month has its row, and no row is left unused;
    // reported before the findings in single rows, which say more.
    std::vector<std::string> anzahlen;
    for (int m = 1; m <= MAXMONAT; ++m) {
        const auto& soll = intervalle[static_cast<size_t>(m)];
        if (!soll || *soll == zeilen_je_monat[static_cast<size_t>(m)]) continue;
        anzahlen.push_back(txt::ungueltig.text() + ortstext({t.sql_name(), name, "m" + std::to_string(m)}) + ": " +
                           zahl(*soll) + txt::detailzeilen.text() + d.sql_name() + txt::fuer_monat.text() +
                           std::to_string(m) + ": " + std::to_string(zeilen_je_monat[static_cast<size_t>(m)]));
    }
    p.fehler.insert(p.fehler.begin() + static_cast<std::ptrdiff_t>(anfang), anzahlen.begin(), anzahlen.end());
    });
}

// A monthly temperature row: twelve values from "Januar" on.
void pruefe_temperaturen(pruefer& p, int index, double min, double max) {
    tabelle& t = tab(index);
    if (!positioniert(t)) return;
    zeilenpruefung z(p, t, t.text("name"));
    pruefe_monatsspalten(z, t, "Januar", 1, {"", "einheit", groesse::temperatur, {min, max, "°C"}}, false);
}

// A monthly energy row; `details` = the detail table of its series.
void pruefe_energie(pruefer& p, int index, int details, const char* detailspalte, bool stundenwerte) {
    tabelle& t = tab(index);
    if (!positioniert(t)) return;
    zeilenpruefung z(p, t, t.text("name"));
    const bool mit_anzahl = t.spalten_index("m1") == t.spalten_index("januar") + 1;
    pruefe_monatsspalten(z, t, "januar", mit_anzahl ? 2 : 1, {"", nullptr, -1, {0, MAX_ENERGIE, ""}}, false);
    if (mit_anzahl) {
        pruefe_monatsspalten(z, t, "m1", 2, {"", nullptr, -1, {0, MAXINTERVALL, "", true}, true}, false);
    }
    // The yearly total scales relative monthly values and is the electric
    // demand of the year.
    const bool relativ = t.text("rel") != "A";
    z({"gesamt", nullptr, -1, {0, MAX_ENERGIE, ""}, !relativ && index != tee});

    if (details < 0 || !stundenwerte) return;
    const std::string art = t.text("zeitintervall");
    if (art != "A" && art != "P") return;
    tabelle& d = tab(details);
    if (!d.ist_offen()) return;
    const std::string name = t.text("name_d");
    const int s_name = d.spalten_index("name"), s_monat = d.spalten_index("monat"),
              s_nummer = d.spalten_index("nummer"), s_wert = d.spalten_index(detailspalte);
    if (s_name < 0 || s_monat < 0 || s_nummer < 0 || s_wert < 0) return;
    einmal_je_stand(p, d, name + '\n' + detailspalte + '\n' + sprache_kennung(), [&] {
        for (const auto& r : d.lies_alle(d.schluesselspalten())) {
            if (als_text(r[static_cast<size_t>(s_name)]) != name) continue;
            const std::string zeile = name + ", " + als_text(r[static_cast<size_t>(s_monat)]) + ", " +
                                      als_text(r[static_cast<size_t>(s_nummer)]);
            p.wert(r[static_cast<size_t>(s_wert)], {d.sql_name(), zeile, d.spalte(s_wert).name}, "", -1, 0,
                   {0, MAX_ENERGIE, ""}, false);
        }
    });
}

void pruefe_kreislauf(pruefer& p) {
    tabelle& t = tab(tko);
    if (!positioniert(t)) return;
    zeilenpruefung z(p, t, t.text("name"));
    z({"etalwt", nullptr, -1, {0, 1, "-"}});
    z({"etagwt", "einetagwt", groesse::anteil, {0, 1, "-"}});
    z({"relpumpkoll", "einrelpumpkoll", groesse::rel_pumpleistung_traeger, {0, 1e6, "W/(kg/s)"}});
    z({"relpumpluft", "einrelpumpluft", groesse::leistung, {0, 1e6, "W"}});
    z({"volstromluft", "einvolstromluft", groesse::volumenstrom_luft, {0, 100, "m3/s"}});
    z({"maximal_durchfluss", "eindurchfluss", groesse::volumenstrom_traeger, {0, 1, "m3/s"}});
    z({"maximalspannung", "einspannung", groesse::spannung, {0, 1000, "V"}});
    z({"laengespeicherkol", "einlaengerohr", groesse::laenge, {0, 10000, "m"}});
    z({"laengekolspeicher", "einlaengerohr", groesse::laenge, {0, 10000, "m"}});
    z({"hoehekol", "einlaengerohr", groesse::laenge, {-1000, 1000, "m"}});
    z({"durchmesserag", "eindurchmesser", groesse::laenge, {0.001, 2, "m"}});
    z({"maximaldruck", "eindruck", groesse::druck, {0, 1e8, "N/qm"}});
}

void pruefe_kollektor(pruefer& p, const std::string& name) {
    tabelle& t = tab(tkol);
    if (!t.ist_offen() || !t.suche({feldwert(name)})) return;
    zeilenpruefung z(p, t, name);
    z({"flaeche", "einflaeche", groesse::flaeche, {0.01, 1000, "qm"}});
    z({"breitezulaenge", nullptr, -1, {0.01, 100, "-"}});
    if (z.text("einalpha") != "n") z({"alpha", "einalpha", groesse::lin_koeff_kollektor, {0, 100, "W/(K*qm)"}});
    z({"beta", nullptr, -1, {0, 1, "-"}});
    z({"gamma", "eingamma", groesse::quad_koeff_kollektor, {0, 10, "W/(K2*qm)"}});
    if (z.text("einwindtkoef") != "n")
        z({"windabhaengigert-koef", "einwindtkoef", groesse::wind_waermedurchgang, {0, 1e6, "J/(K*m3)"}});
    if (z.text("einwindkoef") != "n")
        z({"windabhaengigerkoef", "einwindkoef", groesse::wind_verlust, {0, 1e6, "s/m"}});
    z({"rohrdurchmesser", "einrohr", groesse::laenge, {0.001, 1, "m"}});
    z({"rohrabstand", "einrohrabstand", groesse::anteil, {0, 1000, "-"}});
    z({"maximaldruck", "eindruck", groesse::druck, {0, 1e8, "N/qm"}});
    z({"relflaecheoben", nullptr, -1, {0, 1, "-"}});
    z({"relflaecheunten", nullptr, -1, {0, 1, "-"}});
    z({"hoeheventilator", "einhoehe", groesse::laenge, {0, 1000, "m"}});
    z({"maximalu_ventilator", "einspannung", groesse::spannung, {0, 1000, "V"}});
    z({"maximalvols_ventilator", "einvols", groesse::volumenstrom_luft, {0, 100, "m3/s"}});
}

void pruefe_speicher(pruefer& p, const std::string& name) {
    tabelle& t = tab(tspei);
    if (!t.ist_offen() || !t.suche({feldwert(name)})) return;
    zeilenpruefung z(p, t, name);
    // A volume of 0 is the store that is not there.
    z({"spmax", "einspmax", groesse::volumen, {0, 1e6, "m3"}});
    z({"verluste", "einverluste", groesse::verlustleistung, {0, 1000, "W/(K*m2)"}});
    z({"spezwaerm", "einspezwaerm", groesse::spez_waerme, {100, 1e5, "J/(kg*K)"}});
    z({"rospei", "einrospei", groesse::dichte, {1, 3e4, "kg/m3"}});
    z({"wtdaussen", "einlaenge", groesse::laenge, {0, 2, "m"}});
    z({"wtlaenge", "einlaenge", groesse::laenge, {0, 1e5, "m"}});
    z({"waermedz", "einheit_waermedz", groesse::waermedurchgang, {0, 1e6, "W/(K*m2)"}});
}

void pruefe_waermepumpe(pruefer& p, const std::string& name, const char* arbeitsweise, const std::string& modell) {
    tabelle& t = tab(twp);
    if (!t.ist_offen() || !t.suche({feldwert(name), feldwert(std::string(arbeitsweise))})) return;
    zeilenpruefung z(p, t, name + ", " + arbeitsweise);
    const grenze koeffizient{-MAX_KOEFFIZIENT, MAX_KOEFFIZIENT, ""};
    if (modell == "H") {
        z({"deltahyp", "eindeltahyp", groesse::hyp_koeff_wp, koeffizient});
        z({"gammahyp", nullptr, -1, koeffizient});
    } else if (modell == "4") {
        z({"alpha", "eindeltahyp", groesse::hyp_koeff_wp, koeffizient});
        for (const char* s : {"beta", "gamma", "delta", "epsilon", "zeta", "eta_w", "cexp"})
            z({s, nullptr, -1, koeffizient});
    } else if (modell == "L" || modell == "A") {
        z({"deltalin", "eindeltalin", groesse::lin_koeff_wp, koeffizient});
        z({"gammalin", nullptr, -1, koeffizient});
        if (modell == "A") {
            z({"vkv0", "einheitvkv0", groesse::anteil, {0.01, 1000, "-"}});
            z({"v0", "einheitv0", groesse::volumen, {0, 10, "m3"}});
        }
    }
    z({"maxq", "einheitq", groesse::flaeche, {0, 1e6, "qm"}});
    z({"minq", "einheitq", groesse::flaeche, {0, 1e6, "qm"}});
    z({"eta", "eineta", groesse::anteil, {0, 1, "-"}});
    z({"maximaleleistung", "einheitleistung", groesse::leistung, {0, 1e7, "W"}});
    z({"maxdruckt", "eindruck", groesse::druck, {0, 1e9, "N/qm"}});
    z({"maxdruckh", "eindruck", groesse::druck, {0, 1e9, "N/qm"}});
    z({"regelbereich", "einregelbereich", groesse::anteil, {0, 1, "-"}});
    z({"maximalstrom", "einstrom", groesse::strom, {0, 1e6, "mA"}});
    z({"MinPrimär", "EinMinP", groesse::temperatur, {-90, 100, "°C"}});
}

// A fluid row of `waerme` and the vapour table of its refrigerant.
void pruefe_fluid(pruefer& p, const std::string& name, bool mit_dampftafel, const ort& genannt) {
    tabelle& t = tab(twaerme);
    if (!t.ist_offen() || !t.suche({feldwert(name)})) {
        // The loader would keep the values of whatever row the table stands on.
        const std::string tabelle = t.ist_offen() ? t.sql_name() : datenbanken()[twaerme].datei.string();
        p.melde(txt::fehlende_zeile.text() + tabelle + txt::zeile.text() + "\"" + name + "\"" +
                txt::genannt_in.text() + ortstext(genannt) + ")");
        return;
    }
    zeilenpruefung z(p, t, name);
    z({"spezwaermcpf", "einwaerm", groesse::spez_waerme, {100, 1e5, "J/(kg*K)"}});
    // Gas heat capacity, freezing point and viscosity are not defined for
    // every kind of fluid; empty means 0 there.
    z({"spezwaermcpg", "einwaerm", groesse::spez_waerme, {0, 1e5, "J/(kg*K)"}, true});
    z({"dichte", "eindicht", groesse::dichte, {0.01, 3e4, "kg/m3"}});
    z({"molekulargewicht", "einheit_mol", groesse::molekulargewicht, {1, 1000, "g/mol"}});
    z({"gefrierpunkt", "einheit_temp", groesse::temperatur, {-200, 100, "°C"}, true});
    z({"dynamischevisko", "eindynamischevisko", groesse::dyn_viskositaet, {0, 10, "Pa*s"}, true});
    if (!mit_dampftafel) return;
    const std::string kaeltemittel = t.text("kaeltemittel");
    tabelle& k = tab(tkaelte);
    if (kaeltemittel.empty() || !k.ist_offen()) return;
    const int s_name = k.spalten_index("name"), s_t = k.spalten_index("temperatur"),
              s_et = k.spalten_index("einheittemperatur"), s_ps = k.spalten_index("ps"),
              s_pss = k.spalten_index("pss"), s_ed = k.spalten_index("einheitdruck"),
              s_h = k.spalten_index("enthalpie"), s_eh = k.spalten_index("einheitenthalpie");
    if (s_name < 0 || s_t < 0 || s_et < 0 || s_ps < 0 || s_pss < 0 || s_ed < 0 || s_h < 0 || s_eh < 0) return;
    einmal_je_stand(p, k, kaeltemittel + '\n' + sprache_kennung(), [&] {
    for (const auto& r : k.lies_alle(k.schluesselspalten())) {
        if (als_text(r[static_cast<size_t>(s_name)]) != kaeltemittel) continue;
        auto f = [&](int s) -> const feldwert& { return r[static_cast<size_t>(s)]; };
        const std::string zeile = kaeltemittel + ", " + als_text(f(s_t));
        auto o = [&](int s) { return ort{k.sql_name(), zeile, k.spalte(s).name}; };
        p.wert(f(s_t), o(s_t), als_text(f(s_et)), groesse::temperatur, 0, {-200, 300, "°C"}, false);
        p.wert(f(s_ps), o(s_ps), als_text(f(s_ed)), groesse::druck, 0, {0, 1e9, "N/qm"}, false);
        p.wert(f(s_pss), o(s_pss), als_text(f(s_ed)), groesse::druck, 0, {0, 1e9, "N/qm"}, false);
        p.wert(f(s_h), o(s_h), als_text(f(s_eh)), groesse::enthalpie, 0, {-1e5, 1e5, "kJ/kg"}, false);
    }
    });
}

// The property rows of one medium in `luft`.
void pruefe_stoffdaten(pruefer& p, const std::string& medium, const std::string& zustand) {
    tabelle& t = tab(tluft);
    if (!t.ist_offen()) return;
    struct s {
        const char* wert;
        const char* einheit;
        int q;
        grenze g;
    };
    const s spalten[] = {{"temperatur", "einheittemp", groesse::temperatur, {-200, 1000, "°C"}},
                         {"dichte", "einheitdichte", groesse::dichte, {0, 3e4, "kg/m3"}},
                         {"cp", "einheitcp", groesse::spez_waerme, {0, 1e5, "J/(kg*K)"}},
                         {"lambda", "einheitlambda", groesse::waermeleitfaehigkeit, {0, 1000, "W/(mK)"}},
                         {"eta", "einheiteta", groesse::dyn_viskositaet, {0, 10, "Pa*s"}},
                         {"nue", "einheitnue", groesse::kin_viskositaet, {0, 1, "m2/s"}}};
    const int s_medium = t.spalten_index("medium"), s_zustand = t.spalten_index("aggregatzustand");
    if (s_medium < 0 || s_zustand < 0) return;
    einmal_je_stand(p, t, medium + '\n' + zustand + '\n' + sprache_kennung(), [&] {
    for (const auto& r : t.lies_alle(t.schluesselspalten())) {
        if (als_text(r[static_cast<size_t>(s_medium)]) != medium ||
            als_text(r[static_cast<size_t>(s_zustand)]) != zustand)
            continue;
        const int s_t = t.spalten_index("temperatur");
        const std::string zeile = medium + ", " + zustand + ", " + (s_t < 0 ? "" : als_text(r[static_cast<size_t>(s_t)]));
        for (const s& sp : spalten) {
            const int i = t.spalten_index(sp.wert), e = t.spalten_index(sp.einheit);
            if (i < 0 || e < 0) continue;
            p.wert(r[static_cast<size_t>(i)], {t.sql_name(), zeile, t.spalte(i).name},
                   als_text(r[static_cast<size_t>(e)]), sp.q, 0, sp.g, false);
        }
    }
    });
}

void pruefe_lage(pruefer& p) {
    tabelle& t = tab(tlage);
    if (!positioniert(t)) return;
    zeilenpruefung z(p, t, t.text("name"));
    z({"theta", nullptr, -1, {0, 90, "°"}});
    z({"phi", nullptr, -1, {-180, 180, "°"}});
    z({"breitengrad", nullptr, -1, {-90, 90, "°"}});
    z({"laengengrad", nullptr, -1, {-180, 180, "°"}});
    z({"kollektorflaeche", "einflaeche", groesse::flaeche, {0, 1e6, "qm"}});
    z({"bodenabsorption", "einabref", groesse::anteil, {0, 1, "-"}});
    z({"reflektion", "einabref", groesse::anteil, {0, 1, "-"}});
    z({"hoehe", "einhoehe", groesse::laenge, {-500, 9000, "m"}});
}

void pruefe_rechenkonstanten(pruefer& p) {
    tabelle& t = tab(trech);
    if (!positioniert(t)) return;
    zeilenpruefung z(p, t, t.text("name"));
    const auto minge = z({"minge", "einge", groesse::volumenstrom_traeger, {0, 1, "m3/s"}});
    // The collector loop needs a flow: its largest value must be above 0.
    const auto maxge = z({"maxge", "einge", groesse::volumenstrom_traeger, {1e-12, 1, "m3/s"}});
    p.reihenfolge(z.tabellenname(), z.name(), "minge", minge, "maxge", maxge, "m3/s");
    z({"anzge", nullptr, -1, {0, MAX_VOLUMENSTROMSCHRITTE, "", true}});
    z({"maxwp", nullptr, -1, {0, 1e9, ""}});
    // Areas: up to 100 000 qm, a collector field far beyond any building.
    const auto mina = z({"mina", "einflaeche", groesse::flaeche, {0, 1e5, "qm"}});
    const auto maxa = z({"maxa", "einflaeche", groesse::flaeche, {0, 1e5, "qm"}});
    p.reihenfolge(z.tabellenname(), z.name(), "mina", mina, "maxa", maxa, "qm");
    z({"danzflaeche", nullptr, -1, {0.5, 1000, ""}});
    const auto minl = z({"minleistwp", "einwp", groesse::leistung, {0, 1e7, "W"}});
    const auto maxl = z({"maxleistwp", "einwp", groesse::leistung, {0, 1e7, "W"}});
    p.reihenfolge(z.tabellenname(), z.name(), "minleistwp", minl, "maxleistwp", maxl, "W");
    z({"anzwp", nullptr, -1, {0, MAX_LEISTUNGSSCHRITTE, "", true}});
    z({"anztheta", nullptr, -1, {0, MAX_NEIGUNGSSCHRITTE, "", true}});
    const auto mint = z({"mintheta", "einheittheta", groesse::winkel, {0, 90, "°"}});
    const auto maxt = z({"maxtheta", "einheittheta", groesse::winkel, {0, 90, "°"}});
    p.reihenfolge(z.tabellenname(), z.name(), "mintheta", mint, "maxtheta", maxt, "°");
    z({"minexp", "einheittemp", groesse::temperatur, {-90, 100, "°C"}});
    const auto mind = z({"mindeltatkol", "einheittemp", groesse::temperatur, {-100, 200, "°C"}});
    const auto maxd = z({"maxdeltatkol", "einheittemp", groesse::temperatur, {-100, 200, "°C"}});
    p.reihenfolge(z.tabellenname(), z.name(), "mindeltatkol", mind, "maxdeltatkol", maxd, "°C");
    z({"anzdeltatkol", nullptr, -1, {0, 1000, "", true}});
    z({"maxmittemp", nullptr, -1, {0, 10000, "", true}});
}

void pruefe_tarife(pruefer& p) {
    tabelle& preis = tab(tpreis);
    tabelle& t = tab(ttarif);
    if (!positioniert(preis) || !t.ist_offen()) return;
    for (const char* spalte : {"nachheizung", "ohne_kopplung", "pumpen"}) {
        const std::string name = preis.text(spalte);
        if (name.empty() || !t.suche({feldwert(name)})) continue;
        zeilenpruefung z(p, t, name);
        z({"preis_energie", nullptr, -1, {0, 1e6, ""}});
    }
}

// A single efficiency column of the current row of a table.
void pruefe_wirkungsgrad(pruefer& p, int index, const char* spalte, const char* einheit, double max) {
    tabelle& t = tab(index);
    if (!positioniert(t)) return;
    zeilenpruefung z(p, t, t.text("name"));
    z({spalte, einheit, groesse::anteil, {0, max, "-"}});
}

}  // namespace

void pruefe_datensatzwerte(const std::string& modus) {
    pruefer p;
    tabelle& haupt = tab(thaupt);
    if (!positioniert(haupt)) return;
    tabelle& num = tab(tnum);
    const std::string strahlung = positioniert(num) ? num.text("strahlung") : std::string();
    const std::string modell = positioniert(num) ? num.text("modelltypwp") : std::string();
    if (positioniert(num)) {
        zeilenpruefung z(p, num, num.text("name"));
        z({"monatstart", nullptr, -1, {1, MAXMONAT, "", true}});
    }

    pruefe_wetter(p, strahlung);
    pruefe_temperaturen(p, tte, -50, 100);  // ground
    pruefe_temperaturen(p, trw, 0, 60);     // cold water (liquid)
    pruefe_temperaturen(p, trh, 0, 120);    // heating return
    pruefe_temperaturen(p, ttw, 0, 100);    // hot water (liquid at ambient pressure)
    pruefe_temperaturen(p, tth, 0, 120);    // heating flow
    pruefe_energie(p, teh_m, teh_d, "eh", strahlung == "D");
    pruefe_energie(p, tew_m, tew_d, "ew", strahlung == "D");
    pruefe_energie(p, tee, -1, "", false);
    pruefe_kreislauf(p);
    pruefe_lage(p);
    pruefe_rechenkonstanten(p);
    pruefe_tarife(p);
    pruefe_wirkungsgrad(p, tgas, "wirkungsgrad", "einwirkungsgrad", 1.2);  // condensing boilers exceed 1 (lower heating value)
    pruefe_wirkungsgrad(p, tkraft, "wirkungsgrad", "einwirkungsgrad", 1.0);
    pruefe_wirkungsgrad(p, tzelle, "etaz", "einetaz", 1.0);

    {
        tabelle& g = tab(tgwt);
        if (positioniert(g)) {
            zeilenpruefung z(p, g, g.text("name"));
            z({"laenge", "einheit_laenge", groesse::laenge, {0, 1000, "m"}});
            for (const char* s : {"durchmesserd3", "durchmesserd2", "durchmesserd1", "durchmesser_d2", "durchmesser_d1"})
                z({s, "einheit_laenge", groesse::laenge, {0, 2, "m"}});
            z({"waermedz", "einheit_waermedz", groesse::waermedurchgang, {0, 1e6, "W/(K*m2)"}});
            z({"austauschflaeche", "einheit_flaeche", groesse::flaeche, {0, 1e6, "qm"}});
            z({"anzahl", nullptr, -1, {0, 1000, "", true}});
        }
    }
    {
        tabelle& st = tab(tsteuer);
        if (positioniert(st)) {
            zeilenpruefung z(p, st, st.text("name"));
            const auto tmin = z({"tmin", "eint", groesse::temperatur, {-50, 200, "°C"}});
            const auto tmax = z({"tmax", "eint", groesse::temperatur, {-50, 200, "°C"}});
            p.reihenfolge(z.tabellenname(), z.name(), "tmin", tmin, "tmax", tmax, "°C");
        }
    }

    // Catalogue tables with two references: checked row by row, then left
    // on the row the positioning chose.
    pruefe_kollektor(p, haupt.text("kolu"));
    pruefe_kollektor(p, haupt.text("kolo"));
    for (const char* s : {"spei", "zwischenspei", "langspei"}) pruefe_speicher(p, haupt.text(s));
    pruefe_waermepumpe(p, haupt.text("wpww"), "ww", modell);
    pruefe_waermepumpe(p, haupt.text("wpwe"), "we", modell);
    if (tab(tkol).ist_offen()) tab(tkol).suche({feldwert(haupt.text("kolo"))});
    if (tab(tspei).ist_offen()) tab(tspei).suche({feldwert(haupt.text("spei"))});
    if (tab(twp).ist_offen()) tab(twp).suche({feldwert(haupt.text("wpwe")), feldwert(std::string("we"))});

    tabelle& ko = tab(tko);
    if (positioniert(ko)) {
        for (const auto& [spalte, dampftafel] : {std::pair{"name_wt_kollektor", false}, std::pair{"name_wt_wp", true}})
            pruefe_fluid(p, ko.text(spalte), dampftafel, {ko.sql_name(), ko.text("name"), spalte});
        pruefe_stoffdaten(p, "Luft", "g");
        pruefe_stoffdaten(p, ko.text("name_wt_speicher"), "l");
        pruefe_stoffdaten(p, ko.text("name_wt_kollektor"), "l");
    }

    for (size_t i = 0; i < p.fehler.size(); ++i)
        meldung(p.fehler[i], modus, i + 1 == p.fehler.size() ? 'T' : 'E');
}
