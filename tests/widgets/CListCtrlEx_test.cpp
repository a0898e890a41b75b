#include "CListCtrlEx.h"
#include "TestApp.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QScrollBar>

#include <gtest/gtest.h>

namespace {

// The list as a walk fills it: a row inserted at the item count with
// column 0, then the other columns set by index.
void FillRows(CListCtrlEx& list, int rows)
{
    for (int r = 0; r < rows; ++r) {
        const int row = list.InsertItem(list.GetItemCount(), QString::number(r + 1));
        list.SetItemText(row, 1, QStringLiteral("name%1").arg(r + 1));
        list.SetItemText(row, 2, r % 2 ? QStringLiteral("Enabled") : QStringLiteral("Disabled"));
    }
}

void ThreeColumns(CListCtrlEx& list)
{
    list.InsertColumn(0, QStringLiteral("VLAN ID"), CListCtrlEx::LVCFMT_LEFT, 80);
    list.InsertColumn(1, QStringLiteral("VLAN Name"), CListCtrlEx::LVCFMT_CENTER, 120);
    list.InsertColumn(2, QStringLiteral("TrunkID    ")); // as wide as its heading + 15
}

} // namespace

// Rows appended in walk order keep their cells; insertion in the middle
// shifts the rows below; a delete closes the gap.
TEST(CListCtrlEx, InsertSetGetDelete)
{
    EnsureTestApp();
    CListCtrlEx list;
    ThreeColumns(list);
    FillRows(list, 3);
    ASSERT_EQ(list.GetItemCount(), 3);
    EXPECT_EQ(list.GetItemText(2, 0), QStringLiteral("3"));
    EXPECT_EQ(list.GetItemText(2, 1), QStringLiteral("name3"));
    EXPECT_EQ(list.GetItemText(1, 2), QStringLiteral("Enabled"));

    EXPECT_EQ(list.InsertItem(1, QStringLiteral("x")), 1);
    EXPECT_EQ(list.GetItemText(1, 0), QStringLiteral("x"));
    EXPECT_EQ(list.GetItemText(1, 1), QString());
    EXPECT_EQ(list.GetItemText(2, 1), QStringLiteral("name2"));
    EXPECT_TRUE(list.DeleteItem(1));
    EXPECT_EQ(list.GetItemText(1, 1), QStringLiteral("name2"));

    EXPECT_EQ(list.AppendRow({QStringLiteral("9"), QStringLiteral("n9"), QStringLiteral("z"), QStringLiteral("dropped")}), 3);
    EXPECT_EQ(list.GetItemText(3, 2), QStringLiteral("z"));

    list.DeleteAllItems();
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_EQ(list.GetFirstSelectedItem(), -1);
}

// Rows and columns come from dialog arithmetic and walk answers; any index
// out of range is refused and reads give the empty text, never a crash.
TEST(CListCtrlEx, GuardsEveryIndex)
{
    EnsureTestApp();
    CListCtrlEx list;
    EXPECT_EQ(list.InsertItem(0, QStringLiteral("no columns")), -1);
    ThreeColumns(list);
    FillRows(list, 2);
    struct Cell { int row; int col; };
    for (const Cell c : {Cell{-1, 0}, Cell{2, 0}, Cell{0, -1}, Cell{0, 3}, Cell{1 << 30, 1 << 30}}) {
        EXPECT_FALSE(list.SetItemText(c.row, c.col, QStringLiteral("x"))) << c.row << "," << c.col;
        EXPECT_EQ(list.GetItemText(c.row, c.col), QString());
    }
    EXPECT_FALSE(list.DeleteItem(2));
    EXPECT_FALSE(list.DeleteItem(-1));
    EXPECT_FALSE(list.SelectItem(5));
    EXPECT_FALSE(list.SetItemData(2, 1));
    EXPECT_EQ(list.GetItemData(2), 0);
    EXPECT_FALSE(list.SetColumnWidth(3, 10));
    EXPECT_EQ(list.GetColumnWidth(-1), 0);
    // Inserting past the end appends.
    EXPECT_EQ(list.InsertItem(100, QStringLiteral("3")), 2);
    EXPECT_EQ(list.GetItemCount(), 3);
}

