#include "station/wetterstation.h"

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "data/konstanten.h"
#include "engine/models/luftkollektor.h"
#include "engine/models/numerik.h"
#include "lang/meldung.h"
#include "lang/sprache.h"
#include "lang/stationstexte.h"
#include "station/kontrolldatei.h"

namespace {

// Humidity (%) of the station's sensor from a 10-bit reading on 5 V.
double feuchte(double u) { return (5.0 * u / 1024.0 - 0.958) * 1000.0 / 30.68; }
// AD22100 and the free sensors (°C), 5 V reference.
double temperatur_ad22100(double u) { return (u / 1024.0 * 5.0 / 1.0 - 1.375) * 1000.0 / 22.5; }
// LM235Z (°C), 3.86 V reference.
double temperatur_lm235z(double u) { return 3.86 * u / 1024.0 * 1000.0 / 10.0 - 273.1; }

std::string mit_stellen(double x, int stellen) {
    const double f = std::pow(10.0, stellen);
    const double r = std::nearbyint(x * f) / f;
    char puffer[64];
    std::snprintf(puffer, sizeof puffer, "%.*f", stellen, r == 0.0 ? 0.0 : r);
    return puffer;
}

}  // namespace

const text_paar& geraetename(char g) {
    switch (g) {
        case 'W': return stationstexte::wetterstation;
        case 'S': return stationstexte::pumpenplatine;
        case 'V': return stationstexte::ventilator;
        case 'A': return stationstexte::sensorplatine;
        default: return stationstexte::unbekannt;
    }
}

// --- normalisation ------------------------------------------------------------

void normiere_messwerte_wetterstation(double& dmess, double& dsab, int itemindex, double umess,
                                      double sab, double normierung, double normab) {
    double (*f)(double) = nullptr;
    switch (itemindex) {
        case 0:
            dmess = normierung * umess;
            dsab = normierung * sab;
            return;
        case 1:
            dmess = normab * umess;
            dsab = normab * sab;
            return;
        case 2: f = feuchte; break;
        case 3: case 4: case 5: case 6: case 7: f = temperatur_ad22100; break;
        case 8: case 9: f = temperatur_lm235z; break;
        default: return;
    }
    dmess = f(umess);
    dsab = std::abs(dmess - f(umess + sab));
}

messwert mittelwert_und_streuung(const double* werte, int anzahl) {
    messwert m;
    if (anzahl <= 0) return m;
    double summe = 0.0;
    for (int k = 0; k < anzahl; ++k) summe += werte[k];
    m.umess = summe / anzahl;
    if (anzahl < 2) return m;
    double q = 0.0;
    for (int k = 0; k < anzahl; ++k) q += (m.umess - werte[k]) * (m.umess - werte[k]);
    const double s = std::sqrt(q / (anzahl - 1));
    m.sab = s / std::sqrt(static_cast<double>(anzahl));
    return m;
}

double strahlung_platte(double A, double tk, double ta) {
    const double sigma = 5.67e-8;
    return A * (std::pow(tk + 273.1, 4) - std::pow(ta + 273.1, 4)) *
           (sigma / (1.0 / 0.9506 + 1.0 / 0.9212 - 1.0) + 0.9506 * sigma);
}

// --- the station ----------------------------------------------------------------

wetterstation::wetterstation(geraeteprotokoll& protokoll, uhr& zeit) : p_(protokoll), zeit_(zeit) {
    felder["Edit1"] = "1";
    dialog_.station = this;
    dialog_.weiter = p_.dialog();
    p_.setze_dialog(&dialog_);
}

wetterstation::~wetterstation() { p_.setze_dialog(dialog_.weiter); }

void wetterstation::setze(const std::string& feld, double wert, int stellen) {
    felder[feld] = mit_stellen(wert, stellen);
}

std::string wetterstation::feld(const std::string& name) const {
    const auto it = felder.find(name);
    return it == felder.end() ? std::string() : it->second;
}

double wetterstation::zahl(const std::string& name) const {
    std::string t = feld(name);
    for (char& c : t)
        if (c == ',') c = '.';
    char* ende = nullptr;
    const double x = std::strtod(t.c_str(), &ende);
    return ende == t.c_str() || !std::isfinite(x) ? 0.0 : x;
}

