#include "results/ui/ergebnistabellen_modell.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <cmath>

#include "app/ui/ereignisrand.h"
#include "lang/sprache.h"
#include "results/ui/dateidialoge.h"

namespace {
QString q(const text_paar& t) { return QString::fromStdString(t.text()); }
QString q(const std::string& s) { return QString::fromStdString(s); }

namespace c {
constexpr text_paar tabelle{"Tabelle:", "Table:"};
constexpr text_paar kopieren{"Kopieren", "Copy"};
constexpr text_paar speichern{"Als CSV speichern", "Save as CSV"};
constexpr text_paar speichern_titel{"Tabelle als CSV speichern", "Save table as CSV"};
}  // namespace c
}  // namespace

ergebnistabellen_modell::ergebnistabellen_modell(QObject* eltern) : QAbstractTableModel(eltern) {}

void ergebnistabellen_modell::setze(ergebnis_anzeigetabelle t) {
    beginResetModel();
    t_ = std::move(t);
    endResetModel();
}

int ergebnistabellen_modell::rowCount(const QModelIndex& eltern) const {
    return eltern.isValid() ? 0 : static_cast<int>(t_.zeilen.size());
}

int ergebnistabellen_modell::columnCount(const QModelIndex& eltern) const {
    return eltern.isValid() ? 0 : static_cast<int>(t_.spalten.size()) + 1;
}

QString ergebnistabellen_modell::anzeige(double x) {
    if (!std::isfinite(x)) return QString::number(x);
    if (x == 0.0 || std::abs(x) >= 0.01) return QString::number(std::nearbyint(x * 100.0) / 100.0, 'f', 2);
    return QString::number(x, 'g', 4);
}

QVariant ergebnistabellen_modell::data(const QModelIndex& index, int rolle) const {
    if (!index.isValid()) return {};
    const auto r = static_cast<std::size_t>(index.row());
    if (index.column() == 0) {
        if (rolle == Qt::DisplayRole) return q(t_.zeilen[r]);
        return {};
    }
    const auto c = static_cast<std::size_t>(index.column() - 1);
    const double x = r < t_.werte.size() && c < t_.werte[r].size() ? t_.werte[r][c] : 0.0;
    if (rolle == Qt::DisplayRole) return anzeige(x);
    if (rolle == Qt::ToolTipRole) return q(csv_zahl(x));
    if (rolle == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant ergebnistabellen_modell::headerData(int abschnitt, Qt::Orientation richtung, int rolle) const {
    if (richtung != Qt::Horizontal) return rolle == Qt::DisplayRole ? QVariant(abschnitt + 1) : QVariant();
    if (rolle != Qt::DisplayRole && rolle != Qt::ToolTipRole) return {};
    if (abschnitt == 0) return q(t_.zeilenkopf);
    const auto c = static_cast<std::size_t>(abschnitt - 1);
    if (c >= t_.spalten.size()) return {};
    const tabellenspalte& s = t_.spalten[c];
    QString text = q(s.groesse) + QStringLiteral("\n") + q(s.code);
    if (!s.einheit.empty()) text += QStringLiteral(" [") + q(s.einheit) + QStringLiteral("]");
    if (!s.quelle.empty()) text += QStringLiteral("\n") + q(s.quelle);
    return text;
}

ergebnistabellen_panel::ergebnistabellen_panel(QWidget* eltern) : QWidget(eltern) {
    auto* spalte = new QVBoxLayout(this);
    auto* oben = new QHBoxLayout;
    tabelle_label_ = new QLabel(this);
    auswahl_ = new QComboBox(this);
    auswahl_->setObjectName(QStringLiteral("tabellenauswahl"));
    auswahl_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    kopieren_ = new QPushButton(this);
    kopieren_->setObjectName(QStringLiteral("kopieren"));
    speichern_ = new QPushButton(this);
    speichern_->setObjectName(QStringLiteral("csv_speichern"));
    oben->addWidget(tabelle_label_);
    oben->addWidget(auswahl_, 1);
    oben->addWidget(kopieren_);
    oben->addWidget(speichern_);
    spalte->addLayout(oben);
    modell_ = new ergebnistabellen_modell(this);
    raster_ = new QTableView(this);
    raster_->setObjectName(QStringLiteral("ergebnistabelle"));
    raster_->setModel(modell_);
    raster_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    raster_->verticalHeader()->setVisible(false);
    raster_->verticalHeader()->setDefaultSectionSize(raster_->fontMetrics().height() + 6);
    raster_->horizontalHeader()->setDefaultSectionSize(110);
    spalte->addWidget(raster_, 1);
    connect(auswahl_, &QComboBox::currentIndexChanged, this, [this](int i) { zeige(i); });
    connect(kopieren_, &QPushButton::clicked, this, [this] { kopieren(); });
    connect(speichern_, &QPushButton::clicked, this, [this] {
        const ergebnis_anzeigetabelle* t = gezeigt();
        if (!t) return;
        const auto datei = speichere_datei(this, q(c::speichern_titel), QStringLiteral("tabelle.csv"),
                                           {QStringLiteral("CSV (*.csv)")});
        if (datei) am_ereignisrand([&] { speichern(*datei); });
    });
    beschriften();
    zeige(-1);
}

void ergebnistabellen_panel::beschriften() {
    tabelle_label_->setText(q(c::tabelle));
    kopieren_->setText(q(c::kopieren));
    speichern_->setText(q(c::speichern));
}

void ergebnistabellen_panel::setze(std::vector<ergebnis_anzeigetabelle> tabellen, int auswahl) {
    tabellen_ = std::move(tabellen);
    {
        const QSignalBlocker sperre(auswahl_);
        auswahl_->clear();
        for (const auto& t : tabellen_) auswahl_->addItem(q(t.titel));
    }
    if (auswahl < 0 || auswahl >= static_cast<int>(tabellen_.size())) auswahl = tabellen_.empty() ? -1 : 0;
    auswahl_->setCurrentIndex(auswahl);
    zeige(auswahl);
}

void ergebnistabellen_panel::zeige(int i) {
    if (i >= 0 && i < static_cast<int>(tabellen_.size())) modell_->setze(tabellen_[static_cast<std::size_t>(i)]);
    else modell_->setze({});
    kopieren_->setEnabled(gezeigt() != nullptr);
    speichern_->setEnabled(gezeigt() != nullptr);
    raster_->resizeColumnsToContents();
}

const ergebnis_anzeigetabelle* ergebnistabellen_panel::gezeigt() const {
    const int i = auswahl_->currentIndex();
    return i >= 0 && i < static_cast<int>(tabellen_.size()) ? &tabellen_[static_cast<std::size_t>(i)] : nullptr;
}

void ergebnistabellen_panel::kopieren() {
    if (const ergebnis_anzeigetabelle* t = gezeigt()) QApplication::clipboard()->setText(q(als_csv(*t)));
}

bool ergebnistabellen_panel::speichern(const QString& datei) {
    const ergebnis_anzeigetabelle* t = gezeigt();
    return t && speichere_csv(*t, std::filesystem::path(datei.toStdString()));
}
