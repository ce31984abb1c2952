#include "iconbutton.h"

#include <QIcon>
#include <QToolButton>

QToolButton *iconButton(QWidget *parent, const QString &objectName, const QIcon &icon, int iconSize,
                        const QString &label, const QString &description, Qt::FocusPolicy focus)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(objectName);
    button->setIcon(icon);
    button->setIconSize(QSize(iconSize, iconSize));
    button->setAutoRaise(true);
    button->setToolTip(label);
    button->setAccessibleName(label);
    button->setAccessibleDescription(description);
    button->setFocusPolicy(focus);
    return button;
}
