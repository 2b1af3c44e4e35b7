#include "results/tabellenleser.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>

#include "results/cp1252.h"

// ---------------------------------------------------------------------------
// Line sources
// ---------------------------------------------------------------------------
namespace {

std::string_view ohne_cr(std::string_view z) {
    if (!z.empty() && z.back() == '\r') z.remove_suffix(1);
    return z;
}

}  // namespace

bool text_zeilenquelle::naechste(std::string_view& zeile) {
    if (ende_ || zu_lang_) return false;
    const std::size_t lf = rest_.find('\n');
    if (lf == std::string_view::npos) {
        ende_ = true;
        if (rest_.empty()) return false;
        zeile = ohne_cr(rest_);
        rest_ = {};
    } else {
        zeile = ohne_cr(rest_.substr(0, lf));
        rest_.remove_prefix(lf + 1);
    }
    if (zeile.size() > MAXZEILENLAENGE) {
        zu_lang_ = true;
        return false;
    }
    return true;
}

bool datei_zeilenquelle::naechste(std::string_view& zeile) {
    if (zu_lang_ || lesefehler_) return false;
    std::size_t gesucht = anfang_;
    for (;;) {
        const std::size_t lf = puffer_.find('\n', gesucht);
        if (lf != std::string::npos) {
            zeile = ohne_cr(std::string_view(puffer_).substr(anfang_, lf - anfang_));
            anfang_ = lf + 1;
            break;
        }
        if (puffer_.size() - anfang_ > MAXZEILENLAENGE + 1) {
            zu_lang_ = true;
            return false;
        }
        if (dateiende_) {
            if (anfang_ == puffer_.size()) return false;
            zeile = ohne_cr(std::string_view(puffer_).substr(anfang_));
            anfang_ = puffer_.size();
            break;
        }
        // Keep only the unfinished line (the line handed out last is done
        // with), then read the next block behind it.
        puffer_.erase(0, anfang_);
        anfang_ = 0;
        gesucht = puffer_.size();
        constexpr std::size_t block = 1 << 16;
        puffer_.resize(gesucht + block);
        const std::size_t gelesen = std::fread(puffer_.data() + gesucht, 1, block, datei_);
        puffer_.resize(gesucht + gelesen);
        if (gelesen < block) {
            if (std::ferror(datei_)) {
                lesefehler_ = true;
                return false;
            }
            dateiende_ = true;
        }
    }
    if (zeile.size() > MAXZEILENLAENGE) {
        zu_lang_ = true;
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------
// Field and number extraction
// ---------------------------------------------------------------------------
namespace {

bool ist_trenner(char c) { return c == ' ' || c == ',' || c == '\0' || c == '\t' || c == '\r'; }

void ueberspringe_trenner(std::string_view& s) {
    std::size_t i = 0;
    while (i < s.size() && ist_trenner(s[i])) ++i;
    s.remove_prefix(i);
}

std::string_view naechstes_wort(std::string_view& s) {
    ueberspringe_trenner(s);
    std::size_t i = 0;
    while (i < s.size() && !ist_trenner(s[i])) ++i;
    const std::string_view w = s.substr(0, i);
    s.remove_prefix(i);
    return w;
}

bool naechste_ganzzahl(std::string_view& s, int64_t& wert) {
    std::string_view w = naechstes_wort(s);
    if (!w.empty() && w.front() == '+') w.remove_prefix(1);
    if (w.empty()) return false;
    const auto r = std::from_chars(w.data(), w.data() + w.size(), wert);
    return r.ec == std::errc{} && r.ptr == w.data() + w.size();
}

bool naechste_zahl(std::string_view& s, double& wert) {
    std::string_view w = naechstes_wort(s);
    if (!w.empty() && w.front() == '+') w.remove_prefix(1);
    if (w.empty()) return false;
    const auto r = std::from_chars(w.data(), w.data() + w.size(), wert);
    return r.ec == std::errc{} && r.ptr == w.data() + w.size();
}

// The text up to the next comma with every blank removed; the field and its
// comma leave the line. False when there is no comma, or when `begrenzt` and
// the field has more than MAXFELDLAENGE characters.
bool naechstes_feld(std::string_view& s, std::string& feld, bool begrenzt) {
    const std::size_t komma = s.find(',');
    if (komma == std::string_view::npos) return false;
    std::string roh;
    for (const char c : s.substr(0, komma))
        if (c != ' ') roh += c;
    s.remove_prefix(komma + 1);
    if (begrenzt && roh.size() > MAXFELDLAENGE) return false;
    feld = cp1252_nach_utf8(roh);
    return true;
}

std::string_view bis_nul(std::string_view z) {
    const std::size_t nul = z.find('\0');
    return nul == std::string_view::npos ? z : z.substr(0, nul);
}

bool in_bereich(int64_t x, int64_t min, int64_t max) { return x >= min && x <= max; }

class leser {
public:
    leser(zeilenquelle& q, dat3d& ziel, parreadtab& tab, TSDaten& b, char layout)
        : q_(q), ziel_(ziel), tab_(tab), b_(b), selbstbeschreibend_(layout == 'n') {}

    leseergebnis lies() {
        ziel_.leere();
        if (selbstbeschreibend_) {
            const std::string name = b_.name;
            b_ = TSDaten{};
            b_.name = name;
        }
        int64_t zeil = 0, spalt = 0, scheib = 0;
        if (selbstbeschreibend_) {
            std::string_view z;
            if (!naechste(z)) return leseergebnis::falsches_format;
            tab_.hauptname = cp1252_nach_utf8(bis_nul(z));
            if (!naechste(z)) return leseergebnis::falsches_format;
            if (!naechste_ganzzahl(z, zeil) || !naechste_ganzzahl(z, spalt) ||
                !naechste_ganzzahl(z, scheib))
                return leseergebnis::falsches_format;
        } else {
            for (int32_t i = 0; i < b_.azeile; ++i) {
                std::string_view z;
                if (!naechste(z)) return leseergebnis::falsches_format;
            }
            zeil = b_.nzeile;
            spalt = b_.mspalte;
            scheib = b_.lscheibe;
        }
        if (scheib > MAXSCHEIBEN) return leseergebnis::zu_viele_scheiben;
        if (!in_bereich(zeil, 0, MAXZEILEN) || !in_bereich(spalt, 1, MAXSPALTEN) ||
            !in_bereich(scheib, 1, MAXSCHEIBEN) || !in_bereich(b_.bspalte, 0, MAXZEILENLAENGE))
            return leseergebnis::falsches_format;

        if (selbstbeschreibend_)
            for (int32_t s = 1; s <= MAXSCHEIBEN; ++s)
                b_.vzeile[static_cast<std::size_t>(s)] = static_cast<int32_t>(zeil);
        std::array<int32_t, MAXSCHEIBEN + 1> zeilen{};
        int32_t meiste_zeilen = 0;
        for (int32_t s = 1; s <= scheib; ++s) {
            auto& v = b_.vzeile[static_cast<std::size_t>(s)];
            zeilen[static_cast<std::size_t>(s)] = v > 0 ? v : static_cast<int32_t>(zeil);
            if (!in_bereich(zeilen[static_cast<std::size_t>(s)], 0, MAXZEILEN))
                return leseergebnis::falsches_format;
            meiste_zeilen = std::max(meiste_zeilen, zeilen[static_cast<std::size_t>(s)]);
        }
        tab_.zeil = static_cast<int32_t>(zeil);
        tab_.spalt = static_cast<int32_t>(spalt);
        tab_.scheib = static_cast<int32_t>(scheib);
        tab_.feldd.clear();
        tab_.feldx.assign(static_cast<std::size_t>(meiste_zeilen) + 1, koor_int{});
        tab_.feldy.assign(static_cast<std::size_t>(spalt) + 1, koor{});
        tab_.feldz.assign(static_cast<std::size_t>(scheib) + 1, koor{});
        ziel_.beginne(tab_.spalt);

        for (int32_t s = 1; s <= tab_.scheib; ++s) {
            ziel_.neue_scheibe();
            if (selbstbeschreibend_ && !lies_abschnittskopf(s)) return leseergebnis::falsches_format;
            for (int32_t r = 1; r <= zeilen[static_cast<std::size_t>(s)]; ++r)
                if (!lies_zeile(r)) return leseergebnis::falsches_format;
        }
        return leseergebnis::ok;
    }

    // The line being read when the input failed (1-based).
    std::size_t fehlerzeile() const { return versuch_; }

private:
    // The next line of the input, counted.
    bool naechste(std::string_view& z) {
        versuch_ = gelesen_ + 1;
        if (!q_.naechste(z)) return false;
        ++gelesen_;
        return true;
    }

    // Key line, title line (skipped), unit line, code line.
    bool lies_abschnittskopf(int32_t s) {
        std::string_view z;
        if (!naechste(z)) return false;
        const std::size_t nul = z.find('\0');
        if (nul == std::string_view::npos) return false;
        std::string_view vorn = z.substr(0, nul);
        std::string_view hinten = z.substr(nul + 1);
        koor& schluessel = tab_.feldz[static_cast<std::size_t>(s)];
        if (!naechstes_feld(vorn, schluessel.name, false) ||
            !naechstes_feld(vorn, schluessel.einheit, true) ||
            !naechste_zahl(hinten, schluessel.wert))
            return false;
        if (!naechste(z)) return false;  // titles, for people only
        if (!lies_spaltenzeile(&koor::einheit)) return false;
        return lies_spaltenzeile(&koor::name_0);
    }

    bool lies_spaltenzeile(std::string koor::*feld) {
        std::string_view z;
        if (!naechste(z)) return false;
        z = bis_nul(z);
        for (int32_t c = 1; c <= tab_.spalt; ++c)
            if (!naechstes_feld(z, tab_.feldy[static_cast<std::size_t>(c)].*feld, true)) return false;
        return true;
    }

    bool lies_zeile(int32_t r) {
        std::string_view z;
        if (!naechste(z)) return false;
        std::string_view werte = z;
        const std::size_t nul = z.find('\0');
        koor_int& x = tab_.feldx[static_cast<std::size_t>(r)];
        if (nul != std::string_view::npos) {
            std::string_view label = z.substr(0, nul);
            werte = z.substr(nul + 1);
            const std::size_t komma = label.find(',');
            if (komma == std::string_view::npos || komma > MAXLABELLAENGE) return false;
            x.name = cp1252_nach_utf8(label.substr(0, komma));
            label.remove_prefix(komma + 1);
            int64_t nummer = 0;
            if (!naechste_ganzzahl(label, nummer) ||
                !in_bereich(nummer, std::numeric_limits<int32_t>::min(),
                            std::numeric_limits<int32_t>::max()))
                return false;
            x.wert = static_cast<int32_t>(nummer);
        }
        double ueberlesen = 0.0;
        for (int32_t i = 0; i < b_.bspalte; ++i)
            if (!naechste_zahl(werte, ueberlesen)) return false;
        double* zeile = ziel_.neue_zeile();
        for (int32_t c = 0; c < tab_.spalt; ++c)
            if (!naechste_zahl(werte, zeile[c])) return false;
        return true;
    }

    zeilenquelle& q_;
    dat3d& ziel_;
    parreadtab& tab_;
    TSDaten& b_;
    bool selbstbeschreibend_;
    std::size_t gelesen_ = 0, versuch_ = 0;
};

}  // namespace

leseergebnis lies_tabelle(zeilenquelle& quelle, dat3d& ziel, parreadtab& tab,
                          TSDaten& beschreibung, char layout, std::size_t* fehlerzeile) {
    leser l(quelle, ziel, tab, beschreibung, layout);
    const leseergebnis e = l.lies();
    if (fehlerzeile) *fehlerzeile = e == leseergebnis::ok ? 0 : l.fehlerzeile();
    return e;
}
