#pragma once

// A one-column list whose rows all have the height of the first. Because of
// that, where a row sits follows from its number alone: adding or removing a
// row costs the same with ten rows as with ten thousand, where QListView lays
// out every row again after each change.
//
// It is a QListView to the rest of the program and to screen readers, which
// read its rows as list items, but it replaces every part of QListView that
// places rows, and never runs QListView's own layout.

#include <QListView>

class UniformListView final : public QListView
{
    Q_OBJECT
public:
    explicit UniformListView(QWidget *parent = nullptr);

    void setModel(QAbstractItemModel *model) override;
    QRect visualRect(const QModelIndex &index) const override;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint &point) const override;
    // Row height in pixels, as the item delegate sizes the first row.
    int rowHeight() const;

protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex &index) const override;
    void setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection &selection) const override;
    void updateGeometries() override;
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void rowsInserted(const QModelIndex &parent, int start, int end) override;
    void rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end) override;
    void doItemsLayout() override;
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent *event) override;
    QSize viewportSizeHint() const override;
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QList<int> &roles = QList<int>()) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void selectionChanged(const QItemSelection &selected, const QItemSelection &deselected) override;

private:
    int rowCount() const;
    QModelIndex indexOfRow(int row) const;
    QRect rowRect(int row) const;
    void rowsChanged(int firstMoved);

    mutable int m_rowHeight = 0; // 0 until measured
};
