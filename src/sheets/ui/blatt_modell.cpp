#include "sheets/ui/blatt_modell.h"

#include <QBrush>
#include <QColor>

#include "data/tabellen_def.h"
#include "lang/spaltentexte.h"

blatt_modell::blatt_modell(QObject* eltern) : QAbstractTableModel(eltern) {}

void blatt_modell::setze(zeilenliste zeilen) {
    beginResetModel();
    const bool gleiche_spalten = zeilen.spalten == zeilen_.spalten;
    zeilen_ = std::move(zeilen);
    if (!gleiche_spalten) {
        titel_.clear();
        for (const auto& s : zeilen_.spalten) titel_ << QString::fromStdString(s);
        neu_.assign(zeilen_.spalten.size(), std::string());
        neu_aktiv_ = false;
    }
    endResetModel();
}

void blatt_modell::setze_titel(const QStringList& titel) {
    for (int i = 0; i < titel.size() && i < titel_.size(); ++i)
        if (!titel[i].isEmpty()) titel_[i] = titel[i];
    if (!titel_.isEmpty()) emit headerDataChanged(Qt::Horizontal, 0, static_cast<int>(titel_.size()) - 1);
}

std::string blatt_modell::spaltenname(int spalte) const {
    if (spalte < 0 || spalte >= static_cast<int>(zeilen_.spalten.size())) return {};
    return zeilen_.spalten[static_cast<std::size_t>(spalte)];
}

QString blatt_modell::wert(int zeile, const std::string& spalte) const {
    const int c = zeilen_.spalte(spalte);
    if (c < 0 || zeile < 0) return {};
    if (ist_neue_zeile(zeile)) return QString::fromStdString(neu_[static_cast<std::size_t>(c)]);
    if (zeile >= gespeicherte_zeilen()) return {};
    return QString::fromStdString(zeilen_.zeilen[static_cast<std::size_t>(zeile)][static_cast<std::size_t>(c)]);
}

int blatt_modell::finde(const std::vector<std::pair<std::string, std::string>>& werte) const {
    std::vector<std::pair<int, const std::string*>> spalten;
    for (const auto& [s, w] : werte) {
        const int c = zeilen_.spalte(s);
        if (c < 0) return -1;
        spalten.emplace_back(c, &w);
    }
    for (std::size_t r = 0; r < zeilen_.zeilen.size(); ++r) {
        bool passt = true;
        for (const auto& [c, w] : spalten) passt = passt && zeilen_.zeilen[r][static_cast<std::size_t>(c)] == *w;
        if (passt) return static_cast<int>(r);
    }
    return -1;
}

void blatt_modell::beginne_neue_zeile(const std::vector<std::pair<std::string, std::string>>& werte) {
    beginResetModel();
    neu_.assign(zeilen_.spalten.size(), std::string());
    for (const auto& [s, w] : werte) {
        const int c = zeilen_.spalte(s);
        if (c >= 0) neu_[static_cast<std::size_t>(c)] = w;
    }
    neu_aktiv_ = !zeilen_.spalten.empty();
    endResetModel();
}

std::vector<std::pair<std::string, std::string>> blatt_modell::neue_zeile() const {
    std::vector<std::pair<std::string, std::string>> r;
    for (std::size_t i = 0; i < neu_.size() && i < zeilen_.spalten.size(); ++i)
        if (!neu_[i].empty()) r.emplace_back(zeilen_.spalten[i], neu_[i]);
    return r;
}

void blatt_modell::verwerfe_neue_zeile() {
    if (!neu_aktiv_) return;
    beginResetModel();
    neu_aktiv_ = false;
    neu_.assign(zeilen_.spalten.size(), std::string());
    endResetModel();
}

int blatt_modell::rowCount(const QModelIndex& eltern) const {
    return eltern.isValid() ? 0 : gespeicherte_zeilen() + (neu_aktiv_ ? 1 : 0);
}

int blatt_modell::columnCount(const QModelIndex& eltern) const {
    return eltern.isValid() ? 0 : static_cast<int>(zeilen_.spalten.size());
}

QVariant blatt_modell::data(const QModelIndex& index, int rolle) const {
    if (!index.isValid()) return {};
    if (rolle == Qt::BackgroundRole && ist_neue_zeile(index.row())) return QBrush(QColor(255, 250, 205));
    if (rolle != Qt::DisplayRole && rolle != Qt::EditRole && rolle != Qt::ToolTipRole) return {};
    const std::string spalte = spaltenname(index.column());
    // Units shown as the language writes them (m² in English); edited as stored.
    if (rolle == Qt::DisplayRole && ist_einheitenspalte(spalte))
        return QString::fromStdString(einheit_anzeige(wert(index.row(), spalte).toStdString()));
    return wert(index.row(), spalte);
}

QVariant blatt_modell::headerData(int abschnitt, Qt::Orientation richtung, int rolle) const {
    // The caption, and the stored column name as its tooltip.
    if (rolle == Qt::ToolTipRole && richtung == Qt::Horizontal) return QString::fromStdString(spaltenname(abschnitt));
    if (rolle != Qt::DisplayRole) return {};
    if (richtung == Qt::Horizontal) return abschnitt < titel_.size() ? titel_[abschnitt] : QVariant();
    if (ist_neue_zeile(abschnitt)) return QStringLiteral("*");
    return abschnitt + 1;
}

Qt::ItemFlags blatt_modell::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!nur_lesen_) f |= Qt::ItemIsEditable;
    return f;
}

bool blatt_modell::setData(const QModelIndex& index, const QVariant& wert, int rolle) {
    if (!index.isValid() || rolle != Qt::EditRole || nur_lesen_) return false;
    const std::string text = wert.toString().toStdString();
    if (ist_neue_zeile(index.row())) {
        neu_[static_cast<std::size_t>(index.column())] = text;
        emit dataChanged(index, index);
        return true;
    }
    if (this->wert(index.row(), spaltenname(index.column())).toStdString() == text) return false;
    // The stored row changes only when core has written it; the grid is then
    // read again by whoever handles the change.
    emit aenderung(index.row(), QString::fromStdString(spaltenname(index.column())), wert.toString());
    return false;
}
