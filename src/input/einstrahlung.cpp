#include "input/einstrahlung.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "input/sonnengeometrie.h"
#include "lang/meldung.h"

namespace {

constexpr int STUNDEN = sonne::STUNDEN;

const char* const TEXT_MAXIR_TA =
    "Fehler: Zulässige Anzahl von Werten pro Monat (MAXIR_TA) überschritten";
const char* const TEXT_NEIGUNG_DETAIL =
    "Fehler: Kollektorenneigung muss Winkel der Strahlungsdaten entsprechen";
const char* const TEXT_NEIGUNG_HORIZONTAL = "Fehler: Einstrahlung auf Horizontale muss gegeben sein";
const char* const TEXT_KT_WARNUNG = "Warnung: Fehler in Berechnung von kt bei diffuser Einstrahlung.";

// The series of the first pvdatz3 that the layout writes.
constexpr int GESCHRIEBENE_REIHEN[] = {zdata::is0, zdata::ir, zdata::diff, zdata::ref, zdata::ta,
                                       zdata::ho};

[[noreturn]] void zu_viele_intervalle() {
    meldung(TEXT_MAXIR_TA, "M", 'T');
    throw abbruch();  // severity 'T' always abandons
}

void pruefe_intervalle(int anzahl) {
    if (anzahl > MAXINTERVALL) zu_viele_intervalle();
}

const ir_ta_d_zeile& detail(const wetterdatensatz& w, int monat, int nummer) {
    const ir_ta_d_zeile* z = w.detailzeile(monat, nummer);
    if (z == nullptr) {
        meldung("Fehler: Detailzeile fehlt: ir_ta_d, " + w.name + ", Monat " + std::to_string(monat) +
                    ", Nummer " + std::to_string(nummer),
                "M", 'T');
        throw abbruch();
    }
    return *z;
}

double umgerechnet(const umrechnen_struct& u, double x) { return u.faktor * x + u.offset; }

void leere_monat(datz3& p, int m) {
    for (int q : GESCHRIEBENE_REIHEN) p[q][m].fill(0.0);
}

// Everything one call of the entry works with.
struct lauf {
    const wetterdatensatz& w;
    const einheiten_umrechnung& einheiten;
    datz& vdatz;
    const flagchar& nc;
    const datt& vdatt;
    datz3& p1;
    datz3& p2;
    double phi_g, theta_s, breite;
    diffus_kennwerte& kennwerte;
    bool warnung_gegeben = false;

