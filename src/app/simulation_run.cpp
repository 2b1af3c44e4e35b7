#include "app/simulation_run.h"

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <ctime>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "data/konstanten.h"
#include "input/wertepruefung.h"
#include "lang/meldung.h"
#include "lang/sprache.h"
#include "results/ergebnistabelle.h"
#include "results/graphdaten.h"

laufmarken& marken() { return aktueller_lauf().marken(); }

void lauf_beobachter::uhrzeit(int& monat, int& tag, int& stunde) {
    const std::time_t jetzt = std::time(nullptr);
    std::tm lokal{};
#ifdef _WIN32
    localtime_s(&lokal, &jetzt);
#else
    localtime_r(&jetzt, &lokal);
#endif
    monat = lokal.tm_mon + 1;
    tag = lokal.tm_mday;
    stunde = lokal.tm_hour;
}

// --- plant steps with the run's window effects ------------------------------
void lauf_perioden_schritte::setze_anlage_speicher_zurueck(anlage& a, double A, double T) {
    anlage_.setze_anlage_speicher_zurueck(a, A, T);
}
void lauf_perioden_schritte::monatsinitialisierung(periodenkontext& k, int m) {
    anlage_.monatsinitialisierung(k, m);
}
void lauf_perioden_schritte::analytischer_monatsschritt(periodenkontext& k, int m) {
    anlage_.analytischer_monatsschritt(k, m);
    // The analytic path advances the progress bar once per month itself.
    beobachter_.fortschritt_schritt();
}
void lauf_perioden_schritte::zeitschritt_monat(periodenkontext& k, int& m) {
    anlage_.zeitschritt_monat(k, m);
}
void lauf_perioden_schritte::jahreskern(periodenkontext& k, int m, int g, int v,
                                        double& monatswert, double& ge_wert) {
    anlage_.jahreskern(k, m, g, v, monatswert, ge_wert);
}
void lauf_perioden_schritte::monatssummen(periodenkontext& k, int m, double monatswert) {
    anlage_.monatssummen(k, m, monatswert);
}
void lauf_perioden_schritte::beste_variante_behalten(periodenkontext& k, double jahressumme) {
    anlage_.beste_variante_behalten(k, jahressumme);
}
void lauf_perioden_schritte::fortschritt_schritt() {
    anlage_.fortschritt_schritt();
    beobachter_.fortschritt_schritt();
}
void lauf_perioden_schritte::schrittpunkt(int monat, int index, double x, double y) {
    beobachter_.schrittpunkt(monat, index, x, y);
}
void lauf_perioden_schritte::steuerlauf_startpunkt(bool messmodus, int& monat, int& intervall) {
    if (!messmodus) {
        beobachter_.wetterstation_startpunkt(monat, intervall);
        return;
    }
    int tag = 1, stunde = 0;
    beobachter_.uhrzeit(monat, tag, stunde);
    intervall = (tag - 1) * 24 + stunde + 1;
}

// --- ttief --------------------------------------------------------------------
void ttief(datz& vdatz, datz3& pvdatz3, datt& vdatt, const flagchar& numchar) {
    const std::string& kopplung = numchar[ndata::kopplungsart];
    for (int m = 1; m <= MAXMONAT; ++m) {
        const int anzahl = intervalle(m);
        intervallzeile& tt = pvdatz3[zdata::tt][m];
        const intervallzeile& ta = pvdatz3[zdata::ta][m];
        for (int s = 1; s <= anzahl; ++s) {
            if (ist_direktkopplung(numchar)) {
                tt[s] = ta[s] + vdatt[tdata::mindeltatkol];
            } else if (kopplung == "L" || kopplung == "F" || kopplung == "E") {
                tt[s] = vdatt[tdata::reservoirtemperatur];
            } else if (kopplung == "A") {
                tt[s] = ta[s];
            }
            if (numchar[ndata::kopplungstyp] == "E") {
                tt[s] = numchar[ndata::kaltwassertemp] == "W" ? vdatz[zdata::rwv][m] : vdatz[zdata::te][m];
            }
        }
    }
}

