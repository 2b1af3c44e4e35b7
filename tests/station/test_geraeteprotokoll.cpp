#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "engine/WP_variables.h"
#include "station/geraeteprotokoll.h"
#include "station/simulierte_ports.h"
#include "support/aufzeichnende_senke.h"

namespace {

// Answers the no-device dialog as scripted (Ignore when the script is empty)
// and may act before answering (plug a board in).
class skript_dialog : public geraete_dialog {
public:
    dialog_antwort frage(const std::string& text) override {
        fragen.push_back(text);
        if (vorher) vorher();
        if (antworten.empty()) return dialog_antwort::ignorieren;
        const dialog_antwort a = antworten.front();
        antworten.pop_front();
        return a;
    }
    std::deque<dialog_antwort> antworten;
    std::vector<std::string> fragen;
    std::function<void()> vorher;
};

class Geraeteprotokoll : public mit_meldungen {
protected:
    simulierte_uhr zeit;
    simulierte_ports ports{zeit};
    RSCOM port{ports, zeit};
    stationseinstellungen einstellungen;
    skript_dialog dialog;
    geraeteprotokoll protokoll{port, einstellungen, &dialog};
    std::unique_ptr<anlage> a = std::make_unique<anlage>();

    simulierte_platine& station(int nummer, int modus) {
        simulierte_platine& p = ports.stecke(nummer, 'W');
        p.setze_ft232rl(false);
        p.bestuecke_adc(modus);
        einstellungen.adc_8bit = modus == 1;
        einstellungen.adc_10bit = modus == 2;
        return p;
    }
};

// The no-device question in English (as the installed base words it) and in German.
const char* const DIALOGTEXT = "no correct device for com <= 100abort, retry, ignore?";
const char* const DIALOGTEXT_DE = "Kein passendes Gerät an com <= 100: abbrechen, wiederholen, ignorieren?";

}  // namespace

TEST_F(Geraeteprotokoll, SucheFindetVierPlatinenUndMarkiertDieFehlende) {
    ports.stecke(3, 'W');
    ports.stecke(7, 'S');
    ports.stecke(12, 'V');
    ports.stecke(40, 'A');
    protokoll.com_fuer_wetterstation(*a);
    EXPECT_EQ(a->Wetterstation_com, 3);
    EXPECT_EQ(a->Umwaelzpumpe_com, 7);
    EXPECT_EQ(a->ventilator_com, 12);
    EXPECT_EQ(a->sensoren_com, 40);
    EXPECT_FALSE(a->kein_anschluss_com_W || a->kein_anschluss_com_U || a->kein_anschluss_com_V ||
                 a->kein_anschluss_com_S);
    EXPECT_EQ(einstellungen.com_felder, (std::array<std::string, 4>{"3", "7", "12", "40"}));
    EXPECT_TRUE(dialog.fragen.empty());

    // The fan is gone: its scan asks once, Ignore gives port 0 and the mark.
    ports.entferne(12);
    setze_sprache(SPRACHE_ENGLISCH);
    protokoll.com_fuer_wetterstation(*a);
    EXPECT_EQ(a->ventilator_com, 0);
    EXPECT_TRUE(a->kein_anschluss_com_V);
    EXPECT_FALSE(a->kein_anschluss_com_W);
    EXPECT_EQ(einstellungen.com_felder[2], "empty");
    EXPECT_EQ(dialog.fragen, std::vector<std::string>{DIALOGTEXT});
    setze_sprache(SPRACHE_DEUTSCH);
    protokoll.com_fuer_wetterstation(*a);
    ASSERT_EQ(dialog.fragen.size(), 2u);
    EXPECT_EQ(dialog.fragen[1], DIALOGTEXT_DE);
    setze_sprache(SPRACHE_ENGLISCH);

    // Taking the ports back from the fields: "leer" and "empty" give 0.
    einstellungen.com_felder = {"5", "leer", "empty", "x"};
    protokoll.besetze_com(*a);
    EXPECT_EQ(a->Wetterstation_com, 5);
    EXPECT_EQ(a->Umwaelzpumpe_com, 0);
    EXPECT_EQ(a->ventilator_com, 0);
    EXPECT_EQ(a->sensoren_com, 0);
}

