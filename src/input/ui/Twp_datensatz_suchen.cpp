#include "input/ui/Twp_datensatz_suchen.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <map>

#include "app/ui/ereignisrand.h"
#include "data/datenbank.h"
#include "data/ui/tabellen_modell.h"
#include "input/datensatz_suchen.h"
#include "input/datensatzauswahl.h"
#include "lang/tabellentexte.h"
#include "lang/textglobale.h"

using namespace tabledata;

namespace {

QString q(const text_paar& t) { return QString::fromStdString(t.text()); }
QString q(int n) { return QString::fromStdString(tgtext(n)); }

namespace c {
constexpr text_paar titel{"Datensatz suchen", "Search data set"};
constexpr text_paar name{"Name:", "Name:"};
constexpr text_paar leeren{"Löschen", "Clear"};
constexpr text_paar filter{"Filter", "Filter"};
constexpr text_paar spalte{"Spalte", "Column"};
constexpr text_paar text{"Text (% beliebig, _ ein Zeichen)", "Text (% any, _ one character)"};
constexpr text_paar tabelle{"Tabelle: ", "Table: "};
}  // namespace c

}  // namespace

Twp_datensatz_suchen::Twp_datensatz_suchen(QWidget* eltern) : QDialog(eltern) {
    setObjectName(QStringLiteral("Twp_datensatz_suchen"));
    auto* spalte = new QVBoxLayout(this);
    tabellentitel_ = new QLabel(this);
    spalte->addWidget(tabellentitel_);
    auto* felder = new QGridLayout;
    for (int i = 0; i < 5; ++i) {
        auto* t = new QLabel(this);
        auto* f = new QLineEdit(this);
        f->setObjectName(QStringLiteral("such_%1").arg(i));
        f->setMinimumWidth(140);
        connect(f, &QLineEdit::textEdited, this, [this] { am_ereignisrand([this] { positionieren(); }); });
        suchtitel_.push_back(t);
        suchfelder_.push_back(f);
        felder->addWidget(t, i, 0);
        felder->addWidget(f, i, 1);
    }
    suchen_ = new QPushButton(this);
    suchen_->setObjectName(QStringLiteral("Suchen"));
    leeren_ = new QPushButton(this);
    leeren_->setObjectName(QStringLiteral("Leeren"));
    loeschen_ = new QPushButton(this);
    loeschen_->setObjectName(QStringLiteral("DatensaetzeLoeschen"));
    connect(suchen_, &QPushButton::clicked, this, [this] { am_ereignisrand([this] { positionieren(); }); });
    connect(leeren_, &QPushButton::clicked, this, [this] { felder_loeschen(); });
    connect(loeschen_, &QPushButton::clicked, this, [this] { am_ereignisrand([this] { datensaetze_loeschen(); }); });
    auto* k = new QVBoxLayout;
    k->addWidget(suchen_);
    k->addWidget(leeren_);
    k->addWidget(loeschen_);
    k->addStretch(1);
    felder->addLayout(k, 0, 2, 5, 1);
    felder->setColumnStretch(1, 1);

    auto* filter = new QGroupBox(this);
    filter->setObjectName(QStringLiteral("filter"));
    auto* fl = new QGridLayout(filter);
    for (int p = 0; p < 2; ++p) {
        auto* ts = new QLabel(filter);
        auto* tt = new QLabel(filter);
        filtertitel_.push_back(ts);
        filtertitel_.push_back(tt);
        auto* box = new QComboBox(filter);
        box->setObjectName(QStringLiteral("filterspalte_%1").arg(p));
        box->setMinimumContentsLength(14);
        auto* text = new QLineEdit(filter);
        text->setObjectName(QStringLiteral("filtertext_%1").arg(p));
        filterspalten_.push_back(box);
        filtertexte_.push_back(text);
        connect(text, &QLineEdit::textEdited, this, [this, p] { am_ereignisrand([&] { filter_setzen(p); }); });
        connect(box, &QComboBox::activated, this, [this, p] { am_ereignisrand([&] { filter_setzen(p); }); });
        fl->addWidget(ts, 2 * p, 0);
        fl->addWidget(box, 2 * p, 1);
        fl->addWidget(tt, 2 * p + 1, 0);
        fl->addWidget(text, 2 * p + 1, 1);
    }
    filter_loeschen_ = new QPushButton(filter);
    filter_loeschen_->setObjectName(QStringLiteral("FilterLoeschen"));
    connect(filter_loeschen_, &QPushButton::clicked, this, [this] { am_ereignisrand([this] { filter_loeschen(); }); });
    fl->addWidget(filter_loeschen_, 4, 1);
    fl->setColumnStretch(1, 1);

    auto* oben = new QHBoxLayout;
    oben->addLayout(felder, 3);
    oben->addWidget(filter, 2);
    spalte->addLayout(oben);

    modell_ = new tabellen_modell(this);
    raster_ = new QTableView(this);
    raster_->setObjectName(QStringLiteral("raster"));
    raster_->setModel(modell_);
    raster_->setSelectionBehavior(QAbstractItemView::SelectRows);
    raster_->setSelectionMode(QAbstractItemView::SingleSelection);
    raster_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    raster_->verticalHeader()->setDefaultSectionSize(raster_->fontMetrics().height() + 6);
    raster_->horizontalHeader()->setStretchLastSection(true);
    connect(raster_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& neu) { zeile_gewaehlt(neu.row()); });
    spalte->addWidget(raster_, 1);

    auto* leiste = new QHBoxLayout;
    leiste->addStretch(1);
    schliessen_ = new QPushButton(this);
    schliessen_->setObjectName(QStringLiteral("Schliessen"));
    connect(schliessen_, &QPushButton::clicked, this, &QDialog::accept);
    leiste->addWidget(schliessen_);
    spalte->addLayout(leiste);
    resize(900, 620);
    beschriften();
}