void wetterstation::zuruecksetzen(const anlage& a) {
    static const char* const werte[] = {"Edit2",  "Edit3",  "Edit4",  "Edit5",  "Edit6",  "Edit7",
                                        "Edit8",  "Edit9",  "Edit11", "Edit12", "Edit13", "Edit15",
                                        "Edit16", "Edit17", "Edit20", "Edit21", "Edit22", "Edit23",
                                        "Edit24", "Edit25", "Edit26", "Edit27", "Edit28", "Edit29",
                                        "Edit30", "Edit31", "Edit32", "Edit33", "Edit35", "Edit36",
                                        "Edit40", "Edit41", "Edit42", "Edit44", "Edit45", "Edit46",
                                        "Edit49", "Edit50", "Edit52"};
    for (const char* f : werte) felder[f] = "0";
    felder["Edit1"] = "1";
    felder["Edit34"] = " ";
    felder["Edit51"] = " ";
    felder["Edit53"] = " ";
    quellenfelder(a);
    steuer_simulation = a.kein_anschluss_com_W;
    messung_laeuft = false;
}

void wetterstation::quellenfelder(const anlage& a) {
    setze("Edit18", a.umwaelzpumpe.strom_spannungs_quelle.maximalspannung);
    setze("Edit19", a.zwischen_waermepumpe.strom_spannungs_quelle.maximalstrom);
    setze("Edit43", a.kollektorventilator.strom_spannungs_quelle.maximalspannung);
}

void wetterstation::aktivieren(const anlage& a) {
    zuruecksetzen(a);
    uhrzeit_felder();
}

void wetterstation::uhrzeit_felder() {
    const datum_uhrzeit t = zeit_.jetzt();
    felder["Edit4"] = std::to_string(t.monat);
    felder["Edit5"] = std::to_string(t.tag);
    felder["Edit6"] = std::to_string(t.stunde);
    felder["Edit11"] = std::to_string(t.minute);
}

void wetterstation::ausrichten() {
    RSCOM& r = p_.port();
    r.setze_txd(1);
    r.setze_dtr(1);
    r.setze_rts(0);
}

// --- measurement --------------------------------------------------------------

bool wetterstation::lese_messwert(int nanz, int imesswert, int32_t port, messwert& m) {
    messung_laeuft = true;
    if (nanz > MAX_MESSUNGEN) nanz = MAX_MESSUNGEN;
    if (nanz < 1) nanz = 1;
    felder["Edit1"] = std::to_string(nanz);
    const int modus = p_.adc_modus();
    m = {};
    const int fragen_vorher = fragen_;
    while (!p_.teste_schnittstelle(std::to_string(port))) {
        bool gefunden = false;
        if (!p_.repeat_com(gefunden)) {
            melde_ausfall('W', true);
            return false;
        }
    }
    std::vector<double> werte(static_cast<std::size_t>(nanz));
    for (int k = 0; k < nanz; ++k) {
        double x = 0.0;
        if (imesswert == sensor_einstrahlung) {
            x = p_.WS_lese_irradiation(modus);
        } else if (imesswert == sensor_schnee) {
            x = p_.WS_lese_beschlagen(usbdata::vdcd, usbdata::vtxd, modus);
        } else if (imesswert == sensor_feuchte) {
            x = static_cast<double>(p_.WS_lese_feuchte(modus));
        } else {
            x = static_cast<double>(p_.WS_lese_temperatur(modus, imesswert));
        }
        werte[static_cast<std::size_t>(k)] = x;
    }
    // A port that stopped answering during the readings delivered 0 levels:
    // those readings are no measurement.
    if (!p_.port().ist_offen()) {
        melde_ausfall('W', true);
        return false;
    }
    m = mittelwert_und_streuung(werte.data(), nanz);
    if (fragen_ == fragen_vorher) melde_ausfall('W', false);
    return true;
}

void wetterstation::sensortest(int imesswert, const anlage& a) {
    const int anzahl = static_cast<int>(zahl("Edit1"));
    for (const char* f : {"Edit2", "Edit3", "Edit15", "Edit16", "Edit7"}) felder[f] = "0";
    if (a.Wetterstation_com >= 100) return;
    messwert m;
    lese_messwert(anzahl, imesswert, a.Wetterstation_com, m);
    letzter_mittelwert_ = m.umess;
    setze("Edit2", m.umess);
    setze("Edit3", m.sab);
    double dmess = 0.0, dsab = 0.0;
    normiere_messwerte_wetterstation(dmess, dsab, imesswert, m.umess, m.sab, NORMIERUNG_EINSTRAHLUNG, 1.0);
    setze("Edit15", dmess);
    setze("Edit16", dsab);
    messung_laeuft = false;
}

void wetterstation::setze_normierungskonstante(double G) {
    messung_laeuft = false;
    // Unrounded: the constant is copied into the sensor's settings.
    char puffer[64];
    std::snprintf(puffer, sizeof puffer, "%.17g", G / zahl("Edit2"));
    felder["Edit7"] = puffer;
}

