#include "data/konvertieren.h"

#include "data/datenbank.h"
#include "data/tabelle.h"
#include "lang/meldung.h"
#include "lang/sprache.h"

namespace fs = std::filesystem;

namespace {

// SQL name of the table in a file: the registry table of that key, else the
// file's stem (the table class falls back to the only table of the file).
std::string tabellenname(const fs::path& datei) {
    const std::string stamm = datei.stem().string();
    const int i = finde_tabelle(stamm);
    return i >= 0 ? tabellenschema(i).sql_name : stamm;
}

}  // namespace

konvertier_ergebnis Konvertieren(const fs::path& quelle, const fs::path& ziel) {
    konvertier_ergebnis ergebnis;
    if (quelle.empty() || ziel.empty()) return ergebnis;
    std::error_code ec;
    if (fs::equivalent(quelle, ziel, ec)) {
        meldung(text_paar{"Fehler: Quelle und Ziel sind dieselbe Datei: ",
                          "Error: source and target are the same file: "}
                        .text() +
                    ziel.string(),
                "M", 'E');
        return ergebnis;
    }
    tabelle q, z;
    if (!q.oeffne_vorhandene(quelle, tabellenname(quelle))) return ergebnis;
    if (!z.oeffne_vorhandene(ziel, tabellenname(ziel))) return ergebnis;

    const auto& q_schluessel = q.schluesselspalten();
    const bool gleiche_schluessel =
        !q_schluessel.empty() && q_schluessel.size() == z.schluesselspalten().size();
    // Target column -> source column of the same name.
    std::vector<int> quelle_von(static_cast<size_t>(z.spaltenanzahl()));
    for (int j = 0; j < z.spaltenanzahl(); ++j)
        quelle_von[static_cast<size_t>(j)] = q.spalten_index(z.spalte(j).name);

    {
        transaktion tr(z);
        for (q.erster(); !q.eof(); q.naechster()) {
            bool gefunden = false;
            if (gleiche_schluessel) {
                std::vector<feldwert> werte;
                for (const auto& k : q_schluessel) werte.push_back(q.wert(k));
                gefunden = z.suche(werte);
            }
            if (gefunden) {
                z.bearbeiten();
                for (int j = 0; j < z.spaltenanzahl(); ++j)
                    if (const int i = quelle_von[static_cast<size_t>(j)]; i >= 0) z.setze(j, q.wert(i));
                z.speichern();
                ++ergebnis.aktualisiert;
            } else {
                z.einfuegen();
                for (int j = 0; j < z.spaltenanzahl(); ++j) {
                    const int i = quelle_von[static_cast<size_t>(j)];
                    if (i >= 0 && !ist_leer(q.wert(i)))
                        z.setze(j, q.wert(i));
                    else
                        z.setze(
                            j, ist_text(z.spalte(j).typ) ? feldwert(std::string("-")) : feldwert(int64_t{0}));
                }
                z.speichern();
                ++ergebnis.eingefuegt;
            }
        }
        tr.bestaetigen();
    }
    q.schliesse();
    z.schliesse();
    // Registry tables on the target file show the merged rows.
    for (auto& d : datenbanken())
        if (d.tab->ist_offen() && fs::equivalent(d.tab->datei(), ziel, ec)) d.tab->aktualisiere();
    ergebnis.erfolgreich = true;
    return ergebnis;
}