// --- the run ------------------------------------------------------------------
namespace {

namespace txt {
constexpr text_paar vorbedingung{"Fehler: Daten einlesen und Ausgabedatei anlegen",
                                 "Error: Read data and create output file"};
constexpr text_paar steuerdatei{"Fehler: Bitte Steuerdatei einlesen.", "Error: Please read a control file."};
constexpr text_paar flaechenschritt_null{
    "Fehler: Kollektorfläche je Einheit und Flächenschritt müssen größer als 0 sein",
    "Error: Collector area per unit and area step must be greater than 0"};
constexpr text_paar flaechenbereich{"Fehler: Flächenbereich ungültig oder zu groß (Mindest- .. Höchstfläche, Fläche je Einheit): ",
                                    "Error: Area range invalid or too large (minimum .. maximum area, area per unit): "};
constexpr text_paar cmaxa{"Fehler: Zulässige Anzahl von Werten für Kollektoren (CMAXA) überschritten",
                          "Error: Permitted number of values for collectors (CMAXA) exceeded"};
constexpr text_paar mehr_als{": mehr als ", ": more than "};
constexpr text_paar flaechenschritte_von{" Flächenschritte von ", " area steps from "};
constexpr text_paar bis{" bis ", " to "};
constexpr text_paar keine_flaeche{"Fehler: Keine Kollektorfläche im Bereich: Mindestfläche > Höchstfläche: ",
                                  "Error: No collector area in the range: minimum area > maximum area: "};
constexpr text_paar neigungsschritte{
    "Fehler: Neigungsschritte ungültig (zulässig 0 bis 90 Schritte; Anzahl, Bereich): ",
    "Error: Tilt steps invalid (0 to 90 steps allowed; count, range): "};
constexpr text_paar leistungsschritte{
    "Fehler: Leistungsschritte der Wärmepumpe ungültig (zulässig 1 bis 100 Schritte; Anzahl, Bereich): ",
    "Error: Heat-pump power steps invalid (1 to 100 steps allowed; count, range): "};
}  // namespace txt

// Collector units beyond which an area range is not a plant any more; it
// keeps every count below far inside 32 bits.
constexpr double MAX_EINHEITEN = 1e6;

// f of the area steps: the loop "f := f + 1, A := step × f × daf until
// A ≥ maximum; back one step when A is then above the maximum", computed
// without walking up from 1. Nothing for a range that is not finite or
// spans more than MAX_EINHEITEN steps.
std::optional<int> flaechenschritte_unter(double maxflaeche, int schritt, double daf) {
    const auto flaeche = [&](int f) { return static_cast<double>(schritt) * f * daf; };
    const double verhaeltnis = maxflaeche / (static_cast<double>(schritt) * daf);
    if (!(verhaeltnis <= MAX_EINHEITEN)) return std::nullopt;
    const double start = std::floor(verhaeltnis) - 1.0;
    int f = start < 1.0 ? 1 : static_cast<int>(start);
    while (flaeche(f) < maxflaeche) ++f;
    if (flaeche(f) > maxflaeche) --f;
    return f;
}

// e of the minimum area: the loop "while minimum > A: e := e + 1,
// A := e × daf" from A = 0, computed the same way.
std::optional<int> einheiten_fuer_mindestflaeche(double mina, double daf) {
    if (!(mina > 0.0)) return 0;
    const double verhaeltnis = mina / daf;
    if (!(verhaeltnis <= MAX_EINHEITEN)) return std::nullopt;
    const double start = std::floor(verhaeltnis) - 1.0;
    int e = start < 0.0 ? 0 : static_cast<int>(start);
    while (mina > e * daf) ++e;
    return e;
}

// Areas the area loop visits from A while A ≤ maximum, with the loop's own
// update A := (step × j + e) × daf; counting stops above MAXSCHEIBEN.
int anzahl_flaechenschritte(double A, double maxflaeche, int schritt, int e, double daf) {
    int n = 0;
    for (int j = 1; A <= maxflaeche && n <= MAXSCHEIBEN; ++j) {
        ++n;
        A = (static_cast<double>(schritt) * j + e) * daf;
    }
    return n;
}

std::string zahl_text(double wert) {
    char puffer[64];
    std::snprintf(puffer, sizeof puffer, "%.15g", wert);
    return puffer;
}

// Resets the hourglass cursor whatever way the run ends.
struct cursor_waechter {
    lauf_beobachter& beobachter;
    ~cursor_waechter() { beobachter.sanduhr(false); }
};

// Intermediate results after a parameter step.
void zeige_zwischenergebnisse(double A, const flagchar& numchar, graphdata& links,
                              graphdata& rechts, lauf_beobachter& b) {
    if (!(A > 0.0) || numchar[ndata::rechenart] == "A") return;
    if ((numchar[ndata::rechenart] == "V" || numchar[ndata::rechenart] == "M") &&
        numchar[ndata::zeitraum] == "M") {
        b.zwischenergebnisse_v_zeigen();
    }
    if (numchar[ndata::zeitraum] == "J") {
        const int anzp = std::clamp(zustand::lauf().anzge, 0, MAXGRAPHPUNKTE);
        links.anzp[1] = anzp;
        links.anzbild = 1;
        links.xmin[1] = 0.0;
        links.xmax[1] = links.x[anzp][1];
        berechne_y_bereich(links);
        links.info = zahl_text(A) + " qm";
        rechts.anzbild = 0;
        b.graph_zeigen(links, rechts);
    }
    b.hauptfenster_neu_zeichnen();
}

// Passes the messages of the threads of a run on to the run's sink, one at a
// time.
class gesperrte_senke : public meldungs_senke {
public:
    gesperrte_senke(meldungs_senke& ziel, std::mutex& sperre) : ziel_(ziel), sperre_(sperre) {}
    void zeige(const std::string& text, char schwere) override {
        const std::lock_guard<std::mutex> halten(sperre_);
        ziel_.zeige(text, schwere);
    }
    bool frage(const std::string& frage_text) override {
        const std::lock_guard<std::mutex> halten(sperre_);
        return ziel_.frage(frage_text);
    }
    void cursor_zuruecksetzen() override {
        const std::lock_guard<std::mutex> halten(sperre_);
        ziel_.cursor_zuruecksetzen();
    }
    void protokolliert(const std::string& text, char schwere) override {
        const std::lock_guard<std::mutex> halten(sperre_);
        ziel_.protokolliert(text, schwere);
    }

private:
    meldungs_senke& ziel_;
    std::mutex& sperre_;
};

// Passes the window effects of the threads of a run on to the run's
// observer, one at a time.
class gesperrter_beobachter : public lauf_beobachter {
public:
    gesperrter_beobachter(lauf_beobachter& ziel, std::mutex& sperre) : ziel_(ziel), sperre_(sperre) {}
    void sanduhr(bool an) override { mit([&] { ziel_.sanduhr(an); }); }
    void fortschritt_beginnen(int maximum) override { mit([&] { ziel_.fortschritt_beginnen(maximum); }); }
    void fortschritt_auf_minimum() override { mit([&] { ziel_.fortschritt_auf_minimum(); }); }
    void fortschritt_schritt() override { mit([&] { ziel_.fortschritt_schritt(); }); }
    void einlesefenster_neu_zeichnen() override { mit([&] { ziel_.einlesefenster_neu_zeichnen(); }); }
    void hauptfenster_neu_zeichnen() override { mit([&] { ziel_.hauptfenster_neu_zeichnen(); }); }
    void zwischenergebnisse_t_oeffnen(double A) override { mit([&] { ziel_.zwischenergebnisse_t_oeffnen(A); }); }
    void zwischenergebnisse_v_oeffnen(double A) override { mit([&] { ziel_.zwischenergebnisse_v_oeffnen(A); }); }
    void zwischenergebnisse_v_zeigen() override { mit([&] { ziel_.zwischenergebnisse_v_zeigen(); }); }
    void graph_zeigen(const graphdata& links, const graphdata& rechts) override {
        mit([&] { ziel_.graph_zeigen(links, rechts); });
    }
    bool zwischenergebnisse_gewaehlt() override {
        bool r = false;
        mit([&] { r = ziel_.zwischenergebnisse_gewaehlt(); });
        return r;
    }
    void schrittpunkt(int monat, int index, double x, double y) override {
        mit([&] { ziel_.schrittpunkt(monat, index, x, y); });
    }
    double wetterstation_flaeche() override {
        double r = 0.0;
        mit([&] { r = ziel_.wetterstation_flaeche(); });
        return r;
    }
    void wetterstation_startpunkt(int& monat, int& intervall) override {
        mit([&] { ziel_.wetterstation_startpunkt(monat, intervall); });
    }
    void uhrzeit(int& monat, int& tag, int& stunde) override { mit([&] { ziel_.uhrzeit(monat, tag, stunde); }); }
    void anwendung_beenden_anfordern() override { mit([&] { ziel_.anwendung_beenden_anfordern(); }); }

private:
    template <class F>
    void mit(F&& f) {
        const std::lock_guard<std::mutex> halten(sperre_);
        f();
    }
    lauf_beobachter& ziel_;
    std::mutex& sperre_;
};

// The local state of one run and its steps, in the order in which
// starte_simulation takes them. A step that finds the run impossible reports
// why and returns false; the run then ends.
class simulationslauf {
public:
    explicit simulationslauf(laufumgebung& u)
        : numchar(zustand::numchar()),
          vdatt(zustand::vdatt()),
          vdatz(zustand::vdatz()),
          l(zustand::lauf()),
          b(u.beobachter),
          d(u.dienste),
          schritte(u.schritte, u.beobachter) {}

