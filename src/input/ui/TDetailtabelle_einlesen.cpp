#include "input/ui/TDetailtabelle_einlesen.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

#include "app/ui/ereignisrand.h"
#include "app/ui/qt_speicherdialog.h"
#include "data/datenbank.h"
#include "data/einstellungen.h"
#include "data/ui/tabellen_modell.h"
#include "data/zahltext.h"
#include "input/datensatz_suchen.h"
#include "input/datensatzauswahl.h"
#include "input/wetterdatei.h"
#include "lang/meldung.h"
#include "sheets/blatthilfen.h"

using namespace tabledata;

namespace {

QString q(const text_paar& t) { return QString::fromStdString(t.text()); }

namespace c {
constexpr text_paar titel{"Detailtabelle einlesen", "Import detail table"};
constexpr text_paar datensatz{"Datensatz: ", "Record: "};
constexpr text_paar atlas{"Klimaatlas", "Climate atlas"};
constexpr text_paar datenart{"Datenart wählen", "Choose kind of data"};
constexpr text_paar monatswerte{"Monatswerte", "Monthly values"};
constexpr text_paar tageswerte{"Tageswerte", "Daily values"};
constexpr text_paar stundenwerte{"Stundenwerte", "Hourly values"};
constexpr text_paar groesse{"Physikalische Größe", "Physical quantity"};
constexpr text_paar global{"Globale Einstrahlung", "Global irradiation"};
constexpr text_paar diffus{"Diffuse Einstrahlung", "Diffuse irradiation"};
constexpr text_paar temperatur{"Temperatur", "Temperature"};
constexpr text_paar station{"Station", "Station"};
constexpr text_paar suche{"Ort oder Stationsnummer:", "Place or station number:"};
constexpr text_paar land_ort{"Land und Ort", "Country and place"};
constexpr text_paar breite_laenge{"Breite und Länge", "Latitude and longitude"};
constexpr text_paar land{"Land:", "Country:"};
constexpr text_paar filter_anwenden{"Filter anwenden", "Apply filter"};
constexpr text_paar mittelwerte_aus{"Filter Mittelwerte aus", "Availability filter off"};
constexpr text_paar jahr{"Jahr", "Year"};
constexpr text_paar jahre_ermitteln{"Jahre ermitteln", "Find years"};
constexpr text_paar norm_ir{"Skalierung Einstrahlung:", "Scale of irradiation:"};
constexpr text_paar norm_ta{"Skalierung Temperatur:", "Scale of temperature:"};
constexpr text_paar daten_einlesen{"Daten einlesen", "Read data"};
constexpr text_paar wetter{"Wetterdatei (EPW, TRY)", "Weather file (EPW, TRY)"};
constexpr text_paar name{"Name des Datensatzes:", "Name of the record:"};
constexpr text_paar name_aus_datei{"(leer: Name der Datei)", "(empty: name of the file)"};
constexpr text_paar ersetzen{"Vorhandenen Datensatz ersetzen", "Replace an existing record"};
constexpr text_paar wetterdatei{"Wetterdatei einlesen", "Import weather file"};
constexpr text_paar schliessen{"Schließen", "Close"};
constexpr text_paar tageswerte_einlesen{"Tageswerte einlesen", "Read daily values"};
constexpr text_paar stundenwerte_einlesen{"Stundenwerte einlesen", "Read hourly values"};
constexpr text_paar ascii{"ASCII - Dateien (*.txt)|*.txt", "ASCII files (*.txt)|*.txt"};
constexpr text_paar wetterfilter{"Wetterdateien (*.epw *.dat)|*.epw;*.dat", "Weather files (*.epw *.dat)|*.epw;*.dat"};
constexpr text_paar station_waehlen{"Bitte Station markieren", "Please mark a station"};
constexpr text_paar jahr_waehlen{"Bitte Jahr markieren", "Please mark a year"};
constexpr text_paar eingelesen{"Eingelesen: ", "Read: "};
constexpr text_paar geschrieben{"Datensatz %1 geschrieben: %2 Stunden, Einstrahlung %3 kWh/qm im Jahr",
                                "Record %1 written: %2 hours, irradiation %3 kWh/qm a year"};
constexpr text_paar zahlfehler{"' ist kein gültiger Gleitkommawert", "' is not a valid floating point value"};
}  // namespace c

const std::vector<std::string> STATIONSSPALTEN = {"wmo", "name", "land", "breite", "laenge", "hoehe"};

}  // namespace