    const std::string& strahlung() const { return nc[ndata::strahlung]; }
    const std::string& zeitintervall() const { return nc[ndata::zeitintervall]; }
    bool diffus_berechnen() const { return nc[ndata::diffusestrahlung] == "B"; }
    double bodenreflexion() const { return vdatt[tdata::reflektion]; }
};

// Monthly ho (sum over the month's intervals) and hogn (over those with is0 > 0).
void stunden_des_monats(lauf& l, int m, int n) {
    double ho = 0.0, hogn = 0.0;
    for (int s = 1; s <= n; ++s) {
        ho += l.p1[zdata::ho][m][s];
        if (l.p1[zdata::is0][m][s] > 0.0) hogn += l.p1[zdata::ho][m][s];
    }
    l.vdatz[zdata::ho][m] = ho;
    l.vdatz[zdata::hogn][m] = hogn;
}

// Outdoor temperature of the generated days of month m (mean path).
void temperaturen_aus_mittelwerten(lauf& l, int m, const sonne::monatsgeometrie& geo, int tage) {
    const std::string& s = l.strahlung();
    const std::string& zi = l.zeitintervall();
    const bool ein_tag = s == "M" || s == "N";
    const int erzeugte_tage = ein_tag ? 1 : tage;
    const double gewicht = ein_tag ? tage : 1.0;
    const bool aus_details = zi == "T" && (s == "T" || s == "D");
    const bool stuendlich = s == "M" || (s == "D" && (zi == "K" || zi == "T"));
    const umrechnen_struct u = l.einheiten.temperatur(l.w.einheit_temp, m);

    const double tmin_monat = umgerechnet(u, l.w.ta_min[m]);
    const double tmax_monat = umgerechnet(u, l.w.ta_max[m]);
    l.vdatz[zdata::tamin][m] = tmin_monat;
    l.vdatz[zdata::tamax][m] = tmax_monat;

    double tag_summe = 0.0, nacht_summe = 0.0, alle_summe = 0.0;
    for (int d = 1; d <= erzeugte_tage; ++d) {
        double tmin = tmin_monat, tmax = tmax_monat;
        if (aus_details) {
            const ir_ta_d_zeile& z = detail(l.w, m, d);
            tmin = umgerechnet(u, z.tamin);
            tmax = umgerechnet(u, z.tamax);
        }
        double hell = 0.0, mittel = 0.0;
        for (int k = 1; k <= STUNDEN; ++k) {
            const double t = geo.omega[k] / 15.0 + 12.0;
            const double T = sonne::temperaturprofil(t, geo.tg0, tmin, tmax);
            const double a = geo.anteil[k];
            tag_summe += T * a * gewicht;
            nacht_summe += T * (1.0 - a) * gewicht;
            alle_summe += T * gewicht;
            hell += T * a;
            mittel += T / STUNDEN;
            if (stuendlich) l.p1[zdata::ta][m][(d - 1) * STUNDEN + k] = T;
        }
        // Daylight mean of the day; a day without daylight takes its plain mean.
        if (s == "T") l.p1[zdata::ta][m][d] = geo.tg0 > 0.0 ? hell / geo.tg0 : mittel;
    }

    const double stunden_gesamt = STUNDEN * static_cast<double>(tage);
    const double tagstunden = geo.tg0 * tage;
    const double nachtstunden = (STUNDEN - geo.tg0) * tage;
    const double gesamtmittel = alle_summe / stunden_gesamt;
    l.vdatz[zdata::ta][m] = tagstunden > 0.0 ? tag_summe / tagstunden : gesamtmittel;
    l.vdatz[zdata::mtn][m] = nachtstunden > 0.0 ? nacht_summe / nachtstunden : gesamtmittel;
    l.vdatz[zdata::gdt][m] = tagstunden;
    l.vdatz[zdata::gdn][m] = nachtstunden;
    if (s == "N") l.p1[zdata::ta][m][1] = l.vdatz[zdata::ta][m];
}

// Irradiation of the generated days of month m on the plane (mean path).
void einstrahlung_aus_mittelwerten(lauf& l, int m, const sonne::monatsgeometrie& geo, int tage) {
    const std::string& s = l.strahlung();
    const std::string& zi = l.zeitintervall();
    const bool ein_tag = s == "M" || s == "N";
    const bool stundenintervalle = s == "D" || s == "M";
    const int erzeugte_tage = ein_tag ? 1 : tage;
    const double w = ein_tag ? tage : 1.0;
    const bool aus_details = zi == "T" && (s == "T" || s == "D");
    const double teiler = (s == "T" || s == "D") && !aus_details ? tage : 1.0;
    // Monthly values and detail rows: only the former scale with the days.
    const umrechnen_struct u = aus_details ? l.einheiten.einstrahlung(l.w.einheit_ir, 0, 0)
                                           : l.einheiten.einstrahlung(l.w.einheit_ir, m, tage);
    const double rho = l.bodenreflexion();

    std::array<sonne::neigungsfaktoren, STUNDEN + 1> nf{};
    for (int k = 1; k <= STUNDEN; ++k)
        if (geo.anteil[k] > 0.0)
            nf[k] = sonne::neigungsfaktoren_fuer(geo, geo.omega[k], l.theta_s, l.phi_g, l.breite);

    double sumE = 0.0, sumDf = 0.0, sumR = 0.0, sumW = 0.0;
    int zaehler = 0;
    for (int d = 1; d <= erzeugte_tage; ++d) {
        double H, D = 0.0;
        const ir_ta_d_zeile* z = aus_details ? &detail(l.w, m, d) : nullptr;
        H = umgerechnet(u, z ? z->ir_g : l.w.ir[m]) / teiler;
        if (l.diffus_berechnen())
            D = berechne_diffusanteil(m, H, l.breite, geo.omega_s, ein_tag ? 1.0 : 0.0, l.nc,
                                      l.kennwerte, l.warnung_gegeben);
        else
            D = umgerechnet(u, z ? z->ir_d : l.w.diff[m]) / teiler;

        double tagE = 0.0, tagDf = 0.0, tagR = 0.0;
        for (int k = 1; k <= STUNDEN; ++k) {
            ++zaehler;
            if (stundenintervalle) {
                for (int q : {zdata::ir, zdata::diff, zdata::ref, zdata::is0}) l.p1[q][m][zaehler] = 0.0;
                l.p1[zdata::ho][m][zaehler] = w;
            }
            if (geo.anteil[k] <= 0.0) continue;
            const double G = H * geo.globalanteil(k);
            const double Dh = D * geo.diffusanteil(k);
            const double B = G - Dh;
            const double R = rho * nf[k].fr * G;
            const double Df = nf[k].fds * Dh;
            const double E = nf[k].direkt_auf_ebene(B, w) + Df + R;
            const double I = E * 1000.0 / w;
            sumE += E;
            sumDf += Df;
            sumR += R;
            sumW += w;
            tagE += E;
            tagDf += Df;
            tagR += R;
            if (stundenintervalle) {
                l.p1[zdata::ir][m][zaehler] = std::max(E, 0.0);
                l.p1[zdata::diff][m][zaehler] = std::max(Df, 0.0);
                l.p1[zdata::ref][m][zaehler] = std::max(R, 0.0);
                l.p1[zdata::is0][m][zaehler] = std::max(I, 0.0);
            }
        }
        if (s == "T") {
            l.p1[zdata::ir][m][d] = tagE;
            l.p1[zdata::diff][m][d] = tagDf;
            l.p1[zdata::ref][m][d] = tagR;
            l.p1[zdata::is0][m][d] = geo.tg0 > 0.0 ? tagE / geo.tg0 * 1000.0 : 0.0;
            l.p1[zdata::ho][m][d] = geo.tg0;
        }
    }
    if (s == "N") {
        l.p1[zdata::ir][m][1] = sumE;
        l.p1[zdata::diff][m][1] = sumDf;
        l.p1[zdata::ref][m][1] = sumR;
        l.p1[zdata::is0][m][1] = sumW > 0.0 ? sumE / sumW * 1000.0 : 0.0;
        l.p1[zdata::ho][m][1] = sumW;
    }

    const int n = s == "D" ? STUNDEN * tage : s == "T" ? tage : s == "M" ? STUNDEN : 1;
    pruefe_intervalle(n);
    setze_intervalle(m, n);

    l.vdatz[zdata::is0][m] = sumW > 0.0 ? sumE / sumW * 1000.0 : 0.0;
    l.vdatz[zdata::ir][m] = sumE;
    l.vdatz[zdata::diff][m] = sumDf;
    l.vdatz[zdata::ref][m] = sumR;
    stunden_des_monats(l, m, n);
    l.vdatz[zdata::tg][m] = sumW / tage;

    sortiere_intervalle(l.p1, m, n, l.nc[ndata::sortierung]);
}

// Reads the detail rows of month m into the second series (hourly path).
void lese_detailzeilen(lauf& l, int m, const sonne::monatsgeometrie& geo, int c) {
    const umrechnen_struct ut = l.einheiten.temperatur(l.w.einheit_temp, m);
    const umrechnen_struct ui = l.einheiten.einstrahlung(l.w.einheit_ir, 0, 0);  // rows: never scaled by days
    double tagessumme = 0.0;
    for (int i = 1; i <= c; ++i) {
        const ir_ta_d_zeile& z = detail(l.w, m, i);
        l.p2[zdata::ta][m][i] = umgerechnet(ut, z.tamin);
        l.p2[zdata::ho][m][i] = z.h;
        const double g = umgerechnet(ui, z.ir_g);
        if (g > 0.0) l.p2[zdata::ir][m][i] = g;
        const double dd = umgerechnet(ui, z.ir_d);
        if (dd > 0.0) l.p2[zdata::diff][m][i] = dd;

        if (l.diffus_berechnen()) {
            tagessumme += l.p2[zdata::ir][m][i];
            if (i % STUNDEN == 0) {
                // The day's diffuse irradiation from its global sum. Each row
                // keeps its measured global value and takes the day's diffuse
                // fraction of it: the rows add up to the day's diffuse value
                // and no row's diffuse part leaves [0, global]. (Spreading it
                // with the clear-day profile instead puts more diffuse than
                // global into every hour that is darker than the profile.)
                const double D = berechne_diffusanteil(m, tagessumme, l.breite, geo.omega_s, 0.0,
                                                       l.nc, l.kennwerte, l.warnung_gegeben);
                const double anteil = tagessumme > 0.0 ? std::clamp(D / tagessumme, 0.0, 1.0) : 0.0;
                for (int k = i - STUNDEN + 1; k <= i; ++k)
                    l.p2[zdata::diff][m][k] = anteil * l.p2[zdata::ir][m][k];
                tagessumme = 0.0;
            }
        }
    }
}

// Tilts the rows of month m onto the plane and lays them out (hourly path).
void detailzeilen_neigen(lauf& l, int m, const sonne::monatsgeometrie& geo, int c, int tage) {
    const bool tageswerte = l.strahlung() == "T";
    const bool stundenwinkel_bekannt = l.zeitintervall() == "A";
    const double rho = l.bodenreflexion();

    double sIho = 0.0, sTho = 0.0, sho = 0.0, sE = 0.0, sDf = 0.0, sR = 0.0;
    double nachtT = 0.0, nachtho = 0.0;
    // Running day of the daily layout.
    double tagE = 0.0, tagDf = 0.0, tagR = 0.0, tagI = 0.0, tagT = 0.0, tagho = 0.0;

    for (int i = 1; i <= c; ++i) {
        const double G = l.p2[zdata::ir][m][i];
        // A row whose diffuse value exceeds its global one would have negative beam.
        const double Dh = std::min(l.p2[zdata::diff][m][i], std::max(G, 0.0));
        const double hoz = l.p2[zdata::ho][m][i];
        const double ta = l.p2[zdata::ta][m][i];
        double E = 0.0, Df = 0.0, R = 0.0;
        if (G >= 0.0) {
            if (stundenwinkel_bekannt) {
                const double hm = l.w.detailzeile(m, i)->hm;
                const double omega = hm * 360.0 / 24.0 - 180.0;
                const sonne::neigungsfaktoren nf = sonne::neigungsfaktoren_fuer(
                    geo, omega, l.theta_s, l.phi_g, l.breite, sonne::STUNDENSCHRITT * hoz);
                R = rho * nf.fr * G;
                Df = nf.fds * Dh;
                E = nf.direkt_auf_ebene(G - Dh, hoz) + Df + R;
            } else {
                // The rows were measured on the collector plane: the global
                // value already holds the reflected part.
                E = G;
                Df = Dh;
            }
        }
        const double I = hoz > 0.0 ? E * 1000.0 / hoz : 0.0;
        const bool hell = E > 0.0;

        if (!tageswerte) {
            l.p1[zdata::ho][m][i] = hoz;
            l.p1[zdata::ta][m][i] = ta;
            l.p1[zdata::is0][m][i] = hell ? I : 0.0;
            l.p1[zdata::ir][m][i] = hell ? E : 0.0;
            l.p1[zdata::diff][m][i] = hell ? Df : 0.0;
            l.p1[zdata::ref][m][i] = hell ? R : 0.0;
        } else {
            if (hell) {
                tagE += E;
                tagDf += Df;
                tagR += R;
                tagI += I;
            }
            tagT += ta * hoz;
            tagho += hoz;
            if (i % STUNDEN == 0 || i == c) {
                const int d = (i - 1) / STUNDEN + 1;
                l.p1[zdata::ir][m][d] = tagE;
                l.p1[zdata::diff][m][d] = tagDf;
                l.p1[zdata::ref][m][d] = tagR;
                l.p1[zdata::is0][m][d] = geo.tg0 > 0.0 ? tagI / geo.tg0 : 0.0;
                l.p1[zdata::ho][m][d] = geo.tg0;
                // The day's temperature: the mean over its rows, weighted by their length.
                l.p1[zdata::ta][m][d] = tagho > 0.0 ? tagT / tagho : ta;
                tagE = tagDf = tagR = tagI = tagT = tagho = 0.0;
            }
        }

        if (hell) {
            sIho += I * hoz;
            sTho += ta * hoz;
            sho += hoz;
            sE += E;
            sDf += Df;
            sR += R;
        } else {
            nachtT += ta * hoz;
            nachtho += hoz;
        }
    }

    const int n = tageswerte ? tage : c;
    setze_intervalle(m, n);

    const double alleho = sho + nachtho;
    const double mittel = alleho > 0.0 ? (sTho + nachtT) / alleho : 0.0;
    l.vdatz[zdata::is0][m] = sho > 0.0 ? sIho / sho : 0.0;
    l.vdatz[zdata::ta][m] = sho > 0.0 ? sTho / sho : mittel;
    l.vdatz[zdata::mtn][m] = nachtho > 0.0 ? nachtT / nachtho : mittel;
    l.vdatz[zdata::ir][m] = sE;
    l.vdatz[zdata::diff][m] = sDf;
    l.vdatz[zdata::ref][m] = sR;
    l.vdatz[zdata::tg][m] = sho / tage;
    stunden_des_monats(l, m, n);

    const umrechnen_struct ut = l.einheiten.temperatur(l.w.einheit_temp, m);
    l.vdatz[zdata::tamin][m] = umgerechnet(ut, l.w.ta_min[m]);
    l.vdatz[zdata::tamax][m] = umgerechnet(ut, l.w.ta_max[m]);
    l.vdatz[zdata::gdt][m] = geo.tg0 * tage;
    l.vdatz[zdata::gdn][m] = (STUNDEN - geo.tg0) * tage;
}

bool gleiche_neigung(double a, double b) { return std::abs(a - b) <= 1e-9; }

}  // namespace

