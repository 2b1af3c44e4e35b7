#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include "data/einstellungen.h"
#include "station/RSCOM.h"
#include "station/posix_port.h"
#include "station/simulierte_ports.h"
#include "support/aufzeichnende_senke.h"

namespace {

// Ports that exist under every name; records the names asked for and how
// many ports are open.
class namensbuch : public port_anbieter {
public:
    class port : public serieller_port {
    public:
        explicit port(int& offen) : offen_(offen) { ++offen_; }
        ~port() override { --offen_; }
        bool konfiguriere(const port_einstellungen& e) override {
            baud = e.baud;
            return true;
        }
        bool setze_timeouts(const port_timeouts&) override { return true; }
        bool setze_dtr(bool) override { return true; }
        bool setze_rts(bool) override { return true; }
        bool setze_break(bool) override { return true; }
        bool modemstatus(uint32_t& b) override {
            b = MODEM_DCD;
            return true;
        }
        int32_t baud = 0;

    private:
        int& offen_;
    };
    std::unique_ptr<serieller_port> oeffne(const std::string& name, port_meldung&) override {
        namen.push_back(name);
        return std::make_unique<port>(offen);
    }
    std::string pfad_von(const std::string& name) override { return name; }
    std::vector<std::string> namen;
    int offen = 0;
};

}  // namespace

using Rscom = mit_meldungen;

TEST_F(Rscom, PortnamenAbCom10ImGeraetenamensraumUndEinHandle) {
    namensbuch ports;
    simulierte_uhr zeit;
    RSCOM r(ports, zeit);
    EXPECT_TRUE(r.oeffne_port("COM5:1200,N,8,1"));
    EXPECT_TRUE(r.oeffne_port("COM12:1200,N,8,1"));
    EXPECT_TRUE(r.oeffne_port("COM100:1200,N,8,1"));
    EXPECT_EQ(ports.namen, (std::vector<std::string>{"COM5", "\\\\.\\COM12", "\\\\.\\COM100"}));
    EXPECT_EQ(portnummer_von(ports.namen[2]), 100);
    // Opening closed the handle before; one port is open.
    EXPECT_EQ(ports.offen, 1);
    EXPECT_EQ(r.lese_dcd(), 1);

    // Settings that cannot be applied: false, though the handle is open.
    EXPECT_FALSE(r.oeffne_port("COM7:1200,X,8,1"));
    EXPECT_EQ(r.letzter_fehler().fehler, port_fehler::einstellung);
    EXPECT_EQ(ports.offen, 1);
    // A text without a colon in place opens nothing.
    EXPECT_FALSE(r.oeffne_port("COM1234567:1200,N,8,1"));
    EXPECT_EQ(ports.offen, 0);
    r.setze_dtr(1);
    EXPECT_EQ(r.lese_dcd(), 0);  // closed: no effect, reads 0
}

TEST(Portschnittstelle, EinstellungstexteUndComZuordnung) {
    struct fall {
        const char* text;
        bool gueltig;
        int32_t baud;
        char paritaet;
        int32_t datenbits;
        double stoppbits;
    };
    const fall faelle[] = {
        {"1200,N,8,1", true, 1200, 'N', 8, 1.0}, {"9600,e,7,2", true, 9600, 'E', 7, 2.0},
        {"1200, N, 8, 1.5", true, 1200, 'N', 8, 1.5}, {"1200,N,8", false, 0, 0, 0, 0},
        {"1200,N,8,1,1", false, 0, 0, 0, 0},      {"abc,N,8,1", false, 0, 0, 0, 0},
        {"1200,N,9,1", false, 0, 0, 0, 0},        {"1200,Q,8,1", false, 0, 0, 0, 0},
    };
    for (const fall& f : faelle) {
        SCOPED_TRACE(f.text);
        port_einstellungen e;
        ASSERT_EQ(lies_port_einstellungen(f.text, e), f.gueltig);
        if (!f.gueltig) continue;
        EXPECT_EQ(e.baud, f.baud);
        EXPECT_EQ(e.paritaet, f.paritaet);
        EXPECT_EQ(e.datenbits, f.datenbits);
        EXPECT_EQ(e.stoppbits, f.stoppbits);
    }

    einstellungen_daten& e = einstellungen();
    const einstellungen_daten vorher = e;
    EXPECT_EQ(com_geraetepfad(1), "/dev/ttyUSB0");
    EXPECT_EQ(com_geraetepfad(5), "/dev/ttyUSB4");
    EXPECT_EQ(com_geraetepfad(0), "");
    e.com_pfadmuster = "/dev/ttyACM{n}";
    e.com_pfade[7] = "/dev/serial/by-id/station";
    EXPECT_EQ(com_geraetepfad(5), "/dev/ttyACM5");
    EXPECT_EQ(com_geraetepfad(7), "/dev/serial/by-id/station");
    e = vorher;
}

