#include "results/dateiersatz.h"

#include <cerrno>
#include <cstring>
#include <random>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

std::string zufallsteil() {
    thread_local std::mt19937_64 zufall{std::random_device{}()};
    static const char zeichen[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string s(8, 'x');
    for (char& c : s) c = zeichen[zufall() % (sizeof zeichen - 1)];
    return s;
}

std::string systemgrund() { return std::strerror(errno); }

#ifndef _WIN32
// Flushes a file or a folder entry to the disk.
bool synchronisiere(const std::filesystem::path& p, int flags, std::string& grund) {
    const int fd = ::open(p.c_str(), flags | O_CLOEXEC);
    if (fd < 0) {
        grund = systemgrund();
        return false;
    }
    const bool ok = ::fsync(fd) == 0;
    if (!ok) grund = systemgrund();
    ::close(fd);
    return ok;
}
#endif

}  // namespace

std::optional<std::filesystem::path> lege_temporaere_datei_an(const std::filesystem::path& ziel,
                                                              std::string& grund) {
    const std::filesystem::path ordner = ziel.has_parent_path() ? ziel.parent_path() : ".";
    for (int versuch = 0; versuch < 100; ++versuch) {
        const std::filesystem::path p =
            ordner / ("." + ziel.filename().string() + "." + zufallsteil() + ".tmp");
#ifdef _WIN32
        HANDLE h = CreateFileW(p.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            CloseHandle(h);
            return p;
        }
        if (GetLastError() != ERROR_FILE_EXISTS) {
            grund = std::system_category().message(static_cast<int>(GetLastError()));
            return std::nullopt;
        }
#else
        const int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return p;
        }
        if (errno != EEXIST) {
            grund = systemgrund();
            return std::nullopt;
        }
#endif
    }
    grund = "no free temporary name";
    return std::nullopt;
}

bool ersetze_datei(const std::filesystem::path& temporaer, const std::filesystem::path& ziel,
                   std::string& grund) {
#ifdef _WIN32
    HANDLE h = CreateFileW(temporaer.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE || !FlushFileBuffers(h)) {
        grund = std::system_category().message(static_cast<int>(GetLastError()));
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        return false;
    }
    CloseHandle(h);
    if (!MoveFileExW(temporaer.c_str(), ziel.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        grund = std::system_category().message(static_cast<int>(GetLastError()));
        return false;
    }
    return true;
#else
    if (!synchronisiere(temporaer, O_WRONLY, grund)) return false;
    if (::rename(temporaer.c_str(), ziel.c_str()) != 0) {
        grund = systemgrund();
        return false;
    }
    // The rename itself reaches the disk with the folder entry.
    const std::filesystem::path ordner = ziel.has_parent_path() ? ziel.parent_path() : ".";
    std::string egal;
    synchronisiere(ordner, O_RDONLY | O_DIRECTORY, egal);
    return true;
#endif
}

void entferne_temporaere_reste(const std::filesystem::path& ziel) {
    const std::filesystem::path ordner = ziel.has_parent_path() ? ziel.parent_path() : ".";
    const std::string anfang = "." + ziel.filename().string() + ".";
    std::error_code ec;
    std::vector<std::filesystem::path> reste;
    for (std::filesystem::directory_iterator it(ordner, ec), ende; !ec && it != ende; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        // ".<name>." + 8 characters + ".tmp"
        if (name.size() == anfang.size() + 12 && name.rfind(anfang, 0) == 0 &&
            name.compare(name.size() - 4, 4, ".tmp") == 0)
            reste.push_back(it->path());
    }
    for (const auto& p : reste) std::filesystem::remove(p, ec);
}
