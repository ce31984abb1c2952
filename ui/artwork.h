#pragma once

// The program's pictures: SVG drawings compiled in as resources and rendered
// here, at the size and pixel density they are shown at, so they stay crisp on
// scaled screens. Every window takes its pictures from this one place.

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace Artwork {

enum class Picture {
    ProgramIcon, // the square program icon, also installed into the icon theme
    Logo, // the sign-on and start-up logo
    TitleStrip, // the band across the top of the start-up window
    InstantMessage, // buddy-list launcher: start a conversation
    ChatRoom, // buddy-list launcher: join a chat room
    Away, // buddy-list launcher: away messages
    Setup, // buddy-list launcher: setup menu
    Close, // the start-up window's close mark
    Send, // conversation window: send
    Block, // conversation window: block
    Warn, // conversation window: warn
};

// The resource path of the drawing, e.g. ":/artwork/logo.svg".
QString resourcePath(Picture picture);

// The drawing rendered into a box of logicalSize at devicePixelRatio, keeping
// its proportions and centred; transparent around it. An unreadable drawing
// gives a null pixmap.
QPixmap pixmap(Picture picture, QSize logicalSize, qreal devicePixelRatio);
// The same at the application's highest pixel density.
QPixmap pixmap(Picture picture, QSize logicalSize);

// An icon holding the drawing at the usual icon sizes and their doubles, so
// it is crisp at 1x and 2x.
QIcon icon(Picture picture);

} // namespace Artwork
