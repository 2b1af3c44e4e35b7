#include "results/ui/TKennlinien.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <memory>

#include "app/ui/ereignisrand.h"
#include "app/ui/varnek_programm.h"
#include "data/zahltext.h"
#include "engine/WP_variables.h"
#include "lang/meldung.h"
#include "lang/textglobale.h"
#include "results/kennlinien.h"
#include "results/ui/TGraphKalk.h"

namespace {

QString q(const text_paar& t) { return QString::fromStdString(t.text()); }

namespace c {
constexpr text_paar titel{"Kennlinien", "Characteristic curves"};
constexpr text_paar kollektor{"KOLLEKTOR", "COLLECTOR"};
constexpr text_paar waermepumpe{"WÄRMEPUMPE/HEIZUNG", "HEAT PUMP/HEATING"};
constexpr text_paar monat{"Monat:", "Month:"};
constexpr text_paar intervall{"Intervall:", "Interval:"};
constexpr text_paar aussentemperatur{"Außentemperatur:", "Outdoor temperature:"};
constexpr text_paar ruecklauf{"Heiz.Rückl.Temp.:", "Heat. return temp.:"};
constexpr text_paar intensitaet{"Intensität:", "Intensity:"};
constexpr text_paar warmwasser{"Warmwassertemp.:", "Hot-water temp.:"};
constexpr text_paar t_hoch{"(T - Hoch)", "(T - high)"};
constexpr text_paar erdtemperatur{"Erdtemperatur:", "Ground temperature:"};
constexpr text_paar graphik{"Graphik", "Chart"};
constexpr text_paar schliessen{"Schließen", "Close"};
constexpr text_paar memo1{
    "Außentemperatur und Eingangstemperatur fest vorgegeben. Variable ist die Endtemperatur. Die x - Variable ist "
    "die Differenz zwischen Außentemperatur und Endtemperatur.",
    "Outdoor temperature and inlet temperature are fixed. The variable is the end temperature. The x variable is "
    "the difference between outdoor temperature and end temperature."};
constexpr text_paar memo2{
    "Transfer: Wirkungsgrad einer Wasser-Wasser-Wärmepumpe. Nachheizung: Wirkungsgrad einer Erd-Wasser-Wärmepumpe "
    "(E) oder einer Heizanlage (G). T(hoch): Warmwassertemperatur.",
    "Intermediate: efficiency of a water-water heat pump. Additional heating: efficiency of a ground-water heat "
    "pump (E) or of a heating plant (G). T(high): hot-water temperature."};
}  // namespace c

QString zwei(double x) { return QString::number(x, 'f', 2); }

}  // namespace

TKennlinien::TKennlinien(QWidget* eltern) : QDialog(eltern) {
    setObjectName(QStringLiteral("TKennlinien"));
    auto* spalte = new QVBoxLayout(this);

    auto* wahl = new QHBoxLayout;
    l_monat_ = new QLabel(this);
    monat_ = new QComboBox(this);
    monat_->setObjectName(QStringLiteral("ComboBoxMonat"));
    for (int m = 1; m <= 12; ++m) monat_->addItem(QString::number(m));
    l_intervall_ = new QLabel(this);
    intervall_ = new QComboBox(this);
    intervall_->setObjectName(QStringLiteral("ComboBoxIntervall"));
    intervall_->setMinimumContentsLength(5);
    wahl->addWidget(l_monat_);
    wahl->addWidget(monat_);
    wahl->addSpacing(20);
    wahl->addWidget(l_intervall_);
    wahl->addWidget(intervall_);
    wahl->addStretch(1);
    spalte->addLayout(wahl);

    auto* gruppen = new QHBoxLayout;
    auto feld = [this](const char* name, QWidget* eltern) {
        auto* e = new QLineEdit(eltern);
        e->setObjectName(QString::fromLatin1(name));
        e->setAlignment(Qt::AlignRight);
        e->setMaximumWidth(110);
        return e;
    };
    kollektor_ = new QGroupBox(this);
    auto* k = new QFormLayout(kollektor_);
    ta_ = feld("EditTa", kollektor_);
    tein_ = feld("EditTein", kollektor_);
    is_ = feld("editIs", kollektor_);
    l_ta_ = new QLabel(kollektor_);
    l_tein_ = new QLabel(kollektor_);
    l_is_ = new QLabel(kollektor_);
    k->addRow(l_ta_, ta_);
    k->addRow(l_tein_, tein_);
    k->addRow(l_is_, is_);
    kollektor_graphik_ = new QPushButton(kollektor_);
    kollektor_graphik_->setObjectName(QStringLiteral("SpeedButtonK"));
    k->addRow(kollektor_graphik_);
    memo1_ = new QPlainTextEdit(kollektor_);
    memo1_->setReadOnly(true);
    memo1_->setMaximumHeight(90);
    k->addRow(memo1_);
    gruppen->addWidget(kollektor_);

    waermepumpe_ = new QGroupBox(this);
    auto* w = new QGridLayout(waermepumpe_);
    twv_ = feld("EditTwv", waermepumpe_);
    tk_ = feld("EditTk", waermepumpe_);
    l_twv_ = new QLabel(waermepumpe_);
    l_thoch_ = new QLabel(waermepumpe_);
    l_tk_ = new QLabel(waermepumpe_);
    w->addWidget(l_twv_, 0, 0);
    w->addWidget(twv_, 0, 1);
    w->addWidget(l_thoch_, 0, 2);
    w->addWidget(l_tk_, 1, 0);
    w->addWidget(tk_, 1, 1);
    cop_graphik_ = new QPushButton(waermepumpe_);
    cop_graphik_->setObjectName(QStringLiteral("ButtonW"));
    w->addWidget(cop_graphik_, 2, 0, 1, 3);
    memo2_ = new QPlainTextEdit(waermepumpe_);
    memo2_->setReadOnly(true);
    memo2_->setMaximumHeight(90);
    w->addWidget(memo2_, 3, 0, 1, 3);
    w->setRowStretch(4, 1);
    gruppen->addWidget(waermepumpe_);
    spalte->addLayout(gruppen, 1);

    auto* leiste = new QHBoxLayout;
    leiste->addStretch(1);
    schliessen_ = new QPushButton(this);
    leiste->addWidget(schliessen_);
    spalte->addLayout(leiste);

    connect(monat_, &QComboBox::activated, this, [this] {
        intervalle_fuellen();
        felder_fuellen();
    });
    connect(intervall_, &QComboBox::activated, this, [this] { felder_fuellen(); });
    connect(cop_graphik_, &QPushButton::clicked, this, [this] { am_ereignisrand([this] { cop_graphik(); }); });
    connect(kollektor_graphik_, &QPushButton::clicked, this,
            [this] { am_ereignisrand([this] { kollektor_graphik(); }); });
    connect(schliessen_, &QPushButton::clicked, this, &QDialog::accept);
    resize(820, 420);
    beschriften();
}

