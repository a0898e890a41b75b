#include "CBtnEXT.h"
#include "ControlId.h"
#include "TestApp.h"

#include <QCheckBox>
#include <QLabel>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

constexpr int kCell = 20;
constexpr int kGap = 4;
constexpr int kOffset = 5;
constexpr int kOriginX = 10; // x2 with layout 0
constexpr int kOriginY = 30; // y1 with layout 0

std::unique_ptr<CBtnEXT> MakeRow(QWidget* parent, int count, unsigned style, int firstId)
{
    auto row = std::make_unique<CBtnEXT>(count, kCell, kOffset);
    row->SetParent(parent);
    row->SetGap(kGap);
    row->Create(style, firstId, 999, kOriginY, kOriginX, 999, 0);
    return row;
}

} // namespace

// Row split, positions, ids and label texts for the port counts the
// switches have (20, 28, 52) and the odd one just past the single-row limit
// (29). Catches a split at the wrong count, a second row not restarting at
// the origin, a missing row gap, and ids off by one.
TEST(CBtnEXT, LayoutsByPortCount)
{
    EnsureTestApp();
    // Worked positions (cell 20 + gap 4 = 24 px a port; the second row sits
    // at 30 + cell 20 + offset 5 + row gap 2 = 57), written out rather than
    // computed, so a formula shared with the code cannot hide a slip.
    struct Corner { int port; int x; int y; };
    struct Case { int count; int perRow; std::vector<Corner> corners; };
    const Case cases[] = {
        {20, 20, {{1, 10, 30}, {2, 34, 30}, {20, 466, 30}}},
        {28, 28, {{1, 10, 30}, {27, 634, 30}, {28, 658, 30}}},
        {29, 14, {{14, 322, 30}, {15, 10, 57}, {16, 34, 57}, {29, 346, 57}}},
        {52, 26, {{1, 10, 30}, {26, 610, 30}, {27, 10, 57}, {52, 610, 57}}},
    };
    for (const Case& c : cases) {
        QWidget parent;
        auto labels = MakeRow(&parent, c.count, CBtnEXT::kLabelStyle, 7501);
        auto boxes = MakeRow(&parent, c.count, CBtnEXT::kCheckBoxStyle, 8001);
        ASSERT_EQ(labels->GetPerRow(), c.perRow) << c.count;
        for (const Corner& k : c.corners)
            EXPECT_EQ(labels->GetCellRect(k.port - 1), QRect(k.x, k.y, 20, 20)) << c.count << " port " << k.port;
        for (int i = 0; i < c.count; ++i) {
            const QRect cell = labels->GetCellRect(i);
            EXPECT_EQ(cell.size(), QSize(20, 20));
            // Within a row each port is 24 px right of the one before; each
            // row begins at the origin.
            if (i == 0 || i == c.perRow) {
                EXPECT_EQ(cell.left(), 10) << c.count << " port " << i + 1;
            } else {
                EXPECT_EQ(cell.topLeft(), labels->GetCellRect(i - 1).topLeft() + QPoint(24, 0))
                    << c.count << " port " << i + 1;
            }

            QLabel* label = labels->GetLabel(i);
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(label->geometry(), cell);
            EXPECT_EQ(label->text(), QString::number(i + 1));
            EXPECT_EQ(GetControlId(label), 7501 + i);
            EXPECT_EQ(GetDlgItem(&parent, 7501 + i), label);

            // Each box is found by base + index and sits in the middle of
            // the cell under its number.
            auto* box = qobject_cast<QCheckBox*>(GetDlgItem(&parent, 8001 + i));
            ASSERT_NE(box, nullptr) << c.count << " port " << i + 1;
            EXPECT_EQ(box, boxes->GetCheckBox(i));
            EXPECT_TRUE(box->text().isEmpty());
            EXPECT_TRUE(cell.contains(box->geometry()));
            EXPECT_LE(qAbs(box->geometry().center().x() - label->geometry().center().x()), 1);
        }
        // No control beyond the count, and nothing of the other kind.
        EXPECT_EQ(GetDlgItem(&parent, 8001 + c.count), nullptr);
        EXPECT_EQ(labels->GetCheckBox(0), nullptr);
        EXPECT_EQ(boxes->GetLabel(0), nullptr);
        EXPECT_EQ(parent.findChildren<QCheckBox*>().size(), c.count);
        EXPECT_EQ(parent.findChildren<QLabel*>().size(), c.count);
    }
}

// The worked example: 28 ports from (10, 30) put port 28 at 10 + 27 x 24.
// With layout 1 the row starts at (x1, y2) instead.
TEST(CBtnEXT, OriginByLayout)
{
    EnsureTestApp();
    QWidget parent;
    auto row = MakeRow(&parent, 28, CBtnEXT::kLabelStyle, 100);
    EXPECT_EQ(row->GetLabel(27)->x(), 658);
    EXPECT_EQ(row->GetRect(), QRect(QPoint(10, 30), QPoint(658 + kCell - 1, 30 + kCell - 1)));

    CBtnEXT other(52, kCell, kOffset);
    other.SetParent(&parent);
    other.SetGap(kGap);
    ASSERT_TRUE(other.Create(CBtnEXT::kLabelStyle, 200, 7, 8, 70, 80, 1));
    EXPECT_EQ(other.GetLabel(0)->pos(), QPoint(7, 80));
    // The rectangle ends at the last port, bottom right of the second row.
    EXPECT_EQ(other.GetRect().bottomRight(), other.GetCellRect(51).bottomRight());
}