double berechne_diffusanteil(int monat, double H, double breite, double omega_s, double monatssumme,
                             const flagchar& numchar, diffus_kennwerte& kennwerte,
                             bool& warnung_gegeben) {
    double H0 = sonne::berechne_extraterristische_einstrahlung(monat, omega_s, -omega_s, breite);
    const bool monatswerte = monatssumme == 1.0;
    if (monatswerte) H0 *= tage_im_monat(monat, numchar);
    // A month without daylight has no extraterrestrial irradiation; its
    // clearness index is taken as 0.
    const double K = H0 > 0.0 ? H / H0 : 0.0;
    kennwerte.kt[monat] = K;

    const std::string& s = numchar[ndata::strahlung];
    const std::string& zi = numchar[ndata::zeitintervall];
    bool monatskorrelation;
    if (s == "M" || s == "N" || zi == "K" || (zi == "D" && s == "T"))
        monatskorrelation = true;
    else if ((zi == "T" || zi == "A") && (s == "T" || s == "D"))
        monatskorrelation = false;
    else  // no set of its own: daily sums take the daily, monthly sums the monthly correlation
        monatskorrelation = monatswerte;

    double a[5] = {0.0, 0.0, 0.0, 0.0, 0.0};
    double anteil = -1.0;  // set directly by the upper limits of the daily correlation
    if (monatskorrelation) {
        // Monthly correlation by latitude band and season; latitudes outside
        // the bands take the nearest band. South of the equator the seasons
        // fall six months later in the calendar.
        static constexpr double tabelle[4][3][4] = {
            {{0.974, -0.553, -1.305, 0.877}, {1.011, -0.607, -1.441, 1.075}, {1.049, -0.822, -1.25, 1.124}},
            {{1.131, -0.895, -1.616, 1.555}, {1.056, -0.626, -1.676, 1.317}, {0.998, -0.583, -1.392, 0.995}},
            {{0.999, -0.788, -0.94, 0.788}, {0.969, -0.624, -1.146, 0.811}, {1.019, -0.874, -0.964, 0.909}},
            {{1.061, -0.397, -2.975, 2.583}, {1.002, -0.546, -1.867, 1.49}, {1.032, -0.694, -1.771, 1.562}}};
        const double phi = std::abs(breite);
        const int band = phi > 56.0 ? 0 : phi > 52.0 ? 1 : 2;
        const int m = breite < 0.0 ? (monat + 5) % 12 + 1 : monat;
        const int jahreszeit = (m >= 3 && m <= 5) ? 0 : (m >= 6 && m <= 8) ? 1 : (m >= 9 && m <= 11) ? 2 : 3;
        for (int i = 0; i < 4; ++i) a[i] = tabelle[jahreszeit][band][i];
    } else if (omega_s <= 81.4) {
        if (K < 0.715) {
            const double c[5] = {1.0, -0.2727, 2.4495, -11.9514, 9.3879};
            std::copy(c, c + 5, a);
        } else {
            anteil = 0.143;
        }
    } else {
        if (K < 0.722) {
            const double c[5] = {1.0, 0.2832, -2.5557, 0.8448, 0.0};
            std::copy(c, c + 5, a);
        } else {
            anteil = 0.175;
        }
    }
    if (anteil < 0.0) anteil = a[0] + a[1] * K + a[2] * K * K + a[3] * K * K * K + a[4] * K * K * K * K;

    kennwerte.anteil[monat] = anteil;
    kennwerte.komplement[monat] = 1.0 - anteil;
    const double D = anteil * H;
    if ((H < 0.0 || D < 0.0) && !warnung_gegeben && numchar[ndata::meldungsmodus] == "M") {
        warnung_gegeben = true;
        meldung(TEXT_KT_WARNUNG, numchar[ndata::meldungsmodus], 'W');
    }
    return D;
}

