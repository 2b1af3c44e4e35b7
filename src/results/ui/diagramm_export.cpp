#include "results/ui/diagramm_export.h"

#include <QLocale>
#include <QSize>
#include <QString>

#include <map>
#include <memory>
#include <ostream>

#include "data/zahltext.h"
#include "lang/meldung.h"
#include "lang/spaltentexte.h"
#include "lang/sprache.h"
#include "results/ergebnisgraphik.h"
#include "results/ergebnistexte.h"
#include "results/ergebnisvergleich.h"
#include "results/graphiktexte.h"
#include "results/graphkalk.h"
#include "results/ui/diagrammbild.h"

namespace {

namespace t {
constexpr text_paar nutzung{
    "Aufruf: varnek --export-chart monthly|annual --code CODE [--area A] [--size BxH] --out DATEI.svg|.png|.pdf "
    "ERGEBNISDATEI...",
    "usage: varnek --export-chart monthly|annual --code CODE [--area A] [--size WxH] --out FILE.svg|.png|.pdf "
    "RESULTFILE..."};
constexpr text_paar art_fehlt{"monthly oder annual erwartet", "monthly or annual expected"};
constexpr text_paar wert_fehlt{" braucht einen Wert", " needs a value"};
constexpr text_paar unbekannt{"unbekannte Option: ", "unknown option: "};
constexpr text_paar code_fehlt{"--code fehlt", "--code missing"};
constexpr text_paar ausgabe_fehlt{"--out fehlt", "--out missing"};
constexpr text_paar keine_datei{"keine Ergebnisdatei", "no result file"};
constexpr text_paar zu_viele{"höchstens 6 Ergebnisdateien", "at most 6 result files"};
constexpr text_paar format{"--out braucht .svg, .png oder .pdf", "--out needs .svg, .png or .pdf"};
constexpr text_paar groesse{"--size erwartet BREITExHÖHE (100..10000)", "--size expects WIDTHxHEIGHT (100..10000)"};
constexpr text_paar zahl{"--area erwartet eine Zahl", "--area expects a number"};
constexpr text_paar sprache{"--lang erlaubt de oder en", "--lang takes de or en"};
constexpr text_paar code_unbekannt{"unbekannter Größencode: ", "unknown quantity code: "};
constexpr text_paar nicht_gelesen{"Datei nicht gelesen: ", "file not read: "};
constexpr text_paar kein_diagramm{"kein Diagramm: ", "no chart: "};
constexpr text_paar nicht_geschrieben{"nicht geschrieben: ", "not written: "};
constexpr text_paar flaeche_fehlt_in{"Warnung: Fläche fehlt in ", "warning: area missing in "};
}  // namespace t

// Remembers the last error the core reported, for the one-line reason.
class export_senke : public meldungs_senke {
public:
    explicit export_senke(std::ostream& aus) : aus_(aus) {}
    void zeige(const std::string& text, char schwere) override {
        if (schwere == 'E' || schwere == 'T') letzter_fehler = text;
        else aus_ << text << '\n';
    }
    bool frage(const std::string&) override { return false; }
    std::string letzter_fehler;

private:
    std::ostream& aus_;
};

int groesse_zum_code(const std::string& code) {
    for (int q = 0; q < ANZ_ADATA; ++q)
        if (ergebnistexte::code(q) == code) return q;
    return -1;
}

// The curves of each file are named by the file's data set (with the file's
// name when two files come from one data set); the " (links)" mark stays only
// when there are right curves to tell apart.
void kurven_benennen(const ergebnisvergleich& v, graphdata& links, graphdata& rechts) {
    std::map<std::string, int> anzahl;
    for (int f = 1; f <= v.anzahl(); ++f) ++anzahl[v.datei(f).datensatz];
    const bool mit_rechts = rechts.anzbild > 0;
    const std::string links_marke = graphiktexte::links.text();
    for (graphdata* g : {&links, &rechts}) {
        for (int i = 1; i <= g->anzbild; ++i) {
            std::string& name = g->bildname[i];
            if (!mit_rechts && name.size() >= links_marke.size() &&
                name.compare(name.size() - links_marke.size(), links_marke.size(), links_marke) == 0)
                name.erase(name.size() - links_marke.size());
            for (int f = 1; f <= v.anzahl(); ++f) {
                const geladene_datei& d = v.datei(f);
                std::string titel = d.datensatz.empty() ? d.dateiname() : d.datensatz;
                if (anzahl[d.datensatz] > 1) titel += " (" + d.dateiname() + ")";
                if (name.rfind(d.pfad, 0) == 0) {
                    name = titel + name.substr(d.pfad.size());
                    break;
                }
                // The monthly chart of one file names its curve by the area.
                if (v.anzahl() == 1) name = titel + ", " + name;
            }
        }
    }
}

}  // namespace