    // Hourglass while the run computes (a control run leaves the cursor alone).
    void sanduhr_einschalten() {
        if (numchar[ndata::kontrolllauf] == "N") b.sanduhr(true);
    }

    // The run's month results and chart data, the best value and the
    // reference value of a year run, all cleared.
    void laufrecords_anlegen() {
        monatsergebnisse = std::make_unique<::date>();
        links = std::make_unique<graphdata>();
        rechts = std::make_unique<graphdata>();
        initialisiere_laufrecords(*monatsergebnisse);
        bestwert = 0.0;
        l.referenzwert = 0.0;
        l.referenzwert_gesetzt = false;
        setzenull(*links, *rechts);
    }

    // The data set has been read and the output file created.
    bool vorbedingungen_erfuellt() {
        if (!marken().daten_eingelesen || !marken().ausgabefile_angelegt) {
            meldung(txt::vorbedingung.text(), "M", 'E');
            return false;
        }
        return true;
    }

    // The plant combination is allowed (bkflag not 0).
    bool anlagenkombination_erlaubt(int& bkflag) {
        d.CheckKombination(vdatt, numchar, bkflag);
        return bkflag != 0;
    }

    // Chart buffers, inflow temperatures, progress bar (a year run counts
    // its `ge` steps, the others their months).
    void lauf_vorbereiten() {
        setzenull(*links, *rechts);
        d.eintrittstemperaturen_fuellen();
        b.fortschritt_beginnen(numchar[ndata::zeitraum] == "J" ? l.anzge : 12);
    }

