#include "uniformlistview.h"

#include <QAccessible>
#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

UniformListView::UniformListView(QWidget *parent)
    : QListView(parent)
{
    setUniformItemSizes(true);
    setEditTriggers(NoEditTriggers);
    setSelectionMode(SingleSelection);
    setSelectionBehavior(SelectRows);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(ScrollPerPixel);
}

void UniformListView::setModel(QAbstractItemModel *newModel)
{
    if (newModel == model())
        return;
    if (model())
        disconnect(model(), nullptr, this, nullptr);
    QListView::setModel(newModel);
    m_rowHeight = 0;
    if (!newModel)
        return;
    // The base view repaints changed rows itself but leaves the scroll range
    // and the rows that move up or down to the subclass.
    connect(newModel, &QAbstractItemModel::rowsRemoved, this, [this](const QModelIndex &parent, int start) {
        if (parent == rootIndex())
            rowsChanged(start);
    });
    connect(newModel, &QAbstractItemModel::modelReset, this, [this] {
        m_rowHeight = 0;
        rowsChanged(0);
    });
    connect(newModel, &QAbstractItemModel::layoutChanged, this, [this] { rowsChanged(0); });
}

int UniformListView::rowCount() const { return model() ? model()->rowCount(rootIndex()) : 0; }

QModelIndex UniformListView::indexOfRow(int row) const
{
    return model() ? model()->index(row, 0, rootIndex()) : QModelIndex();
}

int UniformListView::rowHeight() const
{
    if (m_rowHeight > 0)
        return m_rowHeight;
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QModelIndex first = indexOfRow(0);
    const int measured = first.isValid() ? itemDelegate()->sizeHint(option, first).height() : 0;
    // Without rows there is nothing to measure yet; a line of text is a fair guess.
    if (measured <= 0)
        return fontMetrics().height() + 2;
    m_rowHeight = measured;
    return m_rowHeight;
}

QRect UniformListView::rowRect(int row) const
{
    return QRect(0, row * rowHeight() - verticalOffset(), viewport()->width(), rowHeight());
}

QRect UniformListView::visualRect(const QModelIndex &index) const
{
    if (!index.isValid() || index.parent() != rootIndex())
        return QRect();
    return rowRect(index.row());
}

void UniformListView::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    const QRect rect = visualRect(index);
    if (rect.isNull())
        return;
    const int height = viewport()->height();
    const int top = rect.top() + verticalOffset();
    QScrollBar *bar = verticalScrollBar();
    switch (hint) {
    case EnsureVisible:
        if (rect.top() < 0)
            bar->setValue(top);
        else if (rect.bottom() >= height)
            bar->setValue(top + rect.height() - height);
        break;
    case PositionAtTop:
        bar->setValue(top);
        break;
    case PositionAtBottom:
        bar->setValue(top + rect.height() - height);
        break;
    case PositionAtCenter:
        bar->setValue(top + rect.height() / 2 - height / 2);
        break;
    }
}

QModelIndex UniformListView::indexAt(const QPoint &point) const
{
    if (point.y() < 0 || point.x() < 0 || point.x() >= viewport()->width())
        return QModelIndex();
    const int row = (point.y() + verticalOffset()) / rowHeight();
    return row < rowCount() ? indexOfRow(row) : QModelIndex();
}

QModelIndex UniformListView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers)
{
    const int rows = rowCount();
    if (rows == 0)
        return QModelIndex();
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return indexOfRow(0);
    const int page = qMax(1, viewport()->height() / rowHeight());
    int row = current.row();
    switch (cursorAction) {
    case MoveUp:
    case MovePrevious:
        --row;
        break;
    case MoveDown:
    case MoveNext:
        ++row;
        break;
    case MovePageUp:
        row -= page;
        break;
    case MovePageDown:
        row += page;
        break;
    case MoveHome:
        row = 0;
        break;
    case MoveEnd:
        row = rows - 1;
        break;
    case MoveLeft:
    case MoveRight:
        break;
    }
    return indexOfRow(qBound(0, row, rows - 1));
}

int UniformListView::horizontalOffset() const { return 0; }

int UniformListView::verticalOffset() const { return verticalScrollBar()->value(); }

bool UniformListView::isIndexHidden(const QModelIndex &) const { return false; }

void UniformListView::setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags command)
{
    const QRect bounded = rect.normalized();
    const int rows = rowCount();
    const int first = qMax(0, (bounded.top() + verticalOffset()) / rowHeight());
    const int last = qMin(rows - 1, (bounded.bottom() + verticalOffset()) / rowHeight());
    QItemSelection selection;
    if (first <= last)
        selection.select(indexOfRow(first), indexOfRow(last));
    selectionModel()->select(selection, command);
}

QRegion UniformListView::visualRegionForSelection(const QItemSelection &selection) const
{
    QRegion region;
    for (const QItemSelectionRange &range : selection) {
        if (range.parent() != rootIndex())
            continue;
        const QRect top = rowRect(range.top());
        const QRect bottom = rowRect(range.bottom());
        region += (top | bottom) & viewport()->rect();
    }
    return region;
}