TDetailtabelle_einlesen::TDetailtabelle_einlesen(QWidget* eltern) : QDialog(eltern) {
    setObjectName(QStringLiteral("TDetailtabelle_einlesen"));
    auto* spalte = new QVBoxLayout(this);
    datensatz_ = new QLabel(this);
    datensatz_->setObjectName(QStringLiteral("datensatz"));
    spalte->addWidget(datensatz_);
    auto label = [this](QWidget* eltern) {
        auto* l = new QLabel(eltern);
        labels_.push_back(l);
        return l;
    };
    auto knopf = [this](QWidget* eltern, const char* name) {
        auto* k = new QPushButton(eltern);
        k->setObjectName(QString::fromLatin1(name));
        return k;
    };
    auto radiogruppe = [](QGroupBox* g, QButtonGroup* wahl, std::vector<QRadioButton*>& knoepfe, int n,
                          const char* name) {
        auto* l = new QVBoxLayout(g);
        for (int i = 0; i < n; ++i) {
            auto* r = new QRadioButton(g);
            r->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(i));
            wahl->addButton(r, i);
            knoepfe.push_back(r);
            l->addWidget(r);
        }
        l->addStretch(1);
    };

    atlas_ = new QGroupBox(this);
    auto* a = new QGridLayout(atlas_);
    datenart_ = new QGroupBox(atlas_);
    datenart_wahl_ = new QButtonGroup(this);
    radiogruppe(datenart_, datenart_wahl_, datenart_knoepfe_, 3, "datenart");
    groesse_ = new QGroupBox(atlas_);
    groesse_wahl_ = new QButtonGroup(this);
    radiogruppe(groesse_, groesse_wahl_, groesse_knoepfe_, 3, "groesse");
    groesse_knoepfe_[0]->setChecked(true);
    connect(datenart_wahl_, &QButtonGroup::idClicked, this, [this] {
        const bool jahr = aufloesung() != atlas_aufloesung::monat;
        jahrgruppe_->setEnabled(jahr && vorbereitung_.ok);
        jahre_->clear();
    });
    jahrgruppe_ = new QGroupBox(atlas_);
    auto* j = new QVBoxLayout(jahrgruppe_);
    jahre_ermitteln_ = knopf(jahrgruppe_, "JahreErmitteln");
    jahre_ = new QListWidget(jahrgruppe_);
    jahre_->setObjectName(QStringLiteral("jahre"));
    j->addWidget(jahre_ermitteln_);
    j->addWidget(jahre_, 1);
    a->addWidget(datenart_, 0, 0);
    a->addWidget(groesse_, 1, 0);
    a->addWidget(jahrgruppe_, 2, 0);

    suche_ = new QGroupBox(atlas_);
    auto* s = new QGridLayout(suche_);
    suchfeld_ = new QLineEdit(suche_);
    suchfeld_->setObjectName(QStringLiteral("stationssuche"));
    s->addWidget(label(suche_), 0, 0);
    s->addWidget(suchfeld_, 0, 1, 1, 2);
    sortier_wahl_ = new QButtonGroup(this);
    for (int i = 0; i < 2; ++i) {
        auto* r = new QRadioButton(suche_);
        r->setObjectName(QStringLiteral("sortierung_%1").arg(i));
        sortier_wahl_->addButton(r, i);
        sortier_knoepfe_.push_back(r);
        s->addWidget(r, 1, 1 + i);
    }
    sortier_knoepfe_[0]->setChecked(true);
    landfeld_ = new QLineEdit(suche_);
    landfeld_->setObjectName(QStringLiteral("land"));
    landfeld_->setMaximumWidth(90);
    s->addWidget(label(suche_), 2, 0);
    s->addWidget(landfeld_, 2, 1);
    filter_anwenden_ = knopf(suche_, "FilterAnwenden");
    s->addWidget(filter_anwenden_, 2, 2);
    mittelwerte_aus_ = new QCheckBox(suche_);
    mittelwerte_aus_->setObjectName(QStringLiteral("MittelwerteAus"));
    s->addWidget(mittelwerte_aus_, 3, 1, 1, 2);
    modell_ = new tabellen_modell(this);
    stationen_ = new QTableView(suche_);
    stationen_->setObjectName(QStringLiteral("stationen"));
    stationen_->setModel(modell_);
    stationen_->setSelectionBehavior(QAbstractItemView::SelectRows);
    stationen_->setSelectionMode(QAbstractItemView::SingleSelection);
    stationen_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    stationen_->verticalHeader()->setDefaultSectionSize(stationen_->fontMetrics().height() + 6);
    stationen_->horizontalHeader()->setStretchLastSection(true);
    s->addWidget(stationen_, 4, 0, 1, 3);
    s->setRowStretch(4, 1);
    s->setColumnStretch(1, 1);
    s->setColumnStretch(2, 1);
    a->addWidget(suche_, 0, 1, 3, 1);

    auto* unten = new QGridLayout;
    norm_ir_ = new QLineEdit(atlas_);
    norm_ir_->setObjectName(QStringLiteral("norm_ir"));
    norm_ta_ = new QLineEdit(atlas_);
    norm_ta_->setObjectName(QStringLiteral("norm_ta"));
    for (auto* f : {norm_ir_, norm_ta_}) f->setMaximumWidth(90);
    unten->addWidget(label(atlas_), 0, 0);
    unten->addWidget(norm_ir_, 0, 1);
    unten->addWidget(label(atlas_), 0, 2);
    unten->addWidget(norm_ta_, 0, 3);
    daten_einlesen_ = knopf(atlas_, "DatenEinlesen");
    unten->addWidget(daten_einlesen_, 0, 5);
    unten->setColumnStretch(4, 1);
    a->addLayout(unten, 3, 0, 1, 2);
    a->setColumnStretch(1, 1);
    a->setRowStretch(2, 1);
    spalte->addWidget(atlas_, 1);

    wetter_ = new QGroupBox(this);
    auto* w = new QGridLayout(wetter_);
    wettername_ = new QLineEdit(wetter_);
    wettername_->setObjectName(QStringLiteral("wettername"));
    ersetzen_ = new QCheckBox(wetter_);
    ersetzen_->setObjectName(QStringLiteral("ersetzen"));
    wetterdatei_ = knopf(wetter_, "Wetterdatei");
    w->addWidget(label(wetter_), 0, 0);
    w->addWidget(wettername_, 0, 1);
    w->addWidget(ersetzen_, 0, 2);
    w->addWidget(wetterdatei_, 0, 3);
    w->setColumnStretch(1, 1);
    spalte->addWidget(wetter_);

    auto* leiste = new QHBoxLayout;
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));
    status_->setWordWrap(true);
    leiste->addWidget(status_, 1);
    schliessen_ = knopf(this, "Schliessen");
    leiste->addWidget(schliessen_);
    spalte->addLayout(leiste);

    connect(schliessen_, &QPushButton::clicked, this, &QDialog::accept);
    connect(suchfeld_, &QLineEdit::textEdited, this,
            [this](const QString& t) { am_ereignisrand([&] { station_suchen(t); }); });
    connect(sortier_wahl_, &QButtonGroup::idClicked, this, [this](int i) { am_ereignisrand([&] { sortieren(i); }); });
    connect(filter_anwenden_, &QPushButton::clicked, this, [this] { am_ereignisrand([this] { filter_anwenden(); }); });
    connect(jahre_ermitteln_, &QPushButton::clicked, this, [this] { am_ereignisrand([this] { jahre_ermitteln(); }); });
    connect(daten_einlesen_, &QPushButton::clicked, this, [this] { am_ereignisrand([this] { daten_einlesen(); }); });
    connect(wetterdatei_, &QPushButton::clicked, this, [this] { am_ereignisrand([this] { wetterdatei_einlesen(); }); });
    resize(1000, 700);
    beschriften();
}