// Columns: given widths, or the heading's width + 15 (headings keep their
// blanks, which widen the column); alignment follows the format.
TEST(CListCtrlEx, ColumnsWidthsAndAlignment)
{
    EnsureTestApp();
    CListCtrlEx list;
    ThreeColumns(list);
    // The last column stretches to the list's edge; measure the others.
    list.InsertColumn(3, QStringLiteral("last"));
    EXPECT_EQ(list.GetColumnCount(), 4);
    EXPECT_EQ(list.GetColumnWidth(0), 80);
    EXPECT_EQ(list.GetColumnWidth(1), 120);
    EXPECT_EQ(list.GetColumnWidth(2), list.GetStringWidth(QStringLiteral("TrunkID    ")) + 15);
    EXPECT_GT(list.GetStringWidth(QStringLiteral("TrunkID    ")), list.GetStringWidth(QStringLiteral("TrunkID")));
    EXPECT_EQ(list.horizontalHeaderItem(2)->text(), QStringLiteral("TrunkID    "));
    FillRows(list, 1);
    EXPECT_TRUE(list.item(0, 1)->textAlignment() & Qt::AlignHCenter);
    EXPECT_TRUE(list.item(0, 0)->textAlignment() & Qt::AlignLeft);
    // The style bit is kept, but every list looks the same: no grid lines.
    list.SetExtendedStyle(CListCtrlEx::LVS_EX_GRIDLINES | CListCtrlEx::LVS_EX_FULLROWSELECT);
    EXPECT_EQ(list.GetExtendedStyle(), CListCtrlEx::LVS_EX_GRIDLINES | CListCtrlEx::LVS_EX_FULLROWSELECT);
    EXPECT_FALSE(list.showGrid());
    EXPECT_TRUE(list.alternatingRowColors());
}

// One look for every list, whatever the dialog asked: a column of numbers
// is right-aligned (cells and heading) even when the dialog asked for a
// centred or left column; text columns are left-aligned (a centred one
// too), or right-aligned where asked. Catches lists whose numbers are
// centred in one dialog and left in the next.
TEST(CListCtrlEx, NumbersRightAlignedTextsLeft)
{
    EnsureTestApp();
    CListCtrlEx list;
    list.InsertColumn(0, QStringLiteral("VLAN ID"), CListCtrlEx::LVCFMT_CENTER, 80);
    list.InsertColumn(1, QStringLiteral("Name"), CListCtrlEx::LVCFMT_CENTER, 120);
    list.InsertColumn(2, QStringLiteral("Power"), CListCtrlEx::LVCFMT_LEFT, 80);
    list.InsertColumn(3, QStringLiteral("Ports"), CListCtrlEx::LVCFMT_LEFT, 80);
    list.InsertColumn(4, QStringLiteral("State"), CListCtrlEx::LVCFMT_RIGHT, 80);
    list.InsertColumn(5, QStringLiteral("Empty"), CListCtrlEx::LVCFMT_LEFT, 80);
    list.AppendRow({QStringLiteral("1"), QStringLiteral("default"), QStringLiteral("15.4"), QStringLiteral("1-4"),
                    QStringLiteral("Enabled")});
    list.AppendRow({QStringLiteral("100"), QStringLiteral("100"), QString(), QStringLiteral("7"),
                    QStringLiteral("Disabled")});
    const Qt::Alignment expected[] = {Qt::AlignRight, Qt::AlignLeft, Qt::AlignRight,
                                      Qt::AlignLeft,  Qt::AlignRight, Qt::AlignLeft};
    for (int col = 0; col < 6; ++col)
        EXPECT_EQ(list.DisplayAlignment(col), expected[col]) << "column " << col;
    QApplication::processEvents();   // headings follow once the cells are in
    EXPECT_TRUE(list.horizontalHeaderItem(0)->textAlignment() & Qt::AlignRight);
    EXPECT_TRUE(list.horizontalHeaderItem(1)->textAlignment() & Qt::AlignLeft);

    // A text arriving in a number column turns it back to text.
    list.SetItemText(1, 0, QStringLiteral("n/a"));
    EXPECT_EQ(list.DisplayAlignment(0), Qt::AlignLeft);
    list.DeleteItem(1);
    EXPECT_EQ(list.DisplayAlignment(0), Qt::AlignRight);
}

