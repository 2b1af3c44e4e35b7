#pragma once
// The data-set navigator of the forms: ten buttons (first, previous, next,
// last, insert, delete, edit, post, cancel, refresh) whose hints come from
// the text globals of the current language.

#include <QWidget>

#include <array>

class QToolButton;

class TNavigator : public QWidget {
    Q_OBJECT
public:
    enum knopf { erster, vorheriger, naechster, letzter, einfuegen, loeschen, bearbeiten, speichern, abbrechen,
                 aktualisieren, ANZAHL };
    explicit TNavigator(QWidget* eltern = nullptr);
    // Hints in the current language.
    void beschriften();
    // Shows only the buttons in `sichtbar`.
    void zeige_nur(std::initializer_list<knopf> sichtbar);
    QToolButton* taste(knopf k) const { return tasten_[static_cast<std::size_t>(k)]; }

signals:
    void gedrueckt(int knopf);

private:
    std::array<QToolButton*, ANZAHL> tasten_{};
};
