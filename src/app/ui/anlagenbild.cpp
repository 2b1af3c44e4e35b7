#include "app/ui/anlagenbild.h"

#include <QPainter>
#include <QFontMetricsF>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <vector>

#include "lang/sprache.h"

namespace {

constexpr text_paar kollektor{"Kollektor", "Collector"};
constexpr text_paar speicher{"Speicher", "Store"};
constexpr text_paar zwischenspeicher{"Zwischen-\nspeicher", "Intermediate\nstore"};
constexpr text_paar puffer{"Puffer-\nspeicher", "Buffer\nstore"};
constexpr text_paar waermepumpe{"Wärme-\npumpe", "Heat\npump"};
constexpr text_paar zwischen_wp{"Zwischen-\nwärmepumpe", "Intermediate\nheat pump"};
constexpr text_paar haus{"Heizung und\nWarmwasser", "Heating and\nhot water"};
constexpr text_paar luft{"Luftwärme-\ntauscher", "Air heat\nexchanger"};

struct kasten {
    QRectF r;
    const text_paar* text;
    QColor farbe;
};

void pfeil(QPainter& p, QPointF a, QPointF b) {
    p.drawLine(a, b);
    const QPointF d = b - a;
    const double l = std::hypot(d.x(), d.y());
    if (l <= 0.0) return;
    const QPointF e = d / l, n(-e.y(), e.x());
    QPainterPath spitze;
    spitze.moveTo(b);
    spitze.lineTo(b - e * 8 + n * 4);
    spitze.lineTo(b - e * 8 - n * 4);
    spitze.closeSubpath();
    p.fillPath(spitze, p.pen().color());
}

}  // namespace

anlagenbild::anlagenbild(char art, QWidget* eltern) : QWidget(eltern), art_(art) {
    setObjectName(QStringLiteral("anlagenbild_%1").arg(QChar(QLatin1Char(art))));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void anlagenbild::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), palette().base());
    const QColor sonne(250, 214, 120), wasser(160, 200, 240), wp(200, 230, 190), hausfarbe(240, 190, 170),
        luftfarbe(220, 220, 220);
    std::vector<kasten> k;
    switch (art_) {
    case 'E':
        k = {{{}, &kollektor, sonne}, {{}, &speicher, wasser}, {{}, &waermepumpe, wp}, {{}, &haus, hausfarbe}};
        break;
    default:
        k = {{{}, &kollektor, sonne}, {{}, &zwischenspeicher, wasser}, {{}, &zwischen_wp, wp},
             {{}, &puffer, wasser},   {{}, &haus, hausfarbe}};
        break;
    }
    const int n = static_cast<int>(k.size());
    const bool mit_luft = art_ == 'K';

    // The labels keep a readable size (the window's font, at least 8 pt);
    // when the boxes do not fit side by side, they go on in a second row,
    // right to left, so that the flow stays one line of arrows.
    QFont f = font();
    f.setPointSizeF(std::max(8.0, f.pointSizeF()));
    const QFontMetricsF m(f);
    double textbreite = 0.0;
    for (const auto& b : k)
        for (const QString& zeile : QString::fromStdString(b.text->text()).split(QLatin1Char('\n')))
            textbreite = std::max(textbreite, m.horizontalAdvance(zeile));
    if (mit_luft)
        for (const QString& zeile : QString::fromStdString(luft.text()).split(QLatin1Char('\n')))
            textbreite = std::max(textbreite, m.horizontalAdvance(zeile));
    const double w = width(), h = height();
    const double rand = 6.0, pfeilraum = 18.0;
    const double bw_min = textbreite + 12.0;
    int spalten = n;
    while (spalten > 2 && spalten * (bw_min + pfeilraum) + 2 * rand > w) --spalten;
    const int boxreihen = (n + spalten - 1) / spalten;
    auto spalte_von = [&](int i) { return (i / spalten) % 2 == 0 ? i % spalten : spalten - 1 - i % spalten; };
    auto belegt = [&](int reihe, int spalte) {
        for (int i = 0; i < n; ++i)
            if (i / spalten == reihe && spalte_von(i) == spalte) return true;
        return false;
    };
    // The air heat exchanger goes below the intermediate store, or into the
    // free place at the left of the second row, or into a row of its own.
    int luft_reihe = -1, luft_spalte = -1;
    if (mit_luft) {
        const int unter = spalte_von(1);
        if (boxreihen > 1 && !belegt(1, unter)) luft_reihe = 1, luft_spalte = unter;
        else if (boxreihen > 1 && !belegt(1, 0)) luft_reihe = 1, luft_spalte = 0;
        else luft_reihe = boxreihen, luft_spalte = unter;
    }
    const int reihen = std::max(boxreihen, luft_reihe + 1);
    const double schlitz = (w - 2 * rand) / spalten;
    const double bw = schlitz - pfeilraum;
    const double zeilenhoehe = (h - 2 * rand) / reihen;
    const double bh = std::min(zeilenhoehe - pfeilraum, std::max(m.height() * 2.6, bw * 0.7));
    auto platz = [&](int reihe, int spalte) {
        const double y = rand + reihe * zeilenhoehe + (zeilenhoehe - bh) / 2;
        return QRectF(rand + spalte * schlitz + pfeilraum / 2, y, bw, bh);
    };
    for (int i = 0; i < n; ++i) k[static_cast<std::size_t>(i)].r = platz(i / spalten, spalte_von(i));

    p.setFont(f);
    p.setPen(QPen(palette().text().color(), 1.2));
    for (std::size_t i = 0; i + 1 < k.size(); ++i) {
        const QRectF& a = k[i].r;
        const QRectF& b = k[i + 1].r;
        if (std::abs(a.center().y() - b.center().y()) < 1.0) {
            const bool rechts = b.center().x() > a.center().x();
            pfeil(p, QPointF(rechts ? a.right() : a.left(), a.center().y()),
                  QPointF(rechts ? b.left() : b.right(), b.center().y()));
        } else {
            pfeil(p, QPointF(a.center().x(), a.bottom()), QPointF(b.center().x(), b.top()));
        }
    }
    if (mit_luft) {
        // The air heat exchanger feeds the intermediate store from below.
        const QRectF& ziel = k[1].r;
        const QRectF l = platz(luft_reihe, luft_spalte);
        p.setBrush(luftfarbe);
        p.drawRoundedRect(l, 4, 4);
        p.drawText(l, Qt::AlignCenter, QString::fromStdString(luft.text()));
        pfeil(p, QPointF(l.center().x(), l.top()), QPointF(ziel.center().x(), ziel.bottom()));
    }
    for (const auto& b : k) {
        p.setBrush(b.farbe);
        p.drawRoundedRect(b.r, 5, 5);
        p.drawText(b.r.adjusted(2, 2, -2, -2), Qt::AlignCenter | Qt::TextWordWrap, QString::fromStdString(b.text->text()));
    }
}
