// The operating system's serial ports on POSIX systems: termios for the line
// settings, the modem-control ioctls for DTR, RTS, the break state and the
// modem status. Port n is the device path of the settings' COMn mapping.
#ifndef _WIN32

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include "station/posix_port.h"

namespace {

// Errors after which the device is gone (USB adapter pulled out).
bool ist_verschwunden(int fehler) { return fehler == EIO || fehler == ENXIO || fehler == ENODEV || fehler == EBADF; }

bool geschwindigkeit(int32_t baud, speed_t& s) {
    struct eintrag {
        int32_t baud;
        speed_t wert;
    };
    static const eintrag TABELLE[] = {
        {50, B50},       {75, B75},       {110, B110},     {134, B134},       {150, B150},
        {200, B200},     {300, B300},     {600, B600},     {1200, B1200},     {1800, B1800},
        {2400, B2400},   {4800, B4800},   {9600, B9600},   {19200, B19200},   {38400, B38400},
        {57600, B57600}, {115200, B115200}, {230400, B230400},
    };
    for (const eintrag& e : TABELLE) {
        if (e.baud == baud) {
            s = e.wert;
            return true;
        }
    }
    return false;
}

class posix_port : public serieller_port {
public:
    explicit posix_port(int fd) : fd_(fd) {}
    ~posix_port() override { ::close(fd_); }

    bool konfiguriere(const port_einstellungen& e) override {
        termios t{};
        if (::tcgetattr(fd_, &t) != 0) return false;
        speed_t s{};
        if (!geschwindigkeit(e.baud, s)) return false;
        ::cfmakeraw(&t);
        t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | HUPCL);
#ifdef CRTSCTS
        t.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
#endif
#ifdef CMSPAR
        t.c_cflag &= ~static_cast<tcflag_t>(CMSPAR);
#endif
        t.c_cflag |= CLOCAL | CREAD;
        switch (e.datenbits) {
            case 5: t.c_cflag |= CS5; break;
            case 6: t.c_cflag |= CS6; break;
            case 7: t.c_cflag |= CS7; break;
            default: t.c_cflag |= CS8; break;
        }
        switch (e.paritaet) {
            case 'E': t.c_cflag |= PARENB; break;
            case 'O': t.c_cflag |= PARENB | PARODD; break;
#ifdef CMSPAR
            case 'M': t.c_cflag |= PARENB | PARODD | CMSPAR; break;
            case 'S': t.c_cflag |= PARENB | CMSPAR; break;
#else
            case 'M':
            case 'S': return false;
#endif
            default: break;
        }
        // 1.5 stop bits do not exist here; they take two.
        if (e.stoppbits > 1.0) t.c_cflag |= CSTOPB;
        t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
        if (::cfsetispeed(&t, s) != 0 || ::cfsetospeed(&t, s) != 0) return false;
        if (::tcsetattr(fd_, TCSANOW, &t) != 0) return false;
        // No line follows the driver on its own: DTR and RTS low, no break.
        int linien = TIOCM_DTR | TIOCM_RTS;
        ::ioctl(fd_, TIOCMBIC, &linien);
        ::ioctl(fd_, TIOCCBRK);
        return true;
    }

    bool setze_timeouts(const port_timeouts& z) override {
        // No byte is read; a blocking read would wait the total constant.
        termios t{};
        if (::tcgetattr(fd_, &t) != 0) return !ist_verschwunden(errno);
        t.c_cc[VMIN] = 0;
        t.c_cc[VTIME] = static_cast<cc_t>(z.lese_konstante / 100 > 255 ? 255 : z.lese_konstante / 100);
        return ::tcsetattr(fd_, TCSANOW, &t) == 0 || !ist_verschwunden(errno);
    }

    bool setze_dtr(bool an) override { return linie(TIOCM_DTR, an); }
    bool setze_rts(bool an) override { return linie(TIOCM_RTS, an); }

    bool setze_break(bool an) override {
        if (::ioctl(fd_, an ? TIOCSBRK : TIOCCBRK) == 0) return true;
        return !ist_verschwunden(errno);
    }

    bool modemstatus(uint32_t& bits) override {
        int s = 0;
        if (::ioctl(fd_, TIOCMGET, &s) != 0) {
            bits = 0;
            return !ist_verschwunden(errno);
        }
        bits = 0;
        if (s & TIOCM_CTS) bits |= MODEM_CTS;
        if (s & TIOCM_DSR) bits |= MODEM_DSR;
        if (s & TIOCM_RI) bits |= MODEM_RI;
        if (s & TIOCM_CD) bits |= MODEM_DCD;
        return true;
    }

private:
    bool linie(int bit, bool an) {
        if (::ioctl(fd_, an ? TIOCMBIS : TIOCMBIC, &bit) == 0) return true;
        // A driver without modem lines leaves them as they are; only a
        // vanished device counts as a failure.
        return !ist_verschwunden(errno);
    }

    int fd_;
};

}  // namespace

std::string gruppe_von(const std::string& pfad) {
    struct stat st{};
    if (::stat(pfad.c_str(), &st) != 0) return "";
    const group* g = ::getgrgid(st.st_gid);
    return g && g->gr_name ? g->gr_name : std::to_string(st.st_gid);
}

port_meldung oeffnungsfehler_von(int fehler, const std::string& pfad) {
    switch (fehler) {
        case ENOENT:
        case ENODEV:
        case ENXIO:
        case ENOTDIR:
            return {port_fehler::fehlt, pfad, ""};
        case EACCES:
        case EPERM:
            return {port_fehler::keine_berechtigung, pfad, gruppe_von(pfad)};
        case EBUSY:
        case EWOULDBLOCK:
            return {port_fehler::belegt, pfad, ""};
        default:
            return {port_fehler::sonstiger, pfad, std::strerror(fehler)};
    }
}

std::unique_ptr<serieller_port> posix_ports::oeffne(const std::string& geraetename, port_meldung& fehler) {
    const std::string pfad = pfad_von(geraetename);
    if (pfad.empty()) {
        fehler = {port_fehler::fehlt, geraetename, ""};
        return nullptr;
    }
    const int fd = ::open(pfad.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        fehler = oeffnungsfehler_von(errno, pfad);
        return nullptr;
    }
    if (!::isatty(fd)) {
        ::close(fd);
        fehler = {port_fehler::sonstiger, pfad, std::strerror(ENOTTY)};
        return nullptr;
    }
    // Not shared: a lock against programs that honour it, and exclusive
    // mode against further opens.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int e = errno;
        ::close(fd);
        fehler = oeffnungsfehler_von(e == EWOULDBLOCK ? EBUSY : e, pfad);
        return nullptr;
    }
    ::ioctl(fd, TIOCEXCL);
    fehler = {port_fehler::keiner, pfad, ""};
    return std::make_unique<posix_port>(fd);
}

std::string posix_ports::pfad_von(const std::string& geraetename) {
    return com_geraetepfad(portnummer_von(geraetename));
}

port_anbieter& system_ports() {
    static posix_ports p;
    return p;
}

#endif