// The gap spreads the longest row over the given span; a row of one
// control must not divide by zero, and a span too narrow gives 0, not a
// negative gap that piles the boxes on each other.
TEST(CBtnEXT, CalcGap)
{
    struct Case { int count; int left; int right; int gap; };
    const Case cases[] = {
        {28, 0, 700, 5},    // 140 px left over, 27 gaps
        {52, 0, 700, 7},    // 26 a row: 180 px, 25 gaps
        {29, 0, 700, 28},   // the second row holds 15: 400 px, 14 gaps
        {20, 10, 500, 4},   // 90 px, 19 gaps
        {1, 0, 700, 0},
        {0, 0, 700, 0},
        {28, 0, 100, 0},
    };
    for (const Case& c : cases) {
        CBtnEXT row(c.count, kCell, kOffset);
        EXPECT_EQ(row.CalcGap(c.left, c.right), c.gap) << c.count;
        EXPECT_EQ(row.GetGap(), c.gap) << c.count;
    }
}

// Every port operation takes an index from a dialog's arithmetic; one out
// of range (or a label row, or a row not created yet) must be a no-op, not
// a crash.
TEST(CBtnEXT, GuardsEveryIndex)
{
    EnsureTestApp();
    QWidget parent;
    CBtnEXT notCreated(28, kCell, kOffset);
    notCreated.SetCheck(1, 0);
    notCreated.EnablePort(false, 0);
    EXPECT_EQ(notCreated.GetCheck(0), CBtnEXT::BST_UNCHECKED);
    EXPECT_TRUE(notCreated.GetRect().isEmpty());
    EXPECT_EQ(notCreated.IndexFromID(0), -1);

    auto labels = MakeRow(&parent, 28, CBtnEXT::kLabelStyle, 100);
    labels->SetCheck(1, 3);
    labels->EnablePort(false, 3);
    EXPECT_EQ(labels->GetCheck(3), CBtnEXT::BST_UNCHECKED);

    auto boxes = MakeRow(&parent, 28, CBtnEXT::kCheckBoxStyle, 2001);
    for (int bad : {-1, 28, 52, 1 << 30}) {
        boxes->SetCheck(1, bad);
        boxes->EnablePort(false, bad);
        EXPECT_EQ(boxes->GetCheck(bad), CBtnEXT::BST_UNCHECKED) << bad;
    }
    boxes->SetCheck(1, 27);
    EXPECT_EQ(boxes->GetCheck(27), CBtnEXT::BST_CHECKED);
    boxes->SetCheck(CBtnEXT::BST_INDETERMINATE, 26);
    EXPECT_EQ(boxes->GetCheck(26), CBtnEXT::BST_INDETERMINATE);
    boxes->SetCheck(0, 26);
    EXPECT_EQ(boxes->GetCheck(26), CBtnEXT::BST_UNCHECKED);
    boxes->EnablePort(false, 5);
    EXPECT_FALSE(boxes->GetCheckBox(5)->isEnabled());
    EXPECT_TRUE(boxes->GetCheckBox(6)->isEnabled());
    EXPECT_EQ(boxes->IndexFromID(2001), 0);
    EXPECT_EQ(boxes->IndexFromID(2028), 27);
    EXPECT_EQ(boxes->IndexFromID(2029), -1);
    EXPECT_EQ(boxes->IndexFromID(2000), -1);
}

// A click reports the port and its id; the box toggles itself.
TEST(CBtnEXT, ClickReportsPortAndId)
{
    EnsureTestApp();
    QWidget parent;
    auto boxes = MakeRow(&parent, 52, CBtnEXT::kCheckBoxStyle, 8101);
    QList<std::pair<int, int>> clicks;
    QObject::connect(boxes.get(), &CBtnEXT::portClicked,
                     [&clicks](int index, int id) { clicks.append({index, id}); });
    boxes->GetCheckBox(40)->click();
    ASSERT_EQ(clicks.size(), 1);
    EXPECT_EQ(clicks[0], std::make_pair(40, 8141));
    EXPECT_EQ(boxes->GetCheck(40), CBtnEXT::BST_CHECKED);
}

// ShowAll hides and shows every control; a second Create is refused (it
// would leave the first set of controls orphaned under the same ids).
TEST(CBtnEXT, ShowAllAndSingleCreate)
{
    EnsureTestApp();
    QWidget parent;
    parent.show();
    auto boxes = MakeRow(&parent, 20, CBtnEXT::kCheckBoxStyle, 300);
    boxes->ShowAll(0);
    for (int i = 0; i < 20; ++i)
        EXPECT_FALSE(boxes->GetCheckBox(i)->isVisible());
    boxes->ShowAll(5);
    for (int i = 0; i < 20; ++i)
        EXPECT_TRUE(boxes->GetCheckBox(i)->isVisible());
    EXPECT_FALSE(boxes->Create(CBtnEXT::kCheckBoxStyle, 300, 0, 0, 0, 0, 0));
    EXPECT_EQ(parent.findChildren<QCheckBox*>().size(), 20);
}

// The row owns its controls: destroying it removes them from the parent,
// and a parent destroyed first does not leave the row with dangling
// pointers.
TEST(CBtnEXT, OwnershipBothWays)
{
    EnsureTestApp();
    QWidget parent;
    {
        auto boxes = MakeRow(&parent, 28, CBtnEXT::kCheckBoxStyle, 300);
        EXPECT_EQ(parent.findChildren<QCheckBox*>().size(), 28);
    }
    EXPECT_EQ(parent.findChildren<QCheckBox*>().size(), 0);

    auto* doomed = new QWidget;
    auto boxes = MakeRow(doomed, 28, CBtnEXT::kCheckBoxStyle, 300);
    delete doomed;
    boxes->SetCheck(1, 0);
    EXPECT_EQ(boxes->GetCheck(0), CBtnEXT::BST_UNCHECKED);
    boxes->ShowAll(0);
}
