#include "data/ui/auswahlgruppe.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

auswahlgruppe::auswahlgruppe(const text_paar& titel, std::vector<eintrag> eintraege, QWidget* eltern, int spalten)
    : QGroupBox(eltern), titel_(titel), eintraege_(std::move(eintraege)), gruppe_(new QButtonGroup(this)) {
    auto* raster = new QGridLayout(this);
    raster->setVerticalSpacing(2);
    const int je_spalte = (static_cast<int>(eintraege_.size()) + spalten - 1) / spalten;
    for (std::size_t i = 0; i < eintraege_.size(); ++i) {
        auto* k = new QRadioButton(this);
        gruppe_->addButton(k, static_cast<int>(i));
        raster->addWidget(k, static_cast<int>(i) % je_spalte, static_cast<int>(i) / je_spalte);
        knoepfe_.push_back(k);
    }
    connect(gruppe_, &QButtonGroup::idClicked, this, &auswahlgruppe::gewaehlt);
    beschriften();
}

void auswahlgruppe::beschriften() {
    setTitle(QString::fromStdString(titel_.text()));
    for (std::size_t i = 0; i < eintraege_.size(); ++i)
        knoepfe_[i]->setText(QString::fromStdString(eintraege_[i].text.text()));
}

void auswahlgruppe::setze_code(const std::string& code) {
    gruppe_->setExclusive(false);
    for (std::size_t i = 0; i < eintraege_.size(); ++i) knoepfe_[i]->setChecked(code == eintraege_[i].code);
    gruppe_->setExclusive(true);
}

std::string auswahlgruppe::code() const {
    const int i = index();
    return i < 0 ? std::string() : std::string(eintraege_[static_cast<std::size_t>(i)].code);
}

int auswahlgruppe::index() const { return gruppe_->checkedId(); }

void auswahlgruppe::setze_nur_lesen(bool nur_lesen) {
    for (auto* k : knoepfe_) {
        k->setAttribute(Qt::WA_TransparentForMouseEvents, nur_lesen);
        k->setFocusPolicy(nur_lesen ? Qt::NoFocus : Qt::StrongFocus);
    }
}