void Twp_datensatz_suchen::oeffnen(int t) {
    tabelle_ = t;
    am_ereignisrand([&] { spalten_ = suchspalten(t); });
    // The fields in the order of the form: for site data sets name first.
    if (t == thaupt) spalten_ = {"name", "land", "bezirk", "ort", "kundennummer"};
    for (std::size_t i = 0; i < suchfelder_.size(); ++i) {
        const bool da = i < spalten_.size();
        suchfelder_[i]->setVisible(da);
        suchtitel_[i]->setVisible(da);
        suchfelder_[i]->clear();
    }
    for (int p = 0; p < 2; ++p) {
        filterspalten_[static_cast<std::size_t>(p)]->clear();
        filtertexte_[static_cast<std::size_t>(p)]->clear();
        for (const auto& s : tabellenschema(t).spalten)
            filterspalten_[static_cast<std::size_t>(p)]->addItem(QString::fromStdString(s.name));
    }
    am_ereignisrand([&] {
        ::tabelle& tb = tab(t);
        if (tb.ist_offen()) {
            if (t == thaupt) tb.sortiere_nach_index("isortieren");
            else tb.sortiere_nach_schluessel();
        }
    });
    lesen();
    beschriften();
}

void Twp_datensatz_suchen::zeige_modal(int t) {
    oeffnen(t);
    exec();
}

void Twp_datensatz_suchen::zeige(int t) {
    oeffnen(t);
    show();
    raise();
    activateWindow();
}

void Twp_datensatz_suchen::beschriften() {
    setWindowTitle(q(c::titel));
    if (tabelle_ >= 0)
        tabellentitel_->setText(q(c::tabelle) + QString::fromStdString(tabellentext_von(tabelle_).bezeichnung.text()));
    // The key fields: for site data sets the search window's own captions,
    // otherwise the column titles.
    std::vector<std::string> titel;
    if (tabelle_ >= 0) titel = Spalten_ueberschriften(tabelle_);
    for (std::size_t i = 0; i < spalten_.size() && i < suchtitel_.size(); ++i) {
        QString t;
        if (tabelle_ == thaupt) {
            static const int globale[] = {-1, tg::such_land, tg::such_bezirk, tg::such_ort, tg::such_kundennummer};
            t = i == 0 ? q(c::name) : q(globale[i]) + QStringLiteral(":");
        } else {
            t = QString::fromStdString(spalten_[i]);
            const auto& schema = tabellenschema(tabelle_).spalten;
            for (std::size_t k = 0; k < schema.size() && k < titel.size(); ++k)
                if (gleich_ohne_gross_klein(schema[k].name, spalten_[i])) t = QString::fromStdString(titel[k]);
            t += QStringLiteral(":");
        }
        suchtitel_[i]->setText(t);
    }
    suchen_->setText(q(tg::such_suchen));
    leeren_->setText(q(c::leeren));
    loeschen_->setText(q(tg::such_datensatz_loeschen));
    filter_loeschen_->setText(q(tg::such_filter_loeschen));
    schliessen_->setText(q(tg::such_schliessen));
    for (std::size_t i = 0; i < filtertitel_.size(); ++i) filtertitel_[i]->setText(q(i % 2 == 0 ? c::spalte : c::text));
    if (auto* g = findChild<QGroupBox*>(QStringLiteral("filter"))) g->setTitle(q(c::filter));
    if (tabelle_ >= 0) {
        QStringList t;
        for (const auto& s : Spalten_ueberschriften(tabelle_)) t << QString::fromStdString(s);
        modell_->setze_titel(t);
    }
}

