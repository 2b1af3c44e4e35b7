#include "results/dateisperre.h"

#include <algorithm>
#include <cstdint>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

constexpr std::chrono::milliseconds NEUER_VERSUCH{20};

enum class versuch { genommen, belegt, fehler };

#ifdef _WIN32

versuch versuche(const std::filesystem::path& sperrdatei, std::intptr_t& handle) {
    HANDLE h = CreateFileW(sperrdatei.c_str(), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (h == INVALID_HANDLE_VALUE) return versuch::fehler;
    OVERLAPPED ov{};
    if (!LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &ov)) {
        const DWORD grund = GetLastError();
        CloseHandle(h);
        return grund == ERROR_LOCK_VIOLATION ? versuch::belegt : versuch::fehler;
    }
    handle = reinterpret_cast<std::intptr_t>(h);
    return versuch::genommen;
}

void gib_frei(const std::filesystem::path&, std::intptr_t handle) {
    HANDLE h = reinterpret_cast<HANDLE>(handle);
    OVERLAPPED ov{};
    UnlockFileEx(h, 0, 1, 0, &ov);
    CloseHandle(h);
}

#else

versuch versuche(const std::filesystem::path& sperrdatei, std::intptr_t& handle) {
    const int fd = ::open(sperrdatei.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return versuch::fehler;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int grund = errno;
        ::close(fd);
        return grund == EWOULDBLOCK ? versuch::belegt : versuch::fehler;
    }
    // The holder before us removes the lock file when it releases it; a lock
    // on a file that is no longer under this name protects nothing, so take
    // the file that is there now.
    struct stat offen{}, benannt{};
    if (::fstat(fd, &offen) != 0 || ::stat(sperrdatei.c_str(), &benannt) != 0 ||
        offen.st_ino != benannt.st_ino || offen.st_dev != benannt.st_dev) {
        ::close(fd);
        return versuch::belegt;
    }
    handle = fd;
    return versuch::genommen;
}

void gib_frei(const std::filesystem::path& sperrdatei, std::intptr_t handle) {
    // Remove while still holding the lock, so that no one locks a file that
    // is about to disappear.
    ::unlink(sperrdatei.c_str());
    ::close(static_cast<int>(handle));
}

#endif

}  // namespace

std::filesystem::path dateisperre::sperrdatei(const std::filesystem::path& datei) {
    return datei.parent_path() / ("." + datei.filename().string() + ".lock");
}

std::optional<dateisperre> dateisperre::belege(std::vector<std::filesystem::path> dateien,
                                               std::chrono::milliseconds warten,
                                               std::filesystem::path* belegt) {
    std::sort(dateien.begin(), dateien.end());
    dateien.erase(std::unique(dateien.begin(), dateien.end()), dateien.end());
    const auto frist = std::chrono::steady_clock::now() + warten;
    dateisperre s;
    for (const auto& datei : dateien) {
        const std::filesystem::path sperr = sperrdatei(datei);
        for (;;) {
            std::intptr_t handle = -1;
            const versuch v = versuche(sperr, handle);
            if (v == versuch::genommen) {
                s.sperren_.push_back({sperr, handle});
                break;
            }
            // A lock file that cannot even be created (folder missing or not
            // writable) is not a lock held by someone else; the writer will
            // report that folder with its own message.
            if (v == versuch::fehler) break;
            if (std::chrono::steady_clock::now() >= frist) {
                if (belegt) *belegt = datei;
                return std::nullopt;  // `s` releases the locks taken so far
            }
            std::this_thread::sleep_for(NEUER_VERSUCH);
        }
    }
    return s;
}

dateisperre::dateisperre(dateisperre&& andere) noexcept : sperren_(std::move(andere.sperren_)) {
    andere.sperren_.clear();
}

dateisperre& dateisperre::operator=(dateisperre&& andere) noexcept {
    if (this != &andere) {
        freigeben();
        sperren_ = std::move(andere.sperren_);
        andere.sperren_.clear();
    }
    return *this;
}

dateisperre::~dateisperre() { freigeben(); }

void dateisperre::freigeben() {
    for (auto it = sperren_.rbegin(); it != sperren_.rend(); ++it) gib_frei(it->sperrdatei, it->handle);
    sperren_.clear();
}
