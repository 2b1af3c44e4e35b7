// Irradiation and temperature layout on the collector plane.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <numeric>
#include <numbers>
#include <utility>
#include <vector>

#include "input/einstrahlung.h"
#include "input/sonnengeometrie.h"
#include "input/wetter_hilfen.h"
#include "support/aufzeichnende_senke.h"

namespace {

constexpr double RAD = std::numbers::pi / 180.0;
const int TAGE[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

class Einstrahlung : public mit_meldungen {
protected:
    void SetUp() override {
        mit_meldungen::SetUp();
        nc[ndata::sortierung] = "N";
        nc[ndata::diffusestrahlung] = "E";
        nc[ndata::schaltjahr] = "N";
        nc[ndata::meldungsmodus] = "M";
        vdatt[tdata::reflektion] = 0.2;
    }

    // One call of the entry for the plane (theta_s, phi_g).
    void rechne(const wetterdatensatz& w, const std::string& strahlung, const std::string& zeitintervall,
                double theta_s = 0.0, double phi_g = 0.0) {
        nc[ndata::strahlung] = strahlung;
        nc[ndata::zeitintervall] = zeitintervall;
        berechne_Einstrahlungsdaten(w, einheiten, vdatz, nc, marke, vdatt, jahr, *p1, *p2, phi_g, theta_s,
                                    w.breite, &kennwerte);
    }
    double& reihe(int q, int m, int i) { return (*p1)[q][m][i]; }

    feste_umrechnung einheiten;
    std::unique_ptr<datz3> p1 = std::make_unique<datz3>();
    std::unique_ptr<datz3> p2 = std::make_unique<datz3>();
    datz vdatz{};
    flagchar nc;
    datt vdatt{};
    double jahr = -1.0;
    int marke = -1;
    diffus_kennwerte kennwerte;
};

// A record of daily rows for every month: day d has d/10 + 1 kWh/qm global,
// 40 % of it diffuse, temperatures from d - 5 to d + 3 degrees.
wetterdatensatz tagesdatensatz(int februar_tage) {
    wetterdatensatz w;
    w.name = "Tage";
    w.breite = 50.0;
    w.einheit_ir = "kWh/qm";
    w.einheit_temp = "°C";
    for (int m = 1; m <= 12; ++m) {
        const int tage = m == 2 ? februar_tage : TAGE[m];
        for (int d = 1; d <= tage; ++d) {
            ir_ta_d_zeile z;
            z.nummer = d;
            z.ir_g = 1.0 + d / 10.0;
            z.ir_d = 0.4 * z.ir_g;
            z.tamin = d - 5.0;
            z.tamax = d + 3.0;
            w.details[m].push_back(z);
        }
        w.m[m] = tage;
        w.ir[m] = 50.0;
        w.diff[m] = 20.0;
        w.ta_min[m] = 0.0;
        w.ta_max[m] = 8.0;
    }
    return w;
}

// A record of hourly rows (hour of day in hm) at Potsdam's latitude with one
// day in month `monat`: global and diffuse irradiation of hours 0..23 in
// kWh/qm, 5 degrees throughout; the other months have no rows.
wetterdatensatz ein_stundentag(int monat, const std::array<double, 24>& global,
                               const std::array<double, 24>& diffus) {
    wetterdatensatz w;
    w.name = "Stundentag";
    w.breite = POTSDAM_BREITE;
    w.einheit_ir = "kWh/qm";
    w.einheit_temp = "°C";
    for (int k = 0; k < 24; ++k)
        w.details[monat].push_back(ir_ta_d_zeile{k + 1, global[k], diffus[k], 5.0, 5.0, 1.0, k + 0.5});
    w.m[monat] = 24;
    w.ir[monat] = std::accumulate(global.begin(), global.end(), 0.0);
    w.diff[monat] = std::accumulate(diffus.begin(), diffus.end(), 0.0);
    return w;
}

}  // namespace

// Horizontal plane, hourly intervals generated from monthly sums: every
// month keeps its global and diffuse sums, the temperature follows the
// daily profile, and the second series is a copy of the first.
TEST_F(Einstrahlung, MonatswerteAufStundenHorizontal) {
    const wetterdatensatz w = potsdam_2019_monatlich();
    rechne(w, "D", "K");
    ASSERT_EQ(marke, 1);
    EXPECT_EQ(nc[ndata::strahlungsherkunft], "A");
    double summe = 0.0;
    for (int m = 1; m <= 12; ++m) {
        const int tage = TAGE[m];
        ASSERT_EQ(intervalle(m), 24 * tage);
        EXPECT_NEAR(vdatz[zdata::ir][m], w.ir[m], 1e-9 * w.ir[m]) << m;
        EXPECT_NEAR(vdatz[zdata::diff][m], w.diff[m], 1e-9 * w.ir[m]) << m;
        EXPECT_EQ(vdatz[zdata::ref][m], 0.0);
        EXPECT_DOUBLE_EQ(vdatz[zdata::ho][m], 24.0 * tage);
        const auto geo = sonne::berechne_monatsgeometrie(m, w.breite);
        EXPECT_NEAR(vdatz[zdata::gdt][m], geo.tg0 * tage, 1e-9);
        EXPECT_NEAR(vdatz[zdata::gdn][m], (24.0 - geo.tg0) * tage, 1e-9);
        EXPECT_EQ(vdatz[zdata::tamin][m], w.ta_min[m]);
        EXPECT_EQ(vdatz[zdata::tamax][m], w.ta_max[m]);
        // Daylight mean above the night mean, both inside the day's range.
        EXPECT_GT(vdatz[zdata::ta][m], vdatz[zdata::mtn][m]);
        EXPECT_LT(vdatz[zdata::ta][m], w.ta_max[m]);
        EXPECT_GT(vdatz[zdata::mtn][m], w.ta_min[m]);
        // Every day the same: hours 1..24 of the last day repeat those of the first.
        for (int k = 1; k <= 24; ++k) {
            const int s = 24 * (tage - 1) + k;
            EXPECT_DOUBLE_EQ(reihe(zdata::ir, m, s), reihe(zdata::ir, m, k));
            EXPECT_DOUBLE_EQ(reihe(zdata::ho, m, s), 1.0);
            EXPECT_NEAR(reihe(zdata::ta, m, s),
                        sonne::temperaturprofil(k - 0.5, geo.tg0, w.ta_min[m], w.ta_max[m]), 1e-12);
            EXPECT_GE(reihe(zdata::ir, m, k), 0.0);
            EXPECT_NEAR(reihe(zdata::is0, m, k), reihe(zdata::ir, m, k) * 1000.0, 1e-9);
        }
        for (int s = 1; s <= intervalle(m); ++s)
            for (int q : {zdata::is0, zdata::ir, zdata::diff, zdata::ref})
                ASSERT_EQ((*p2)[q][m][s], reihe(q, m, s)) << m << " " << s;
        summe += w.ir[m];
    }
    EXPECT_NEAR(jahr, summe, 1e-9 * summe);
}

// The four resolutions of a run on monthly data: interval counts, interval
// lengths, the derived code numchar[ndata::strahlungsherkunft] and the monthly sums.
TEST_F(Einstrahlung, AufloesungenAusMonatswerten) {
    const wetterdatensatz w = potsdam_2019_monatlich();
    struct fall {
        const char* strahlung;
        const char* code23;
    };
    for (const fall f : {fall{"N", "D"}, fall{"M", "A"}, fall{"T", "D"}, fall{"D", "A"}}) {
        SCOPED_TRACE(f.strahlung);
        rechne(w, f.strahlung, "K", 30.0, 0.0);
        EXPECT_EQ(nc[ndata::strahlungsherkunft], f.code23);
        const std::string s = f.strahlung;
        for (int m : {1, 6}) {
            const int tage = TAGE[m];
            const auto geo = sonne::berechne_monatsgeometrie(m, w.breite);
            int hell = 0;
            for (int k = 1; k <= 24; ++k) hell += geo.anteil[k] > 0.0;
            const int n = s == "N" ? 1 : s == "M" ? 24 : s == "T" ? tage : 24 * tage;
            ASSERT_EQ(intervalle(m), n);
            double ir = 0.0, ho = 0.0;
            for (int i = 1; i <= n; ++i) {
                ir += reihe(zdata::ir, m, i);
                ho += reihe(zdata::ho, m, i);
            }
            EXPECT_NEAR(vdatz[zdata::ho][m], ho, 1e-9);
            EXPECT_NEAR(vdatz[zdata::tg][m], static_cast<double>(hell), 1e-12);
            if (s == "N") {
                EXPECT_DOUBLE_EQ(reihe(zdata::ho, m, 1), hell * tage);
                EXPECT_DOUBLE_EQ(reihe(zdata::is0, m, 1), vdatz[zdata::is0][m]);
                EXPECT_DOUBLE_EQ(reihe(zdata::ta, m, 1), vdatz[zdata::ta][m]);
                EXPECT_DOUBLE_EQ(ir, vdatz[zdata::ir][m]);
            }
            if (s == "M") {
                for (int i = 1; i <= n; ++i) EXPECT_EQ(reihe(zdata::ho, m, i), tage);
            }
            if (s == "T") {
                EXPECT_NEAR(reihe(zdata::ho, m, 1), geo.tg0, 1e-12);
                EXPECT_NEAR(ir, vdatz[zdata::ir][m], 1e-9);
            }
            // Clipping negative edge hours can only add to the month's sum.
            EXPECT_GE(ir, vdatz[zdata::ir][m] - 1e-9);
            EXPECT_NEAR(vdatz[zdata::is0][m], vdatz[zdata::ir][m] / (hell * tage) * 1000.0, 1e-9);
        }
    }
}

// The fictitious mean day starts at 12:00-13:00 and carries the hour of the
// hourly layout per day.
TEST_F(Einstrahlung, MittlererTagBeginntMittags) {
    const wetterdatensatz w = potsdam_2019_monatlich();
    rechne(w, "D", "K", 45.0, -60.0);  // facing south-east: the morning is brighter
    std::vector<double> stunden(25);
    for (int k = 1; k <= 24; ++k) stunden[k] = reihe(zdata::is0, 4, k);
    rechne(w, "M", "K", 45.0, -60.0);
    const auto geo = sonne::berechne_monatsgeometrie(4, w.breite);
    for (int k = 1; k <= 24; ++k) {
        const int pos = (k + 11) % 24 + 1;
        EXPECT_NEAR(reihe(zdata::is0, 4, pos), stunden[k], 1e-9) << k;
        EXPECT_NEAR(reihe(zdata::ta, 4, pos),
                    sonne::temperaturprofil(k - 0.5, geo.tg0, w.ta_min[4], w.ta_max[4]), 1e-12);
    }
    EXPECT_NEAR(reihe(zdata::ta, 4, 1), sonne::temperaturprofil(12.5, geo.tg0, w.ta_min[4], w.ta_max[4]),
                1e-12);
}

// Daily detail rows: each day takes its own row; February has 29 days after
// a leap-year record.
TEST_F(Einstrahlung, TageswerteAusDetailzeilen) {
    for (const bool schaltjahr : {false, true}) {
        SCOPED_TRACE(schaltjahr);
        nc[ndata::schaltjahr] = schaltjahr ? "Y" : "N";
        const wetterdatensatz w = tagesdatensatz(schaltjahr ? 29 : 28);
        rechne(w, "T", "T");
        ASSERT_EQ(marke, 1);
        ASSERT_EQ(intervalle(2), schaltjahr ? 29 : 28);
        const auto geo = sonne::berechne_monatsgeometrie(2, w.breite);
        for (int d = 1; d <= intervalle(2); ++d) {
            const ir_ta_d_zeile& z = w.details[2][d - 1];
            EXPECT_NEAR(reihe(zdata::ir, 2, d), z.ir_g, 1e-12) << d;
            EXPECT_NEAR(reihe(zdata::diff, 2, d), z.ir_d, 1e-12) << d;
            EXPECT_NEAR(reihe(zdata::is0, 2, d), z.ir_g / geo.tg0 * 1000.0, 1e-9);
            double hell = 0.0;
            for (int k = 1; k <= 24; ++k)
                hell += sonne::temperaturprofil(k - 0.5, geo.tg0, z.tamin, z.tamax) * geo.anteil[k];
            EXPECT_NEAR(reihe(zdata::ta, 2, d), hell / geo.tg0, 1e-12);
        }
    }
}

// Bad records are refused with a message before anything is overwritten.
TEST_F(Einstrahlung, FehlerhafteDatensaetze) {
    setze_intervalle(2, 5);
    vdatz[zdata::ir][2] = 77.0;
    wetterdatensatz luecke = tagesdatensatz(28);
    luecke.details[2].erase(luecke.details[2].begin() + 13);  // row 14 of February missing
    EXPECT_THROW(rechne(luecke, "T", "T"), abbruch);
    ASSERT_EQ(senke.dialoge.size(), 1u);
    EXPECT_EQ(senke.dialoge[0].text, "Fehler: Detailzeile fehlt: ir_ta_d, Tage, Monat 2, Nummer 14");

    wetterdatensatz zuviel = tagesdatensatz(28);
    zuviel.m[3] = 801;
    zuviel.details[3].clear();
    for (int i = 1; i <= 801; ++i) zuviel.details[3].push_back(ir_ta_d_zeile{i, 0.1, 0.05, 1, 2, 1, 12});
    EXPECT_THROW(rechne(zuviel, "D", "A"), abbruch);
    ASSERT_EQ(senke.dialoge.size(), 2u);
    EXPECT_EQ(senke.dialoge[1].text, "Fehler: Zulässige Anzahl von Werten pro Monat (MAXIR_TA) überschritten");
    EXPECT_EQ(senke.dialoge[1].schwere, 'T');

    EXPECT_EQ(intervalle(2), 5);
    EXPECT_EQ(vdatz[zdata::ir][2], 77.0);
}

// The record's measuring tilt must be 0, or for hourly rows on duration
// intervals the collector tilt; otherwise the abort mark is 0 and nothing is
// computed.
TEST_F(Einstrahlung, NeigungDerStrahlungsdaten) {
    struct fall {
        const char* strahlung;
        const char* zeitintervall;
        double theta_daten, theta_s;
        const char* meldung;  // nullptr: accepted
    };
    const char* const horizontal = "Fehler: Einstrahlung auf Horizontale muss gegeben sein";
    const char* const gleich = "Fehler: Kollektorenneigung muss Winkel der Strahlungsdaten entsprechen";
    const fall faelle[] = {
        {"D", "D", 30.0, 30.0, nullptr}, {"D", "D", 30.0, 35.0, gleich}, {"D", "D", 0.0, 30.0, gleich},
        {"D", "K", 0.0, 30.0, nullptr},  {"D", "K", 30.0, 30.0, horizontal},
        {"T", "D", 30.0, 30.0, horizontal}, {"N", "K", 10.0, 0.0, horizontal},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(std::string(f.strahlung) + f.zeitintervall + " " + std::to_string(f.theta_daten));
        wetterdatensatz w = tagesdatensatz(28);
        w.theta = f.theta_daten;
        for (int m = 1; m <= 12; ++m)
            for (auto& z : w.details[m]) z.h = 1.0;
        senke.dialoge.clear();
        vdatz[zdata::ir][1] = -5.0;
        rechne(w, f.strahlung, f.zeitintervall, f.theta_s);
        if (f.meldung == nullptr) {
            EXPECT_EQ(marke, 1);
            EXPECT_TRUE(senke.dialoge.empty());
            EXPECT_NE(vdatz[zdata::ir][1], -5.0);
        } else {
            EXPECT_EQ(marke, 0);
            ASSERT_EQ(senke.dialoge.size(), 1u);
            EXPECT_EQ(senke.dialoge[0].text, f.meldung);
            EXPECT_EQ(senke.dialoge[0].schwere, 'E');
            EXPECT_EQ(vdatz[zdata::ir][1], -5.0);
        }
    }
}

// Units of the record: irradiation and temperature are converted per month.
TEST_F(Einstrahlung, EinheitenDesDatensatzes) {
    wetterdatensatz w = potsdam_2019_monatlich();
    wetterdatensatz umgerechnet = w;
    umgerechnet.einheit_ir = "MJ/qm";
    umgerechnet.einheit_temp = "K";
    for (int m = 1; m <= 12; ++m) {
        umgerechnet.ir[m] *= 3.6;
        umgerechnet.diff[m] *= 3.6;
        umgerechnet.ta_min[m] += 273.1;
        umgerechnet.ta_max[m] += 273.1;
    }
    rechne(w, "T", "K", 35.0, 20.0);
    const datz erwartet = vdatz;
    rechne(umgerechnet, "T", "K", 35.0, 20.0);
    for (int q : {zdata::is0, zdata::ir, zdata::diff, zdata::ref, zdata::ta, zdata::tamin, zdata::tamax,
                  zdata::mtn})
        for (int m = 1; m <= 12; ++m) EXPECT_NEAR(vdatz[q][m], erwartet[q][m], 1e-9) << q << " " << m;
    EXPECT_GE(einheiten.einstrahlungsabfragen, 24);
}

// The diffuse fraction of the daily correlation is capped at 0.143 / 0.175
// for clear days; the monthly correlation follows latitude band and season.
TEST_F(Einstrahlung, DiffusanteilAusGlobalstrahlung) {
    nc[ndata::strahlung] = "T";
    nc[ndata::zeitintervall] = "T";
    bool gewarnt = false;
    struct fall {
        int monat;
        double kt, anteil;
    };
    // At 52 deg: December ws = 56 deg (<= 81.4), June ws = 124 deg.
    for (const fall f : {fall{12, 0.715, 0.143}, fall{12, 0.9, 0.143}, fall{6, 0.722, 0.175},
                         fall{6, 0.8, 0.175}, fall{12, 0.3, 1.0 - 0.2727 * 0.3 + 2.4495 * 0.09 - 11.9514 * 0.027 + 9.3879 * 0.0081},
                         fall{6, 0.3, 1.0 + 0.2832 * 0.3 - 2.5557 * 0.09 + 0.8448 * 0.027}}) {
        const double ws = sonne::sonnenuntergangswinkel(sonne::deklination(f.monat), 52.0);
        const double H0 = sonne::berechne_extraterristische_einstrahlung(f.monat, ws, -ws, 52.0);
        const double D = berechne_diffusanteil(f.monat, f.kt * H0, 52.0, ws, 0.0, nc, kennwerte, gewarnt);
        EXPECT_NEAR(kennwerte.kt[f.monat], f.kt, 1e-12);
        EXPECT_NEAR(kennwerte.anteil[f.monat], f.anteil, 1e-12) << f.monat << " " << f.kt;
        EXPECT_NEAR(kennwerte.komplement[f.monat], 1.0 - f.anteil, 1e-12);
        EXPECT_NEAR(D, f.anteil * f.kt * H0, 1e-12);
    }
    // Monthly data: July at 50 deg is summer in band 3, K relative to the
    // month's extraterrestrial sum.
    nc[ndata::strahlung] = "N";
    const double ws = sonne::sonnenuntergangswinkel(sonne::deklination(7), 50.0);
    const double H0 = 31 * sonne::berechne_extraterristische_einstrahlung(7, ws, -ws, 50.0);
    berechne_diffusanteil(7, 0.5 * H0, 50.0, ws, 1.0, nc, kennwerte, gewarnt);
    EXPECT_NEAR(kennwerte.anteil[7], 0.998 - 0.583 * 0.5 - 1.392 * 0.25 + 0.995 * 0.125, 1e-12);
    // Latitude 58 deg: band 1, winter.
    const double ws58 = sonne::sonnenuntergangswinkel(sonne::deklination(1), 58.0);
    const double H058 = 31 * sonne::berechne_extraterristische_einstrahlung(1, ws58, -ws58, 58.0);
    berechne_diffusanteil(1, 0.4 * H058, 58.0, ws58, 1.0, nc, kennwerte, gewarnt);
    EXPECT_NEAR(kennwerte.anteil[1], 1.061 - 0.397 * 0.4 - 2.975 * 0.16 + 2.583 * 0.064, 1e-12);
    // South of the equator July is winter and January summer (band 3 at 35 deg S).
    for (const auto& [monat, a] : {std::pair{7, std::array{1.032, -0.694, -1.771, 1.562}},
                                  std::pair{1, std::array{0.998, -0.583, -1.392, 0.995}}}) {
        const double wss = sonne::sonnenuntergangswinkel(sonne::deklination(monat), -35.0);
        const double H0s = 31 * sonne::berechne_extraterristische_einstrahlung(monat, wss, -wss, -35.0);
        berechne_diffusanteil(monat, 0.45 * H0s, -35.0, wss, 1.0, nc, kennwerte, gewarnt);
        EXPECT_NEAR(kennwerte.anteil[monat], a[0] + a[1] * 0.45 + a[2] * 0.45 * 0.45 + a[3] * 0.45 * 0.45 * 0.45,
                    1e-12)
            << monat;
    }
    EXPECT_TRUE(senke.dialoge.empty());

    // Negative irradiation: one warning per call of the entry, and only
    // when messages are shown as dialogs.
    nc[ndata::meldungsmodus] = "S";
    berechne_diffusanteil(3, -1.0, 52.0, 90.0, 0.0, nc, kennwerte, gewarnt);
    EXPECT_FALSE(gewarnt);
    nc[ndata::meldungsmodus] = "M";
    berechne_diffusanteil(3, -1.0, 52.0, 90.0, 0.0, nc, kennwerte, gewarnt);
    berechne_diffusanteil(4, -1.0, 52.0, 90.0, 0.0, nc, kennwerte, gewarnt);
    ASSERT_EQ(senke.dialoge.size(), 1u);
    EXPECT_TRUE(protokollzeilen().empty());
    EXPECT_EQ(senke.dialoge[0].text, "Warnung: Fehler in Berechnung von kt bei diffuser Einstrahlung.");
    EXPECT_EQ(senke.dialoge[0].schwere, 'W');
}

// Computed diffuse irradiation on a monthly layout: the month's diffuse sum
// on the horizontal is its diffuse fraction times its global sum.
TEST_F(Einstrahlung, BerechneteDiffusstrahlungImMonat) {
    nc[ndata::diffusestrahlung] = "B";
    const wetterdatensatz w = potsdam_2019_monatlich();
    rechne(w, "N", "K");
    for (int m = 1; m <= 12; ++m) {
        EXPECT_GT(kennwerte.anteil[m], 0.2) << m;
        EXPECT_LT(kennwerte.anteil[m], 1.0) << m;
        EXPECT_NEAR(vdatz[zdata::diff][m], kennwerte.anteil[m] * w.ir[m], 1e-9) << m;
    }
}

TEST(Sortierung, AbsteigendUndAufsteigendStabil) {
    auto p = std::make_unique<datz3>();
    const double is0[] = {3, 5, 5, 1, 0};
    for (int i = 1; i <= 5; ++i) {
        (*p)[zdata::is0][7][i] = is0[i - 1];
        for (int q = zdata::ir; q <= zdata::ho; ++q) (*p)[q][7][i] = 10 * q + i;  // tags the interval
    }
    (*p)[zdata::is0][7][6] = 99;  // beyond n: not touched
    struct fall {
        const char* code;
        int folge[5];
    };
    for (const fall f : {fall{"D", {2, 3, 1, 4, 5}}, fall{"U", {5, 4, 1, 2, 3}}, fall{"N", {1, 2, 3, 4, 5}}}) {
        auto q = std::make_unique<datz3>(*p);
        sortiere_intervalle(*q, 7, 5, f.code);
        for (int i = 1; i <= 5; ++i) {
            const int von = f.folge[i - 1];
            EXPECT_EQ((*q)[zdata::is0][7][i], is0[von - 1]) << f.code << i;
            for (int r = zdata::ir; r <= zdata::ho; ++r) EXPECT_EQ((*q)[r][7][i], 10 * r + von);
        }
        EXPECT_EQ((*q)[zdata::is0][7][6], 99);
    }
}

// The measured hourly year of Potsdam on the horizontal and on tilted planes.
TEST_F(Einstrahlung, StundenwerteEinesJahres) {
    const wetterdatensatz w = potsdam_2019();
    const wetterdatensatz summen = potsdam_2019_monatlich();

    rechne(w, "D", "A");
    ASSERT_EQ(marke, 1);
    EXPECT_EQ(nc[ndata::strahlungsherkunft], "A");
    double ghi = 0.0;
    for (int m = 1; m <= 12; ++m) {
        ASSERT_EQ(intervalle(m), 24 * TAGE[m]);
        // Horizontal: the plane receives exactly the measured global irradiation.
        EXPECT_NEAR(vdatz[zdata::ir][m], summen.ir[m], 0.006) << m;
        EXPECT_NEAR(vdatz[zdata::diff][m], summen.diff[m], 0.006) << m;
        for (int i = 1; i <= intervalle(m); ++i) {
            const ir_ta_d_zeile& z = w.details[m][i - 1];
            ASSERT_NEAR((*p2)[zdata::ir][m][i], z.ir_g / 1000.0, 1e-12);
            ASSERT_NEAR(reihe(zdata::is0, m, i), z.ir_g, 1e-9);
            ASSERT_EQ(reihe(zdata::ta, m, i), z.tamin);
            ASSERT_EQ(reihe(zdata::ho, m, i), 1.0);
        }
        ghi += summen.ir[m];
    }
    EXPECT_NEAR(jahr, 1146.0, 0.05);

    // A south plane of 40 deg gains, a vertical wall loses against it;
    // the reflected part is the ground's share of the global irradiation.
    rechne(w, "D", "A", 40.0, 0.0);
    const double geneigt = jahr;
    EXPECT_GT(geneigt / ghi, 1.08);
    EXPECT_LT(geneigt / ghi, 1.25);
    double ref = 0.0;
    for (int m = 1; m <= 12; ++m) ref += vdatz[zdata::ref][m];
    EXPECT_NEAR(ref, 0.2 * (1.0 - std::cos(40.0 * RAD)) / 2.0 * ghi, 0.01);
    for (int m = 1; m <= 12; ++m)
        for (int i = 1; i <= intervalle(m); ++i) {
            ASSERT_TRUE(std::isfinite(reihe(zdata::is0, m, i)));
            ASSERT_LE(reihe(zdata::is0, m, i), 1200.0) << m << " " << i;
        }
    rechne(w, "D", "A", 90.0, 0.0);
    EXPECT_LT(jahr, geneigt);
    EXPECT_GT(jahr / ghi, 0.6);
}

// Hourly rows summed into days, and the diffuse part computed per day.
TEST_F(Einstrahlung, StundenwerteZuTagen) {
    const wetterdatensatz w = potsdam_2019();
    nc[ndata::diffusestrahlung] = "B";
    rechne(w, "T", "A");
    EXPECT_EQ(nc[ndata::strahlungsherkunft], "D");
    for (int m : {1, 7}) {
        ASSERT_EQ(intervalle(m), TAGE[m]);
        const auto geo = sonne::berechne_monatsgeometrie(m, w.breite);
        for (int d = 1; d <= TAGE[m]; ++d) {
            double ir = 0.0, ta = 0.0, diff = 0.0;
            for (int k = 1; k <= 24; ++k) {
                const int i = 24 * (d - 1) + k;
                ir += w.details[m][i - 1].ir_g / 1000.0;
                ta += w.details[m][i - 1].tamin / 24.0;
                diff += (*p2)[zdata::diff][m][i];
            }
            EXPECT_NEAR(reihe(zdata::ir, m, d), ir, 1e-9) << m << " " << d;
            EXPECT_NEAR(reihe(zdata::ta, m, d), ta, 1e-9);
            EXPECT_NEAR(reihe(zdata::ho, m, d), geo.tg0, 1e-12);
            EXPECT_NEAR(reihe(zdata::is0, m, d), ir * 1000.0 / geo.tg0, 1e-6);
            // The day's computed diffuse irradiation lies within the
            // correlation's range of fractions.
            EXPECT_GE(diff, 0.143 * ir - 1e-9);
            EXPECT_LE(diff, 1.0 * ir + 1e-9) << m << " " << d;
        }
        // The last day of the month: its diffuse sum is the stored fraction.
        double ir = 0.0, diff = 0.0;
        for (int i = 24 * (TAGE[m] - 1) + 1; i <= 24 * TAGE[m]; ++i) {
            ir += (*p2)[zdata::ir][m][i];
            diff += (*p2)[zdata::diff][m][i];
        }
        EXPECT_NEAR(diff, kennwerte.anteil[m] * ir, 1e-9);
    }
}

// Hourly rows measured on the collector plane are taken as they are.
TEST_F(Einstrahlung, StundenwerteAufDerKollektorebene) {
    wetterdatensatz w = potsdam_2019();
    w.theta = 30.0;
    rechne(w, "D", "D", 30.0, 0.0);
    ASSERT_EQ(marke, 1);
    EXPECT_EQ(nc[ndata::strahlungsherkunft], "D");
    for (int m : {3, 8}) {
        double ir = 0.0, diff = 0.0;
        for (const auto& z : w.details[m]) {
            ir += z.ir_g / 1000.0;
            diff += z.ir_g > 0.0 ? z.ir_d / 1000.0 : 0.0;
        }
        EXPECT_NEAR(vdatz[zdata::ir][m], ir, 1e-9);
        EXPECT_NEAR(vdatz[zdata::diff][m], diff, 1e-9);
        EXPECT_EQ(vdatz[zdata::ref][m], 0.0);
    }
}

// Hourly rows with the diffuse part computed from the day's global sum: a
// January day, bright in the morning and dull after noon. Every hour keeps
// its measured global value and takes the day's diffuse fraction of it, so
// no hour has more diffuse than global irradiation and the month's diffuse
// sum is the correlation's fraction of the day's global sum.
TEST_F(Einstrahlung, StundenwerteMitBerechneterDiffusstrahlung) {
    std::array<double, 24> global{}, keine{};
    global[9] = global[10] = global[11] = 0.25;
    global[12] = global[13] = global[14] = 0.01;
    const wetterdatensatz w = ein_stundentag(1, global, keine);
    nc[ndata::diffusestrahlung] = "B";
    rechne(w, "D", "A");
    ASSERT_EQ(marke, 1);
    // By hand: H = 0.78 kWh/qm; January at 52.38 deg has ws <= 81.4 deg, so
    // D/H = 1 - 0.2727 K + 2.4495 K^2 - 11.9514 K^3 + 9.3879 K^4.
    const double ws = sonne::sonnenuntergangswinkel(sonne::deklination(1), POTSDAM_BREITE);
    const double K = 0.78 / sonne::berechne_extraterristische_einstrahlung(1, ws, -ws, POTSDAM_BREITE);
    ASSERT_LT(K, 0.715);
    const double f = 1.0 - 0.2727 * K + 2.4495 * K * K - 11.9514 * K * K * K + 9.3879 * K * K * K * K;
    EXPECT_NEAR(vdatz[zdata::ir][1], 0.78, 1e-12);
    EXPECT_NEAR(vdatz[zdata::diff][1], f * 0.78, 1e-12);
    for (int i = 1; i <= 24; ++i) {
        EXPECT_NEAR((*p2)[zdata::diff][1][i], f * global[i - 1], 1e-12) << i;
        EXPECT_LE(reihe(zdata::diff, 1, i), reihe(zdata::ir, 1, i) + 1e-15) << i;
    }
    // On a tilted plane the computed diffuse part acts as a measured one would.
    rechne(w, "D", "A", 45.0, 0.0);
    const double geneigt = vdatz[zdata::ir][1];
    std::array<double, 24> diffus{};
    for (int k = 0; k < 24; ++k) diffus[k] = f * global[k];
    nc[ndata::diffusestrahlung] = "E";
    rechne(ein_stundentag(1, global, diffus), "D", "A", 45.0, 0.0);
    EXPECT_NEAR(geneigt, vdatz[zdata::ir][1], 1e-12);
}

// A bright sunrise hour on an east wall: the June hour from 03:00 to 04:00
// solar time is lit for its last 4 of 15 degrees. Its measured beam of 300 Wh
// would be multiplied by the beam factor of a sun just above the horizon;
// the wall gets no more beam than the sun delivers to it outside the
// atmosphere in that quarter hour, plus the ground's share of the global.
TEST_F(Einstrahlung, SonnenaufgangsstundeHoechstensExtraterrestrisch) {
    std::array<double, 24> global{}, diffus{};
    global[3] = 0.3;
    rechne(ein_stundentag(6, global, diffus), "D", "A", 90.0, -90.0);
    ASSERT_EQ(marke, 1);
    const double d = sonne::deklination(6) * RAD, phi = POTSDAM_BREITE * RAD;
    const double ws = sonne::sonnenuntergangswinkel(sonne::deklination(6), POTSDAM_BREITE);
    ASSERT_GT(-ws, -135.0);
    ASSERT_LT(-ws, -120.0);
    const int n = 100000;
    double ebene = 0.0;
    for (int i = 0; i < n; ++i) {
        const double w = -135.0 + 15.0 * (i + 0.5) / n;
        if (w > -ws) ebene += std::max(0.0, sonne::berechne_costheta(d, phi, w * RAD, 90.0 * RAD, -90.0 * RAD));
    }
    const double g_on = 1367.0 * sonne::exzentrizitaet(sonne::tag_monatsmitte(6));
    const double direkt = g_on * ebene / n / 1000.0;  // kWh/qm in the hour
    EXPECT_NEAR(reihe(zdata::ir, 6, 4), direkt + 0.2 * 0.5 * 0.3, 1e-5);
    EXPECT_LT(reihe(zdata::is0, 6, 4), g_on);
}

// A southern site on the mirrored climate (month m takes the weather of month
// m + 6 of its northern mirror, per day) gets the irradiation of its northern
// mirror on every plane: azimuth 0 faces the equator, +90 west, in both
// hemispheres. (With computed diffuse irradiation the mirror is not exact:
// the southern winter falls at aphelion, which raises its clearness index.)
TEST_F(Einstrahlung, SuedhalbkugelGleichtDemSpiegelbildDesNordens) {
    wetterdatensatz nord = potsdam_2019_monatlich();
    nord.breite = 35.0;
    wetterdatensatz sued = nord;
    sued.breite = -35.0;
    auto spiegel = [](int m) { return (m + 5) % 12 + 1; };
    for (int m = 1; m <= 12; ++m) {
        const int n = spiegel(m);
        const double tage = static_cast<double>(TAGE[m]) / TAGE[n];
        sued.ir[m] = nord.ir[n] * tage;
        sued.diff[m] = nord.diff[n] * tage;
        sued.ta_min[m] = nord.ta_min[n];
        sued.ta_max[m] = nord.ta_max[n];
    }
    struct ebene {
        double neigung, azimut;
    };
    for (const char* strahlung : {"D", "N"})
        for (const ebene e : {ebene{30.0, 0.0}, ebene{30.0, 60.0}, ebene{90.0, -90.0}}) {
            SCOPED_TRACE(std::string(strahlung) + " " + std::to_string(e.neigung) + "/" + std::to_string(e.azimut));
            rechne(nord, strahlung, "K", e.neigung, e.azimut);
            const datz norden = vdatz;
            rechne(sued, strahlung, "K", e.neigung, e.azimut);
            for (int m = 1; m <= 12; ++m) {
                const int n = spiegel(m);
                const double erwartet = norden[zdata::ir][n] / TAGE[n] * TAGE[m];
                EXPECT_NEAR(vdatz[zdata::ir][m], erwartet, 0.01 * erwartet) << m;
            }
        }
}

// High latitudes with polar night and polar day give finite values throughout.
TEST_F(Einstrahlung, PolarnachtUndPolartag) {
    wetterdatensatz w = potsdam_2019_monatlich();
    w.breite = 75.0;
    for (const char* s : {"N", "M", "T", "D"}) {
        nc[ndata::diffusestrahlung] = "B";
        rechne(w, s, "K", 60.0, 0.0);
        for (int m = 1; m <= 12; ++m) {
            for (int q : {zdata::is0, zdata::ir, zdata::diff, zdata::ref, zdata::ta, zdata::mtn, zdata::tg})
                ASSERT_TRUE(std::isfinite(vdatz[q][m])) << s << " " << q << " " << m;
            for (int i = 1; i <= intervalle(m); ++i)
                for (int q : {zdata::is0, zdata::ir, zdata::ta, zdata::ho})
                    ASSERT_TRUE(std::isfinite(reihe(q, m, i))) << s << " " << m << " " << i;
        }
        EXPECT_EQ(vdatz[zdata::ir][12], 0.0);  // no sun in December
        EXPECT_GT(vdatz[zdata::ir][6], 0.0);
    }
}