void wetterstation::messe_ta_is(datz3& pvdatz3, int i, int j, const anlage& a, const flagchar& numchar) {
    double& is0 = pvdatz3[zdata::is0][i][j];
    double& ta = pvdatz3[zdata::ta][i][j];
    if (a.kein_anschluss_com_W || numchar[ndata::messmodus] != "J") {
        setze("Edit9", is0);
        setze("Edit8", ta);
        setze("Edit13", 0.0);
        setze("Edit12", 0.0);
    } else {
        messung_laeuft = true;
        setze("Edit7", NORMIERUNG_EINSTRAHLUNG);
        uhrzeit_felder();
        // One reading of `sensor` into `wert` and its fields; a reading
        // that fails keeps the stored value.
        auto messe = [&](int sensor, double& wert, const char* feld, const char* streuung) {
            messwert m;
            double dmess = 0.0, dsab = 0.0;
            if (lese_messwert(1, sensor, a.Wetterstation_com, m)) {
                normiere_messwerte_wetterstation(dmess, dsab, sensor, m.umess, m.sab, NORMIERUNG_EINSTRAHLUNG, 1.0);
                wert = dmess;
            }
            setze(feld, wert);
            setze(streuung, dsab);
        };
        // A reading takes about 14 s on the real clock: once a STOP (or a
        // signal) is there, the readings not yet begun are left out and the
        // interval keeps its stored values, so that the run ends within one
        // reading.
        auto beendet = [&] { return warten_beenden && warten_beenden(); };
        if (!beendet()) messe(sensor_einstrahlung, is0, "Edit9", "Edit13");
        if (!beendet()) messe(sensor_temperatur, ta, "Edit8", "Edit12");
        if (beendet()) {
            setze("Edit9", is0);
            setze("Edit8", ta);
        }
        messung_laeuft = false;
    }
    felder["Edit35"] = std::to_string(i);
    felder["Edit36"] = std::to_string(j);
    if (neu_zeichnen) neu_zeichnen();
}

// --- control run ------------------------------------------------------------------

void wetterstation::initialisiere_wetterstation_fuer_steuern(anlage& a, double maxa) {
    const datum_uhrzeit t = zeit_.jetzt();
    startmonat = t.monat;
    p_.com_fuer_wetterstation(a);
    com_felder_zeigen();
    startintervall = stunde_des_monats(t);
    felder["Edit35"] = std::to_string(startmonat);
    felder["Edit36"] = std::to_string(startintervall);
    flaeche = maxa;
    setze("Edit42", maxa);
    test_stunden = 1.0;
}

bool wetterstation::steuerlauf_vorbereiten(bool vollmodus, bool steuer_simulation_an, anlage& a,
                                           ::date3& d3, const std::filesystem::path& kontrolldatei,
                                           std::string& messflag) {
    if (vollmodus) {
        messflag = "J";
        a.kein_anschluss_com = steuer_simulation_an;
    } else {
        messflag = "N";
        a.kein_anschluss_com = true;
    }
    uebernehmen(a);
    a.umwaelzpumpe.pumpe_steuerung = u'V';
    a.zwischen_waermepumpe.waermepumpe_steuerung = u'I';
    const int m = static_cast<int>(zahl("Edit35"));
    const int s = static_cast<int>(zahl("Edit36"));
    if (m >= 1 && m <= MAXMONAT) startmonat = m;
    if (s >= 1 && s <= MAXINTERVALL) startintervall = s;
    if (felder.count("Edit42")) flaeche = zahl("Edit42");
    const double jetzt = zeit_.jetzt().sekunden_des_tages();
    d3.datetime_alt = jetzt;
    d3.datetime_alt_pumpen = jetzt;
    d3.summe_kfl = 0.0;
    d3.summe_hours = 0.0;
    d3.summe_zenergie = 0.0;
    d3.steuerflag = true;
    d3.filename_kontrolle = kontrolldatei.string();
    if (!schreibe_kontrolldatei_start(kontrolldatei)) {
        meldung(stationstexte::kontrolldatei_nicht_schreibbar.text() + kontrolldatei.string(), "M", 'E');
        return false;
    }
    im_steuerlauf = true;
    return true;
}

// --- outputs ------------------------------------------------------------------------

void wetterstation::ausgeben(double strom, double spannung, const ssq& quelle, char ivflag, char geraet,
                             char testmodus, const anlage& a) {
    const int fragen_vorher = fragen_;
    p_.anlagensteuerung_neu(strom, spannung, quelle, ivflag, geraet, testmodus, a);
    if (a.kein_anschluss_com_U) return;
    melde_ausfall(geraet, fragen_ != fragen_vorher);
}

