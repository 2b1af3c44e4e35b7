#pragma once
// Twelve small month charts in a grid (January to December), each a line of
// step points: the common part of the run monitors "Zwischenergebnisse (V)"
// and "Zwischenergebnisse (T)".

#include <QWidget>

#include <array>
#include <cstdint>
#include <string>

#include "results/laufmonitor.h"

class QChart;
class QChartView;
class QLineSeries;
class QValueAxis;

class monatsdiagramme : public QWidget {
    Q_OBJECT
public:
    explicit monatsdiagramme(QWidget* eltern = nullptr);
    // Titles and points of the twelve months ([1..12]); the x caption goes
    // below the bottom row (the window names y above the charts). A month
    // whose record, caption and axis end are the ones shown is left as it is.
    void zeige(const std::array<monitor_monat, MAXMONAT + 1>& monate, const QString& x_name);
    // Bottom-axis maximum of month m (none when not positive).
    void setze_x_maximum(int monat, int maximum);
    int punkte(int monat) const;
    QChartView* ansicht(int monat) const { return ansichten_[static_cast<std::size_t>(monat)]; }

private:
    std::array<QChartView*, MAXMONAT + 1> ansichten_{};
    std::array<QLineSeries*, MAXMONAT + 1> linien_{};
    std::array<QValueAxis*, MAXMONAT + 1> x_{}, y_{};
    std::array<int, MAXMONAT + 1> x_max_{};
    // What each chart shows: the month record's change stamp, the caption and
    // the axis end it was drawn with.
    struct gezeigt {
        uint64_t aenderung = UINT64_MAX;
        QString x_name;
        int x_max = 0;
        std::string titel;
    };
    std::array<gezeigt, MAXMONAT + 1> gezeigt_{};
};
