#pragma once

// The one way a picture becomes a button: it raises on hover, its label is
// both its tooltip and the name a screen reader reads, and the keyboard
// reaches it as focus says.

#include <QString>
#include <Qt>

class QIcon;
class QToolButton;
class QWidget;

QToolButton *iconButton(QWidget *parent, const QString &objectName, const QIcon &icon, int iconSize,
                        const QString &label, const QString &description, Qt::FocusPolicy focus);
