#include "results/ui/TGraphKalk.h"

#include <QChart>
#include <QChartView>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ui/ereignisrand.h"
#include "data/zahltext.h"
#include "lang/meldung.h"
#include "lang/textglobale.h"
#include "results/graphiktexte.h"
#include "results/ui/dateidialoge.h"
#include "results/ui/diagrammbild.h"
#include "results/ui/druckhilfe.h"

namespace {

QString q(const text_paar& t) { return QString::fromStdString(t.text()); }
QString q(const std::string& s) { return QString::fromStdString(s); }

namespace c {
constexpr text_paar rechnen{"Rechnen", "Calculate"};
constexpr text_paar quotient{"Quotient", "Quotient"};
constexpr text_paar kurve_integrieren{"Kurve integrieren", "Integrate curve"};
constexpr text_paar integral{"Integral", "Integral"};
constexpr text_paar summe{"Summe", "Sum"};
constexpr text_paar skalieren{"Skalieren", "Scale"};
constexpr text_paar min_links{"Min (links):", "Min (left):"};
constexpr text_paar max_links{"Max (links):", "Max (left):"};
constexpr text_paar min_rechts{"Min (rechts):", "Min (right):"};
constexpr text_paar max_rechts{"Max (rechts):", "Max (right):"};
constexpr text_paar faktor_links{"Faktor (links):", "Factor (left):"};
constexpr text_paar text_links{"Text  (links):", "Text  (left):"};
constexpr text_paar anwenden{"Anwenden", "Apply"};
constexpr text_paar anzeigen{"Anzeigen", "Display"};
constexpr text_paar erster_punkt_aus{"Erster Punkt aus", "First point off"};
constexpr text_paar drucken{"Drucken", "Print"};
constexpr text_paar speichern{"Speichern", "Save"};
constexpr text_paar schliessen{"Schließen", "Close"};
constexpr text_paar speichern_titel{"Diagramm speichern", "Save chart"};
constexpr text_paar nicht_gespeichert{"Fehler: Diagramm nicht gespeichert: ", "Error: chart not saved: "};
}  // namespace c

// A number as the language writes it, without group separators (read back
// by lies_zahl, which takes a decimal comma too).
QString zahltext(double x) {
    QLocale l;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    return l.toString(x, 'g', 6);
}

}  // namespace

