#pragma once
// The serial port behind the port module: opening a port by its device name,
// applying the line settings, driving DTR, RTS and the break state of TXD and
// reading the modem status. No data bytes are ever transferred.
//
// Implementations: the operating system's ports (POSIX termios/ioctl, Win32)
// and the simulated device boards.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// Bits of the modem status (as the Win32 modem status word).
constexpr uint32_t MODEM_CTS = 0x10;
constexpr uint32_t MODEM_DSR = 0x20;
constexpr uint32_t MODEM_RI = 0x40;
constexpr uint32_t MODEM_DCD = 0x80;

// Line settings from a text such as "1200,N,8,1".
struct port_einstellungen {
    int32_t baud = 1200;
    char paritaet = 'N';        // N, E, O, M, S
    int32_t datenbits = 8;      // 5..8
    double stoppbits = 1.0;     // 1, 1.5 or 2
};
// Reads "baud,parity,data bits,stop bits"; false when the text does not fit.
bool lies_port_einstellungen(const std::string& text, port_einstellungen& e);

// Timeouts of the port in milliseconds (as the Win32 timeout block).
struct port_timeouts {
    uint32_t lese_intervall = 1;
    uint32_t lese_multiplikator = 1;
    uint32_t lese_konstante = 300;
    uint32_t schreib_multiplikator = 10;
    uint32_t schreib_konstante = 300;
};

// Why a port could not be used.
enum class port_fehler {
    keiner,
    fehlt,              // no such device
    keine_berechtigung, // the user may not open it
    belegt,             // another program holds it
    einstellung,        // the settings could not be applied
    verschwunden,       // it went away while open (adapter unplugged)
    sonstiger,
};

struct port_meldung {
    port_fehler fehler = port_fehler::keiner;
    std::string pfad;    // device path or name the port stands for
    std::string detail;  // system text or group name
};

// One open port. The line operations return false when the port no longer
// answers (the adapter was unplugged); the status read then yields nothing.
class serieller_port {
public:
    virtual ~serieller_port() = default;
    virtual bool konfiguriere(const port_einstellungen& e) = 0;
    virtual bool setze_timeouts(const port_timeouts& t) = 0;
    virtual bool setze_dtr(bool an) = 0;
    virtual bool setze_rts(bool an) = 0;
    virtual bool setze_break(bool an) = 0;
    // The modem status bits; false when the port does not answer.
    virtual bool modemstatus(uint32_t& bits) = 0;
};

// Opens ports by their device name: "COM1" .. "COM9", "\\.\COM10" and up.
class port_anbieter {
public:
    virtual ~port_anbieter() = default;
    // The open port, or nullptr with the reason in `fehler`.
    virtual std::unique_ptr<serieller_port> oeffne(const std::string& geraetename, port_meldung& fehler) = 0;
    // The device path or name that a port name stands for (for messages).
    virtual std::string pfad_von(const std::string& geraetename) = 0;
};

// The port number of a device name ("COM12", "\\.\COM12" -> 12); 0 when the
// name is none.
int32_t portnummer_von(const std::string& geraetename);

// Device path of port n on POSIX systems after the settings' mapping
// (default /dev/ttyUSB(n-1)); empty for n < 1.
std::string com_geraetepfad(int32_t nummer);

// Checks a mapping pattern of COMn to a device path: not empty, at least
// one placeholder "{n}" or "{n-1}", no other brace. The reason (in the
// current language) when it is refused, nothing when it is usable.
std::optional<std::string> pruefe_com_muster(const std::string& muster);

// The operating system's ports: POSIX ports through the COMn mapping of the
// settings, or the Win32 communication devices.
port_anbieter& system_ports();
