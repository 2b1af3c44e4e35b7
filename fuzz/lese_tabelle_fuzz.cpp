// libFuzzer target of the table reader: any byte string, read as a
// self-describing file or (first byte 'R') as a raw table whose descriptor
// comes from the next bytes, through the in-memory and the file line source.
// A successful read must be consistent; the code conversion runs over it.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "results/ergebnisdatei_lesen.h"
#include "results/tabellenleser.h"

namespace {

void pruefe(bool bedingung) {
    if (!bedingung) std::abort();
}

void pruefe_gelesen(const parreadtab& tab, const dat3d& werte, const TSDaten& b) {
    pruefe(tab.scheib >= 1 && tab.scheib <= MAXSCHEIBEN);
    pruefe(tab.spalt >= 1 && tab.spalt <= MAXSPALTEN);
    pruefe(werte.scheiben() == tab.scheib && werte.spalten() == tab.spalt);
    for (int32_t s = 1; s <= tab.scheib; ++s) {
        const int32_t soll = b.vzeile[static_cast<std::size_t>(s)] > 0 ? b.vzeile[static_cast<std::size_t>(s)] : tab.zeil;
        pruefe(werte.zeilen(s) == soll);
    }
    for (int32_t c = 1; c <= tab.spalt; ++c) {
        pruefe(tab.feldy[static_cast<std::size_t>(c)].einheit.size() <= 3 * MAXFELDLAENGE);
        pruefe(tab.feldy[static_cast<std::size_t>(c)].name_0.size() <= 3 * MAXFELDLAENGE);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t groesse) {
    std::string_view text(reinterpret_cast<const char*>(daten), groesse);
    TSDaten b;
    char layout = 'n';
    if (text.size() >= 8 && text[0] == 'R') {
        const auto byte = [&](std::size_t i) { return static_cast<int32_t>(static_cast<uint8_t>(text[i])); };
        layout = 'r';
        b.azeile = byte(1) % 4;
        b.bspalte = byte(2) % 4;
        b.nzeile = byte(3) % 40;
        b.mspalte = byte(4) % 64;
        b.lscheibe = byte(5) % 23;
        b.vzeile[1] = byte(6) % 40;
        b.vzeile[2] = byte(7) % 40;
        text.remove_prefix(8);
    }
    static auto d = std::make_unique<datm>();
    const einheitenumrechner umrechner = [](const std::string&, const std::string&, const std::string&, int) {
        return umrechnen_struct{2.0, 1.0, "x"};
    };

    // In memory.
    {
        TSDaten bt = b;
        parreadtab tab;
        dat3d werte;
        text_zeilenquelle quelle(text);
        if (lies_tabelle(quelle, werte, tab, bt, layout) == leseergebnis::ok) {
            pruefe_gelesen(tab, werte, bt);
            rechne_codes_um(tab, werte, *d, umrechner);
            (void)finde_spalte(tab, "jkk");
        }
    }
    // Through the file source, which must agree.
    if (std::FILE* f = std::tmpfile()) {
        std::fwrite(text.data(), 1, text.size(), f);
        std::rewind(f);
        TSDaten b1 = b, b2 = b;
        parreadtab t1, t2;
        dat3d w1, w2;
        datei_zeilenquelle aus_datei(f);
        text_zeilenquelle aus_text(text);
        const leseergebnis e1 = lies_tabelle(aus_datei, w1, t1, b1, layout);
        const leseergebnis e2 = lies_tabelle(aus_text, w2, t2, b2, layout);
        pruefe(e1 == e2);
        std::fclose(f);
    }
    return 0;
}
