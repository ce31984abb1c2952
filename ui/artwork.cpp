#include "artwork.h"

#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>
#include <iterator>

namespace Artwork {

namespace {
// Launchers and buttons are shown at 16 to 32 logical pixels, so up to 64
// device pixels on a doubled screen; the program icon goes up to 256 in task
// switchers. QIcon picks the entry that matches size times pixel ratio.
constexpr int IconSides[] = {16, 22, 24, 26, 32, 48, 52, 64, 128, 256};
constexpr int LargestButtonSide = 64;
} // namespace

QString resourcePath(Picture picture)
{
    const char *file = "";
    switch (picture) {
    case Picture::ProgramIcon:
        file = "qiv.svg";
        break;
    case Picture::Logo:
        file = "logo.svg";
        break;
    case Picture::TitleStrip:
        file = "titlestrip.svg";
        break;
    case Picture::InstantMessage:
        file = "im.svg";
        break;
    case Picture::ChatRoom:
        file = "chat.svg";
        break;
    case Picture::Away:
        file = "away.svg";
        break;
    case Picture::Setup:
        file = "setup.svg";
        break;
    case Picture::Close:
        file = "close.svg";
        break;
    case Picture::Send:
        file = "send.svg";
        break;
    case Picture::Block:
        file = "block.svg";
        break;
    case Picture::Warn:
        file = "warn.svg";
        break;
    }
    return QStringLiteral(":/artwork/") + QLatin1String(file);
}

QPixmap pixmap(Picture picture, QSize logicalSize, qreal devicePixelRatio)
{
    QSvgRenderer renderer(resourcePath(picture));
    if (!renderer.isValid() || logicalSize.isEmpty() || devicePixelRatio <= 0)
        return {};
    renderer.setAspectRatioMode(Qt::KeepAspectRatio);

    QPixmap result(logicalSize * devicePixelRatio);
    result.fill(Qt::transparent);
    QPainter painter(&result);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(result.size())));
    painter.end();
    result.setDevicePixelRatio(devicePixelRatio);
    return result;
}

QPixmap pixmap(Picture picture, QSize logicalSize)
{
    return pixmap(picture, logicalSize, qGuiApp ? qGuiApp->devicePixelRatio() : 1.0);
}

QIcon icon(Picture picture)
{
    QIcon result;
    const int largest = picture == Picture::ProgramIcon ? IconSides[std::size(IconSides) - 1] : LargestButtonSide;
    for (int side : IconSides) {
        if (side <= largest)
            result.addPixmap(pixmap(picture, QSize(side, side), 1.0));
    }
    return result;
}

} // namespace Artwork