void TDetailtabelle_einlesen::beschriften() {
    setWindowTitle(q(c::titel));
    atlas_->setTitle(q(c::atlas));
    datenart_->setTitle(q(c::datenart));
    groesse_->setTitle(q(c::groesse));
    suche_->setTitle(q(c::station));
    jahrgruppe_->setTitle(q(c::jahr));
    wetter_->setTitle(q(c::wetter));
    const text_paar* arten[] = {&c::monatswerte, &c::tageswerte, &c::stundenwerte};
    const text_paar* groessen[] = {&c::global, &c::diffus, &c::temperatur};
    for (int i = 0; i < 3; ++i) {
        datenart_knoepfe_[static_cast<std::size_t>(i)]->setText(q(*arten[i]));
        groesse_knoepfe_[static_cast<std::size_t>(i)]->setText(q(*groessen[i]));
    }
    sortier_knoepfe_[0]->setText(q(c::land_ort));
    sortier_knoepfe_[1]->setText(q(c::breite_laenge));
    const text_paar* l[] = {&c::suche, &c::land, &c::norm_ir, &c::norm_ta, &c::name};
    for (std::size_t i = 0; i < labels_.size() && i < std::size(l); ++i) labels_[i]->setText(q(*l[i]));
    mittelwerte_aus_->setText(q(c::mittelwerte_aus));
    ersetzen_->setText(q(c::ersetzen));
    filter_anwenden_->setText(q(c::filter_anwenden));
    jahre_ermitteln_->setText(q(c::jahre_ermitteln));
    daten_einlesen_->setText(q(c::daten_einlesen));
    wetterdatei_->setText(q(c::wetterdatei));
    wettername_->setPlaceholderText(q(c::name_aus_datei));
    schliessen_->setText(q(c::schliessen));
    QStringList titel;
    const auto alle = Spalten_ueberschriften(twmo);
    const auto& schema = tabellenschema(twmo).spalten;
    for (const auto& s : STATIONSSPALTEN) {
        QString t = QString::fromStdString(s);
        for (std::size_t k = 0; k < schema.size() && k < alle.size(); ++k)
            if (schema[k].name == s) t = QString::fromStdString(alle[k]);
        titel << t;
    }
    modell_->setze_titel(titel);
}

