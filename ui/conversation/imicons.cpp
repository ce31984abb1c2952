#include "imicons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace ImIcons {

namespace {
constexpr int Side = 64; // drawn large, Qt scales down cleanly

template<typename Draw>
QIcon paint(Draw draw)
{
    QPixmap pixmap(Side, Side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    painter.end();
    return QIcon(pixmap);
}
} // namespace

QIcon send()
{
    return paint([](QPainter &p) {
        QPainterPath plane;
        plane.moveTo(6, 28);
        plane.lineTo(60, 6);
        plane.lineTo(40, 58);
        plane.lineTo(30, 36);
        plane.closeSubpath();
        p.setPen(QPen(QColor(0x1f, 0x4e, 0x9a), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(QColor(0x5b, 0x9b, 0xe6));
        p.drawPath(plane);
        p.drawLine(QPointF(30, 36), QPointF(60, 6));
    });
}

QIcon block()
{
    return paint([](QPainter &p) {
        p.setPen(QPen(QColor(0xb0, 0x10, 0x10), 8));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(32, 32), 25, 25);
        p.drawLine(QPointF(14, 14), QPointF(50, 50));
    });
}

QIcon warn()
{
    return paint([](QPainter &p) {
        QPainterPath triangle;
        triangle.moveTo(32, 5);
        triangle.lineTo(60, 58);
        triangle.lineTo(4, 58);
        triangle.closeSubpath();
        p.setPen(QPen(QColor(0x80, 0x60, 0x00), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(QColor(0xf5, 0xc2, 0x11));
        p.drawPath(triangle);
        p.setPen(QPen(Qt::black, 7, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(32, 23), QPointF(32, 40));
        p.drawPoint(QPointF(32, 50));
    });
}

} // namespace ImIcons
