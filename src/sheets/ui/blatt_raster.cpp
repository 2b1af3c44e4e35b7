#include "sheets/ui/blatt_raster.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QVBoxLayout>

#include "app/ui/ereignisrand.h"
#include "data/datenbank.h"
#include "data/ui/TNavigator.h"
#include "input/datensatz_suchen.h"
#include "input/datensatzauswahl.h"
#include "lang/meldung.h"
#include "lang/textglobale.h"
#include "sheets/feldpruefung.h"
#include "sheets/ui/blatt_modell.h"

namespace {
constexpr text_paar SUCHE{"Suche:", "Search:"};
}

blatt_raster::blatt_raster(int tabelle, QWidget* eltern) : QWidget(eltern), tabelle_(tabelle) {
    setObjectName(QString::fromStdString("raster_" + tabellenschluessel(tabelle)));
    auto* spalte = new QVBoxLayout(this);
    spalte->setContentsMargins(0, 0, 0, 0);
    auto* oben = new QHBoxLayout;
    navigator_ = new TNavigator(this);
    oben->addWidget(navigator_);
    oben->addStretch(1);
    suchtitel_ = new QLabel(this);
    suchfeld_ = new QLineEdit(this);
    suchfeld_->setObjectName(QStringLiteral("suchfeld"));
    suchfeld_->setMaximumWidth(220);
    suchfeld_->setMinimumWidth(80);
    oben->addWidget(suchtitel_);
    oben->addWidget(suchfeld_);
    spalte->addLayout(oben);

    modell_ = new blatt_modell(this);
    raster_ = new QTableView(this);
    raster_->setObjectName(QStringLiteral("raster"));
    raster_->setModel(modell_);
    raster_->setSelectionBehavior(QAbstractItemView::SelectItems);
    raster_->setSelectionMode(QAbstractItemView::SingleSelection);
    raster_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed);
    raster_->verticalHeader()->setDefaultSectionSize(raster_->fontMetrics().height() + 6);
    raster_->horizontalHeader()->setResizeContentsPrecision(200);
    spalte->addWidget(raster_, 1);

    connect(navigator_, &TNavigator::gedrueckt, this, [this](int k) { am_ereignisrand([&] { navigiere(k); }); });
    connect(suchfeld_, &QLineEdit::textEdited, this, [this](const QString& t) { am_ereignisrand([&] { suche(t); }); });
    connect(raster_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& neu, const QModelIndex& alt) { zeile_gewaehlt(neu.row(), alt.row()); });
    // Queued: the grid is read again after the editor has closed.
    connect(modell_, &blatt_modell::aenderung, this,
            [this](int zeile, const QString& spalte, const QString& text) {
                am_ereignisrand([&] { zelle_geaendert(zeile, spalte, text); });
            },
            Qt::QueuedConnection);
    beschriften();
}

void blatt_raster::beschriften() {
    navigator_->beschriften();
    suchtitel_->setText(QString::fromStdString(SUCHE.text()));
    QStringList titel;
    for (const auto& t : Spalten_ueberschriften(tabelle_)) titel << QString::fromStdString(t);
    modell_->setze_titel(titel);
}

void blatt_raster::setze_feste_filter(std::vector<filterbedingung> bedingungen) {
    feste_filter_ = std::move(bedingungen);
    ::tabelle& t = tab(tabelle_);
    if (t.ist_offen()) {
        t.setze_filter(*feste_filter_);
        t.erster();
    }
}

void blatt_raster::lesen() {
    ::tabelle& t = tab(tabelle_);
    if (feste_filter_ && t.ist_offen() && !t.ist_gefiltert()) {
        t.setze_filter(*feste_filter_);
        t.erster();
    }
    laedt_ = true;
    const int spalte = std::max(0, raster_->currentIndex().column());
    modell_->setze(lies_zeilen(tabelle_));
    beschriften();
    int zeile = -1;
    if (t.ist_offen() && t.hat_zeile()) zeile = static_cast<int>(t.position());
    if (zeile >= modell_->gespeicherte_zeilen()) zeile = -1;
    if (zeile >= 0) {
        raster_->setCurrentIndex(modell_->index(zeile, std::min(spalte, std::max(0, modell_->columnCount() - 1))));
        raster_->scrollTo(raster_->currentIndex());
    }
    if (!breiten_gesetzt_ && modell_->columnCount() > 0) {
        raster_->resizeColumnsToContents();
        for (int c = 0; c < modell_->columnCount(); ++c)
            raster_->setColumnWidth(c, std::min(raster_->columnWidth(c), 260));
        breiten_gesetzt_ = true;
    }
    laedt_ = false;
    emit zeile_gewechselt();
}

int blatt_raster::zeile() const {
    const int z = raster_->currentIndex().row();
    return z >= 0 && z < modell_->gespeicherte_zeilen() ? z : -1;
}

QString blatt_raster::wert(const std::string& spalte) const { return modell_->wert(zeile(), spalte); }

bool blatt_raster::positionieren() {
    const int z = zeile();
    return z >= 0 && positioniere_nr(tabelle_, z);
}

void blatt_raster::waehle_zeile(int zeile) {
    if (zeile < 0 || zeile >= modell_->gespeicherte_zeilen()) return;
    const int spalte = std::max(0, raster_->currentIndex().column());
    raster_->setCurrentIndex(modell_->index(zeile, spalte));
    raster_->scrollTo(raster_->currentIndex());
}