    // Steps of the intermediate heat pump's power (one for constant power "K").
    bool leistungsschritte_bestimmen() {
        leistungsanzahl = 1;
        leistungsschritt = 0.0;
        if (numchar[ndata::kopplungsart] == "K") return true;
        leistungsanzahl = std::max(l.anzwp, 1);
        leistungsschritt = l.anzwp == 0 ? 0.0 : (l.maxleistwp - l.minleistwp) / l.anzwp;
        if (l.anzwp < 0 || l.anzwp > MAX_LEISTUNGSSCHRITTE || !std::isfinite(leistungsschritt)) {
            meldung(txt::leistungsschritte.text() + std::to_string(l.anzwp) + ", " + zahl_text(l.minleistwp) +
                        " .. " + zahl_text(l.maxleistwp),
                    "M", 'E');
            return false;
        }
        return true;
    }

    // Steps of the collector tilt: only an optimisation varies it.
    bool neigungsschritte_bestimmen() {
        neigungsschritt = l.anztheta == 0 ? 0.0 : (l.maxtheta - l.mintheta) / l.anztheta;
        neigungsanzahl =
            (numchar[ndata::laufart] != "Y" && numchar[ndata::kontrolllauf] != "J") ? l.anztheta : 0;
        if (l.mintheta == l.maxtheta) neigungsanzahl = 0;
        if (neigungsanzahl < 0 || neigungsanzahl > MAX_NEIGUNGSSCHRITTE || !std::isfinite(neigungsschritt)) {
            meldung(txt::neigungsschritte.text() + std::to_string(l.anztheta) + ", " + zahl_text(l.mintheta) +
                        " .. " + zahl_text(l.maxtheta),
                    "M", 'E');
            return false;
        }
        return true;
    }

    // Area step and the number f of area steps below the maximum area.
    bool flaechenschritte_bestimmen() {
        daf = vdatt[tdata::daf];
        flaechenschritt = numchar[ndata::kontrolllauf] == "J" ? 1 : l.danzflaeche;
        steuerlauf = numchar[ndata::kontrolllauf] == "J";
        if (!steuerlauf && (!(daf > 0.0) || flaechenschritt <= 0)) {
            // Without a positive unit area and step the area loop would never end.
            meldung(txt::flaechenschritt_null.text(), "M", 'E');
            return false;
        }
        A = 0.0;
        maxflaeche = l.maxa;
        f = 0;
        if (!steuerlauf) {
            const auto schritte_bis_max = flaechenschritte_unter(maxflaeche, flaechenschritt, daf);
            if (!schritte_bis_max) {
                meldung(txt::flaechenbereich.text() + zahl_text(l.mina) + " .. " + zahl_text(maxflaeche) + ", " +
                            zahl_text(daf),
                        "M", 'E');
                return false;
            }
            f = *schritte_bis_max;
        }
        return true;
    }

    // A control run computes the area of the station window, never advanced.
    void steuerlaufflaeche_uebernehmen() {
        e = 0;
        if (steuerlauf) {
            A = b.wetterstation_flaeche();
            maxflaeche = A;
            e = 0;
            f = 0;
        } else {
            A = 0.0;
        }
    }

    // The first area: the smallest multiple of the unit area that reaches the
    // minimum area.
    bool mindestflaeche_bestimmen() {
        if (steuerlauf) return true;
        const auto einheiten = einheiten_fuer_mindestflaeche(l.mina, daf);
        if (!einheiten) {
            meldung(txt::flaechenbereich.text() + zahl_text(l.mina) + " .. " + zahl_text(maxflaeche) + ", " +
                        zahl_text(daf),
                    "M", 'E');
            return false;
        }
        e = *einheiten;
        if (e > 0) A = e * daf;
        return true;
    }

