#pragma once
// The port module: one open serial port for the whole program, its line
// operations and the module-wide millisecond timer.
//
// Opening a port closes the one that is open; nothing else closes it but
// `schliesse_port` and the USB test pulse. Line operations on a closed or
// failed handle have no effect and read 0. A port that stops answering (an
// adapter pulled out during a run) is reported once and then treated as
// closed.

#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "station/schnittstelle.h"
#include "station/uhr.h"

class RSCOM {
public:
    RSCOM(port_anbieter& anbieter, uhr& zeit);
    ~RSCOM();
    RSCOM(const RSCOM&) = delete;
    RSCOM& operator=(const RSCOM&) = delete;

    // Swaps the ports and the clock (simulated devices); closes the open port.
    void setze_anschluss(port_anbieter& anbieter, uhr& zeit);

    // Opens the port of a text "name:settings", e.g. "COM5:1200,N,8,1";
    // from COM10 on the name gets the device-namespace prefix "\\.\".
    // True when the settings could be applied.
    bool oeffne_port(const std::string& text);
    void setze_timeouts(uint32_t konstante);
    void schliesse_port();

    void setze_dtr(int pegel);
    void setze_rts(int pegel);
    // 1 puts TXD into the break state, 0 clears it.
    void setze_txd(int pegel);
    int lese_cts();
    int lese_dsr();
    int lese_ri();
    int lese_dcd();

    // The timer: one start mark for the module, so waits do not nest.
    void starte_zeitmessung();
    double zeit_ms();
    // Busy-waits until zeit_ms() >= ms, without restarting the timer.
    void warte_bis_ms(double ms);
    // Busy-waits until more than `sekunden` of the time of day have passed.
    void warte_s(double sekunden);

    // Test pulse on COM2 for an oscilloscope ("TA": DTR 0, RTS 1; "VEL":
    // DTR 0, TXD 1; 0.1 s; then RTS 0, TXD 0 and the port closed). Only when
    // the USB-test flag is 'Y'.
    void usb_test_impuls(const std::string& signal);
    char usb_test_flag = 'N';

    uhr& zeit() { return *uhr_; }
    bool ist_offen() const { return static_cast<bool>(port_); }
    // Device name of the open port ("COM5", "\\.\COM12"); empty when closed.
    const std::string& offener_name() const { return name_; }
    // Why the last open failed (fehler = keiner after a successful open).
    const port_meldung& letzter_fehler() const { return letzter_fehler_; }
    // The device path a port number stands for.
    std::string pfad_von_port(int32_t nummer);

    // Reports the last open failure through `meldung` unless it is a missing
    // port and `auch_fehlend` is false; each problem of a path is reported
    // once until that path opens again.
    void melde_oeffnungsfehler(bool auch_fehlend);

private:
    // Applies a line operation; a port that no longer answers is reported
    // and closed.
    void verloren();
    int lese_bit(uint32_t bit);

    port_anbieter* anbieter_;
    uhr* uhr_;
    std::unique_ptr<serieller_port> port_;
    std::string name_;
    std::string versuchter_name_;  // name of the last open attempt
    port_meldung letzter_fehler_;
    std::set<std::string> gemeldet_;  // path + problem reported once
    double startmarke_ = 0.0;
};

// The program's port module (operating-system ports, real clock).
RSCOM& rscom();

// Message text of a port problem for port name `name`.
std::string port_fehlertext(const port_meldung& m, const std::string& name);
