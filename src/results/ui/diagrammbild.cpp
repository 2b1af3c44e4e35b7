#include "results/ui/diagrammbild.h"

#include <QCategoryAxis>
#include <QChart>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QImage>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLocale>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QScatterSeries>
#include <QSvgGenerator>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <limits>

#include "lang/spaltentexte.h"
#include "results/ergebnisgraphik.h"
#include "results/graphiktexte.h"
#include "results/graphkalk.h"

namespace {

// Curve colours, one per curve number; the right curve i takes the colour of
// left curve i, dashed. No yellow: it vanishes on white paper.
const QColor FARBEN[] = {QColor(0x1f, 0x4e, 0xa8), QColor(0xc0, 0x28, 0x28), QColor(0x2a, 0x8a, 0x2a),
                         QColor(0x80, 0x00, 0x80), QColor(0xe0, 0x7b, 0x00), QColor(0x6b, 0x4a, 0x2b)};

QColor farbe(int i) { return FARBEN[static_cast<std::size_t>(i) % std::size(FARBEN)]; }

QString q(const std::string& s) { return QString::fromStdString(s); }
// Legend entries and axis titles are rich text in Qt Charts: names are
// escaped so that "<" or "&" in a data set's name show as written.
QString html(const std::string& s) { return QString::fromStdString(s).toHtmlEscaped(); }
// The language's numbers without group separators.
QLocale zahlenformat() {
    QLocale l;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    return l;
}

// An axis title with its unit as the language writes it (m² in English).
QString achsentitel(const std::string& s) { return html(einheit_anzeige(s)); }


void leere(QChart& chart) {
    chart.removeAllSeries();
    for (QAbstractAxis* a : chart.axes()) {
        chart.removeAxis(a);
        delete a;
    }
}

// Range of x over all points; a single value or none gets a span of its own.
std::pair<double, double> x_bereich(const std::vector<kurvenanzeige>& serien) {
    double lo = std::numeric_limits<double>::infinity(), hi = -lo;
    for (const auto& s : serien)
        for (const auto& [x, y] : s.punkte) {
            (void)y;
            if (!std::isfinite(x)) continue;
            lo = std::min(lo, x);
            hi = std::max(hi, x);
        }
    if (!(lo <= hi)) return {0.0, 1.0};
    if (lo == hi) return {lo - 1.0, hi + 1.0};
    return {lo, hi};
}

QList<QPointF> als_punkte(const std::vector<std::pair<double, double>>& p) {
    QList<QPointF> l;
    l.reserve(static_cast<qsizetype>(p.size()));
    for (const auto& [x, y] : p) l.append(QPointF(x, y));
    return l;
}

// A line; few points are marked so that a curve of one point is seen too.
QLineSeries* linie(const QString& name, const std::vector<std::pair<double, double>>& p, const QColor& c,
                   bool gestrichelt, bool labels) {
    auto* s = new QLineSeries;
    s->setName(name.toHtmlEscaped());
    s->replace(als_punkte(p));
    QPen stift(c);
    stift.setWidthF(2.0);
    if (gestrichelt) stift.setStyle(Qt::DashLine);
    s->setPen(stift);
    s->setPointsVisible(p.size() <= 40);
    s->setPointLabelsVisible(labels);
    s->setPointLabelsFormat(QStringLiteral("@yPoint"));
    s->setPointLabelsClipping(false);
    return s;
}

void titel_setzen(QChart& chart, const QString& titel, const QString& info) {
    QString t = titel.toHtmlEscaped();
    if (!info.isEmpty()) t += QStringLiteral("<br><small>") + info.toHtmlEscaped() + QStringLiteral("</small>");
    chart.setTitle(t);
}

// An axis range as the chart window sets it: largest y plus 10 %, smallest
// minus 10 % when negative, else 0; a largest value of 0 becomes 10.
std::pair<double, double> y_bereich(const std::vector<double>& ys) {
    if (ys.empty()) return {0.0, 11.0};
    double lo = *std::min_element(ys.begin(), ys.end()), hi = *std::max_element(ys.begin(), ys.end());
    if (hi == 0.0) hi = 10.0;
    return {lo < 0.0 ? lo - std::abs(lo) * 0.1 : 0.0, hi + std::abs(hi) * 0.1};
}

void grundeinstellung(QChart& chart, double titelgroesse) {
    chart.setAnimationOptions(QChart::NoAnimation);
    // Tick labels with the language's decimal separator (the label format
    // needs an explicit precision then), without group separators.
    chart.setLocalizeNumbers(true);
    chart.setLocale(zahlenformat());
    chart.setBackgroundRoundness(0);
    // Room on the right for the last tick label of the bottom axis.
    chart.setMargins(QMargins(5, 5, 20, 5));
    QFont f = QChart().titleFont();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * titelgroesse);
    chart.setTitleFont(f);
}