    // The sections the run will write, counted before anything is computed:
    // a result file holds at most MAXSCHEIBEN of them, and a run that would
    // write none would report success without a result.
    bool abschnitte_zaehlen() {
        abschnitte = 0;
        if (steuerlauf) return true;
        abschnitte = anzahl_flaechenschritte(A, maxflaeche, flaechenschritt, e, daf);
        if (abschnitte > MAXSCHEIBEN) {
            meldung(txt::cmaxa.text() + txt::mehr_als.text() + std::to_string(MAXSCHEIBEN) +
                        txt::flaechenschritte_von.text() + zahl_text(l.mina) + txt::bis.text() +
                        zahl_text(maxflaeche),
                    "M", 'E');
            return false;
        }
        if (abschnitte == 0) {
            meldung(txt::keine_flaeche.text() + zahl_text(l.mina) + " > " + zahl_text(maxflaeche), "M", 'E');
            return false;
        }
        return true;
    }

    // Section counter from 1, the mean wind the tilt steps scale, and the
    // stop flag cleared.
    void flaechenschleife_beginnen() {
        j = 1;
        basiswert = vdatt[tdata::mittlerer_wind];
        numchar[ndata::stopp] = "N";
        // Every area step starts from the state the run has now: what an
        // area leaves in the per-interval series (interval flags, the start
        // values of the air-side iteration) must not change the next area's
        // figures, whichever area was computed before it.
        if (!steuerlauf) {
            vorher = std::make_unique<laufzustand>();
            vorher->uebernehme(aktueller_lauf());
        }
    }

    // The start of an area step: the run's state as before the first area,
    // and month results and chart data of its own.
    void flaeche_beginnen() {
        if (vorher && j > 1) aktueller_lauf().uebernehme(*vorher);
        monatsergebnisse = std::make_unique<::date>();
        links = std::make_unique<graphdata>();
        rechts = std::make_unique<graphdata>();
        initialisiere_laufrecords(*monatsergebnisse);
        setzenull(*links, *rechts);
    }

    // Several area steps to compute at once: not a control run (one area,
    // in step with the clock), not with the step chart of a window.
    bool parallel_moeglich() const {
        return !steuerlauf && abschnitte > 1 && numchar[ndata::kontrolllauf] == "N";
    }

    // Another area step: up to the maximum area while no stop is asked for.
    bool weitere_flaeche() const { return A <= maxflaeche && numchar[ndata::stopp] == "N"; }

    // Units, low-side temperatures, cleared results, month and interval
    // preparation and the `ge` range per unit of this area.
    void flaechenschritt_vorbereiten() {
        b.einlesefenster_neu_zeichnen();
        anlage& a0 = zustand::anlage(0);
        a0.n = daf > 0.0 ? static_cast<int32_t>(std::nearbyint(A / daf)) : 0;
        a0.zwischenspeicher.fuellstand.wert = 0.0;
        ttief(vdatz, zustand::pvdatz3(1), vdatt, numchar);
        loesche_intervallergebnisse(*monatsergebnisse);
        loesche_laufergebnisse(zustand::datm_allgemein());
        d.monatsvorbereitung(A);
        d.intervallvorbereitung();
        if (A > 0.0 && (numchar[ndata::kopplungsart] != "K" || numchar[ndata::rechenart] != "A")) {
            if (!ge_gelesen) {
                d.ge_grenzen(ge_max, ge_min);
                ge_gelesen = true;
            }
            if (a0.n > 0) {
                l.maxge = ge_max / a0.n;
                l.minge = ge_min / a0.n;
            }
        }
        bestwert = 0.0;
    }

    // Every tilt step with its irradiation and every power step of this
    // area. false when the data refuse a tilt: the previous step's series
    // would give wrong results, so the run ends.
    bool parameterschritte_rechnen() {
        for (int neigung = 1; neigung <= neigungsanzahl + 1; ++neigung) {
            vdatt[tdata::theta_s] = (neigung - 1) * neigungsschritt + l.mintheta;
            vdatt[tdata::mittlerer_wind] = std::cos(konst::grad_in_rad(vdatt[tdata::theta_s])) * basiswert;
            if (!d.berechne_Einstrahlungsdaten(vdatt[tdata::wetter_breite], vdatt[tdata::theta_s],
                                               vdatt[tdata::phi_g], vdatz, numchar, zustand::pvdatz3(1),
                                               vdatt)) {
                return false;
            }
            if (numchar[ndata::kopplungsart] == "K") leistungsanzahl = 1;
            for (int k = 1; k <= leistungsanzahl; ++k) leistungsschritt_rechnen(k);
        }
        return true;
    }