void Twp_datensatz_suchen::changeEvent(QEvent* e) {
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) beschriften();
    QDialog::changeEvent(e);
}

QLineEdit* Twp_datensatz_suchen::suchfeld(const std::string& spalte) const {
    for (std::size_t i = 0; i < spalten_.size() && i < suchfelder_.size(); ++i)
        if (gleich_ohne_gross_klein(spalten_[i], spalte)) return suchfelder_[i];
    return nullptr;
}

QPushButton* Twp_datensatz_suchen::knopf(const char* name) const {
    return findChild<QPushButton*>(QString::fromLatin1(name));
}

QString Twp_datensatz_suchen::aktuelle_zeile() const {
    if (tabelle_ < 0 || tabellenschema(tabelle_).schluessel.empty()) return {};
    return modell_->wert(raster_->currentIndex().row(), tabellenschema(tabelle_).schluessel.front());
}

void Twp_datensatz_suchen::lesen() {
    if (tabelle_ < 0) return;
    laedt_ = true;
    zeilenliste z;
    int zeile = -1;
    am_ereignisrand([&] {
        z = lies_zeilen(tabelle_);
        ::tabelle& t = tab(tabelle_);
        if (t.ist_offen() && t.hat_zeile()) zeile = static_cast<int>(t.position());
    });
    modell_->setze(std::move(z));
    beschriften();
    raster_->resizeColumnsToContents();
    if (zeile >= 0 && zeile < modell_->rowCount()) {
        raster_->selectRow(zeile);
        raster_->scrollTo(modell_->index(zeile, 0));
    }
    laedt_ = false;
}

void Twp_datensatz_suchen::zeile_gewaehlt(int zeile) {
    if (laedt_ || zeile < 0) return;
    am_ereignisrand([&] { positioniere_nr(tabelle_, zeile); });
    emit veraendert();
}

void Twp_datensatz_suchen::positionieren() {
    std::map<std::string, std::string> f;
    for (std::size_t i = 0; i < spalten_.size(); ++i) f[spalten_[i]] = suchfelder_[i]->text().toStdString();
    suche_positionieren(tabelle_, f);
    lesen();
    emit veraendert();
}

void Twp_datensatz_suchen::felder_loeschen() {
    for (auto* f : suchfelder_) f->clear();
}

void Twp_datensatz_suchen::datensaetze_loeschen() {
    std::map<std::string, std::string> f;
    for (std::size_t i = 0; i < spalten_.size(); ++i) f[spalten_[i]] = suchfelder_[i]->text().trimmed().toStdString();
    loesche_gefundene_datensaetze(tabelle_, f);
    tab(tabelle_).aktualisiere();
    lesen();
    emit veraendert();
}

void Twp_datensatz_suchen::filter_setzen(int p) {
    const std::string spalte = filterspalten_[static_cast<std::size_t>(p)]->currentText().toStdString();
    const std::string text = filtertexte_[static_cast<std::size_t>(p)]->text().toStdString();
    if (spalte.empty()) return;
    setze_suchfilter(tabelle_, spalte, text);
    lesen();
    emit veraendert();
}

void Twp_datensatz_suchen::filter_loeschen() {
    for (auto* t : filtertexte_) t->clear();
    loesche_suchfilter(tabelle_);
    lesen();
    emit veraendert();
}