void TDetailtabelle_einlesen::changeEvent(QEvent* e) {
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) beschriften();
    QDialog::changeEvent(e);
}

void TDetailtabelle_einlesen::vorbereiten() {
    status_->clear();
    jahre_->clear();
    QString name;
    am_ereignisrand([&] {
        tabelle& w = tab(tir_ta_m);
        if (w.ist_offen() && w.hat_zeile()) name = QString::fromStdString(w.text("name"));
    });
    datensatz_->setText(q(c::datensatz) + name);
    vorbereitung_ = {};
    am_ereignisrand([&] { vorbereitung_ = vor_aufruf(); });
    filter_in_kraft_ = vorbereitung_.stationsfilter;
    for (int i = 0; i < 3; ++i) {
        const auto a = static_cast<atlas_aufloesung>(i);
        const bool moeglich = std::find(vorbereitung_.aufloesungen.begin(), vorbereitung_.aufloesungen.end(), a) !=
                              vorbereitung_.aufloesungen.end();
        datenart_knoepfe_[static_cast<std::size_t>(i)]->setEnabled(moeglich);
    }
    if (!vorbereitung_.aufloesungen.empty()) waehle_aufloesung(vorbereitung_.aufloesungen.front());
    atlas_->setEnabled(vorbereitung_.ok);
    jahrgruppe_->setEnabled(vorbereitung_.ok && aufloesung() != atlas_aufloesung::monat);
    // The scale factors of the path profile in force.
    double ir = 1.0, ta = 1.0;
    am_ereignisrand([&] {
        tabelle& p = tab(trespfad);
        if (p.ist_offen() && p.hat_zeile()) {
            if (p.zahl("norm_ir") > 0.0) ir = p.zahl("norm_ir");
            if (p.zahl("norm_ta") > 0.0) ta = p.zahl("norm_ta");
        }
    });
    norm_ir_->setText(QString::number(ir, 'g', 10));
    norm_ta_->setText(QString::number(ta, 'g', 10));
    stationen_lesen();
    beschriften();
}