// The numbers are drawn at the right of their cells, a few pixels off the
// edge: what the user sees, not only what the list says.
TEST(CListCtrlEx, NumbersAreDrawnAtTheRightWithPadding)
{
    EnsureTestApp();
    CListCtrlEx list;
    list.InsertColumn(0, QStringLiteral("VLAN ID"), CListCtrlEx::LVCFMT_CENTER, 200);
    list.InsertColumn(1, QStringLiteral("Name"), CListCtrlEx::LVCFMT_LEFT, 100);
    list.AppendRow({QStringLiteral("7"), QStringLiteral("x")});
    list.resize(400, 200);
    list.show();
    QApplication::processEvents();
    QImage image(list.viewport()->size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    list.viewport()->render(&image);
    const int rowTop = list.rowViewportPosition(0);
    const int rowHeight = list.rowHeight(0);
    const QColor base = image.pixelColor(100, rowTop + rowHeight / 2);
    int leftmost = -1;
    int rightmost = -1;
    for (int x = 0; x < 200; ++x)
        for (int y = rowTop; y < rowTop + rowHeight; ++y)
            if (qAbs(image.pixelColor(x, y).lightness() - base.lightness()) > 60) {
                if (leftmost < 0)
                    leftmost = x;
                rightmost = x;
            }
    ASSERT_GE(leftmost, 0) << "no text drawn";
    EXPECT_GT(leftmost, 150);                                    // at the right, not centred or left
    EXPECT_LE(rightmost, 200 - CListCtrlEx::kCellPadding + 1);   // padded off the edge
    EXPECT_GE(rightmost, 200 - 3 * CListCtrlEx::kCellPadding);
}

// Columns appended from a table keep their order, widths and alignment,
// and the list stays wide enough to show them all side by side.
TEST(CListCtrlEx, AppendedColumnsAllInView)
{
    EnsureTestApp();
    CListCtrlEx list;
    list.InsertColumn(0, QStringLiteral("first"), CListCtrlEx::LVCFMT_LEFT, 30);
    list.AppendColumns({{"Index", 50, CListCtrlEx::LVCFMT_RIGHT}, {"Power\n(W)", 60}});
    ASSERT_EQ(list.GetColumnCount(), 3);
    EXPECT_EQ(list.horizontalHeaderItem(1)->text(), QStringLiteral("Index"));
    EXPECT_EQ(list.horizontalHeaderItem(2)->text(), QStringLiteral("Power\n(W)"));
    EXPECT_EQ(list.GetColumnWidth(1), 50);
    list.InsertItem(0, QStringLiteral("x"));
    list.SetItemText(0, 1, QStringLiteral("7"));
    EXPECT_TRUE(list.item(0, 1)->textAlignment() & Qt::AlignRight);
    const int plain = list.minimumWidth();
    EXPECT_GE(plain, 50 + 60);

    CListCtrlEx withBar;
    withBar.AppendColumns({{"Index", 50, CListCtrlEx::LVCFMT_RIGHT}, {"Power\n(W)", 60}}, true);
    EXPECT_GE(withBar.minimumWidth(), 50 + 60 + withBar.verticalScrollBar()->sizeHint().width());
}

// Selection by rows: one at a time by default (a Delete acting on "the
// first selected row" must not leave others selected), several when asked.
TEST(CListCtrlEx, Selection)
{
    EnsureTestApp();
    CListCtrlEx list;
    ThreeColumns(list);
    FillRows(list, 5);
    EXPECT_EQ(list.GetSelectedCount(), 0);
    EXPECT_EQ(list.GetFirstSelectedItem(), -1);
    list.SelectItem(3);
    list.SelectItem(1);
    EXPECT_EQ(list.GetSelectedItems(), QList<int>{1});
    EXPECT_EQ(list.currentRow(), 1);

    list.SetMultiSelect(true);
    list.SelectItem(3);
    EXPECT_EQ(list.GetSelectedItems(), (QList<int>{1, 3}));
    EXPECT_EQ(list.GetFirstSelectedItem(), 1);
    list.SelectItem(1, false);
    EXPECT_EQ(list.GetSelectedItems(), QList<int>{3});
    list.ClearSelection();
    EXPECT_EQ(list.GetSelectedCount(), 0);
}

// Data kept with a row travels with it when rows above are removed.
TEST(CListCtrlEx, ItemDataFollowsTheRow)
{
    EnsureTestApp();
    CListCtrlEx list;
    ThreeColumns(list);
    FillRows(list, 3);
    list.SetItemData(2, 4094);
    list.DeleteItem(0);
    EXPECT_EQ(list.GetItemData(1), 4094);
}

// Up and Down reach the owner before the list moves (the owner decides by
// the row that was selected), and Ctrl+C copies the selected rows.
TEST(CListCtrlEx, KeysAndCopy)
{
    EnsureTestApp();
    CListCtrlEx list;
    ThreeColumns(list);
    FillRows(list, 3);
    list.SelectItem(1);
    int selectedAtKey = -2;
    QObject::connect(&list, &CListCtrlEx::keyPressed, [&](int key) {
        if (key == Qt::Key_Down)
            selectedAtKey = list.GetFirstSelectedItem();
    });
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(&list, &down);
    EXPECT_EQ(selectedAtKey, 1);
    EXPECT_EQ(list.GetFirstSelectedItem(), 2);

    QKeyEvent copy(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier);
    QApplication::sendEvent(&list, &copy);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("3\tname3\tDisabled"));
}
