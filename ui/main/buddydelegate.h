#pragma once

// Draws a buddy list row: as a plain list row, unless the row asks for more.
// A buddy under a group heading is indented, and an idle time is drawn at the
// right end of the row, in the faint colour of the status look.

#include <QStyledItemDelegate>

class BuddyDelegate final : public QStyledItemDelegate
{
    Q_OBJECT
public:
    static constexpr int Indent = 14;

    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