TEST_F(Geraeteprotokoll, GleicheIdentitaetHoechsterPortGewinntCom1NieGesucht) {
    ports.stecke(1, 'V');
    ports.stecke(5, 'W');
    ports.stecke(9, 'W');
    ports.stecke(100, 'S');
    dat_int_4 ident{};
    int32_t nummer = -1;
    belege_ident(ident, 'W');
    EXPECT_TRUE(protokoll.finde_com(nummer, ident));
    EXPECT_EQ(nummer, 9);
    belege_ident(ident, 'S');
    EXPECT_TRUE(protokoll.finde_com(nummer, ident));
    EXPECT_EQ(nummer, 100);
    belege_ident(ident, 'V');
    EXPECT_FALSE(protokoll.finde_com(nummer, ident));
    EXPECT_EQ(nummer, 0);
}

TEST_F(Geraeteprotokoll, StationWirdMitJederAdcBestueckungErkannt) {
    dat_int_4 ident{};
    belege_ident(ident, 'W');
    for (int modus : {0, 1, 2}) {
        SCOPED_TRACE(modus);
        simulierte_platine& p = station(5, modus);
        p.setze_adc8('I', 0);
        p.setze_kanal(1, 0);
        int32_t nummer = 0;
        EXPECT_TRUE(protokoll.finde_com(nummer, ident));
        EXPECT_EQ(nummer, 5);
        // Also right after a reading.
        protokoll.WS_lese_irradiation(modus);
        EXPECT_TRUE(protokoll.finde_com(nummer, ident));
        EXPECT_EQ(nummer, 5);
    }
    EXPECT_TRUE(dialog.fragen.empty());
}

TEST_F(Geraeteprotokoll, WiederholenSuchtErneutAbbrechenMeldetProgrammende) {
    dat_int_4 ident{};
    belege_ident(ident, 'A');
    int32_t nummer = -1;
    // Retry after the board has been plugged in finds it.
    dialog.antworten = {dialog_antwort::wiederholen};
    dialog.vorher = [this] { ports.stecke(33, 'A'); };
    EXPECT_TRUE(protokoll.finde_com(nummer, ident));
    EXPECT_EQ(nummer, 33);
    EXPECT_EQ(dialog.fragen.size(), 1u);

    ports.entferne(33);
    dialog.vorher = nullptr;
    dialog.antworten = {dialog_antwort::wiederholen, dialog_antwort::abbrechen};
    EXPECT_FALSE(protokoll.finde_com(nummer, ident));
    EXPECT_EQ(nummer, 0);
    EXPECT_EQ(dialog.fragen.size(), 3u);
    ASSERT_EQ(senke.dialoge.size(), 1u);
    EXPECT_EQ(senke.dialoge[0].text, "Gerätesuche abgebrochen");
}

// A value set through `anlagensteuerung_neu` arrives at the board: the
// board's chip shifts the word in from the lines and decodes it by its own
// layout, for each chip and each adapter.
TEST_F(Geraeteprotokoll, StromUndSpannungKommenBeiJedemChipUndAdapterAn) {
    struct fall {
        dac_typ chip;
        const char* name;
        bool ft232rl;
    };
    const fall faelle[] = {
        {dac_typ::AD7303, "AD7303", true},   {dac_typ::AD7303, "AD7303", false},
        {dac_typ::AD7304, "AD7304", true},   {dac_typ::AD7304, "AD7304", false},
        {dac_typ::MCP4802, "MCP4802", true}, {dac_typ::MCP4802, "MCP4802", false},
    };
    ssq quelle;
    quelle.maximalstrom = 20.0;
    quelle.maximalspannung = 10.0;
    for (const fall& f : faelle) {
        SCOPED_TRACE(std::string(f.name) + (f.ft232rl ? " FT232RL" : " Bausatz-Breakout"));
        simulierte_platine& p = ports.stecke(6, 'S');
        p.setze_ft232rl(f.ft232rl);
        p.bestuecke_dac(f.chip, quelle.maximalstrom, quelle.maximalspannung);
        einstellungen.usb_adapter = f.ft232rl ? USB_FT232RL : USB_BAUSATZ_BREAKOUT;
        quelle.dac_typ = f.name;

        // Voltage first: the AD7304's current word uses the port it opened.
        protokoll.anlagensteuerung_neu(0.0, 6.3, quelle, 'V', 'S', 'N', *a);
        protokoll.anlagensteuerung_neu(7.3, 0.0, quelle, 'I', 'S', 'N', *a);
        const int32_t n_u = dac_code(6.3, 10.0), n_i = dac_code(7.3, 20.0);
        EXPECT_EQ(p.dac()->code(p.dac()->spannungskanal()), n_u);
        EXPECT_EQ(p.dac()->code(p.dac()->stromkanal()), n_i);
        EXPECT_DOUBLE_EQ(p.spannung_V(), n_u / 255.0 * 10.0);
        EXPECT_DOUBLE_EQ(p.strom_mA(), n_i / 255.0 * 20.0);
        EXPECT_NEAR(p.strom_mA(), 7.3, 20.0 / 255.0 / 2.0);
        EXPECT_EQ(p.dac()->woerter(), 2);

        // Full scale and zero.
        protokoll.anlagensteuerung_neu(0.0, 10.0, quelle, 'V', 'S', 'N', *a);
        protokoll.anlagensteuerung_neu(0.0, 0.0, quelle, 'I', 'S', 'N', *a);
        EXPECT_DOUBLE_EQ(p.spannung_V(), 10.0);
        EXPECT_DOUBLE_EQ(p.strom_mA(), 0.0);
    }
}