TGraphKalk::TGraphKalk(QWidget* eltern) : QDialog(eltern), kern_(std::make_unique<graphkalk>()) {
    setObjectName(QStringLiteral("TGraphKalk"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    auto* reihe = new QHBoxLayout(this);

    // Title lines and the chart.
    auto* links = new QVBoxLayout;
    titel_ = new QLabel(this);
    titel_->setObjectName(QStringLiteral("LabelTitle"));
    QFont f = titel_->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 2);
    titel_->setFont(f);
    titel_->setWordWrap(true);
    info_ = new QLabel(this);
    info_->setObjectName(QStringLiteral("LabelInfo"));
    info_->setWordWrap(true);
    chart_ = new QChart;
    ansicht_ = new QChartView(chart_, this);
    ansicht_->setObjectName(QStringLiteral("Chart1"));
    ansicht_->setRenderHint(QPainter::Antialiasing);
    ansicht_->setMinimumSize(560, 400);
    links->addWidget(titel_);
    links->addWidget(info_);
    links->addWidget(ansicht_, 1);
    reihe->addLayout(links, 1);

    // The side panel: "Rechnen", "Skalieren", "Anzeigen", print, save, close.
    auto* seite = new QVBoxLayout;
    rechnen_ = new QGroupBox(this);
    auto* rechnen = new QVBoxLayout(rechnen_);
    liste_ = new QListWidget(rechnen_);
    liste_->setObjectName(QStringLiteral("ListBoxOpt"));
    liste_->setSelectionMode(QAbstractItemView::MultiSelection);
    liste_->setMinimumHeight(90);
    quotient_ = new QPushButton(rechnen_);
    quotient_->setObjectName(QStringLiteral("ButtonQuot"));
    integrieren_ = new QGroupBox(rechnen_);
    auto* integ = new QHBoxLayout(integrieren_);
    integral_ = new QPushButton(integrieren_);
    integral_->setObjectName(QStringLiteral("ButtonSum"));
    summe_label_ = new QLabel(integrieren_);
    summe_ = new QLabel(integrieren_);
    summe_->setObjectName(QStringLiteral("LabelSum"));
    summe_->setMinimumWidth(70);
    summe_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    integ->addWidget(integral_);
    integ->addWidget(summe_label_);
    integ->addWidget(summe_, 1);
    rechnen->addWidget(liste_, 1);
    rechnen->addWidget(quotient_);
    rechnen->addWidget(integrieren_);
    seite->addWidget(rechnen_, 1);

    skalieren_ = new QGroupBox(this);
    auto* form = new QFormLayout(skalieren_);
    auto feld = [&](const char* name, QLabel*& l) {
        auto* e = new QLineEdit(skalieren_);
        e->setObjectName(QString::fromLatin1(name));
        e->setMinimumWidth(90);
        l = new QLabel(skalieren_);
        form->addRow(l, e);
        return e;
    };
    min_ = feld("Editmin", l_min_);
    max_ = feld("Editmax", l_max_);
    rmin_ = feld("EditRmin", l_rmin_);
    rmax_ = feld("EditRmax", l_rmax_);
    fak_ = feld("EditFak", l_fak_);
    text_ = feld("EditText", l_text_);
    anwenden_ = new QPushButton(skalieren_);
    anwenden_->setObjectName(QStringLiteral("Button2"));
    form->addRow(anwenden_);
    seite->addWidget(skalieren_);

    anzeigen_ = new QGroupBox(this);
    auto* anz = new QVBoxLayout(anzeigen_);
    labels_ = new QPushButton(anzeigen_);
    labels_->setObjectName(QStringLiteral("Button3"));
    rechtsdaten_ = new QPushButton(anzeigen_);
    rechtsdaten_->setObjectName(QStringLiteral("Button4"));
    erster_punkt_ = new QPushButton(anzeigen_);
    erster_punkt_->setObjectName(QStringLiteral("Button5"));
    anz->addWidget(labels_);
    anz->addWidget(rechtsdaten_);
    anz->addWidget(erster_punkt_);
    seite->addWidget(anzeigen_);

    auto* unten = new QHBoxLayout;
    drucken_ = new QPushButton(this);
    drucken_->setObjectName(QStringLiteral("Button1"));
    speichern_ = new QPushButton(this);
    speichern_->setObjectName(QStringLiteral("ButtonStore"));
    schliessen_ = new QPushButton(this);
    schliessen_->setObjectName(QStringLiteral("BitBtn1"));
    unten->addWidget(drucken_);
    unten->addWidget(speichern_);
    seite->addLayout(unten);
    seite->addWidget(schliessen_);
    reihe->addLayout(seite);

    connect(liste_, &QListWidget::itemSelectionChanged, this, &TGraphKalk::auswahl_geaendert);
    connect(quotient_, &QPushButton::clicked, this, [this] { am_ereignisrand([this] { quotient(); }); });
    connect(integral_, &QPushButton::clicked, this, [this] { integral(); });
    connect(anwenden_, &QPushButton::clicked, this, [this] {
        const auto a = QMessageBox::question(this, windowTitle(), q(graphiktexte::skalierungsfrage),
                                             QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        am_ereignisrand([&] { anwenden(a == QMessageBox::Yes); });
    });
    connect(labels_, &QPushButton::clicked, this, [this] { labels_umschalten(); });
    connect(rechtsdaten_, &QPushButton::clicked, this, [this] { rechtsdaten_umschalten(); });
    connect(erster_punkt_, &QPushButton::clicked, this, [this] { erster_punkt_aus(); });
    connect(speichern_, &QPushButton::clicked, this, [this] { am_ereignisrand([this] { speichern_dialog(); }); });
    connect(drucken_, &QPushButton::clicked, this, [this] { am_ereignisrand([this] { drucken(); }); });
    connect(schliessen_, &QPushButton::clicked, this, &QDialog::accept);

    rechnen_->setVisible(false);
    resize(1200, 720);
    beschriften();
    darstellen();
}

TGraphKalk::~TGraphKalk() = default;

void TGraphKalk::beschriften() {
    setWindowTitle(QString::fromStdString(tgtext(tg::titel_funktion)));
    rechnen_->setTitle(q(c::rechnen));
    quotient_->setText(q(c::quotient));
    integrieren_->setTitle(q(c::kurve_integrieren));
    integral_->setText(q(c::integral));
    summe_label_->setText(q(c::summe));
    skalieren_->setTitle(q(c::skalieren));
    l_min_->setText(q(c::min_links));
    l_max_->setText(q(c::max_links));
    l_rmin_->setText(q(c::min_rechts));
    l_rmax_->setText(q(c::max_rechts));
    l_fak_->setText(q(c::faktor_links));
    l_text_->setText(q(c::text_links));
    anwenden_->setText(q(c::anwenden));
    anzeigen_->setTitle(q(c::anzeigen));
    labels_->setText(q(kern_->label_knopf()));
    rechtsdaten_->setText(q(kern_->rechts_knopf()));
    erster_punkt_->setText(q(c::erster_punkt_aus));
    drucken_->setText(q(c::drucken));
    speichern_->setText(q(c::speichern));
    schliessen_->setText(q(c::schliessen));
}

void TGraphKalk::changeEvent(QEvent* e) {
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) beschriften();
    QDialog::changeEvent(e);
}

void TGraphKalk::zeige(const graphdata& links, const graphdata& rechts, int imaxp, bool rechts_sichtbar,
                       int pmin_links) {
    if (!isVisible()) kern_->aktiviere();
    kern_->besetzeSeries(links, rechts, imaxp, rechts_sichtbar, pmin_links);
    darstellen();
    if (!isVisible()) show();
    raise();
}

void TGraphKalk::besetzeSeries(const graphdata& links, const graphdata& rechts, int imaxp, bool rechts_sichtbar,
                               int pmin_links) {
    const bool offen = isVisible();
    if (!offen) kern_->aktiviere();
    kern_->besetzeSeries(links, rechts, imaxp, rechts_sichtbar, pmin_links);
    darstellen();
    if (!offen) exec();
}

void TGraphKalk::neu_zeichnen() {
    // A new chart in place of the shown one: nothing of the previous chart
    // (axes, ticks, titles, legend) can remain in the picture.
    auto* neu = new QChart;
    zeichne_diagramm(*neu, kern_->anzeige(), false);
    QChart* alt = ansicht_->chart();
    ansicht_->setChart(neu);
    chart_ = neu;
    delete alt;
}

void TGraphKalk::darstellen() {
    beschriften();
    const diagrammanzeige& a = kern_->anzeige();
    neu_zeichnen();
    titel_->setText(q(a.titel));
    info_->setText(q(a.info));
    info_->setVisible(!a.info.empty());
    {
        const QSignalBlocker sperre(liste_);
        liste_->clear();
        for (const auto& k : a.kurvenliste) liste_->addItem(q(k));
    }
    rechnen_->setVisible(a.gruppe_rechnen);
    min_->setText(zahltext(a.edit_min));
    max_->setText(zahltext(a.edit_max));
    rmin_->setText(zahltext(a.edit_rmin));
    rmax_->setText(zahltext(a.edit_rmax));
    fak_->setText(q(a.edit_faktor));
    text_->setText(q(a.edit_text));
    labels_->setText(q(kern_->label_knopf()));
    rechtsdaten_->setText(q(kern_->rechts_knopf()));
    auswahl_geaendert();
}

namespace {
std::vector<int> gewaehlte_kurven(const QListWidget* l) {
    std::vector<int> a;
    for (int i = 0; i < l->count(); ++i)
        if (l->item(i)->isSelected()) a.push_back(i + 1);
    return a;
}
}  // namespace

void TGraphKalk::auswahl_geaendert() {
    const std::vector<int> a = gewaehlte_kurven(liste_);
    quotient_->setEnabled(graphkalk::quotient_moeglich(a));
    integral_->setEnabled(graphkalk::integral_moeglich(a));
}

bool TGraphKalk::quotient() {
    const std::vector<int> a = gewaehlte_kurven(liste_);
    if (!graphkalk::quotient_moeglich(a)) return false;
    if (!kern_->quotient(a[0], a[1])) return false;
    darstellen();
    return true;
}

void TGraphKalk::integral() {
    const std::vector<int> a = gewaehlte_kurven(liste_);
    if (!graphkalk::integral_moeglich(a)) return;
    summe_->setText(q(kern_->summe_text(a[0])));
}

QString TGraphKalk::summe_text() const { return summe_->text(); }

bool TGraphKalk::anwenden(bool faktor_in_beschriftung) {
    skalierung s;
    const std::pair<QLineEdit*, double*> felder[] = {
        {fak_, &s.faktor}, {min_, &s.min}, {max_, &s.max}, {rmin_, &s.rmin}, {rmax_, &s.rmax}};
    const std::pair<QLabel*, QLineEdit*> namen[] = {{l_fak_, fak_}, {l_min_, min_}, {l_max_, max_},
                                                    {l_rmin_, rmin_}, {l_rmax_, rmax_}};
    for (const auto& [e, ziel] : felder) {
        const auto z = lies_zahl(e->text().toStdString());
        if (!z) {
            QString name;
            for (const auto& [l, f] : namen)
                if (f == e) name = l->text();
            meldung(tgtext(tg::zahl_erwartet) + name.toStdString() + " " + e->text().toStdString(), "M", 'E');
            e->setFocus();
            return false;
        }
        *ziel = *z;
    }
    s.faktor_text = fak_->text().trimmed().toStdString();
    s.text = text_->text().toStdString();
    s.faktor_in_beschriftung = faktor_in_beschriftung;
    kern_->skaliere(s);
    // The fields keep what was entered; only the chart changes.
    neu_zeichnen();
    return true;
}

void TGraphKalk::labels_umschalten() {
    kern_->labels_umschalten();
    neu_zeichnen();
    labels_->setText(q(kern_->label_knopf()));
}

void TGraphKalk::rechtsdaten_umschalten() {
    kern_->rechtsdaten_umschalten();
    darstellen();
}

void TGraphKalk::erster_punkt_aus() {
    kern_->erster_punkt_aus();
    darstellen();
}

bool TGraphKalk::speichere(const QString& datei, QSize groesse) {
    QString fehler;
    if (!speichere_diagramm(kern_->anzeige(), datei, groesse, &fehler)) {
        meldung(c::nicht_gespeichert.text() + datei.toStdString() + " (" + fehler.toStdString() + ")", "M", 'E');
        return false;
    }
    return true;
}

void TGraphKalk::speichern_dialog() {
    const auto datei = speichere_datei(this, q(c::speichern_titel), QStringLiteral("diagramm.svg"),
                                       {QStringLiteral("SVG (*.svg)"), QStringLiteral("PNG (*.png)"),
                                        QStringLiteral("PDF (*.pdf)")});
    if (!datei) return;
    const auto groesse = frage_bildgroesse(this, bildgroesse_);
    if (!groesse) return;
    bildgroesse_ = *groesse;
    speichere(*datei, *groesse);
}

void TGraphKalk::drucken() {
    if (QPrinter* d = drucker_waehlen(this)) drucke_diagramm(*d, kern_->anzeige(), druckkopf_);
}

QLineEdit* TGraphKalk::feld(const char* name) const { return findChild<QLineEdit*>(QString::fromLatin1(name)); }

QPushButton* TGraphKalk::knopf(const char* name) const {
    return findChild<QPushButton*>(QString::fromLatin1(name));
}
