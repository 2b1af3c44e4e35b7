#include "support/aufzeichnende_senke.h"

#include <fstream>
#include <unistd.h>

std::vector<std::string> mit_meldungen::protokollzeilen() const {
    std::vector<std::string> zeilen;
    std::ifstream datei(protokolldatei(), std::ios::binary);
    std::string zeile;
    while (std::getline(datei, zeile)) {
        if (!zeile.empty() && zeile.back() == '\r') zeile.pop_back();
        zeilen.push_back(zeile);
    }
    return zeilen;
}