void wetterstation::ssq_ausgeben(const anlage& a) {
    const double spannung = zahl("Edit17");
    const double strom = zahl("Edit20");
    ausgeben(strom, spannung, a.umwaelzpumpe.strom_spannungs_quelle, 'V', 'S', 'J', a);
    ausgeben(strom, spannung, a.zwischen_waermepumpe.strom_spannungs_quelle, 'I', 'S', 'J', a);
}

void wetterstation::quellen_null(const anlage& a) {
    ausgeben(0.0, 0.0, a.umwaelzpumpe.strom_spannungs_quelle, 'V', 'S', 'J', a);
    ausgeben(0.0, 0.0, a.zwischen_waermepumpe.strom_spannungs_quelle, 'I', 'S', 'J', a);
}

void wetterstation::ventilator_ausgeben(const anlage& a) {
    ausgeben(0.0, zahl("Edit44"), a.kollektorventilator.strom_spannungs_quelle, 'V', 'V', 'J', a);
}

void wetterstation::uebernehmen(anlage& a) {
    com_felder_uebernehmen();
    p_.besetze_com(a);
}

namespace {
constexpr const char* COM_FELDER[4] = {"Edit37", "Edit38", "Edit47", "Edit48"};
}

void wetterstation::com_felder_zeigen() {
    for (std::size_t k = 0; k < 4; ++k) felder[COM_FELDER[k]] = p_.einstellungen().com_felder[k];
}

void wetterstation::com_felder_uebernehmen() {
    for (std::size_t k = 0; k < 4; ++k) {
        const auto it = felder.find(COM_FELDER[k]);
        if (it != felder.end()) p_.einstellungen().com_felder[k] = it->second;
    }
}

void wetterstation::quellen_aus(const anlage& a) {
    ausgeben(0.0, 0.0, a.umwaelzpumpe.strom_spannungs_quelle, 'V', 'S', 'N', a);
    ausgeben(0.0, 0.0, a.zwischen_waermepumpe.strom_spannungs_quelle, 'I', 'S', 'N', a);
    ausgeben(0.0, 0.0, a.kollektorventilator.strom_spannungs_quelle, 'V', 'V', 'N', a);
}

bool wetterstation::ausgefallen(char geraet) const {
    const auto it = ausfall_.find(geraet);
    return it != ausfall_.end() && it->second;
}

void wetterstation::melde_ausfall(char geraet, bool jetzt_ausgefallen) {
    bool& war = ausfall_[geraet];
    if (war == jetzt_ausgefallen) return;
    war = jetzt_ausgefallen;
    const std::string name = geraetename(geraet).text();
    if (jetzt_ausgefallen) {
        meldung(stationstexte::geraet_antwortet_nicht.text() + name +
                    (im_steuerlauf ? stationstexte::weiter_mit_gespeicherten.text() : std::string()),
                "M", 'W');
    } else {
        meldung(stationstexte::geraet_antwortet_wieder.text() + name, "M", 'M');
    }
}

// --- no-device dialog during a control run ---------------------------------------------

dialog_antwort wetterstation::zaehlender_dialog::frage(const std::string& text) {
    ++station->fragen_;
    // A run that drives a plant must not stop on a dialog: the device is
    // reported once by the station and the write or reading is skipped.
    if (station->im_steuerlauf) return dialog_antwort::ignorieren;
    if (weiter) return weiter->frage(text);
    meldung(text, "M", 'W');
    return dialog_antwort::ignorieren;
}

// --- heating plate ------------------------------------------------------------------------

plattenleistung waermeabgabe_platte(double A, double r, double tk, double ta, const stoffdaten_luft& luft) {
    plattenleistung p;
    p.strahlung_w = strahlung_platte(A, tk, ta);
    if (!(A > 0.0) || !(r > 0.0)) return p;
    const luftdaten l = luftdaten_bei(luft, ta);
    const double lambda = l[3], nue = l[4];
    const double B = std::sqrt(A * r), L = std::sqrt(A / r);
    const double Lc = B * L / (2.0 * (B + L));
    if (!(lambda > 0.0) || !(nue > 0.0)) return p;
    const double Pr = LUFT_PRANDTL;
    const double Gr = konst::ERDBESCHLEUNIGUNG * std::fabs(tk - ta) / ((ta + konst::ABSOLUT_NULL) * nue * nue) * Lc * Lc * Lc;
    const double Ra = Gr * Pr;
    const double f2 = std::pow(1.0 + std::pow(0.322 / Pr, 0.55), -20.0 / 11.0);
    const double nu = 0.6 * std::pow(0.348 * Ra, 0.2) + 0.15 * std::pow(Ra * f2, 0.33);
    p.alpha = nu * lambda / Lc;
    p.konvektion_w = p.alpha * A * (tk - ta);
    return p;
}