    // The year evaluation of the kept variant and the result files of this
    // area; then the next area.
    void flaechenergebnisse_schreiben() {
        ::datm& behalten = zustand::datm_allgemein();
        jahr_auswerten(behalten);
        schreibe_abschnitt(behalten, d.flaeche_in_ausgabeeinheit(A), j);
        if (!steuerlauf) A = (static_cast<double>(flaechenschritt) * j + e) * daf;
        ++j;
    }

    // The area steps computed by `threads` threads at the same time: each
    // area in a copy of the run state as it stands before the area loop (an
    // area step starts from nothing an earlier area left: it resets its
    // results, stores and series), its sections written in area order by
    // this thread. A thread's messages and progress go through this thread's
    // sink and observer one at a time. An abandoned area (or a refused tilt)
    // ends the run as in the sequential loop; nothing of it is written.
    bool flaechen_parallel(int threads) {
        std::vector<double> flaechen;
        for (double a = A; a <= maxflaeche && static_cast<int>(flaechen.size()) < abschnitte;) {
            flaechen.push_back(a);
            a = (static_cast<double>(flaechenschritt) * static_cast<double>(flaechen.size()) + e) * daf;
        }
        struct ergebnis {
            std::unique_ptr<::datm> behalten;
            double flaeche_aus = 0.0;
            bool fertig = false;
        };
        std::vector<ergebnis> ergebnisse(flaechen.size());
        laufzustand& quelle = *vorher;
        std::mutex sperre;
        std::condition_variable fertig_gemeldet;
        std::size_t naechste = 0;
        bool abgebrochen = false;
        std::exception_ptr fehler;
        meldungs_senke& senke = aktuelle_meldungs_senke();
        gesperrte_senke weiter(senke, sperre);
        gesperrter_beobachter beobachter(b, sperre);
        // This thread reports through the same lock while the areas run.
        const senkenbindung hier(weiter);
        // The state of the last area: the run ends in it, as the sequential
        // loop does (the yearly figures shown after the run are read from it).
        std::unique_ptr<laufzustand> letzter;

        auto arbeite = [&] {
            const senkenbindung an_senke(weiter);
            for (;;) {
                std::size_t i;
                {
                    const std::lock_guard<std::mutex> halten(sperre);
                    if (abgebrochen || naechste >= flaechen.size()) return;
                    i = naechste++;
                }
                try {
                    auto eigen = std::make_unique<laufzustand>();
                    eigen->uebernehme(quelle);
                    const laufbindung an_lauf(*eigen);
                    laufumgebung u{d, schritte.schritte_der_anlage(), beobachter};
                    simulationslauf w(u, *this);
                    w.A = flaechen[i];
                    w.j = static_cast<int>(i) + 1;
                    w.flaechenschritt_vorbereiten();
                    if (!w.parameterschritte_rechnen()) throw abbruch();
                    ::datm& behalten = zustand::datm_allgemein();
                    w.jahr_auswerten(behalten);
                    ergebnis r;
                    r.behalten = std::make_unique<::datm>(behalten);
                    r.flaeche_aus = d.flaeche_in_ausgabeeinheit(w.A);
                    r.fertig = true;
                    const std::lock_guard<std::mutex> halten(sperre);
                    ergebnisse[i] = std::move(r);
                    if (i + 1 == flaechen.size()) letzter = std::move(eigen);
                    fertig_gemeldet.notify_all();
                } catch (...) {
                    const std::lock_guard<std::mutex> halten(sperre);
                    if (!fehler) fehler = std::current_exception();
                    abgebrochen = true;
                    fertig_gemeldet.notify_all();
                    return;
                }
            }
        };
        std::vector<std::thread> arbeiter;
        const int n = std::clamp(threads, 1, static_cast<int>(flaechen.size()));
        for (int t = 0; t < n; ++t) arbeiter.emplace_back(arbeite);
        // The sections in area order, each as soon as it and all before it are done.
        bool geschrieben_alle = true;
        try {
            for (std::size_t i = 0; i < ergebnisse.size(); ++i) {
                std::unique_lock<std::mutex> halten(sperre);
                fertig_gemeldet.wait(halten, [&] { return ergebnisse[i].fertig || abgebrochen; });
                if (!ergebnisse[i].fertig) {
                    geschrieben_alle = false;
                    break;
                }
                ergebnis r = std::move(ergebnisse[i]);
                halten.unlock();
                schreibe_abschnitt(*r.behalten, r.flaeche_aus, static_cast<int>(i) + 1);
            }
        } catch (...) {
            {
                const std::lock_guard<std::mutex> halten(sperre);
                abgebrochen = true;
            }
            for (auto& t : arbeiter) t.join();
            throw;
        }
        for (auto& t : arbeiter) t.join();
        if (fehler) {
            try {
                std::rethrow_exception(fehler);
            } catch (const abbruch&) {
                return false;
            }
        }
        if (letzter) aktueller_lauf().uebernehme(*letzter);
        return geschrieben_alle;
    }

private:
    // A driver for one area step in another thread: the run-wide values of
    // `haupt` (steps, ranges, the `ge` limits read once), references to the
    // state of the thread's own run.
    simulationslauf(laufumgebung& u, const simulationslauf& haupt) : simulationslauf(u) {
        monatsergebnisse = std::make_unique<::date>();
        links = std::make_unique<graphdata>();
        rechts = std::make_unique<graphdata>();
        initialisiere_laufrecords(*monatsergebnisse);
        setzenull(*links, *rechts);
        leistungsanzahl = haupt.leistungsanzahl;
        leistungsschritt = haupt.leistungsschritt;
        neigungsanzahl = haupt.neigungsanzahl;
        neigungsschritt = haupt.neigungsschritt;
        daf = haupt.daf;
        flaechenschritt = haupt.flaechenschritt;
        steuerlauf = haupt.steuerlauf;
        maxflaeche = haupt.maxflaeche;
        e = haupt.e;
        f = haupt.f;
        abschnitte = haupt.abschnitte;
        basiswert = haupt.basiswert;
        ge_max = haupt.ge_max;
        ge_min = haupt.ge_min;
        ge_gelesen = haupt.ge_gelesen;
    }

