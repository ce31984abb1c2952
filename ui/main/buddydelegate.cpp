#include "buddydelegate.h"

#include "buddystatus.h"

#include <QApplication>
#include <QPainter>

void BuddyDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const bool inGroup
        = index.data(BuddyRoles::Group).isValid() && !index.data(BuddyRoles::WireName).toByteArray().isEmpty();
    const QString idle = index.data(BuddyRoles::IdleText).toString();
    if (!inGroup && idle.isEmpty()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem row = option;
    initStyleOption(&row, index);
    QStyle *style = row.widget ? row.widget->style() : QApplication::style();
    // The whole row's background first, so that a selection spans the idle time too.
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &row, painter, row.widget);

    QStyleOptionViewItem name = option;
    if (inGroup)
        name.rect.setLeft(name.rect.left() + Indent);
    QRect idleArea;
    if (!idle.isEmpty()) {
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, &row, row.widget) + 2;
        const int width = row.fontMetrics.horizontalAdvance(idle) + 2 * margin;
        idleArea = QRect(row.rect.right() - width + 1, row.rect.top(), width - margin, row.rect.height());
        name.rect.setRight(idleArea.left() - 1);
    }
    QStyledItemDelegate::paint(painter, name, index);
    if (idleArea.isNull())
        return;
    painter->save();
    const bool selected = row.state & QStyle::State_Selected;
    painter->setPen(selected ? row.palette.color(QPalette::HighlightedText) : BuddyText::faint());
    painter->setFont(row.font);
    painter->drawText(idleArea, Qt::AlignRight | Qt::AlignVCenter, idle);
    painter->restore();
}
