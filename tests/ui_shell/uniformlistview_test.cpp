// The buddy list's view: where rows are, what the keyboard does, that the
// screen follows the list after every change, and what a screen reader reads.

#include "uniformlistview.h"

#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QApplication>
#include <QImage>
#include <QScreen>
#include <QScrollBar>
#include <QStringListModel>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QStringList names(int count, const QString &prefix = QStringLiteral("buddy"))
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << prefix + QString::number(i);
    return list;
}

class UniformListViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        view.setModel(&model);
        view.resize(160, 200);
    }

    void show()
    {
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }

    QModelIndex row(int n) const { return model.index(n, 0); }

    QStringListModel model;
    UniformListView view;
};

TEST_F(UniformListViewTest, RowsSitWhereTheirNumberSaysAndPointsFindThem)
{
    model.setStringList(names(1000));
    show();
    const int height = view.rowHeight();
    ASSERT_GT(height, 0);

    EXPECT_EQ(view.visualRect(row(0)), QRect(0, 0, view.viewport()->width(), height));
    EXPECT_EQ(view.visualRect(row(3)).top(), 3 * height);
    EXPECT_EQ(view.indexAt(QPoint(5, 3 * height + height / 2)), row(3));

    view.verticalScrollBar()->setValue(500 * height + 1);
    EXPECT_EQ(view.visualRect(row(500)).top(), -1);
    EXPECT_EQ(view.indexAt(QPoint(5, 0)), row(500));
    EXPECT_EQ(view.indexAt(QPoint(5, height)), row(501));

    // Below the last row, or outside the width, is no row.
    model.setStringList(names(2));
    EXPECT_FALSE(view.indexAt(QPoint(5, 2 * height + 1)).isValid());
    EXPECT_FALSE(view.indexAt(QPoint(view.viewport()->width() + 1, 1)).isValid());
    EXPECT_FALSE(view.indexAt(QPoint(5, -1)).isValid());
}

TEST_F(UniformListViewTest, TheScrollRangeFollowsTheRows)
{
    view.setModel(&model); // given the same model again, the view still follows it
    show();
    const int page = view.viewport()->height();
    EXPECT_EQ(view.verticalScrollBar()->maximum(), 0);

    model.setStringList(names(1000));
    const int height = view.rowHeight();
    EXPECT_EQ(view.verticalScrollBar()->maximum(), 1000 * height - page);

    model.insertRows(1000, 10);
    EXPECT_EQ(view.verticalScrollBar()->maximum(), 1010 * height - page);
    model.removeRows(0, 1005);
    EXPECT_EQ(view.verticalScrollBar()->maximum(), qMax(0, 5 * height - page));

    // A new font makes every row taller or shorter alike.
    QFont large = view.font();
    large.setPointSize(large.pointSize() * 3);
    model.setStringList(names(1000));
    view.setFont(large);
    EXPECT_GT(view.rowHeight(), height);
    EXPECT_EQ(view.verticalScrollBar()->maximum(), 1000 * view.rowHeight() - page);
}

TEST_F(UniformListViewTest, KeysMoveTheCurrentRowWithinTheList)
{
    model.setStringList(names(100));
    show();
    view.setFocus();
    const int page = view.viewport()->height() / view.rowHeight();

    EXPECT_EQ(view.currentIndex(), row(0)); // focus picks the first row
    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(view.currentIndex(), row(1));
    QTest::keyClick(&view, Qt::Key_PageDown);
    EXPECT_EQ(view.currentIndex(), row(1 + page));
    QTest::keyClick(&view, Qt::Key_End);
    EXPECT_EQ(view.currentIndex(), row(99));
    EXPECT_TRUE(view.visualRect(row(99)).bottom() < view.viewport()->height());
    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(view.currentIndex(), row(99));
    QTest::keyClick(&view, Qt::Key_Home);
    EXPECT_EQ(view.currentIndex(), row(0));
    EXPECT_EQ(view.verticalScrollBar()->value(), 0);
    QTest::keyClick(&view, Qt::Key_Up);
    EXPECT_EQ(view.currentIndex(), row(0));
    EXPECT_TRUE(view.selectionModel()->isSelected(row(0)));

    model.setStringList({});
    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_FALSE(view.currentIndex().isValid());
}

TEST_F(UniformListViewTest, AClickSelectsTheRowUnderThePointer)
{
    model.setStringList(names(50));
    show();
    view.verticalScrollBar()->setValue(10 * view.rowHeight());
    const QPoint third = view.visualRect(row(12)).center();
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, third);
    EXPECT_EQ(view.selectionModel()->selectedIndexes(), QModelIndexList({row(12)}));
}

// What the window shows is what the window system was last given; a full
// render of the view is what it should show. A change whose repaint is cut
// too short leaves the two apart.
QImage onScreen(QWidget &widget)
{
    return widget.screen()->grabWindow(widget.winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

QImage rendered(QWidget &widget) { return widget.grab().toImage().convertToFormat(QImage::Format_RGB32); }

TEST_F(UniformListViewTest, TheScreenFollowsEveryChange)
{
    model.setStringList(names(40));
    show();
    QApplication::processEvents();
    ASSERT_EQ(onScreen(view), rendered(view));

    const auto settledAndEqual = [this](const char *what) {
        QApplication::processEvents();
        EXPECT_EQ(onScreen(view), rendered(view)) << what;
    };
    model.removeRows(2, 1);
    settledAndEqual("a visible row removed");
    model.insertRows(1, 1);
    model.setData(row(1), QStringLiteral("newcomer"));
    settledAndEqual("a row inserted among the visible ones");
    view.verticalScrollBar()->setValue(5 * view.rowHeight() + 3);
    settledAndEqual("scrolled");
    model.removeRows(0, 2);
    settledAndEqual("rows above the visible ones removed");
    model.removeRows(30, 8);
    settledAndEqual("the list shortened below the visible rows");
    {
        const QSignalBlocker quiet(model);
        for (int n = 0; n < model.rowCount(); ++n)
            model.setData(row(n), QStringLiteral("changed%1").arg(n));
    }
    emit model.dataChanged(row(0), row(model.rowCount() - 1));
    settledAndEqual("every row changed at once");
    model.setStringList(names(3, QStringLiteral("other")));
    settledAndEqual("replaced by a shorter list");
    view.setCurrentIndex(row(1));
    settledAndEqual("a row selected");
}

TEST_F(UniformListViewTest, AScreenReaderReadsTheRowsAsListItems)
{
    model.setStringList(names(50));
    show();
    view.verticalScrollBar()->setValue(10 * view.rowHeight());

    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(&view);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->role(), QAccessible::List);
    QAccessibleTableInterface *table = list->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rowCount(), 50);
    QAccessibleInterface *cell = table->cellAt(12, 0);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text(QAccessible::Name), QStringLiteral("buddy12"));
    // Where the reader points is where the row is drawn.
    const QRect drawn = view.visualRect(row(12));
    EXPECT_EQ(cell->rect(), QRect(view.viewport()->mapToGlobal(drawn.topLeft()), drawn.size()));
}

} // namespace