    // Year evaluation and output units of the kept variant of this area.
    void jahr_auswerten(::datm& behalten) {
        d.jahresauswertung(behalten, zustand::pvdatz3(2), zustand::anlage(0).pufferspeicher, *monatsergebnisse,
                           vdatz, vdatt);
        d.ergebnisauswertung(behalten);
    }

    // The files' section of the area at position `position`.
    void schreibe_abschnitt(::datm& behalten, double flaeche_aus, int position) {
        // The per-interval file belongs to simulation runs; an optimisation
        // run (run kind "N") leaves none.
        // The writers announce last − first + 1 sections: the run passes its
        // first and last section, so that line 2 of the files tells the
        // sections they hold (a control run writes one).
        const abschnittsfolge folge{steuerlauf ? e : 1, steuerlauf ? f : abschnitte, position};
        if (numchar[ndata::laufart] != "N")
            d.schreibe_intervallergebnisse(vdatt, behalten, flaeche_aus, folge);
        d.schreibe_monatsergebnisse(vdatt, behalten, flaeche_aus, folge);
    }

    // Power step k: the period loop of the method and time resolution, then
    // the stop of a control run and the intermediate results.
    void leistungsschritt_rechnen(int k) {
        b.sanduhr(true);
        b.fortschritt_auf_minimum();
        if (numchar[ndata::kopplungsart] != "K") {
            vdatt[tdata::ww_leistung] = (k - 1) * leistungsschritt + l.minleistwp;
            l.leistungwp = vdatt[tdata::ww_leistung];
        }
        if (A > 0.0 && numchar[ndata::kopplungstyp] != "S") b.zwischenergebnisse_t_oeffnen(A);

        auto periode = [&](char code) {
            int variantenzaehler = 0;
            berechne_periode(variantenzaehler, j, vdatz, *links, code, nullptr, bestwert, zustand::date3(),
                             *monatsergebnisse, numchar, zustand::datm_allgemein(), vdatt, zustand::pvdatz3(1), A,
                             schritte);
        };
        const std::string& art = numchar[ndata::rechenart];
        const std::string& zeitraum = numchar[ndata::zeitraum];
        if ((art == "V" || art == "T" || art == "M") && (zeitraum == "M" || zeitraum == "I")) {
            if (A > 0.0 && numchar[ndata::meldungsmodus] == "M") b.zwischenergebnisse_v_oeffnen(A);
            periode('V');
            if (numchar[ndata::stopp] == "J") {
                if (numchar[ndata::messmodus] == "J") {
                    d.anlage_abschalten('V', 'S');
                    d.anlage_abschalten('I', 'S');
                    d.anlage_abschalten('V', 'V');
                }
                b.anwendung_beenden_anfordern();
            }
        }
        if (art == "A" && numchar[ndata::kopplungstyp] == "Z" && zeitraum == "I") periode('Z');
        if (art == "A" && numchar[ndata::kopplungstyp] == "E" && zeitraum == "I") periode('E');
        if (zeitraum == "J" && (art == "V" || art == "M")) periode('K');

        if (b.zwischenergebnisse_gewaehlt() && numchar[ndata::laufart] == "N" &&
            numchar[ndata::kontrolllauf] == "N") {
            b.sanduhr(false);
            zeige_zwischenergebnisse(A, numchar, *links, *rechts, b);
            b.sanduhr(true);
        }
    }

