#include "station/schnittstelle.h"

#include <cctype>
#include <cstdlib>
#include <vector>

#include "data/einstellungen.h"
#include "lang/stationstexte.h"

namespace {

std::string ohne_leerzeichen(const std::string& s) {
    std::string r;
    for (char c : s) {
        if (!std::isspace(static_cast<unsigned char>(c))) r += c;
    }
    return r;
}

bool ganzzahl(const std::string& s, int32_t& wert) {
    if (s.empty() || s.size() > 9) return false;
    for (char c : s) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    }
    wert = static_cast<int32_t>(std::strtol(s.c_str(), nullptr, 10));
    return true;
}

}  // namespace

bool lies_port_einstellungen(const std::string& text, port_einstellungen& e) {
    std::vector<std::string> teile;
    const std::string t = ohne_leerzeichen(text);
    for (size_t anfang = 0;;) {
        const size_t komma = t.find(',', anfang);
        teile.push_back(t.substr(anfang, komma == std::string::npos ? std::string::npos : komma - anfang));
        if (komma == std::string::npos) break;
        anfang = komma + 1;
    }
    if (teile.size() != 4) return false;
    port_einstellungen r;
    if (!ganzzahl(teile[0], r.baud) || r.baud <= 0) return false;
    if (teile[1].size() != 1) return false;
    r.paritaet = static_cast<char>(std::toupper(static_cast<unsigned char>(teile[1][0])));
    if (std::string("NEOMS").find(r.paritaet) == std::string::npos) return false;
    if (!ganzzahl(teile[2], r.datenbits) || r.datenbits < 5 || r.datenbits > 8) return false;
    if (teile[3] == "1") r.stoppbits = 1.0;
    else if (teile[3] == "1.5") r.stoppbits = 1.5;
    else if (teile[3] == "2") r.stoppbits = 2.0;
    else return false;
    e = r;
    return true;
}

int32_t portnummer_von(const std::string& geraetename) {
    std::string name = geraetename;
    const std::string praefix = "\\\\.\\";
    if (name.rfind(praefix, 0) == 0) name = name.substr(praefix.size());
    if (name.size() < 4) return 0;
    for (int i = 0; i < 3; ++i) {
        if (std::toupper(static_cast<unsigned char>(name[static_cast<size_t>(i)])) != "COM"[i]) return 0;
    }
    int32_t n = 0;
    return ganzzahl(name.substr(3), n) ? n : 0;
}

std::string com_geraetepfad(int32_t nummer) {
    if (nummer < 1) return "";
    const einstellungen_daten& e = einstellungen();
    if (const auto it = e.com_pfade.find(nummer); it != e.com_pfade.end()) return it->second;
    std::string pfad = e.com_pfadmuster;
    for (const auto& [platzhalter, wert] :
         {std::pair<std::string, int32_t>{"{n-1}", nummer - 1}, std::pair<std::string, int32_t>{"{n}", nummer}}) {
        for (size_t p = pfad.find(platzhalter); p != std::string::npos; p = pfad.find(platzhalter, p)) {
            pfad.replace(p, platzhalter.size(), std::to_string(wert));
        }
    }
    return pfad;
}

std::optional<std::string> pruefe_com_muster(const std::string& muster) {
    bool platzhalter = false;
    for (std::size_t p = 0; p < muster.size(); ++p) {
        if (muster[p] == '{') {
            const bool n = muster.compare(p, 3, "{n}") == 0, n1 = muster.compare(p, 5, "{n-1}") == 0;
            if (!n && !n1) return stationstexte::com_muster_platzhalter.text() + "\"" + muster + "\"";
            platzhalter = true;
            p += n ? 2 : 4;
        } else if (muster[p] == '}') {
            return stationstexte::com_muster_platzhalter.text() + "\"" + muster + "\"";
        }
    }
    if (!platzhalter) return stationstexte::com_muster_leer.text() + "\"" + muster + "\"";
    return std::nullopt;
}
