#pragma once
// The window "Kennlinien": characteristic curves of the loaded site data for
// a chosen month and interval: the COP of the two heat pumps over a
// temperature range, and the collector's volume flow over its end
// temperature with the check of the inverse routine. The curves go to the
// chart window "Funktion".

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TGraphKalk;

class TKennlinien : public QDialog {
    Q_OBJECT
public:
    explicit TKennlinien(QWidget* eltern = nullptr);

    // FormActivate: month 1, its interval list, interval 1, the fields.
    void aktivieren();
    void beschriften();
    // Month (1..12) and interval chosen; the fields are filled.
    void waehle(int monat, int intervall);
    // The two "Graphik" buttons; true when the curves were shown.
    bool cop_graphik();
    bool kollektor_graphik();

    QComboBox* monat() const { return monat_; }
    QComboBox* intervall() const { return intervall_; }
    QLineEdit* feld(const char* name) const;
    TGraphKalk& graphfenster();

protected:
    void showEvent(QShowEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void intervalle_fuellen();
    void felder_fuellen();
    bool zahl(QLineEdit* e, QLabel* l, double& x);

    QGroupBox *kollektor_, *waermepumpe_;
    QLabel *l_monat_, *l_intervall_, *l_ta_, *l_tein_, *l_is_, *l_twv_, *l_thoch_, *l_tk_;
    QComboBox *monat_, *intervall_;
    QLineEdit *ta_, *tein_, *is_, *twv_, *tk_;
    QPushButton *kollektor_graphik_, *cop_graphik_, *schliessen_;
    QPlainTextEdit *memo1_, *memo2_;
    TGraphKalk* eigenes_graphfenster_ = nullptr;
};