void UniformListView::updateGeometries()
{
    const int content = rowCount() * rowHeight();
    QScrollBar *bar = verticalScrollBar();
    bar->setSingleStep(rowHeight());
    bar->setPageStep(viewport()->height());
    bar->setRange(0, qMax(0, content - viewport()->height()));
    QAbstractItemView::updateGeometries();
}

void UniformListView::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    const int rows = rowCount();
    if (rows == 0)
        return;
    const QRect area = event->rect();
    const int first = qMax(0, (area.top() + verticalOffset()) / rowHeight());
    const int last = qMin(rows - 1, (area.bottom() + verticalOffset()) / rowHeight());

    QStyleOptionViewItem base;
    initViewItemOption(&base);
    const bool focused = hasFocus();
    const QModelIndex current = currentIndex();
    for (int row = first; row <= last; ++row) {
        const QModelIndex index = indexOfRow(row);
        QStyleOptionViewItem option = base;
        option.rect = rowRect(row);
        if (selectionModel() && selectionModel()->isSelected(index))
            option.state |= QStyle::State_Selected;
        if (focused && index == current)
            option.state |= QStyle::State_HasFocus;
        if (!(model()->flags(index) & Qt::ItemIsEnabled))
            option.state &= ~QStyle::State_Enabled;
        itemDelegate()->paint(&painter, option, index);
    }
}

void UniformListView::changeEvent(QEvent *event)
{
    // A new font or style changes the height of every row alike.
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        m_rowHeight = 0;
        rowsChanged(0);
    }
    QAbstractItemView::changeEvent(event);
}

void UniformListView::rowsInserted(const QModelIndex &parent, int start, int end)
{
    // The plain item view tells screen readers about the new rows itself.
    QAbstractItemView::rowsInserted(parent, start, end);
    if (parent == rootIndex())
        rowsChanged(start);
}

void UniformListView::rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end)
{
    QAbstractItemView::rowsAboutToBeRemoved(parent, start, end);
}

void UniformListView::rowsChanged(int firstMoved)
{
    updateGeometries();
    // Rows above the change keep their place; rows below it that are on
    // screen now show another row, or none. A change below the visible rows
    // repaints nothing, whatever the length of the list.
    const int top = qMax(0, rowRect(firstMoved).top());
    const QRect moved(QPoint(0, top), QPoint(viewport()->width() - 1, viewport()->height() - 1));
    if (moved.isValid())
        viewport()->update(moved);
}

// The rest hands QListView's events to the plain item view, whose handling
// asks this class where rows are, instead of to QListView, whose handling
// lays out or looks up its own row positions.

void UniformListView::doItemsLayout() { QAbstractItemView::doItemsLayout(); }

void UniformListView::scrollContentsBy(int dx, int dy) { QAbstractItemView::scrollContentsBy(dx, dy); }

void UniformListView::resizeEvent(QResizeEvent *event)
{
    QAbstractItemView::resizeEvent(event);
    updateGeometries();
}

QSize UniformListView::viewportSizeHint() const { return QAbstractItemView::viewportSizeHint(); }

void UniformListView::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight, const QList<int> &roles)
{
    // The plain item view looks for the rectangle of every changed row, one
    // by one; here a change to every row of a long list costs what a change
    // to one row costs, and repaints only what is on screen.
    if (topLeft.row() == bottomRight.row() || topLeft.parent() != rootIndex()) {
        QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
        return;
    }
    const QRect changed = (rowRect(topLeft.row()) | rowRect(bottomRight.row())) & viewport()->rect();
    if (!changed.isEmpty())
        viewport()->update(changed);
    if (QAccessible::isActive()) {
        QAccessibleTableModelChangeEvent event(this, QAccessibleTableModelChangeEvent::DataChanged);
        event.setFirstRow(topLeft.row());
        event.setLastRow(bottomRight.row());
        event.setFirstColumn(0);
        event.setLastColumn(0);
        QAccessible::updateAccessibility(&event);
    }
}

void UniformListView::mouseMoveEvent(QMouseEvent *event) { QAbstractItemView::mouseMoveEvent(event); }

void UniformListView::mouseReleaseEvent(QMouseEvent *event) { QAbstractItemView::mouseReleaseEvent(event); }

void UniformListView::wheelEvent(QWheelEvent *event) { QAbstractItemView::wheelEvent(event); }

// Screen readers hear which row has the focus and which is selected by its
// row number, the number their view of the list uses.
void UniformListView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    if (QAccessible::isActive() && current.isValid() && hasFocus()) {
        QAccessibleEvent event(this, QAccessible::Focus);
        event.setChild(current.row());
        QAccessible::updateAccessibility(&event);
    }
    QAbstractItemView::currentChanged(current, previous);
}

void UniformListView::selectionChanged(const QItemSelection &selected, const QItemSelection &deselected)
{
    if (QAccessible::isActive()) {
        for (const QModelIndex &index : selected.indexes()) {
            QAccessibleEvent event(this, QAccessible::SelectionAdd);
            event.setChild(index.row());
            QAccessible::updateAccessibility(&event);
        }
        for (const QModelIndex &index : deselected.indexes()) {
            QAccessibleEvent event(this, QAccessible::SelectionRemove);
            event.setChild(index.row());
            QAccessible::updateAccessibility(&event);
        }
    }
    QAbstractItemView::selectionChanged(selected, deselected);
}