void TKennlinien::beschriften() {
    setWindowTitle(q(c::titel));
    kollektor_->setTitle(q(c::kollektor));
    waermepumpe_->setTitle(q(c::waermepumpe));
    l_monat_->setText(q(c::monat));
    l_intervall_->setText(q(c::intervall));
    l_ta_->setText(q(c::aussentemperatur));
    l_tein_->setText(q(c::ruecklauf));
    l_is_->setText(q(c::intensitaet));
    l_twv_->setText(q(c::warmwasser));
    l_thoch_->setText(q(c::t_hoch));
    l_tk_->setText(q(c::erdtemperatur));
    kollektor_graphik_->setText(q(c::graphik));
    cop_graphik_->setText(q(c::graphik));
    schliessen_->setText(q(c::schliessen));
    memo1_->setPlainText(q(c::memo1));
    memo2_->setPlainText(q(c::memo2));
}

void TKennlinien::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    aktivieren();
}

void TKennlinien::changeEvent(QEvent* e) {
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) beschriften();
    QDialog::changeEvent(e);
}

void TKennlinien::aktivieren() {
    monat_->setCurrentIndex(0);
    intervalle_fuellen();
    felder_fuellen();
    beschriften();
}

void TKennlinien::intervalle_fuellen() {
    const QSignalBlocker sperre(intervall_);
    intervall_->clear();
    for (int j : intervall_liste(monat_->currentIndex() + 1)) intervall_->addItem(QString::number(j));
    intervall_->setCurrentIndex(intervall_->count() > 0 ? 0 : -1);
}

void TKennlinien::felder_fuellen() {
    const kennlinien_felder f = fuelle_kennlinien_felder(monat_->currentIndex() + 1, intervall_->currentIndex() + 1);
    is_->setText(zwei(f.is));
    ta_->setText(zwei(f.ta));
    tein_->setText(zwei(f.tein));
    tk_->setText(zwei(f.tk));
    twv_->setText(zwei(f.twv));
}

void TKennlinien::waehle(int monat, int intervall) {
    monat_->setCurrentIndex(std::clamp(monat, 1, 12) - 1);
    intervalle_fuellen();
    if (intervall >= 1 && intervall <= intervall_->count()) intervall_->setCurrentIndex(intervall - 1);
    felder_fuellen();
}

bool TKennlinien::zahl(QLineEdit* e, QLabel* l, double& x) {
    const auto z = lies_zahl(e->text().toStdString());
    if (!z) {
        meldung(tgtext(tg::zahl_erwartet) + l->text().toStdString() + " " + e->text().toStdString(), "M", 'E');
        e->setFocus();
        return false;
    }
    x = *z;
    return true;
}

bool TKennlinien::cop_graphik() {
    double t_hoch = 0.0, t_tief = 0.0;
    if (!zahl(twv_, l_twv_, t_hoch) || !zahl(tk_, l_tk_, t_tief)) return false;
    auto links = std::make_unique<graphdata>();
    auto rechts = std::make_unique<graphdata>();
    cop_kennlinien(t_hoch, t_tief, monat_->currentIndex() + 1, *links, *rechts);
    graphfenster().besetzeSeries(*links, *rechts, 200, false, 1);
    return true;
}

bool TKennlinien::kollektor_graphik() {
    double ta = 0.0, te = 0.0, G = 0.0;
    if (!zahl(ta_, l_ta_, ta) || !zahl(tein_, l_tein_, te) || !zahl(is_, l_is_, G)) return false;
    auto links = std::make_unique<graphdata>();
    auto rechts = std::make_unique<graphdata>();
    if (!kollektor_kennlinien(monat_->currentIndex() + 1, intervall_->currentIndex() + 1, ta, te, G,
                              zustand::lauf().minge, zustand::lauf().maxge, *links, *rechts))
        return false;
    graphfenster().besetzeSeries(*links, *rechts, MAXGRAPHPUNKTE, true, 1);
    return true;
}

QLineEdit* TKennlinien::feld(const char* name) const { return findChild<QLineEdit*>(QString::fromLatin1(name)); }

TGraphKalk& TKennlinien::graphfenster() {
    if (programm()) return programm()->graphkalk();
    if (!eigenes_graphfenster_) eigenes_graphfenster_ = new TGraphKalk(this);
    return *eigenes_graphfenster_;
}
