#include "results/ui/monatsdiagramme.h"

#include <QChart>
#include <QChartView>
#include <QGridLayout>
#include <QLineSeries>
#include <QLocale>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

#include "results/ui/diagrammbild.h"

monatsdiagramme::monatsdiagramme(QWidget* eltern) : QWidget(eltern) {
    auto* raster = new QGridLayout(this);
    raster->setSpacing(2);
    raster->setContentsMargins(0, 0, 0, 0);
    for (int m = 1; m <= MAXMONAT; ++m) {
        auto* chart = new QChart;
        chart->setAnimationOptions(QChart::NoAnimation);
        chart->setLocalizeNumbers(true);
        chart->setMargins(QMargins(2, 2, 2, 2));
        chart->legend()->setVisible(false);
        QFont f = chart->titleFont();
        f.setBold(true);
        chart->setTitleFont(f);
        auto* linie = new QLineSeries;
        QPen stift(QColor(0x1f, 0x4e, 0xa8));
        stift.setWidthF(1.5);
        linie->setPen(stift);
        chart->addSeries(linie);
        auto* x = new QValueAxis;
        auto* y = new QValueAxis;
        for (QValueAxis* a : {x, y}) {
            QFont k = a->labelsFont();
            k.setPointSizeF(std::max(6.0, k.pointSizeF() - 1.5));
            a->setLabelsFont(k);
            a->setLabelFormat(QStringLiteral("%.6g"));
        }
        chart->addAxis(x, Qt::AlignBottom);
        chart->addAxis(y, Qt::AlignLeft);
        linie->attachAxis(x);
        linie->attachAxis(y);
        auto* v = new QChartView(chart, this);
        v->setObjectName(QStringLiteral("Chart%1").arg(m));
        v->setRenderHint(QPainter::Antialiasing);
        v->setMinimumSize(230, 170);
        raster->addWidget(v, (m - 1) / 4, (m - 1) % 4);
        ansichten_[static_cast<std::size_t>(m)] = v;
        linien_[static_cast<std::size_t>(m)] = linie;
        x_[static_cast<std::size_t>(m)] = x;
        y_[static_cast<std::size_t>(m)] = y;
    }
}

void monatsdiagramme::setze_x_maximum(int monat, int maximum) {
    if (monat >= 1 && monat <= MAXMONAT) x_max_[static_cast<std::size_t>(monat)] = maximum;
}

int monatsdiagramme::punkte(int monat) const {
    return monat >= 1 && monat <= MAXMONAT ? static_cast<int>(linien_[static_cast<std::size_t>(monat)]->count()) : 0;
}

void monatsdiagramme::zeige(const std::array<monitor_monat, MAXMONAT + 1>& monate, const QString& x_name) {
    for (int m = 1; m <= MAXMONAT; ++m) {
        const auto i = static_cast<std::size_t>(m);
        const monitor_monat& mm = monate[i];
        gezeigt& g = gezeigt_[i];
        if (g.aenderung == mm.aenderung && g.x_name == x_name && g.x_max == x_max_[i] && g.titel == mm.titel)
            continue;
        g = {mm.aenderung, x_name, x_max_[i], mm.titel};
        QChart* chart = ansichten_[i]->chart();
        QLocale zahlen;
        zahlen.setNumberOptions(QLocale::OmitGroupSeparator);
        chart->setLocale(zahlen);
        chart->setTitle(QString::fromStdString(mm.titel));
        QList<QPointF> p;
        double x_lo = 0.0, x_hi = 0.0, y_lo = 0.0, y_hi = 0.0;
        bool erster = true;
        for (const stufenpunkt& s : mm.punkte) {
            if (!std::isfinite(s.x) || !std::isfinite(s.y)) continue;
            p.append(QPointF(s.x, s.y));
            if (erster) {
                x_lo = x_hi = s.x;
                y_lo = y_hi = s.y;
                erster = false;
            }
            x_lo = std::min(x_lo, s.x);
            x_hi = std::max(x_hi, s.x);
            y_lo = std::min(y_lo, s.y);
            y_hi = std::max(y_hi, s.y);
        }
        // Markers only where they can be told apart.
        linien_[i]->setPointsVisible(p.size() <= 60);
        linien_[i]->replace(p);
        const int x_max = x_max_[i];
        if (x_max > 0) x_lo = std::min(0.0, x_lo), x_hi = std::max<double>(x_max, x_hi);
        if (x_lo == x_hi) x_lo -= 1.0, x_hi += 1.0;
        setze_bereich(x_[i], x_lo, x_hi);
        const double y_min = std::min(0.0, y_lo), y_max = y_hi > 0.0 ? y_hi * 1.1 : 10.0;
        setze_bereich(y_[i], y_min, y_max);
        // The quantities are named once, above the charts; the bottom row
        // names x, so that small charts keep their room for the curve.
        x_[i]->setTitleText(m > 8 ? x_name : QString());
        y_[i]->setTitleText(QString());
    }
}