// Lays the chart out at its current size (a chart outside a view is laid
// out only by the event loop otherwise).
void auslegen(QChart& chart) {
    if (QGraphicsLayout* l = chart.layout()) l->activate();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    if (QGraphicsLayout* l = chart.layout()) l->activate();
}

// The chart of `a` in a scene of its own, laid out at `groesse`.
struct bildszene {
    QGraphicsScene szene;
    QChart* chart = new QChart;
    bildszene(const diagrammanzeige& a, QSize groesse) {
        szene.addItem(chart);
        zeichne_diagramm(*chart, a, true);
        chart->setGeometry(QRectF(QPointF(0, 0), QSizeF(groesse)));
        szene.setSceneRect(chart->geometry());
        auslegen(*chart);
    }
    void male(QPainter& p, const QRectF& ziel) { szene.render(&p, ziel, szene.sceneRect(), Qt::IgnoreAspectRatio); }
};

// Long curve names do not fit side by side below the chart: then the legend
// lists them one under the other on the right.
void legende_setzen(QChart& chart, const std::vector<std::string>& namen) {
    std::size_t zeichen = 0;
    for (const auto& n : namen) zeichen += n.size() + 6;
    chart.legend()->setAlignment(zeichen > 110 ? Qt::AlignRight : Qt::AlignBottom);
    chart.legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);
    chart.legend()->setVisible(!namen.empty());
}

}  // namespace

void runde_teilung(QValueAxis* a, double lo, double hi) {
    a->setLabelFormat(QStringLiteral("%.6g"));
    const double spanne = hi - lo;
    if (!std::isfinite(spanne) || !(spanne > 0.0)) return;
    const double roh = spanne / 5.0;
    const double p = std::pow(10.0, std::floor(std::log10(roh)));
    const double f = roh / p;
    const double schritt = (f <= 1.0 ? 1.0 : f <= 2.0 ? 2.0 : f <= 2.5 ? 2.5 : f <= 5.0 ? 5.0 : 10.0) * p;
    // The interval before the type: a dynamic axis with the interval of an
    // earlier, smaller range would lay out millions of ticks.
    a->setTickAnchor(0.0);
    a->setTickInterval(schritt);
    a->setTickType(QValueAxis::TicksDynamic);
}

void setze_bereich(QValueAxis* a, double lo, double hi) {
    // Fixed ticks while the range changes (see runde_teilung).
    a->setTickType(QValueAxis::TicksFixed);
    a->setRange(lo, hi);
    runde_teilung(a, lo, hi);
}

namespace {

// A bottom axis over [lo, hi] that ends on round steps of about a sixth of
// the span (months 1..12 give 0..12, not 0..15 as Qt's nice numbers would).
void x_achse_setzen(QValueAxis* a, double lo, double hi) {
    a->setLabelFormat(QStringLiteral("%.6g"));
    const double spanne = hi - lo;
    if (!std::isfinite(spanne) || !(spanne > 0.0)) {
        a->setRange(lo, hi);
        return;
    }
    const double roh = spanne / 6.0;
    const double p = std::pow(10.0, std::floor(std::log10(roh)));
    const double f = roh / p;
    const double schritt = (f <= 1.0 ? 1.0 : f <= 2.0 ? 2.0 : f <= 2.5 ? 2.5 : f <= 5.0 ? 5.0 : 10.0) * p;
    const double ende_lo = std::floor(lo / schritt + 1e-9) * schritt;
    const double ende_hi = std::ceil(hi / schritt - 1e-9) * schritt;
    a->setTickType(QValueAxis::TicksFixed);
    a->setRange(ende_lo, ende_hi);
    a->setTickAnchor(0.0);
    a->setTickInterval(schritt);
    a->setTickType(QValueAxis::TicksDynamic);
}

// A bottom axis over the months: the months' names instead of the numbers
// 0..12. Values at whole numbers stand in the middle of their month (1 is
// January); values at half numbers are month middles (0.5 is January).
// Null when the values are not months.
QCategoryAxis* monatsachse(const std::string& titel, const std::vector<std::vector<double>>& xs) {
    if (titel != graphiktexte::monat.deutsch && titel != graphiktexte::monat.englisch) return nullptr;
    bool ganz = true, halb = true, leer = true;
    for (const auto& reihe : xs)
        for (double x : reihe) {
            if (!std::isfinite(x)) continue;
            leer = false;
            if (x < 0.0 || x > 12.5) return nullptr;
            ganz = ganz && x == std::floor(x);
            halb = halb && x - std::floor(x) == 0.5;
        }
    if (leer || (!ganz && !halb)) return nullptr;
    auto* a = new QCategoryAxis;
    const double versatz = ganz ? 0.5 : 1.0;
    a->setMin(1.0 - versatz);
    a->setMax(13.0 - versatz);
    a->setStartValue(1.0 - versatz);
    for (int m = 1; m <= 12; ++m) a->append(QLocale().monthName(m, QLocale::ShortFormat), m + 1.0 - versatz);
    a->setLabelsPosition(QCategoryAxis::AxisLabelsPositionCenter);
    a->setTitleText(achsentitel(titel));
    return a;
}

}  // namespace

