#pragma once
// A radio group bound to a code column: each item stands for the code it
// stores ("I", "M", "J" ...). Read-only groups show the code without being
// greyed out.

#include <QGroupBox>

#include <string>
#include <vector>

#include "lang/sprache.h"

class QButtonGroup;
class QRadioButton;

class auswahlgruppe : public QGroupBox {
    Q_OBJECT
public:
    struct eintrag {
        text_paar text;
        const char* code;
    };
    auswahlgruppe(const text_paar& titel, std::vector<eintrag> eintraege, QWidget* eltern = nullptr,
                  int spalten = 1);

    void beschriften();
    // Checks the item of `code` (none when no item has it).
    void setze_code(const std::string& code);
    // Code of the checked item ("" when none).
    std::string code() const;
    int index() const;
    void setze_nur_lesen(bool nur_lesen);
    QRadioButton* knopf(int i) const { return knoepfe_[static_cast<std::size_t>(i)]; }

signals:
    void gewaehlt(int index);

private:
    text_paar titel_;
    std::vector<eintrag> eintraege_;
    std::vector<QRadioButton*> knoepfe_;
    QButtonGroup* gruppe_;
};