TEST_F(Geraeteprotokoll, FalscheAdapterwahlVerfaelschtDasWort) {
    ssq quelle;
    quelle.dac_typ = "MCP4802";
    quelle.maximalspannung = 10.0;
    simulierte_platine& p = ports.stecke(6, 'V');
    p.setze_ft232rl(true);
    p.bestuecke_dac(dac_typ::MCP4802, 0.0, 10.0);
    einstellungen.usb_adapter = USB_BAUSATZ_BREAKOUT;
    protokoll.anlagensteuerung_neu(0.0, 4.0, quelle, 'V', 'V', 'N', *a);
    EXPECT_NE(p.dac()->code(0), dac_code(4.0, 10.0));
    EXPECT_NEAR(p.spannung_V(), 0.0, 1e-12);

    // In test mode the DAC of the window's choice is used, not the source's.
    einstellungen.usb_adapter = USB_FT232RL;
    einstellungen.dac = "MCP4802";
    quelle.dac_typ = "AD7304";
    protokoll.anlagensteuerung_neu(0.0, 4.0, quelle, 'V', 'V', 'J', *a);
    EXPECT_EQ(p.dac()->code(0), dac_code(4.0, 10.0));
}

TEST_F(Geraeteprotokoll, ProtokollzeitDerWorteUndSperreDurchPumpenmarke) {
    ssq quelle;
    quelle.maximalspannung = 10.0;
    simulierte_platine& p = ports.stecke(6, 'S');
    p.setze_ft232rl(true);
    struct fall {
        dac_typ chip;
        const char* name;
        double ms;  // frame waits of one word
    };
    for (const fall& f : {fall{dac_typ::AD7303, "AD7303", 10 + 10 + 16 * 20 + 100},
                          fall{dac_typ::MCP4802, "MCP4802", 100 + 16 * 30 + 10 + 100}}) {
        p.bestuecke_dac(f.chip, 20.0, 10.0);
        quelle.dac_typ = f.name;
        const double start = zeit.zaehler_ms();
        protokoll.anlagensteuerung_neu(0.0, 5.0, quelle, 'V', 'S', 'N', *a);
        EXPECT_DOUBLE_EQ(zeit.zaehler_ms() - start, f.ms) << f.name;
    }

    // The pump board's no-connection mark holds back every device, the fan
    // included: no port is even opened.
    simulierte_platine& ventilator = ports.stecke(8, 'V');
    ventilator.bestuecke_dac(dac_typ::MCP4802, 0.0, 10.0);
    quelle.dac_typ = "MCP4802";
    a->kein_anschluss_com_U = true;
    const int64_t vorher = ports.oeffnungen();
    protokoll.anlagensteuerung_neu(0.0, 5.0, quelle, 'V', 'V', 'N', *a);
    EXPECT_EQ(ports.oeffnungen(), vorher);
    EXPECT_EQ(ventilator.dac()->woerter(), 0);
}