TEST_F(Rscom, FehlendeUndVerweigerteSchnittstelleMitKlarerMeldung) {
    // A missing device.
    const port_meldung fehlt = oeffnungsfehler_von(ENOENT, "/dev/ttyUSB4");
    EXPECT_EQ(fehlt.fehler, port_fehler::fehlt);
    EXPECT_EQ(port_fehlertext(fehlt, "COM5"), "Schnittstelle nicht vorhanden: COM5 (/dev/ttyUSB4)");

    // No permission: the message names the group that owns the device.
    const auto datei = verzeichnis / "ttyUSB0";
    std::ofstream(datei) << "";
    ASSERT_EQ(::chown(datei.c_str(), static_cast<uid_t>(-1), 20), 0);  // dialout on Debian
    const port_meldung verweigert = oeffnungsfehler_von(EACCES, datei.string());
    EXPECT_EQ(verweigert.fehler, port_fehler::keine_berechtigung);
    EXPECT_EQ(verweigert.detail, gruppe_von(datei.string()));
    const std::string text = port_fehlertext(verweigert, "COM1");
    EXPECT_NE(text.find("Keine Berechtigung"), std::string::npos) << text;
    EXPECT_NE(text.find("COM1 (" + datei.string() + ")"), std::string::npos) << text;
    EXPECT_NE(text.find("Gruppe sein: " + verweigert.detail + " (sudo usermod -aG " + verweigert.detail), std::string::npos)
        << text;

    setze_sprache(SPRACHE_ENGLISCH);
    EXPECT_NE(port_fehlertext(verweigert, "COM1").find("member of the group"), std::string::npos);
    EXPECT_EQ(port_fehlertext(fehlt, "\\\\.\\COM12"), "Port does not exist: COM12 (/dev/ttyUSB4)");
}

// The operating system's port on a pseudo terminal: termios settings are
// applied, modem lines the driver lacks have no effect, and a port whose
// other side goes away is reported once and closed.
TEST_F(Rscom, PosixPortAufPseudoterminal) {
    int master = -1, slave = -1;
    char name[128] = {};
    ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
    einstellungen_daten& e = einstellungen();
    const einstellungen_daten vorher = e;
    e.com_pfade[9] = name;
    e.com_pfade[8] = (verzeichnis / "gibt_es_nicht").string();

    RSCOM r(system_ports(), systemuhr());
    EXPECT_FALSE(r.oeffne_port("COM8:1200,N,8,1"));
    EXPECT_EQ(r.letzter_fehler().fehler, port_fehler::fehlt);

    ASSERT_TRUE(r.oeffne_port("COM9:1200,N,8,1")) << port_fehlertext(r.letzter_fehler(), "COM9");
    termios t{};
    ASSERT_EQ(::tcgetattr(slave, &t), 0);
    EXPECT_EQ(::cfgetospeed(&t), static_cast<speed_t>(B1200));
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB), 0u);
    EXPECT_NE(t.c_cflag & CLOCAL, 0u);

    // Another program's open of the same port is refused as "in use".
    RSCOM zweites(system_ports(), systemuhr());
    EXPECT_FALSE(zweites.oeffne_port("COM9:1200,N,8,1"));
    EXPECT_EQ(zweites.letzter_fehler().fehler, port_fehler::belegt);

    r.setze_dtr(1);
    r.setze_txd(1);
    r.setze_txd(0);
    EXPECT_EQ(r.lese_dcd(), 0);
    EXPECT_TRUE(r.ist_offen());
    EXPECT_TRUE(senke.dialoge.empty());

    ::close(master);
    ::close(slave);
    r.setze_rts(1);
    EXPECT_FALSE(r.ist_offen());
    r.setze_rts(0);
    EXPECT_EQ(r.lese_dsr(), 0);
    ASSERT_EQ(senke.dialoge.size(), 1u);
    EXPECT_EQ(senke.dialoge[0].text,
              std::string("Schnittstelle während des Betriebs verschwunden (Adapter abgezogen?): COM9 (") + name + ")");
    e = vorher;
}