void TDetailtabelle_einlesen::zeige_modal() {
    vorbereiten();
    exec();
}

void TDetailtabelle_einlesen::stationen_lesen() {
    laedt_ = true;
    zeilenliste z;
    int zeile = -1;
    am_ereignisrand([&] {
        tabelle& w = tab(twmo);
        if (!w.ist_offen()) return;
        z = lies_zeilen(twmo);
        if (w.hat_zeile()) zeile = static_cast<int>(w.position());
    });
    modell_->setze(std::move(z), STATIONSSPALTEN);
    stationen_->resizeColumnsToContents();
    if (zeile >= 0 && zeile < modell_->rowCount()) stationen_->selectRow(zeile);
    laedt_ = false;
}

QString TDetailtabelle_einlesen::station() const {
    return modell_->wert(stationen_->currentIndex().row(), "wmo");
}

atlas_aufloesung TDetailtabelle_einlesen::aufloesung() const {
    const int i = datenart_wahl_->checkedId();
    return i < 0 ? atlas_aufloesung::monat : static_cast<atlas_aufloesung>(i);
}

atlas_groesse TDetailtabelle_einlesen::groesse() const {
    const int i = groesse_wahl_->checkedId();
    return i < 0 ? atlas_groesse::global : static_cast<atlas_groesse>(i);
}

void TDetailtabelle_einlesen::waehle_aufloesung(atlas_aufloesung a) {
    datenart_knoepfe_[static_cast<std::size_t>(a)]->setChecked(true);
    jahrgruppe_->setEnabled(vorbereitung_.ok && a != atlas_aufloesung::monat);
    jahre_->clear();
}

void TDetailtabelle_einlesen::waehle_groesse(atlas_groesse g) { groesse_knoepfe_[static_cast<std::size_t>(g)]->setChecked(true); }

bool TDetailtabelle_einlesen::waehle_station(const QString& nummer) {
    const int zeile = modell_->finde("wmo", nummer.toStdString());
    if (zeile < 0) return false;
    stationen_->selectRow(zeile);
    return true;
}

QLineEdit* TDetailtabelle_einlesen::feld(const char* name) const { return findChild<QLineEdit*>(QString::fromLatin1(name)); }

QPushButton* TDetailtabelle_einlesen::knopf(const char* name) const {
    return findChild<QPushButton*>(QString::fromLatin1(name));
}

void TDetailtabelle_einlesen::station_suchen(const QString& text) {
    tabelle& w = tab(twmo);
    if (!w.ist_offen() || text.trimmed().isEmpty()) return;
    // A station number or the beginning of a place name.
    const bool nummer = text.trimmed().front().isDigit();
    w.sortiere_nach_index(nummer ? "iwmo" : "iname");
    w.suche_naechsten({feldwert(text.trimmed().toStdString())});
    stationen_lesen();
}

void TDetailtabelle_einlesen::sortieren(int art) {
    tabelle& w = tab(twmo);
    if (!w.ist_offen()) return;
    w.sortiere_nach_index(art == 1 ? "iBreite_Laenge" : "iLand_Ort");
    stationen_lesen();
}