TEST_F(Geraeteprotokoll, FehlendeSchnittstelleUndAD7304OhneSchnittstelle) {
    ssq quelle;
    quelle.dac_typ = "AD7304";
    quelle.maximalspannung = 10.0;
    protokoll.anlagensteuerung_neu(0.0, 5.0, quelle, 'V', 'S', 'N', *a);
    ASSERT_EQ(senke.dialoge.size(), 1u);
    EXPECT_EQ(senke.dialoge[0].text, "Kein com verfügbar");
    EXPECT_EQ(dialog.fragen.size(), 1u);

    // A port asked for by number is named with its path, once.
    EXPECT_FALSE(protokoll.teste_schnittstelle("8"));
    EXPECT_FALSE(protokoll.teste_schnittstelle("8"));
    ASSERT_EQ(senke.dialoge.size(), 2u);
    EXPECT_EQ(senke.dialoge[1].text, "Schnittstelle nicht vorhanden: COM8 (sim:COM8)");
    ports.stecke(8, 'S');
    EXPECT_TRUE(protokoll.teste_schnittstelle("8"));
}

TEST_F(Geraeteprotokoll, AdcWerteKommenBei8Und10BitExaktZurueck) {
    // 8 bit: two converters; with the FT232RL chosen for the DAC lines the
    // ADC lines are still read as they are.
    simulierte_platine& acht = station(3, 1);
    einstellungen.usb_adapter = USB_FT232RL;
    for (int32_t wert : {0, 1, 128, 173, 255}) {
        acht.setze_adc8('I', wert);
        acht.setze_adc8('T', 255 - wert);
        ASSERT_TRUE(protokoll.teste_schnittstelle("3"));
        EXPECT_EQ(protokoll.WS_lese_irradiation(protokoll.adc_modus()), wert);
        EXPECT_EQ(protokoll.WS_lese_temperatur(protokoll.adc_modus(), 3), 255 - wert);
    }

    // 10 bit: each reading addresses its channel.
    simulierte_platine& zehn = station(3, 2);
    for (int kanal = 0; kanal <= 7; ++kanal) zehn.setze_kanal(kanal, 100 * kanal + 37);
    zehn.setze_kanal(1, 1023);
    ASSERT_TRUE(protokoll.teste_schnittstelle("3"));
    const int m = protokoll.adc_modus();
    ASSERT_EQ(m, 2);
    double start = zeit.zaehler_ms();
    EXPECT_EQ(protokoll.WS_lese_irradiation(m), 1023);
    // Four conversions of 34 half periods of 100 ms, after 110 ms of set-up.
    EXPECT_DOUBLE_EQ(zeit.zaehler_ms() - start, 4 * 34 * 100.0 + 110.0);
    EXPECT_EQ(protokoll.WS_lese_beschlagen(usbdata::vdcd, usbdata::vtxd, m), 237);
    EXPECT_EQ(protokoll.WS_lese_feuchte(m), 337);
    struct fall {
        int sensor;
        int32_t wert;
    };
    for (const fall& f : {fall{3, 37}, fall{8, 37}, fall{9, 1023}, fall{4, 437}, fall{5, 537}, fall{6, 637},
                          fall{7, 737}}) {
        EXPECT_EQ(protokoll.WS_lese_temperatur(m, f.sensor), f.wert) << f.sensor;
    }
    zehn.setze_kanal(0, 0);
    EXPECT_EQ(protokoll.WS_lese_temperatur(m, 3), 0);
    // Modes without a reading return 0 without touching the lines.
    start = zeit.zaehler_ms();
    EXPECT_EQ(protokoll.WS_lese_feuchte(1), 0);
    EXPECT_EQ(protokoll.WS_lese_beschlagen(usbdata::vdcd, usbdata::vtxd, 1), 0);
    EXPECT_EQ(zeit.zaehler_ms(), start);
}