bool ist_diagrammexport(const QStringList& argumente) {
    return argumente.contains(QStringLiteral("--export-chart"));
}

std::optional<diagrammexport_auftrag> lies_diagrammexport(const QStringList& argumente, startoptionen& start,
                                                          std::string& fehler) {
    diagrammexport_auftrag a;
    bool art_gelesen = false;
    for (qsizetype i = 0; i < argumente.size(); ++i) {
        const QString& x = argumente[i];
        auto wert = [&]() -> std::optional<std::string> {
            if (i + 1 >= argumente.size()) {
                fehler = x.toStdString() + t::wert_fehlt.text();
                return std::nullopt;
            }
            return argumente[++i].toStdString();
        };
        if (x == QLatin1String("--export-chart")) {
            const auto w = wert();
            if (!w) return std::nullopt;
            if (*w == "monthly") a.art = diagrammexport_auftrag::art::monatlich;
            else if (*w == "annual") a.art = diagrammexport_auftrag::art::jaehrlich;
            else {
                fehler = t::art_fehlt.text();
                return std::nullopt;
            }
            art_gelesen = true;
        } else if (x == QLatin1String("--code")) {
            const auto w = wert();
            if (!w) return std::nullopt;
            a.code = *w;
        } else if (x == QLatin1String("--area")) {
            const auto w = wert();
            if (!w) return std::nullopt;
            const auto z = lies_zahl(*w);
            if (!z) {
                fehler = t::zahl.text();
                return std::nullopt;
            }
            a.flaeche = *z;
        } else if (x == QLatin1String("--size")) {
            const auto w = wert();
            if (!w) return std::nullopt;
            const QStringList teile = QString::fromStdString(*w).split(QLatin1Char('x'));
            bool ok1 = false, ok2 = false;
            if (teile.size() == 2) {
                a.breite = teile[0].toInt(&ok1);
                a.hoehe = teile[1].toInt(&ok2);
            }
            if (!ok1 || !ok2 || a.breite < 100 || a.hoehe < 100 || a.breite > 10000 || a.hoehe > 10000) {
                fehler = t::groesse.text();
                return std::nullopt;
            }
        } else if (x == QLatin1String("--out")) {
            const auto w = wert();
            if (!w) return std::nullopt;
            a.ausgabe = *w;
        } else if (x == QLatin1String("--db")) {
            const auto w = wert();
            if (!w) return std::nullopt;
            start.datenbank = *w;
        } else if (x == QLatin1String("--results")) {
            const auto w = wert();
            if (!w) return std::nullopt;
            start.ergebnisse = *w;
        } else if (x == QLatin1String("--lang")) {
            const auto w = wert();
            if (!w) return std::nullopt;
            if (*w != "de" && *w != "en") {
                fehler = t::sprache.text();
                return std::nullopt;
            }
            start.sprache = *w == "en" ? SPRACHE_ENGLISCH : SPRACHE_DEUTSCH;
        } else if (x.startsWith(QLatin1String("--"))) {
            fehler = t::unbekannt.text() + x.toStdString();
            return std::nullopt;
        } else {
            a.dateien.push_back(x.toStdString());
        }
    }
    if (!art_gelesen) fehler = t::art_fehlt.text();
    else if (a.code.empty()) fehler = t::code_fehlt.text();
    else if (a.ausgabe.empty()) fehler = t::ausgabe_fehlt.text();
    else if (bildformat_von(QString::fromStdString(a.ausgabe)) == bildformat::unbekannt) fehler = t::format.text();
    else if (a.dateien.empty()) fehler = t::keine_datei.text();
    else if (static_cast<int>(a.dateien.size()) > ergebnisvergleich::MAXDATEIEN) fehler = t::zu_viele.text();
    if (!fehler.empty()) return std::nullopt;
    return a;
}

