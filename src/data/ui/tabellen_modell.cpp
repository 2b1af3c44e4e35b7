#include "data/ui/tabellen_modell.h"

#include "lang/spaltentexte.h"

tabellen_modell::tabellen_modell(QObject* eltern) : QAbstractTableModel(eltern) {}

void tabellen_modell::setze(zeilenliste zeilen, const std::vector<std::string>& sichtbar) {
    beginResetModel();
    zeilen_ = std::move(zeilen);
    spalten_.clear();
    if (sichtbar.empty()) {
        for (std::size_t i = 0; i < zeilen_.spalten.size(); ++i) spalten_.push_back(static_cast<int>(i));
    } else {
        for (const auto& s : sichtbar) {
            const int i = zeilen_.spalte(s);
            if (i >= 0) spalten_.push_back(i);
        }
    }
    titel_.clear();
    for (int i : spalten_) titel_ << QString::fromStdString(zeilen_.spalten[static_cast<std::size_t>(i)]);
    endResetModel();
}

void tabellen_modell::setze_titel(const QStringList& titel) {
    for (int i = 0; i < titel.size() && i < titel_.size(); ++i) titel_[i] = titel[i];
    if (!titel_.isEmpty()) emit headerDataChanged(Qt::Horizontal, 0, static_cast<int>(titel_.size()) - 1);
}

QString tabellen_modell::wert(int zeile, const std::string& spalte) const {
    const int c = zeilen_.spalte(spalte);
    if (zeile < 0 || zeile >= static_cast<int>(zeilen_.zeilen.size()) || c < 0) return {};
    return QString::fromStdString(zeilen_.zeilen[static_cast<std::size_t>(zeile)][static_cast<std::size_t>(c)]);
}

int tabellen_modell::finde(const std::string& spalte, const std::string& wert) const {
    const int c = zeilen_.spalte(spalte);
    if (c < 0) return -1;
    for (std::size_t r = 0; r < zeilen_.zeilen.size(); ++r)
        if (zeilen_.zeilen[r][static_cast<std::size_t>(c)] == wert) return static_cast<int>(r);
    return -1;
}

int tabellen_modell::rowCount(const QModelIndex& eltern) const {
    return eltern.isValid() ? 0 : static_cast<int>(zeilen_.zeilen.size());
}

int tabellen_modell::columnCount(const QModelIndex& eltern) const {
    return eltern.isValid() ? 0 : static_cast<int>(spalten_.size());
}

QVariant tabellen_modell::data(const QModelIndex& index, int rolle) const {
    if (!index.isValid() || (rolle != Qt::DisplayRole && rolle != Qt::ToolTipRole)) return {};
    const auto& zeile = zeilen_.zeilen[static_cast<std::size_t>(index.row())];
    const auto c = static_cast<std::size_t>(spalten_[static_cast<std::size_t>(index.column())]);
    // Units as the language writes them (m² in English).
    if (ist_einheitenspalte(zeilen_.spalten[c])) return QString::fromStdString(einheit_anzeige(zeile[c]));
    return QString::fromStdString(zeile[c]);
}

QVariant tabellen_modell::headerData(int abschnitt, Qt::Orientation richtung, int rolle) const {
    // The caption, and the stored column name as its tooltip.
    if (rolle == Qt::ToolTipRole && richtung == Qt::Horizontal && abschnitt >= 0 &&
        abschnitt < static_cast<int>(spalten_.size()))
        return QString::fromStdString(zeilen_.spalten[static_cast<std::size_t>(spalten_[static_cast<std::size_t>(abschnitt)])]);
    if (rolle != Qt::DisplayRole) return {};
    if (richtung == Qt::Horizontal) return abschnitt < titel_.size() ? titel_[abschnitt] : QVariant();
    return abschnitt + 1;
}