void TDetailtabelle_einlesen::filter_anwenden() {
    tabelle& w = tab(twmo);
    if (!w.ist_offen()) return;
    std::vector<filterbedingung> f;
    if (!mittelwerte_aus_->isChecked()) f = vorbereitung_.stationsfilter;
    const std::string land = landfeld_->text().trimmed().toStdString();
    if (!land.empty()) f.push_back({"land", "=", feldwert(land)});
    filter_in_kraft_ = f;
    if (f.empty()) w.filter_aus();
    else w.setze_filter(f);
    w.erster();
    stationen_lesen();
}

void TDetailtabelle_einlesen::jahre_ermitteln() {
    const QString s = station();
    if (s.isEmpty()) {
        meldung(c::station_waehlen.text(), "M", 'W');
        return;
    }
    const atlas_aufloesung a = aufloesung();
    if (a == atlas_aufloesung::monat) return;
    const char* praefix = groesse() == atlas_groesse::global ? "gr" : groesse() == atlas_groesse::diffus ? "dr" : "tn";
    const auto datei = oeffnen_dialog(this, (a == atlas_aufloesung::tag ? c::tageswerte_einlesen : c::stundenwerte_einlesen).text(),
                                      atlasdatei(a, praefix, s.toStdString()), c::ascii.text());
    if (!datei) return;
    jahre_->clear();
    for (int j : ::jahre_ermitteln(*datei, a)) jahre_->addItem(QString::number(j));
    if (jahre_->count() > 0) jahre_->setCurrentRow(0);
}

void TDetailtabelle_einlesen::daten_einlesen() {
    const QString s = station();
    if (s.isEmpty()) {
        meldung(c::station_waehlen.text(), "M", 'W');
        return;
    }
    const atlas_aufloesung a = aufloesung();
    int jahr = 0;
    if (a != atlas_aufloesung::monat) {
        if (!jahre_->currentItem()) {
            meldung(c::jahr_waehlen.text(), "M", 'W');
            return;
        }
        jahr = jahre_->currentItem()->text().toInt();
    }
    double faktor[2] = {1.0, 1.0};
    QLineEdit* felder[2] = {norm_ir_, norm_ta_};
    for (int i = 0; i < 2; ++i) {
        const std::string t = felder[i]->text().trimmed().toStdString();
        const auto x = lies_zahl(t);
        if (!x) {
            meldung("'" + t + c::zahlfehler.text(), "M", 'E');
            return;
        }
        faktor[i] = *x;
    }
    if (::daten_einlesen(a, groesse(), s.toStdString(), jahr, faktor[0], faktor[1])) {
        tab(tir_ta_m).aktualisiere();
        status_->setText(q(c::eingelesen) + s + (jahr > 0 ? QStringLiteral(" ") + QString::number(jahr) : QString()));
    }
}

void TDetailtabelle_einlesen::wetterdatei_einlesen() {
    const auto datei = oeffnen_dialog(this, c::wetterdatei.text(), einstellungen().klimadatenverzeichnis,
                                      c::wetterfilter.text());
    if (!datei) return;
    const auto jahr = lies_wetterdatei(*datei);
    if (!jahr) return;
    std::string name = wettername_->text().trimmed().toStdString();
    if (name.empty()) name = QFileInfo(QString::fromStdString(datei->string())).completeBaseName().left(50).toStdString();
    const auto e = schreibe_wetterdatensatz(*jahr, name, ersetzen_->isChecked());
    if (!e) return;
    tab(tir_ta_m).aktualisiere();
    tab(tir_ta_d).aktualisiere();
    positioniere_auf(tir_ta_m, name);
    wettername_->setText(QString::fromStdString(name));
    datensatz_->setText(q(c::datensatz) + QString::fromStdString(name));
    status_->setText(q(c::geschrieben)
                         .arg(QString::fromStdString(name))
                         .arg(e->stunden)
                         .arg(QString::number(e->jahreseinstrahlung, 'f', 1)));
}