void zeichne_diagramm(QChart& chart, const diagrammanzeige& a, bool mit_titel) {
    leere(chart);
    grundeinstellung(chart, 1.25);
    if (mit_titel) titel_setzen(chart, q(a.titel), q(a.info));
    else chart.setTitle(QString());

    std::vector<std::vector<double>> xs;
    for (const auto& k : a.serien) {
        xs.emplace_back();
        for (const auto& [px, py] : k.punkte) xs.back().push_back(px);
    }
    QAbstractAxis* x = monatsachse(a.achse_unten, xs);
    if (!x) {
        auto* wert = new QValueAxis;
        wert->setTitleText(achsentitel(a.achse_unten));
        const auto [x_lo, x_hi] = x_bereich(a.serien);
        x_achse_setzen(wert, x_lo, x_hi);
        x = wert;
    }
    auto* y = new QValueAxis;
    y->setTitleText(achsentitel(a.achse_links));
    y->setRange(a.links.min, a.links.max);
    runde_teilung(y, a.links.min, a.links.max);
    chart.addAxis(x, Qt::AlignBottom);
    chart.addAxis(y, Qt::AlignLeft);

    const bool rechte = a.rechts_sichtbar &&
                        std::any_of(a.serien.begin(), a.serien.end(), [](const kurvenanzeige& k) { return k.rechts; });
    QValueAxis* yr = nullptr;
    if (rechte) {
        yr = new QValueAxis;
        yr->setTitleText(achsentitel(a.achse_rechts));
        // The grid follows the left axis; a second grid at the right axis's
        // ticks would cross it.
        yr->setGridLineVisible(false);
        yr->setRange(a.rechts.min, a.rechts.max);
        runde_teilung(yr, a.rechts.min, a.rechts.max);
        chart.addAxis(yr, Qt::AlignRight);
    }
    int links = 0, rechts = 0;
    std::vector<std::string> namen;
    for (const kurvenanzeige& k : a.serien) {
        if (k.rechts && !rechte) continue;
        namen.push_back(k.titel);
        const int i = k.rechts ? rechts++ : links++;
        QLineSeries* s = linie(q(k.titel), k.punkte, farbe(i), k.rechts, a.labels);
        chart.addSeries(s);
        s->attachAxis(x);
        s->attachAxis(k.rechts ? yr : y);
    }
    legende_setzen(chart, namen);
}

void zeichne_diagramm(QChart& chart, const uebersichtsdiagramm& d) {
    leere(chart);
    grundeinstellung(chart, 1.0);
    titel_setzen(chart, q(d.titel), d.berechnet ? QString() : q(graphiktexte::nicht_berechnet.text()));
    // A sum of two quantities gets a line of its own for each.
    if (d.titel.size() > 36) chart.setTitle(chart.title().replace(QStringLiteral(" + "), QStringLiteral("<br>+ ")));

    std::vector<double> ys;
    double x_lo = std::numeric_limits<double>::infinity(), x_hi = -x_lo;
    for (const auto& k : d.kurven)
        for (const auto& [px, py] : k.werte) {
            if (!std::isfinite(px) || !std::isfinite(py)) continue;
            ys.push_back(py);
            x_lo = std::min(x_lo, px);
            x_hi = std::max(x_hi, px);
        }
    if (!(x_lo <= x_hi)) x_lo = 0.0, x_hi = 1.0;
    if (x_lo == x_hi) x_lo -= 1.0, x_hi += 1.0;

    std::vector<std::vector<double>> xs;
    for (const auto& k : d.kurven) {
        xs.emplace_back();
        for (const auto& [px, py] : k.werte) xs.back().push_back(px);
    }
    QAbstractAxis* x = monatsachse(d.xname, xs);
    if (!x) {
        auto* wert = new QValueAxis;
        wert->setTitleText(achsentitel(d.xname));
        x_achse_setzen(wert, x_lo, x_hi);
        x = wert;
    }
    auto* y = new QValueAxis;
    // A quantity without unit ("-") needs no axis title.
    y->setTitleText(d.yname == "-" ? QString() : achsentitel(d.yname));
    const auto [y_lo, y_hi] = y_bereich(ys);
    y->setRange(y_lo, y_hi);
    runde_teilung(y, y_lo, y_hi);
    chart.addAxis(x, Qt::AlignBottom);
    chart.addAxis(y, Qt::AlignLeft);
    int i = 0;
    for (const auto& k : d.kurven) {
        QXYSeries* s = nullptr;
        if (k.punkte) {
            auto* p = new QScatterSeries;
            p->setMarkerSize(9.0);
            p->setColor(farbe(i));
            p->setBorderColor(farbe(i));
            p->replace(als_punkte(k.werte));
            p->setName(html(k.name));
            s = p;
        } else {
            s = linie(q(k.name), k.werte, farbe(i), false, false);
        }
        ++i;
        chart.addSeries(s);
        s->attachAxis(x);
        s->attachAxis(y);
    }
    std::vector<std::string> namen;
    for (const auto& k : d.kurven) namen.push_back(k.name);
    legende_setzen(chart, namen);
    chart.legend()->setVisible(d.kurven.size() > 1);
}

