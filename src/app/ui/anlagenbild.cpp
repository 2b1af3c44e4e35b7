#include "app/ui/anlagenbild.h"

#include <QPainter>
#include <QFontMetricsF>
#include <QPainterPath>

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
    const double w = width(), h = height();
    // Five slots from left to right, the boxes on the middle line with room
    // for the arrows between them.
    const double rand = 6.0, pfeilraum = std::min(18.0, w / 30.0);
    const double schlitz = (w - 2 * rand) / 5;
    const double bw = schlitz - pfeilraum, bh = std::min(h * (art_ == 'K' ? 0.4 : 0.5), bw * 1.1);
    // With the air heat exchanger below the store, the row moves up.
    const double y = art_ == 'K' ? h * 0.08 : h / 2 - bh / 2;
    auto slot = [&](int i) { return QRectF(rand + i * schlitz + pfeilraum / 2, y, bw, bh); };
    const QColor sonne(250, 214, 120), wasser(160, 200, 240), wp(200, 230, 190), hausfarbe(240, 190, 170),
        luftfarbe(220, 220, 220);
    std::vector<kasten> k;
    switch (art_) {
    case 'E':
        k = {{slot(0), &kollektor, sonne}, {slot(1), &speicher, wasser}, {slot(2), &waermepumpe, wp},
             {slot(4), &haus, hausfarbe}};
        break;
    case 'K':
        k = {{slot(0), &kollektor, sonne},    {slot(1), &zwischenspeicher, wasser}, {slot(2), &zwischen_wp, wp},
             {slot(3), &puffer, wasser},      {slot(4), &haus, hausfarbe}};
        break;
    default:
        k = {{slot(0), &kollektor, sonne}, {slot(1), &zwischenspeicher, wasser}, {slot(2), &zwischen_wp, wp},
             {slot(3), &puffer, wasser},   {slot(4), &haus, hausfarbe}};
        break;
    }
    // The largest font up to 9 pt in which every label fits its box.
    QFont f = font();
    double punkte = std::min(9.0, std::max(5.0, h / 18.0));
    for (; punkte > 5.0; punkte -= 0.5) {
        f.setPointSizeF(punkte);
        const QFontMetricsF m(f);
        bool passt = true;
        for (const auto& b : k)
            for (const QString& zeile : QString::fromStdString(b.text->text()).split(QLatin1Char('\n')))
                passt &= m.horizontalAdvance(zeile) <= b.r.width() - 6 && m.height() * 2.2 <= b.r.height();
        if (passt) break;
    }
    f.setPointSizeF(punkte);
    p.setFont(f);
    p.setPen(QPen(palette().text().color(), 1.2));
    for (std::size_t i = 0; i + 1 < k.size(); ++i)
        pfeil(p, QPointF(k[i].r.right(), k[i].r.center().y()), QPointF(k[i + 1].r.left(), k[i + 1].r.center().y()));
    if (art_ == 'K') {
        const double oben = slot(1).bottom() + h * 0.12;
        const QRectF l(slot(1).left(), oben, bw * 1.6, std::min(bh * 0.8, h - oben - 4));
        p.setBrush(luftfarbe);
        p.drawRoundedRect(l, 4, 4);
        p.drawText(l, Qt::AlignCenter, QString::fromStdString(luft.text()));
        pfeil(p, QPointF(l.center().x(), l.top()), QPointF(slot(1).center().x(), slot(1).bottom()));
    }
    for (const auto& b : k) {
        p.setBrush(b.farbe);
        p.drawRoundedRect(b.r, 5, 5);
        p.drawText(b.r.adjusted(2, 2, -2, -2), Qt::AlignCenter | Qt::TextWordWrap, QString::fromStdString(b.text->text()));
    }
}