    flagchar& numchar;
    datt& vdatt;
    datz& vdatz;
    laufsteuerung& l;
    lauf_beobachter& b;
    lauf_dienste& d;
    lauf_perioden_schritte schritte;

    std::unique_ptr<::date> monatsergebnisse;
    std::unique_ptr<graphdata> links, rechts;
    double bestwert = 0.0;

    int leistungsanzahl = 1;
    double leistungsschritt = 0.0;
    int neigungsanzahl = 0;
    double neigungsschritt = 0.0;

    double daf = 0.0;
    int flaechenschritt = 1;
    bool steuerlauf = false;
    double A = 0.0;           // area of the current step
    double maxflaeche = 0.0;  // the loop ends above it
    int e = 0;                // units of the minimum area
    int f = 0;                // area steps below the maximum area
    int abschnitte = 0;       // sections the run writes
    int j = 1;                // section of the current area
    double basiswert = 0.0;   // mean wind at the start of the run
    double ge_max = 0.0, ge_min = 0.0;  // flow range of table rech, read once per run
    bool ge_gelesen = false;
    std::unique_ptr<laufzustand> vorher;  // the state before the first area step
};

}  // namespace

void starte_simulation(int& bkflag, laufumgebung& u) {
    simulationslauf lauf(u);
    lauf.sanduhr_einschalten();
    cursor_waechter waechter{u.beobachter};  // resets the cursor however the run ends

    lauf.laufrecords_anlegen();
    if (!lauf.vorbedingungen_erfuellt()) return;
    if (!lauf.anlagenkombination_erlaubt(bkflag)) return;
    lauf.lauf_vorbereiten();
    if (!lauf.leistungsschritte_bestimmen()) return;
    if (!lauf.neigungsschritte_bestimmen()) return;
    if (!lauf.flaechenschritte_bestimmen()) return;
    lauf.steuerlaufflaeche_uebernehmen();
    if (!lauf.mindestflaeche_bestimmen()) return;
    if (!lauf.abschnitte_zaehlen()) return;

    lauf.flaechenschleife_beginnen();
    if (u.threads > 1 && lauf.parallel_moeglich()) {
        if (!lauf.flaechen_parallel(u.threads)) return;
    } else {
        while (lauf.weitere_flaeche()) {
            lauf.flaeche_beginnen();
            lauf.flaechenschritt_vorbereiten();
            if (!lauf.parameterschritte_rechnen()) return;
            lauf.flaechenergebnisse_schreiben();
        }
    }

    // The files are moved into place and catalogued only now that every
    // section is written; a run that ends earlier leaves none.
    if (!u.dienste.ergebnisse_abschliessen()) return;
    marken().simulation_durchgefuehrt = true;
    u.beobachter.fortschritt_auf_minimum();
}

namespace {
void schreibe_datensatzname(const std::string& datensatzname) {
    leere_protokoll();
    meldung(datensatzname, "S", 'M');
}
}  // namespace

void starte_einzelsimulation(const std::string& datensatzname, laufumgebung& u) {
    flagchar& numchar = zustand::numchar();
    numchar[ndata::laufart] = "Y";
    numchar[ndata::kontrolllauf] = "N";
    numchar[ndata::meldungsmodus] = "M";
    numchar[ndata::messmodus] = "N";
    schreibe_datensatzname(datensatzname);
    if (marken().steuerdatei_eingelesen) {
        int bkflag = 0;
        starte_simulation(bkflag, u);
    } else {
        meldung(txt::steuerdatei.text(), "M", 'E');
    }
}

void optimierung_starten(const std::string& datensatzname, laufumgebung& u) {
    flagchar& numchar = zustand::numchar();
    numchar[ndata::laufart] = "N";
    numchar[ndata::kontrolllauf] = "N";
    numchar[ndata::meldungsmodus] = "M";
    schreibe_datensatzname(datensatzname);
    int bkflag = 0;
    starte_simulation(bkflag, u);
}

void Steuern_Starten(const std::string& messflag_s, const std::string& simflag_s,
                     const std::string& datensatzname, laufumgebung& u) {
    flagchar& numchar = zustand::numchar();
    numchar[ndata::laufart] = simflag_s;
    numchar[ndata::kontrolllauf] = "J";
    numchar[ndata::einstrahlung_berechnen] = "J";
    numchar[ndata::messmodus] = messflag_s;
    numchar[ndata::meldungsmodus] = "M";
    schreibe_datensatzname(datensatzname);
    int bkflag = 0;
    starte_simulation(bkflag, u);
}

void neue_simulation() {
    marken().daten_eingelesen = false;
    marken().ausgabefile_angelegt = false;
    marken().simulation_durchgefuehrt = false;
}
