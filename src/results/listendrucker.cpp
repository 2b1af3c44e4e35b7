#include "results/listendrucker.h"

#include <algorithm>
#include <charconv>

std::string druckzahl(double x) {
    char puffer[64];
    const auto r = std::to_chars(puffer, puffer + sizeof puffer, x);
    return std::string(puffer, r.ptr);
}

std::vector<druckposition> listendruck_layout(int anzahl, int seitenbreite, int seitenhoehe, int zeilenhoehe) {
    return listendruck_layout(std::vector<druckzeile>(static_cast<size_t>(std::max(anzahl, 0))), seitenbreite,
                              seitenhoehe, zeilenhoehe);
}

std::vector<druckposition> listendruck_layout(const std::vector<druckzeile>& zeilen, int seitenbreite,
                                              int seitenhoehe, int zeilenhoehe) {
    std::vector<druckposition> pos;
    const int hoehe = std::max(zeilenhoehe, 1);
    const int pro_seite = std::max((seitenhoehe - 2 * LISTENDRUCK_RAND) / hoehe, 1);
    pos.reserve(zeilen.size());
    int seite = 1, zaehler = 0;  // lines already on the page
    for (size_t i = 0; i < zeilen.size(); ++i) {
        const int zusammen = std::max(zeilen[i].zusammen, 1);
        const bool fortsetzung = i > 0 && zeilen[i - 1].zusammen == zusammen + 1;
        if (zaehler >= pro_seite || (zaehler > 0 && !fortsetzung && zaehler + zusammen > pro_seite)) {
            ++seite;
            zaehler = 0;
        }
        druckposition p;
        p.seite = seite;
        p.y = LISTENDRUCK_RAND + zaehler * hoehe;
        p.x_label = LISTENDRUCK_LABEL_X;
        p.x_wert = seitenbreite / 2;
        pos.push_back(p);
        ++zaehler;
    }
    return pos;
}
