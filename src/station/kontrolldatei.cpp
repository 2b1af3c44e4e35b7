#include "station/kontrolldatei.h"

#include <fstream>
#include <string>
#include <system_error>

std::filesystem::path kontrolldatei_pfad(const std::filesystem::path& verzeichnis) {
    return verzeichnis / KONTROLLDATEI_NAME;
}

namespace {

bool schreibe_zeile(const std::filesystem::path& datei, const char* zeile) {
    std::ofstream f(datei, std::ios::binary | std::ios::trunc);
    if (!f) return false;
    f << zeile << "\r\n";
    f.close();
    return static_cast<bool>(f);
}

}  // namespace

bool schreibe_kontrolldatei_start(const std::filesystem::path& datei) {
    std::error_code ec;
    std::filesystem::remove(datei, ec);
    return schreibe_zeile(datei, "START");
}

bool schreibe_kontrolldatei_stop(const std::filesystem::path& datei) {
    std::filesystem::path temp = datei;
    temp += ".neu";
    if (!schreibe_zeile(temp, "STOP")) return false;
    std::error_code ec;
    std::filesystem::rename(temp, datei, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        return false;
    }
    return true;
}

std::string erste_zeile(const std::filesystem::path& datei) {
    std::ifstream f(datei, std::ios::binary);
    if (!f) return {};
    std::string zeile;
    char c = 0;
    // A line ends at LF, CR LF or a lone CR, as text files of either
    // platform write it.
    while (f.get(c) && c != '\n' && c != '\r') zeile += c;
    return zeile;
}

bool kontrolldatei_stop(const std::filesystem::path& datei) { return erste_zeile(datei) == "STOP"; }
