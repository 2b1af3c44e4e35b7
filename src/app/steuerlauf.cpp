#include "app/steuerlauf.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <csignal>
#include <memory>
#include <ostream>

#include "app/simulation_run.h"
#include "data/konstanten.h"
#include "engine/anlagenschritte.h"
#include "engine/periode.h"
#include "engine/zeitschritt.h"
#include "input/klarer_himmel.h"
#include "input/sonnengeometrie.h"
#include "lang/meldung.h"
#include "lang/stationstexte.h"
#include "station/kontrolldatei.h"
#include "station/simulierte_ports.h"

namespace {

volatile std::sig_atomic_t g_ende = 0;

// The first SIGINT or SIGTERM asks the run to end (and switch the plant
// off); a second one of the same kind ends the process at once.
extern "C" void bei_signal(int nummer) {
    g_ende = 1;
    std::signal(nummer, SIG_DFL);
}

// Calendar month lengths of the forecast (February 28 days).
constexpr int MONATSLAENGE[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Hour of the day of interval s (the intervals of a control run are hours).
double stunde_des_tages(int s) { return s - 24.0 * std::floor(s / 24.0); }

// Month and interval of a clock time.
uhrzeitintervall intervall_von(const datum_uhrzeit& t) {
    return {t.monat, stunde_des_monats(t)};
}

// The plant is switched off through the station.
class station_laufdienste : public standard_laufdienste {
public:
    station_laufdienste(const ausgabefile& ausgabe, const std::filesystem::path& verzeichnis, wetterstation& w,
                        anlage& a)
        : standard_laufdienste(ausgabe, verzeichnis), w_(w), a_(a) {}
    void anlage_abschalten(char ivflag, char geraet) override {
        const ssq& quelle = geraet == 'V'  ? a_.kollektorventilator.strom_spannungs_quelle
                            : ivflag == 'I' ? a_.zwischen_waermepumpe.strom_spannungs_quelle
                                            : a_.umwaelzpumpe.strom_spannungs_quelle;
        w_.ausgeben(0.0, 0.0, quelle, ivflag, geraet, 'N', a_);
        ++abgeschaltet;
    }
    int abgeschaltet = 0;

private:
    wetterstation& w_;
    anlage& a_;
};

// The station's fields and clock for the run driver; everything else goes
// to the caller's observer (the desktop's progress and run window), if any.
class station_beobachter : public lauf_beobachter {
public:
    station_beobachter(wetterstation& w, lauf_beobachter* weiter) : w_(w), weiter_(weiter) {}
    double wetterstation_flaeche() override { return w_.flaeche; }
    void wetterstation_startpunkt(int& monat, int& intervall) override {
        monat = w_.startmonat;
        intervall = w_.startintervall;
    }
    void uhrzeit(int& monat, int& tag, int& stunde) override {
        const datum_uhrzeit t = w_.zeit().jetzt();
        monat = t.monat;
        tag = t.tag;
        stunde = t.stunde;
    }
    void sanduhr(bool an) override {
        if (weiter_) weiter_->sanduhr(an);
    }
    void fortschritt_beginnen(int maximum) override {
        if (weiter_) weiter_->fortschritt_beginnen(maximum);
    }
    void fortschritt_auf_minimum() override {
        if (weiter_) weiter_->fortschritt_auf_minimum();
    }
    void fortschritt_schritt() override {
        if (weiter_) weiter_->fortschritt_schritt();
    }
    void einlesefenster_neu_zeichnen() override {
        if (weiter_) weiter_->einlesefenster_neu_zeichnen();
    }
    void hauptfenster_neu_zeichnen() override {
        if (weiter_) weiter_->hauptfenster_neu_zeichnen();
    }
    void graph_zeigen(const graphdata& links, const graphdata& rechts) override {
        if (weiter_) weiter_->graph_zeigen(links, rechts);
    }

private:
    wetterstation& w_;
    lauf_beobachter* weiter_;
};

// SIGINT and SIGTERM end the run at its next check of the control file.
class signale {
public:
    signale() {
        g_ende = 0;
        alt_int_ = std::signal(SIGINT, bei_signal);
        alt_term_ = std::signal(SIGTERM, bei_signal);
    }
    ~signale() {
        std::signal(SIGINT, alt_int_);
        std::signal(SIGTERM, alt_term_);
    }
    signale(const signale&) = delete;
    signale& operator=(const signale&) = delete;

private:
    void (*alt_int_)(int) = SIG_DFL;
    void (*alt_term_)(int) = SIG_DFL;
};

std::string wert_mit_einheit(const wetterstation& w, const char* strom_feld, const char* spannung_feld) {
    const std::string u = w.feld(spannung_feld);
    if (!u.empty() && u != "leer" && u != "empty") return u + " V";
    return w.feld(strom_feld) + " mA";
}

}  // namespace

bool ende_angefordert() { return g_ende != 0; }
void setze_ende_angefordert(bool an) { g_ende = an ? 1 : 0; }

// --- forecast and clear sky ------------------------------------------------------

void prognose_nach_messung(datz3& pvdatz3, const datz& vdatz, const datt& vdatt, int m, int s, int blocklaenge) {
    if (blocklaenge <= 1) return;
    int tage = 0;
    for (int k = 1; k < m; ++k) tage += MONATSLAENGE[k];
    const double d = tage + std::nearbyint(s / 24.0);
    const double delta = klarer_himmel::deklination_bourges(d, vdatt[tdata::laengengrad]);
    const double phi = vdatt[tdata::breitengrad] * konst::PI / 180.0;
    const double arg = std::clamp(-std::tan(delta) * std::tan(phi), -1.0, 1.0);
    const double omega_s = std::acos(arg);
    const double t_r = 12.0 - omega_s * 12.0 / konst::PI;

    intervallfeld& is0 = pvdatz3[zdata::is0];
    intervallfeld& ir = pvdatz3[zdata::ir];
    intervallfeld& ta = pvdatz3[zdata::ta];
    const double ho = pvdatz3[zdata::ho][m][s];
    double h = stunde_des_tages(s);
    const double r_s = sonne::stundenverhaeltnis((h - 12.0) * konst::PI / 12.0, omega_s).r_t;
    const double H = r_s > 0.0 ? ir[m][s] / r_s : 0.0;
    const int ende = std::min(s + blocklaenge - 1, intervalle(m));
    for (int j = s + 1; j <= ende; ++j) {
        h += 1.0;
        const double omega = (h - 12.0) * konst::PI / 12.0;
        double x = ho > 0.0 ? sonne::stundenverhaeltnis(omega, omega_s).r_t * H * 1000.0 / ho : 0.0;
        if (x < 0.0) x = 0.0;
        is0[m][j] = x;
        ir[m][j] = x * ho / 1000.0;
        ta[m][j] = sonne::temperaturprofil(stunde_des_tages(j), 24.0 - 2.0 * t_r, vdatz[zdata::tamin][m],
                                    vdatz[zdata::tamax][m]);
    }
}

double klarhimmel_einstrahlung_sensor(int jahr, int monat, int tag, int stunde, int minute, const datt& vdatt) {
    const klarer_himmel_ergebnis r = irradiation_cloudless_sky(jahr, monat, tag, stunde, minute, vdatt);
    const double s = static_cast<double>(static_cast<float>(konst::PI / 4.0));
    const double azimut = vdatt[tdata::phi_g] * konst::PI / 180.0;
    const double phi = vdatt[tdata::breitengrad] * konst::PI / 180.0;
    const double rho = vdatt[tdata::reflektion];
    const double cos_theta = sonne::berechne_costheta(r.delta, phi, r.omega, s, azimut);
    const double cos_z = std::sin(phi) * std::sin(r.delta) + std::cos(phi) * std::cos(r.omega) * std::cos(r.delta);
    // With the sun at or below the horizon there is no beam.
    const double strahl = cos_z > 0.0 ? cos_theta / cos_z : 0.0;
    return (strahl + rho * (1.0 - std::cos(s)) / 2.0) * r.B +
           ((1.0 + rho) / 2.0 + std::cos(s) * (1.0 - rho) / 2.0) * r.D;
}

// --- control points ------------------------------------------------------------------

station_steuerpunkte::station_steuerpunkte(wetterstation& station, anlage& a) : w_(station), a_(a) {}

bool station_steuerpunkte::ist_live(const flagchar& numchar, int m, int s, double A) {
    return ist_liveblock(numchar, m, s, A, zustand::monatstart(), zustand::startintervall());
}

void station_steuerpunkte::messe_liveintervall(periodenkontext& k, int m, int s, int blocklaenge, anlage& a) {
    w_.messe_ta_is(k.pvdatz3, m, s, a, k.numchar);
    prognose_nach_messung(k.pvdatz3, k.vdatz, k.vdatt, m, s, blocklaenge);
}

void station_steuerpunkte::zeige_blocktemperatur(double T) { w_.setze("Edit33", T); }

void station_steuerpunkte::steuerschritt(periodenkontext& k, int m, int s, anlage& a) {
    const ::date3& d3 = k.d3;
    steuerwerte x;
    x.vel = d3.vel[m][s];
    x.volluft = d3.volluft[m][s];
    x.tein = d3.tein[m][s];
    x.tf = d3.tf[m][s];
    x.lnh = d3.lnh[m][s];
    x.equer_verbrauch = d3.equer_verbrauch[m][s];
    x.nh = d3.nh[m][s];
    x.ok = d3.ok[m][s];
    x.elp = d3.elp[m][s];
    x.copww = d3.copww[m][s];
    x.wpausflag = static_cast<char>(d3.wpausflag[s]);
    x.speicherflag = static_cast<char>(d3.speicherflag[s]);

    liveintervall_zeile z;
    z.zeit = w_.zeit().jetzt();
    z.monat = m;
    z.intervall = s;
    z.ta = k.pvdatz3[zdata::ta][m][s];
    z.is = k.pvdatz3[zdata::is0][m][s];

    steuerschritt_intervall(w_, x, k.pvdatz3, k.d3, m, s, k.A, k.numchar, k.vdatt, a);
    if (a.zwischenspeicher.fuellstand.wert > 0.0) w_.setze("Edit41", a.zwischenspeicher.fuellstand.wert, 4);
    w_.protokoll().wait(100.0);

    ++anzahl_;
    z.pumpe = wert_mit_einheit(w_, "Edit30", "Edit31");
    z.zwischen_wp = wert_mit_einheit(w_, "Edit49", "Edit50");
    z.ventilator = a.kollektorventilator.maximalspannung.wert > 0.0 ? w_.feld("Edit46") + " V" : std::string("-");
    z.deckung = w_.feld("Edit34");
    if (nach_liveintervall) nach_liveintervall(z);
}

bool station_steuerpunkte::stopp_angefordert(const flagchar& numchar, const ::date3& d3) {
    if (ende_angefordert() || kontrolldatei_stop(d3.filename_kontrolle)) return true;
    // A run computes one calendar year from its start month. Once the clock
    // has passed the year's end no interval can be live again: the run would
    // compute January over and over without driving the plant. It ends.
    if (numchar[ndata::messmodus] == "J") {
        const datum_uhrzeit t = w_.zeit().jetzt();
        if (t.monat < zustand::monatstart()) {
            if (!jahreswechsel_) meldung(stationstexte::jahreswechsel.text(), "M", 'M');
            jahreswechsel_ = true;
            return true;
        }
    }
    return false;
}

std::optional<uhrzeitintervall> station_steuerpunkte::jetzt() { return intervall_von(w_.zeit().jetzt()); }

void schreibe_liveintervall(std::ostream& aus, const liveintervall_zeile& z) {
    char zeit[32];
    std::snprintf(zeit, sizeof zeit, "%04d-%02d-%02d %02d:%02d:%02d", z.zeit.jahr, z.zeit.monat, z.zeit.tag,
                  z.zeit.stunde, z.zeit.minute, static_cast<int>(std::floor(z.zeit.sekunde)));
    char zeile[256];
    std::snprintf(zeile, sizeof zeile, "%s  %2d/%3d  ta %7.2f  is %7.1f", zeit, z.monat, z.intervall, z.ta, z.is);
    aus << zeile << "  P " << z.pumpe << "  ZWP " << z.zwischen_wp << "  V " << z.ventilator << "  D% "
        << z.deckung << '\n';
}

// --- the run -----------------------------------------------------------------------------

steuergeraete::steuergeraete(const steuerlauf_optionen& o) {
    // The clock: real, or fast from now (or the given start).
    zeit_ = &systemuhr();
    if (o.zeit) {
        zeit_ = o.zeit;
    } else if (o.schnelle_uhr) {
        schnell_ = std::make_unique<schnelle_uhr>(o.uhrstart.value_or(systemuhr().jetzt()));
        zeit_ = schnell_.get();
    }
    // The devices: the program's ports, or a simulated installation.
    RSCOM* port = &rscom();
    if (o.ports) {
        eigener_port_ = std::make_unique<RSCOM>(*o.ports, *zeit_);
        port = eigener_port_.get();
        einstellungen_.adc_10bit = true;
    } else if (o.simulierte_geraete) {
        simuliert_ = std::make_unique<simulierte_ports>(*zeit_);
        stecke_beispielanlage(*simuliert_);
        eigener_port_ = std::make_unique<RSCOM>(*simuliert_, *zeit_);
        port = eigener_port_.get();
        einstellungen_.adc_10bit = true;
    }
    protokoll_ = std::make_unique<geraeteprotokoll>(*port, einstellungen_, o.dialog);
    station_ = std::make_unique<wetterstation>(*protokoll_, *zeit_);
}

steuergeraete::~steuergeraete() = default;

void steuergeraete::anlage_anpassen(anlage& a) const {
    if (!eigener_port_) return;
    // The simulated installation stands for the hardware: its chips (AD7303
    // on the pump board, MCP4802 on the fan) replace the DAC types the data
    // set names.
    a.umwaelzpumpe.strom_spannungs_quelle.dac_typ = "AD7303";
    a.zwischen_waermepumpe.strom_spannungs_quelle.dac_typ = "AD7303";
    a.kollektorventilator.strom_spannungs_quelle.dac_typ = "MCP4802";
}

bool steuerlauf_erlaubt() {
    // Only the interval kernel follows the clock, measures and reads the
    // control file; any other method would run on without an end.
    const flagchar& nc = zustand::numchar();
    const std::string& art = nc[ndata::rechenart];
    const std::string& zeitraum = nc[ndata::zeitraum];
    if ((art == "M" && (zeitraum == "M" || zeitraum == "I")) || (art == "V" && zeitraum == "I")) return true;
    meldung(stationstexte::steuerlauf_braucht_intervallkern.text() + art + "/" + zeitraum, "M", 'E');
    return false;
}

steuerlauf_ergebnis steuerlauf_ausfuehren(wetterstation& w, anlage& a, const std::string& messflag,
                                          const ausgabefile& ausgabe,
                                          const std::filesystem::path& ergebnisverzeichnis,
                                          const std::string& datensatzname,
                                          const std::function<void(const liveintervall_zeile&)>& nach_liveintervall,
                                          lauf_beobachter* weiter) {
    const bool voll = messflag == "J";
    station_steuerpunkte punkte(w, a);
    punkte.nach_liveintervall = nach_liveintervall;
    monatskerne kerne(punkte);
    anlagenschritte schritte(kerne);
    station_laufdienste dienste(ausgabe, ergebnisverzeichnis, w, a);
    station_beobachter beobachter(w, weiter);
    laufumgebung u{dienste, schritte, beobachter};

    steuerlauf_ergebnis e;
    signale s;
    // A "STOP" written, or a signal, during the wait for the next
    // measurement ends that wait; the run then stops at its next check.
    const std::string kontrolldatei = zustand::date3().filename_kontrolle;
    w.warten_beenden = [kontrolldatei] { return ende_angefordert() || kontrolldatei_stop(kontrolldatei); };
    // Every way out of a run that drives devices leaves the sources at 0.
    auto abschalten = [&] {
        w.warten_beenden = nullptr;
        if (voll) {
            try {
                w.quellen_aus(a);
                e.quellen_aus = true;
            } catch (...) {
            }
        }
        w.im_steuerlauf = false;
    };
    try {
        Steuern_Starten(messflag, "N", datensatzname, u);
    } catch (...) {
        abschalten();
        throw;
    }
    abschalten();
    e.liveintervalle = punkte.liveintervalle();
    e.gestoppt = zustand::numchar()[ndata::stopp] == "J";
    return e;
}

steuerlauf_ergebnis steuerlauf(const ausgabefile& ausgabe, const std::filesystem::path& ergebnisverzeichnis,
                               const std::string& datensatzname, const steuerlauf_optionen& o,
                               const std::function<void(const liveintervall_zeile&)>& nach_liveintervall) {
    if (!steuerlauf_erlaubt()) return {};
    // The port search asks nobody: the devices found are checked below.
    struct still : geraete_dialog {
        dialog_antwort frage(const std::string&) override { return dialog_antwort::ignorieren; }
    } ohne_frage;
    steuerlauf_optionen mit_dialog = o;
    if (!mit_dialog.dialog) mit_dialog.dialog = &ohne_frage;
    steuergeraete g(mit_dialog);
    wetterstation& w = g.station();
    anlage& a = zustand::anlage(0);
    g.anlage_anpassen(a);
    w.zuruecksetzen(a);

    const bool voll = !o.testmodus;
    if (voll) {
        w.initialisiere_wetterstation_fuer_steuern(a, zustand::lauf().maxa);
        std::string fehlend;
        auto fehlt = [&](bool kein_anschluss, char geraet) {
            if (kein_anschluss) fehlend += (fehlend.empty() ? "" : ", ") + geraetename(geraet).text();
        };
        fehlt(a.kein_anschluss_com_W, 'W');
        fehlt(a.kein_anschluss_com_U, 'S');
        fehlt(a.kein_anschluss_com_V && a.kollektorventilator.maximalspannung.wert > 0.0, 'V');
        if (!fehlend.empty()) {
            if (!o.steuer_simulation) {
                meldung(stationstexte::geraete_fehlen.text() + fehlend + stationstexte::geraete_fehlen_hinweis.text(),
                        "M", 'E');
                return {};
            }
            meldung(stationstexte::geraete_fehlen_simulation.text() + fehlend +
                        stationstexte::steuer_simulation_ohne.text(),
                    "M", 'W');
        }
    } else {
        // Test mode drives no device: the ports are not searched.
        const uhrzeitintervall t = intervall_von(g.zeit().jetzt());
        w.startmonat = t.monat;
        w.startintervall = t.intervall;
        w.setze("Edit42", zustand::lauf().maxa);
        w.felder["Edit35"] = std::to_string(o.startmonat.value_or(t.monat));
        w.felder["Edit36"] = std::to_string(o.startintervall.value_or(t.intervall));
        w.protokoll().einstellungen().com_felder.fill(stationstexte::leer.text());
        w.com_felder_zeigen();
    }
    if (o.flaeche) w.setze("Edit42", *o.flaeche);

    std::string messflag;
    if (!w.steuerlauf_vorbereiten(voll, o.steuer_simulation, a, zustand::date3(),
                                  kontrolldatei_pfad(o.arbeitsverzeichnis), messflag)) {
        return {};
    }
    return steuerlauf_ausfuehren(w, a, messflag, ausgabe, ergebnisverzeichnis, datensatzname, nach_liveintervall);
}