bool blatt_raster::waehle(const std::string& name) {
    const auto& schluessel = tabellenschema(tabelle_).schluessel;
    if (schluessel.empty()) return false;
    const int z = modell_->finde({{schluessel.front(), name}});
    if (z < 0) return false;
    waehle_zeile(z);
    return zeile() == z;
}

void blatt_raster::zeile_gewaehlt(int neu, int alt) {
    if (laedt_) return;
    bool zurueck = true;
    am_ereignisrand([&] {
        if (vor_navigation_ && alt >= 0 && alt != neu) vor_navigation_();
        zurueck = false;
    });
    if (zurueck && alt >= 0) {
        // The move was abandoned: the grid stays on the row.
        laedt_ = true;
        raster_->setCurrentIndex(modell_->index(alt, std::max(0, raster_->currentIndex().column())));
        laedt_ = false;
        return;
    }
    if (neu >= 0 && neu < modell_->gespeicherte_zeilen()) positioniere_nr(tabelle_, neu);
    emit zeile_gewechselt();
}

bool blatt_raster::aendern(const std::vector<std::pair<std::string, std::string>>& felder) {
    if (!positionieren()) {
        meldung(tgtext(tg::eintrag_markieren), "M", 'W');
        return false;
    }
    std::vector<feldaenderung> a;
    for (const auto& [s, w] : felder) a.push_back({s, w});
    bool ok = false;
    try {
        ok = aendere_datensatz(tabelle_, a);
    } catch (const abbruch&) {
        lesen();
        throw;
    }
    lesen();
    if (ok) emit geschrieben();
    return ok;
}

void blatt_raster::zelle_geaendert(int zeile, const QString& spalte, const QString& text) {
    if (zeile < 0 || zeile >= modell_->gespeicherte_zeilen()) return;
    if (!positioniere_nr(tabelle_, zeile)) return;
    bool ok = false;
    try {
        ok = aendere_datensatz(tabelle_, {{spalte.toStdString(), text.toStdString()}});
    } catch (const abbruch&) {
        lesen();
        throw;
    }
    lesen();
    if (ok) emit geschrieben();
}

bool blatt_raster::neue_zeile_speichern() {
    if (!modell_->hat_neue_zeile()) return true;
    std::vector<feldaenderung> werte;
    for (const auto& [s, w] : modell_->neue_zeile()) werte.push_back({s, w});
    if (feste_filter_) {
        // A detail row belongs to the record the grid shows.
        for (const auto& f : *feste_filter_) {
            const bool gegeben = std::any_of(werte.begin(), werte.end(), [&](const feldaenderung& w) {
                return gleich_ohne_gross_klein(w.spalte, f.spalte);
            });
            if (!gegeben) werte.push_back({f.spalte, als_text(f.wert)});
        }
    }
    if (!lege_datensatz_an(tabelle_, werte)) return false;
    modell_->verwerfe_neue_zeile();
    tab(tabelle_).aktualisiere();
    lesen();
    emit geschrieben();
    return true;
}

void blatt_raster::navigiere(int knopf) {
    if (vor_navigation_ && knopf != TNavigator::abbrechen) vor_navigation_();
    const int zeilen = modell_->gespeicherte_zeilen();
    int z = zeile();
    switch (knopf) {
    case TNavigator::erster:
        z = 0;
        break;
    case TNavigator::vorheriger:
        z = std::max(0, z - 1);
        break;
    case TNavigator::naechster:
        z = std::min(zeilen - 1, z + 1);
        break;
    case TNavigator::letzter:
        z = zeilen - 1;
        break;
    case TNavigator::einfuegen:
        if (!modell_->hat_neue_zeile()) modell_->beginne_neue_zeile();
        raster_->setCurrentIndex(modell_->index(modell_->gespeicherte_zeilen(), 0));
        raster_->scrollTo(raster_->currentIndex());
        return;
    case TNavigator::loeschen: {
        if (!positionieren()) return;
        const std::string name = zeilenname(tab(tabelle_));
        if (!aktuelle_meldungs_senke().frage(tgtext(tg::datensatz_loeschen_frage) + " " + name)) return;
        const bool geloescht = loesche_datensatz(tabelle_);
        tab(tabelle_).aktualisiere();
        lesen();
        if (geloescht) emit geschrieben();
        return;
    }
    case TNavigator::bearbeiten:
        if (raster_->currentIndex().isValid()) raster_->edit(raster_->currentIndex());
        return;
    case TNavigator::speichern:
        if (!neue_zeile_speichern()) return;
        if (nach_speichern_ && positionieren()) nach_speichern_();
        return;
    case TNavigator::abbrechen:
        modell_->verwerfe_neue_zeile();
        return;
    case TNavigator::aktualisieren:
        tab(tabelle_).aktualisiere();
        lesen();
        return;
    default:
        return;
    }
    if (z >= 0 && z < zeilen) waehle_zeile(z);
}

void blatt_raster::suche(const QString& text) {
    const auto spalten = suchspalten(tabelle_);
    if (spalten.empty()) return;
    const std::string erste = tabelle_ == tabledata::thaupt ? std::string("name") : spalten.front();
    if (tabelle_ == tabledata::thaupt) {
        positioniere(tabelle_, "name", text.toStdString());
    } else {
        suche_positionieren(tabelle_, {{erste, text.toStdString()}});
    }
    lesen();
}