void sortiere_intervalle(datz3& p, int monat, int n, const std::string& sortierung) {
    if (n < 2 || (sortierung != "D" && sortierung != "U")) return;
    const intervallzeile& is0 = p[zdata::is0][monat];
    std::vector<int> folge(n);
    std::iota(folge.begin(), folge.end(), 1);
    // A stable sort gives the same order as exchanging neighbours until no
    // pair is out of order: equal intensities keep their order.
    if (sortierung == "D")
        std::stable_sort(folge.begin(), folge.end(), [&](int a, int b) { return is0[a] > is0[b]; });
    else
        std::stable_sort(folge.begin(), folge.end(), [&](int a, int b) { return is0[a] < is0[b]; });
    intervallzeile alt;
    for (int q = zdata::is0; q <= zdata::ho; ++q) {
        intervallzeile& reihe = p[q][monat];
        std::copy(reihe.begin() + 1, reihe.begin() + 1 + n, alt.begin() + 1);
        for (int s = 1; s <= n; ++s) reihe[s] = alt[folge[s - 1]];
    }
}

void verschiebe_daten(datz3& p) {
    for (int m = 1; m <= MAXMONAT; ++m) {
        for (int q : {zdata::is0, zdata::ir, zdata::diff, zdata::ref, zdata::ta}) {
            intervallzeile& reihe = p[q][m];
            std::array<double, STUNDEN + 1> neu{};
            for (int h = 1; h <= STUNDEN; ++h) neu[(h + 11) % STUNDEN + 1] = reihe[h];
            std::copy(neu.begin() + 1, neu.end(), reihe.begin() + 1);
        }
    }
}