int exportiere_diagramm(const QStringList& argumente, std::ostream& fehler) {
    startoptionen start;
    // The language of the messages is known before the arguments are checked.
    const qsizetype l = argumente.indexOf(QStringLiteral("--lang"));
    if (l >= 0 && l + 1 < argumente.size() && argumente[l + 1] == QLatin1String("en")) setze_sprache(SPRACHE_ENGLISCH);
    // Month names and decimal separators of the chart follow the language.
    QLocale::setDefault(sprache() == SPRACHE_ENGLISCH ? QLocale(QLocale::English, QLocale::UnitedKingdom)
                                                      : QLocale(QLocale::German, QLocale::Germany));
    std::string grund;
    const auto auftrag = lies_diagrammexport(argumente, start, grund);
    if (!auftrag) {
        fehler << "varnek: " << grund << '\n' << t::nutzung.text() << '\n';
        return 2;
    }
    export_senke senke(fehler);
    setze_meldungs_senke(&senke);
    struct zuruecksetzen {
        ~zuruecksetzen() { setze_meldungs_senke(nullptr); }
    } z;
    auto misserfolg = [&](const std::string& text) {
        fehler << "varnek: " << text;
        if (!senke.letzter_fehler.empty()) fehler << " (" << senke.letzter_fehler << ")";
        fehler << '\n';
        return 1;
    };
    try {
        programmstart(start);
        const int q = groesse_zum_code(auftrag->code);
        if (q < 0) return misserfolg(t::code_unbekannt.text() + auftrag->code);

        ergebnisvergleich v;
        for (const std::string& d : auftrag->dateien) {
            senke.letzter_fehler.clear();
            if (v.lade(d) != ergebnisvergleich::ladeergebnis::ok) return misserfolg(t::nicht_gelesen.text() + d);
        }
        senke.letzter_fehler.clear();
        auto links = std::make_unique<graphdata>();
        auto rechts = std::make_unique<graphdata>();
        bool gebaut = false;
        if (auftrag->art == diagrammexport_auftrag::art::jaehrlich) {
            jahresgraphik_auswahl a;
            a.groesse = q;
            gebaut = baue_jahresgraphik(v, a, *links, *rechts);
        } else {
            monatsgraphik_auswahl a;
            a.groesse = q;
            a.art = konstante_variable::flaeche;
            const geladene_datei& erste = v.datei(1);
            a.flaeche = auftrag->flaeche.value_or(erste.flaeche[static_cast<std::size_t>(erste.scheiben())]);
            for (int f = 1; f <= v.anzahl(); ++f)
                if (v.datei(f).scheibe_mit_flaeche(a.flaeche) == 0)
                    fehler << t::flaeche_fehlt_in.text() << v.datei(f).pfad << ": " << flaechen_text(a.flaeche) << '\n';
            if (v.anzahl() == 1) {
                const int s = erste.scheibe_mit_flaeche(a.flaeche);
                if (s == 0) {
                    return misserfolg(t::kein_diagramm.text() + graphiktexte::flaeche_fehlt.text() +
                                      flaechen_text(a.flaeche));
                }
                a.scheiben = {s};
            }
            gebaut = baue_monatsgraphik(v, a, *links, *rechts);
            // The picture states the area its months belong to.
            if (gebaut) {
                const std::string flaeche = graphiktexte::flaeche.text() + " " + flaechen_text(a.flaeche) + " " +
                                            einheit_anzeige(erste.flaecheneinheit);
                links->info = links->info.empty() ? flaeche : links->info + ", " + flaeche;
            }
        }
        if (!gebaut) return misserfolg(t::kein_diagramm.text() + auftrag->code);
        // One curve per file: the annual chart of jkk would add jkk_g on a
        // right axis, which the export leaves out.
        rechts->anzbild = 0;
        kurven_benennen(v, *links, *rechts);

        graphkalk g;
        g.besetzeSeries(*links, *rechts, MAXGRAPHPUNKTE, true, 1);
        QString warum;
        if (!speichere_diagramm(g.anzeige(), QString::fromStdString(auftrag->ausgabe),
                                QSize(auftrag->breite, auftrag->hoehe), &warum)) {
            return misserfolg(t::nicht_geschrieben.text() + auftrag->ausgabe + ": " + warum.toStdString());
        }
    } catch (const abbruch&) {
        return misserfolg(t::kein_diagramm.text() + auftrag->code);
    }
    return 0;
}