TEST_F(Geraeteprotokoll, ZehnBitWiederholtBeiMehrAlsFuenfAbweichung) {
    simulierte_platine& p = station(3, 2);
    ASSERT_TRUE(protokoll.teste_schnittstelle("3"));
    // Each conversion is performed twice: the second performance puts out
    // what the first converted, so the 1st and 3rd conversions are A and B.
    p.setze_wandlungsfolge({500, 499, 505, 111});
    EXPECT_EQ(protokoll.lese_ADC_10_port(10, {0, 0, 0, 1}, 0), 500);
    EXPECT_EQ(p.adc_wandlungen(), 4);

    p.setze_wandlungsfolge({500, 0, 506, 0, 520, 0, 521, 0});
    EXPECT_EQ(protokoll.lese_ADC_10_port(10, {0, 0, 0, 1}, 0), 520);
    EXPECT_EQ(p.adc_wandlungen(), 12);

    // With noise of +-3 counts the reading stays within the amplitude.
    p.setze_kanal(1, 700);
    p.setze_rauschen(3, 42);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(protokoll.lese_ADC_10_port(10, {0, 0, 0, 1}, 0), 700, 3);
}

TEST_F(Geraeteprotokoll, EntprellungLiestBisZweiLesungenGleichSind) {
    simulierte_platine& p = station(3, 2);
    p.setze_kanal(1, 0b1010101010);
    ASSERT_TRUE(protokoll.teste_schnittstelle("3"));
    double start = zeit.zaehler_ms();
    EXPECT_EQ(protokoll.lese_ADC_10_port(10, {0, 0, 0, 1}, 0), 0b1010101010);
    const double ohne = zeit.zaehler_ms() - start;
    // A data line that shows its old level for 150 ms after each change
    // costs extra reads, not a wrong bit.
    p.setze_einschwingzeit_ms(150.0);
    start = zeit.zaehler_ms();
    EXPECT_EQ(protokoll.lese_ADC_10_port(10, {0, 0, 0, 1}, 0), 0b1010101010);
    EXPECT_GT(zeit.zaehler_ms() - start, ohne);
}

TEST_F(Geraeteprotokoll, Modus0EinstrahlungTemperaturUndSchnee) {
    simulierte_platine& p = station(3, 0);
    struct fall {
        double anteil;
        double zaehlung, toleranz;
        double dauer_ms;  // wait for DSR plus 1000 samples of 0.5 ms
    };
    // DSR permanently high: 1000 at once; permanently low: 0 after 500 ms of
    // waiting and 500 ms of sampling.
    for (const fall& f : {fall{1e6, 1000, 0, 500.01}, fall{0.0, 0, 0, 1000.0}, fall{0.3, 300, 2, 501.67}}) {
        SCOPED_TRACE(f.anteil);
        p.setze_einstrahlung(f.anteil);
        // Opening the port switches the sensors off and on again (TXD).
        ASSERT_TRUE(protokoll.teste_schnittstelle("3"));
        const double start = zeit.zaehler_ms();
        EXPECT_NEAR(protokoll.WS_lese_irradiation(0), f.zaehlung, f.toleranz);
        EXPECT_NEAR(zeit.zaehler_ms() - start, f.dauer_ms, 0.05);
    }

    // Temperature: an RTS pulse of 2001 ms, its length is the reading.
    EXPECT_NEAR(static_cast<double>(protokoll.WS_lese_temperatur(0, 3)), 2001.0, 1e-6);

    // Snow: the charge time, at most 951 ms; then 951 ms of rest.
    ASSERT_TRUE(protokoll.teste_schnittstelle("3"));
    p.setze_ladezeit_ms(230.0);
    double start = zeit.zaehler_ms();
    EXPECT_NEAR(protokoll.WS_lese_beschlagen(usbdata::vdcd, usbdata::vtxd, 0), 230.0, 0.02);
    EXPECT_NEAR(zeit.zaehler_ms() - start, 230.0 + 951.0, 0.05);
    p.setze_ladezeit_ms(5000.0);
    EXPECT_NEAR(protokoll.WS_lese_beschlagen(usbdata::vdcd, usbdata::vtxd, 0), 951.0, 0.02);
}

TEST_F(Geraeteprotokoll, AbgezogeneStationLiefertNullUndEineMeldung) {
    simulierte_platine& p = station(3, 2);
    p.setze_kanal(1, 800);
    ASSERT_TRUE(protokoll.teste_schnittstelle("3"));
    p.abziehen();
    EXPECT_EQ(protokoll.WS_lese_irradiation(2), 0);
    ASSERT_EQ(senke.dialoge.size(), 1u);
    EXPECT_NE(senke.dialoge[0].text.find("verschwunden"), std::string::npos);
}
