#include "icons.h"

#include <QPainter>
#include <QPainterPath>
#include <functional>

namespace {
const QColor Ink(0x1f, 0x3a, 0x5f);
const QColor Accent(0xf2, 0xb1, 0x34);
const QColor Sky(0x3d, 0x7e, 0xc9);

// Draws at twice the size so the icon stays crisp on scaled screens.
QIcon drawnIcon(const std::function<void(QPainter &, qreal)> &draw)
{
    QIcon icon;
    for (int side : {24, 48}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        draw(painter, side / 24.0);
        icon.addPixmap(pixmap);
    }
    return icon;
}

QPainterPath bubble(QRectF box, bool tailLeft)
{
    QPainterPath path;
    path.addRoundedRect(box, box.height() * 0.3, box.height() * 0.3);
    QPainterPath tail;
    const qreal x = tailLeft ? box.left() + box.width() * 0.25 : box.right() - box.width() * 0.25;
    const qreal dx = tailLeft ? -box.width() * 0.12 : box.width() * 0.12;
    tail.moveTo(x - box.width() * 0.08, box.bottom() - 1);
    tail.lineTo(x + dx, box.bottom() + box.height() * 0.35);
    tail.lineTo(x + box.width() * 0.1, box.bottom() - 1);
    tail.closeSubpath();
    return path.united(tail);
}
} // namespace

namespace Icons {

QPixmap logo(QSize size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();
    // A running figure inside a speech bubble: talking, and on the move.
    p.setPen(QPen(Ink, w * 0.03));
    p.setBrush(Accent);
    p.drawPath(bubble(QRectF(w * 0.06, h * 0.05, w * 0.88, h * 0.7), true));
    p.setPen(Qt::NoPen);
    p.setBrush(Ink);
    p.drawEllipse(QPointF(w * 0.55, h * 0.18), w * 0.08, w * 0.08);
    QPen limb(Ink, w * 0.075, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(limb);
    p.setBrush(Qt::NoBrush);
    const QPointF neck(w * 0.52, h * 0.29);
    const QPointF hip(w * 0.45, h * 0.47);
    p.drawLine(neck, hip);
    p.drawPolyline(QList<QPointF>{{w * 0.30, h * 0.30}, {w * 0.40, h * 0.35}, neck, {w * 0.64, h * 0.36}, {w * 0.72, h * 0.28}});
    p.drawPolyline(QList<QPointF>{hip, {w * 0.56, h * 0.56}, {w * 0.52, h * 0.66}});
    p.drawPolyline(QList<QPointF>{hip, {w * 0.36, h * 0.56}, {w * 0.26, h * 0.58}});
    return pixmap;
}

QIcon instantMessage()
{
    return drawnIcon([](QPainter &p, qreal s) {
        p.setPen(QPen(Ink, 1.2 * s));
        p.setBrush(Sky);
        p.drawPath(bubble(QRectF(2 * s, 3 * s, 20 * s, 13 * s), true));
        p.setPen(QPen(Qt::white, 1.6 * s, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(6 * s, 8 * s), QPointF(18 * s, 8 * s));
        p.drawLine(QPointF(6 * s, 11.5 * s), QPointF(14 * s, 11.5 * s));
    });
}

QIcon chatRoom()
{
    return drawnIcon([](QPainter &p, qreal s) {
        p.setPen(QPen(Ink, 1.2 * s));
        p.setBrush(Accent);
        p.drawPath(bubble(QRectF(1.5 * s, 2 * s, 14 * s, 10 * s), true));
        p.setBrush(Sky);
        p.drawPath(bubble(QRectF(8.5 * s, 8.5 * s, 14 * s, 10 * s), false));
    });
}

QIcon away()
{
    return drawnIcon([](QPainter &p, qreal s) {
        // A crescent moon: not at the keyboard.
        QPainterPath moon;
        moon.addEllipse(QPointF(12 * s, 12 * s), 9 * s, 9 * s);
        QPainterPath bite;
        bite.addEllipse(QPointF(16.5 * s, 8.5 * s), 8 * s, 8 * s);
        p.setPen(QPen(Ink, 1.2 * s));
        p.setBrush(Accent);
        p.drawPath(moon.subtracted(bite));
        p.setPen(QPen(Ink, 1.4 * s, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(15 * s, 15 * s), QPointF(20 * s, 15 * s));
        p.drawLine(QPointF(20 * s, 15 * s), QPointF(15 * s, 20 * s));
        p.drawLine(QPointF(15 * s, 20 * s), QPointF(20 * s, 20 * s));
    });
}

QIcon setup()
{
    return drawnIcon([](QPainter &p, qreal s) {
        // A cog: eight teeth around a ring.
        p.setPen(Qt::NoPen);
        p.setBrush(Ink);
        p.translate(12 * s, 12 * s);
        for (int tooth = 0; tooth < 8; ++tooth) {
            p.drawRoundedRect(QRectF(-2 * s, -10.5 * s, 4 * s, 5 * s), 1 * s, 1 * s);
            p.rotate(45);
        }
        p.drawEllipse(QPointF(0, 0), 7.5 * s, 7.5 * s);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(0, 0), 3 * s, 3 * s);
    });
}

QIcon close()
{
    return drawnIcon([](QPainter &p, qreal s) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xc8, 0x3c, 0x3c));
        p.drawRoundedRect(QRectF(2 * s, 2 * s, 20 * s, 20 * s), 4 * s, 4 * s);
        p.setPen(QPen(Qt::white, 2.4 * s, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8 * s, 8 * s), QPointF(16 * s, 16 * s));
        p.drawLine(QPointF(16 * s, 8 * s), QPointF(8 * s, 16 * s));
    });
}

} // namespace Icons
