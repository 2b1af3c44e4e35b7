#include "app/handbuch.h"

namespace fs = std::filesystem;

fs::path handbuch_verzeichnis() {
    std::error_code ec;
    const fs::path programm = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        const fs::path installiert = programm.parent_path().parent_path() / "share" / "varnek" / "handbuch";
        if (fs::is_directory(installiert, ec)) return installiert;
    }
    return fs::path(VARNEK_SOURCE_DIR) / "data" / "handbuch";
}

std::optional<anleitung> finde_anleitung(const fs::path& textverzeichnis, const std::string& eigene_datei,
                                         bool englisch, const std::string& abschnitt) {
    std::error_code ec;
    if (!eigene_datei.empty() && fs::is_regular_file(textverzeichnis / eigene_datei, ec))
        return anleitung{textverzeichnis / eigene_datei, {}};
    const fs::path mitgeliefert = handbuch_verzeichnis() / (englisch ? "Anleitung-Englisch.html" : "Anleitung.html");
    if (fs::is_regular_file(mitgeliefert, ec)) return anleitung{mitgeliefert, abschnitt};
    return std::nullopt;
}