bildformat bildformat_von(const QString& datei) {
    const QString e = QFileInfo(datei).suffix().toLower();
    if (e == QLatin1String("svg")) return bildformat::svg;
    if (e == QLatin1String("png")) return bildformat::png;
    if (e == QLatin1String("pdf")) return bildformat::pdf;
    return bildformat::unbekannt;
}

bool speichere_diagramm(const diagrammanzeige& a, const QString& datei, QSize groesse, QString* fehler) {
    auto fehlschlag = [&](const QString& grund) {
        if (fehler) *fehler = grund;
        return false;
    };
    const bildformat f = bildformat_von(datei);
    if (f == bildformat::unbekannt) return fehlschlag(QStringLiteral("svg, png, pdf?"));
    if (groesse.width() < 50 || groesse.height() < 50 || groesse.width() > 20000 || groesse.height() > 20000)
        return fehlschlag(QStringLiteral("%1 x %2").arg(groesse.width()).arg(groesse.height()));

    bildszene b(a, groesse);
    QSaveFile aus(datei);
    if (!aus.open(QIODevice::WriteOnly)) return fehlschlag(aus.errorString());
    const QRectF ziel(QPointF(0, 0), QSizeF(groesse));
    bool ok = true;
    switch (f) {
    case bildformat::svg: {
        QSvgGenerator svg;
        svg.setOutputDevice(&aus);
        svg.setSize(groesse);
        svg.setViewBox(QRect(QPoint(0, 0), groesse));
        svg.setTitle(QString::fromStdString(a.titel));
        svg.setDescription(QString::fromStdString(a.info));
        QPainter p(&svg);
        p.fillRect(ziel, Qt::white);
        b.male(p, ziel);
        ok = p.end();
        break;
    }
    case bildformat::png: {
        QImage bild(groesse, QImage::Format_ARGB32);
        bild.fill(Qt::white);
        {
            QPainter p(&bild);
            p.setRenderHint(QPainter::Antialiasing);
            b.male(p, ziel);
        }
        ok = bild.save(&aus, "PNG");
        break;
    }
    case bildformat::pdf: {
        QPdfWriter pdf(&aus);
        pdf.setResolution(96);
        pdf.setPageSize(QPageSize(QSizeF(groesse.width() * 72.0 / 96.0, groesse.height() * 72.0 / 96.0),
                                  QPageSize::Point, QString(), QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setTitle(QString::fromStdString(a.titel));
        QPainter p(&pdf);
        p.setRenderHint(QPainter::Antialiasing);
        b.male(p, QRectF(p.viewport()));
        ok = p.end();
        break;
    }
    case bildformat::unbekannt:
        break;
    }
    if (!ok) {
        aus.cancelWriting();
        return fehlschlag(aus.errorString());
    }
    if (!aus.commit()) return fehlschlag(aus.errorString());
    return true;
}

void drucke_diagramm(QPrinter& drucker, const diagrammanzeige& a, const QString& ueberschrift) {
    QPainter p;
    if (!p.begin(&drucker)) return;
    const QRect seite = p.viewport();
    const double breite = std::max(100.0, std::min<double>(seite.width() - 400.0, 1.5 * (seite.height() - 700.0)));
    const QRectF ziel(200.0, 500.0, breite, breite * 2.0 / 3.0);
    QFont f = p.font();
    f.setPointSize(12);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QPointF(200.0, 250.0), ueberschrift);
    bildszene b(a, QSize(1200, 800));
    b.male(p, ziel);
    p.end();
}
