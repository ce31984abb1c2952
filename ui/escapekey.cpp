#include "escapekey.h"

#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

namespace EscapeKey {

void leavesBy(QWidget *window, std::function<void()> leave)
{
    auto *shortcut = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    shortcut->setObjectName(QStringLiteral("escapeShortcut"));
    QObject::connect(shortcut, &QShortcut::activated, window, std::move(leave));
}

} // namespace EscapeKey
