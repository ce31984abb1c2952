#pragma once

// The program's pictures, drawn in code so that no image files ship with it:
// the logo, the four buddy-list launchers and the start-up window's close mark.

#include <QIcon>
#include <QPixmap>
#include <QSize>

namespace Icons {

QPixmap logo(QSize size);
QIcon instantMessage();
QIcon chatRoom();
QIcon away();
QIcon setup();
QIcon close();

} // namespace Icons
