// The operating system's serial ports on Windows: the communication devices
// "COM1".."COM9" and "\\.\COM10" and up, with the device-control block, the
// comm timeouts, EscapeCommFunction and GetCommModemStatus.
#ifdef _WIN32

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

#include "station/schnittstelle.h"

namespace {

bool ist_verschwunden(DWORD fehler) {
    return fehler == ERROR_DEVICE_REMOVED || fehler == ERROR_BAD_COMMAND || fehler == ERROR_GEN_FAILURE ||
           fehler == ERROR_OPERATION_ABORTED || fehler == ERROR_INVALID_HANDLE || fehler == ERROR_FILE_NOT_FOUND;
}

std::string systemtext(DWORD fehler) {
    char* puffer = nullptr;
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, fehler, 0, reinterpret_cast<LPSTR>(&puffer), 0, nullptr);
    std::string text = n && puffer ? std::string(puffer, n) : std::to_string(fehler);
    if (puffer) LocalFree(puffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
    return text;
}

class win32_port : public serieller_port {
public:
    explicit win32_port(HANDLE h) : h_(h) {}
    ~win32_port() override { CloseHandle(h_); }

    bool konfiguriere(const port_einstellungen& e) override {
        DCB dcb{};
        dcb.DCBlength = sizeof(DCB);
        if (!GetCommState(h_, &dcb)) return false;
        const char paritaet[2] = {e.paritaet, '\0'};
        const std::string text = std::to_string(e.baud) + "," + paritaet + "," + std::to_string(e.datenbits) + "," +
                                 (e.stoppbits == 1.5 ? "1.5" : e.stoppbits > 1.0 ? "2" : "1");
        if (!BuildCommDCBA(text.c_str(), &dcb)) return false;
        // Binary mode only: no parity check, no handshake, DTR and RTS are
        // driven by the program alone.
        dcb.fBinary = TRUE;
        dcb.fParity = FALSE;
        dcb.fOutxCtsFlow = FALSE;
        dcb.fOutxDsrFlow = FALSE;
        dcb.fDtrControl = DTR_CONTROL_DISABLE;
        dcb.fDsrSensitivity = FALSE;
        dcb.fTXContinueOnXoff = FALSE;
        dcb.fOutX = FALSE;
        dcb.fInX = FALSE;
        dcb.fErrorChar = FALSE;
        dcb.fNull = FALSE;
        dcb.fRtsControl = RTS_CONTROL_DISABLE;
        dcb.fAbortOnError = FALSE;
        return SetCommState(h_, &dcb) != FALSE;
    }

    bool setze_timeouts(const port_timeouts& z) override {
        COMMTIMEOUTS t{};
        t.ReadIntervalTimeout = z.lese_intervall;
        t.ReadTotalTimeoutMultiplier = z.lese_multiplikator;
        t.ReadTotalTimeoutConstant = z.lese_konstante;
        t.WriteTotalTimeoutMultiplier = z.schreib_multiplikator;
        t.WriteTotalTimeoutConstant = z.schreib_konstante;
        return SetCommTimeouts(h_, &t) != FALSE || !ist_verschwunden(GetLastError());
    }

    bool setze_dtr(bool an) override { return funktion(an ? SETDTR : CLRDTR); }
    bool setze_rts(bool an) override { return funktion(an ? SETRTS : CLRRTS); }
    bool setze_break(bool an) override { return funktion(an ? SETBREAK : CLRBREAK); }

    bool modemstatus(uint32_t& bits) override {
        DWORD s = 0;
        if (!GetCommModemStatus(h_, &s)) {
            bits = 0;
            return !ist_verschwunden(GetLastError());
        }
        bits = 0;
        if (s & MS_CTS_ON) bits |= MODEM_CTS;
        if (s & MS_DSR_ON) bits |= MODEM_DSR;
        if (s & MS_RING_ON) bits |= MODEM_RI;
        if (s & MS_RLSD_ON) bits |= MODEM_DCD;
        return true;
    }

private:
    bool funktion(DWORD f) { return EscapeCommFunction(h_, f) != FALSE || !ist_verschwunden(GetLastError()); }

    HANDLE h_;
};

class win32_ports : public port_anbieter {
public:
    std::unique_ptr<serieller_port> oeffne(const std::string& geraetename, port_meldung& fehler) override {
        const HANDLE h = CreateFileA(geraetename.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                     0, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            const DWORD e = GetLastError();
            if (e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND) {
                fehler = {port_fehler::fehlt, geraetename, ""};
            } else if (e == ERROR_ACCESS_DENIED || e == ERROR_SHARING_VIOLATION) {
                // Windows refuses a second open of a port with access denied.
                fehler = {port_fehler::belegt, geraetename, systemtext(e)};
            } else {
                fehler = {port_fehler::sonstiger, geraetename, systemtext(e)};
            }
            return nullptr;
        }
        fehler = {port_fehler::keiner, geraetename, ""};
        return std::make_unique<win32_port>(h);
    }
    std::string pfad_von(const std::string& geraetename) override { return geraetename; }
};

}  // namespace

port_anbieter& system_ports() {
    static win32_ports p;
    return p;
}

#endif