void berechne_Einstrahlungsdaten(const wetterdatensatz& wetter, const einheiten_umrechnung& einheiten,
                                 datz& vdatz, flagchar& numchar, int& abbruchmarke,
                                 const datt& vdatt, double& jahreseinstrahlung, datz3& pvdatz3,
                                 datz3& pvdatz3_2, double phi_g, double theta_s, double breite,
                                 diffus_kennwerte* kennwerte) {
    abbruchmarke = 1;
    const std::string s = numchar[ndata::strahlung];
    const std::string zi = numchar[ndata::zeitintervall];

    // The record must have been measured on the horizontal, or, for hourly
    // values on duration intervals, on the plane itself.
    if (zi == "D" && s == "D") {
        if (!gleiche_neigung(wetter.theta, theta_s)) {
            meldung(TEXT_NEIGUNG_DETAIL, numchar[ndata::meldungsmodus], 'E');
            abbruchmarke = 0;
            return;
        }
    } else if (wetter.theta != 0.0) {
        meldung(TEXT_NEIGUNG_HORIZONTAL, numchar[ndata::meldungsmodus], 'E');
        abbruchmarke = 0;
        return;
    }
    if (s != "N" && s != "M" && s != "T" && s != "D") {
        meldung("Fehler: Unbekannte Auflösung der Einstrahlung (strahlung): \"" + s + "\"",
                numchar[ndata::meldungsmodus], 'E');
        abbruchmarke = 0;
        return;
    }

    const bool detailpfad = (s == "D" && zi == "D") || (s == "T" && zi == "A") || (s == "D" && zi == "A");
    // Bad records are refused before anything is overwritten.
    const bool tagesdetails = zi == "T" && (s == "T" || s == "D");
    for (int m = 1; m <= MAXMONAT; ++m) {
        if (detailpfad) {
            pruefe_intervalle(wetter.m[m]);
            for (int i = 1; i <= wetter.m[m]; ++i) detail(wetter, m, i);
        } else if (tagesdetails) {
            for (int d = 1; d <= tage_im_monat(m, numchar); ++d) detail(wetter, m, d);
        }
    }

    numchar[ndata::strahlungsherkunft] =
        (zi == "K" && s == "D") || (zi == "T" && s == "D") || s == "M" || (zi == "A" && s == "D") ? "A" : "D";

    diffus_kennwerte eigene;
    lauf l{wetter, einheiten, vdatz, numchar, vdatt, pvdatz3, pvdatz3_2,
           phi_g, theta_s, breite, kennwerte ? *kennwerte : eigene};
    jahreseinstrahlung = 0.0;
    if (detailpfad) {
        for (int m = 1; m <= MAXMONAT; ++m) {
            const sonne::monatsgeometrie geo = sonne::berechne_monatsgeometrie(m, breite);
            const int c = std::max(wetter.m[m], 0);
            leere_monat(pvdatz3_2, m);
            leere_monat(pvdatz3, m);
            lese_detailzeilen(l, m, geo, c);
        }
        for (int m = 1; m <= MAXMONAT; ++m) {
            const sonne::monatsgeometrie geo = sonne::berechne_monatsgeometrie(m, breite);
            detailzeilen_neigen(l, m, geo, std::max(wetter.m[m], 0), tage_im_monat(m, numchar));
            jahreseinstrahlung += vdatz[zdata::ir][m];
        }
    } else {
        for (int m = 1; m <= MAXMONAT; ++m) {
            const sonne::monatsgeometrie geo = sonne::berechne_monatsgeometrie(m, breite);
            const int tage = tage_im_monat(m, numchar);
            leere_monat(pvdatz3, m);
            temperaturen_aus_mittelwerten(l, m, geo, tage);
            einstrahlung_aus_mittelwerten(l, m, geo, tage);
            jahreseinstrahlung += vdatz[zdata::ir][m];
        }
    }

    if (s == "M") verschiebe_daten(pvdatz3);

    // A horizontal plane facing the equator: the second series receives the
    // layout of the first, except where it holds the rows as read and the
    // first series has summed them into days (the rows would be mixed with
    // day sums).
    const bool zeilen_zu_tagen = detailpfad && s == "T";
    if (theta_s == 0.0 && phi_g == 0.0 && !zeilen_zu_tagen) {
        for (int m = 1; m <= MAXMONAT; ++m)
            for (int q : {zdata::is0, zdata::ir, zdata::diff, zdata::ref})
                for (int i = 1; i <= intervalle(m); ++i) pvdatz3_2[q][m][i] = pvdatz3[q][m][i];
    }
}

int einstrahlungsrechner::operator()(double breite, double theta_s, double phi_g, datz& vdatz,
                                     flagchar& numchar, datz3& pvdatz3, const datt& vdatt) {
    int marke = 0;
    berechne_Einstrahlungsdaten(wetter_, einheiten_, vdatz, numchar, marke, vdatt, jahreseinstrahlung_,
                                pvdatz3, zustand::pvdatz3(2), phi_g, theta_s, breite);
    return marke;
}