TEST_F(Rscom, AbgezogenePlatineWirdEinmalGemeldetUndLiestDannNull) {
    simulierte_uhr zeit;
    simulierte_ports ports(zeit);
    simulierte_platine& station = ports.stecke(3, 'W');
    RSCOM r(ports, zeit);
    ASSERT_TRUE(r.oeffne_port("COM3:1200,N,8,1"));
    EXPECT_EQ(r.lese_dcd(), 1);
    station.abziehen();
    EXPECT_EQ(r.lese_dcd(), 0);
    r.setze_dtr(1);
    EXPECT_EQ(r.lese_dcd(), 0);
    ASSERT_EQ(senke.dialoge.size(), 1u);
    EXPECT_EQ(senke.dialoge[0].schwere, 'W');
    EXPECT_NE(senke.dialoge[0].text.find("COM3 (sim:COM3)"), std::string::npos);
    // Plugged in again, the port opens and answers.
    station.einstecken();
    ASSERT_TRUE(r.oeffne_port("COM3:1200,N,8,1"));
    EXPECT_EQ(r.lese_dcd(), 1);
}

TEST_F(Rscom, WarteSekundenEndetAuchUeberMitternacht) {
    simulierte_uhr zeit({2024, 12, 31, 23, 59, 59.95});
    simulierte_ports ports(zeit);
    RSCOM r(ports, zeit);
    r.warte_s(0.1);
    EXPECT_GE(zeit.zaehler_ms(), 100.0);
    EXPECT_LT(zeit.zaehler_ms(), 101.0);
    const datum_uhrzeit d = zeit.jetzt();
    EXPECT_EQ(d.jahr, 2025);
    EXPECT_EQ(d.monat, 1);
    EXPECT_EQ(d.tag, 1);
    EXPECT_EQ(d.stunde, 0);
}

TEST_F(Rscom, UsbTestimpulsNurMitSchalterUndAufCom2) {
    simulierte_uhr zeit;
    simulierte_ports ports(zeit);
    RSCOM r(ports, zeit);

    r.usb_test_impuls("TA");  // flag 'N': nothing at all
    EXPECT_EQ(ports.oeffnungen(), 0);
    EXPECT_TRUE(senke.dialoge.empty());

    r.usb_test_flag = 'Y';
    r.usb_test_impuls("TA");  // no COM2: reported, and the run goes on
    ASSERT_EQ(senke.dialoge.size(), 1u);
    EXPECT_EQ(senke.dialoge[0].text, "Schnittstelle nicht verfügbar");

    simulierte_platine& p = ports.stecke(2, 'S');
    p.aufzeichnen(true);
    const double start = zeit.zaehler_ms();
    r.usb_test_impuls("VEL");
    EXPECT_FALSE(r.ist_offen());
    EXPECT_FALSE(p.offen());
    // TXD in the break state for more than 0.1 s, DTR and RTS low.
    const auto& spur = p.spur();
    ASSERT_GE(spur.size(), 2u);
    EXPECT_TRUE(spur.front().txd);
    EXPECT_FALSE(spur.front().dtr);
    EXPECT_FALSE(spur.back().txd);
    EXPECT_GT(spur.back().ms - spur.front().ms, 100.0);
    EXPECT_LT(zeit.zaehler_ms() - start, 101.0);
}
