#include "ClxDialog.h"
#include "ControlId.h"
#include "MessageRecorder.h"
#include "MessageSink.h"
#include "TestApp.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QSizeGrip>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

constexpr int kBaseW = 400;
constexpr int kBaseH = 300;
const QRect kOriginal(20, 30, 100, 40);

// One control per anchor mode (ids 1000 + mode), plus controls named by
// entries that must be ignored. The table is set in OnInitDialog after the
// base initialisation, as the dialogs that use anchors do.
class AnchoredDialog : public ClxDialog
{
public:
    explicit AnchoredDialog(bool bShowGrip = true)
    {
        for (int mode = 0; mode <= 5; ++mode)
            MakeControl(1000 + mode);
        MakeControl(2001); // percent 101
        MakeControl(2002); // percent -1
        resize(kBaseW, kBaseH);
        SetShowGrip(bShowGrip);
    }

    static QWidget* MakeControlIn(QWidget* parent, int nID)
    {
        auto* w = new QLabel(QStringLiteral("x"), parent);
        w->setGeometry(kOriginal);
        SetControlId(w, nID);
        return w;
    }

protected:
    bool OnInitDialog() override
    {
        ClxDialog::OnInitDialog();
        static const Anchor table[] = {
            {1000, AnchorMoveX, 50}, {1001, AnchorMoveY, 50}, {1002, AnchorMoveXY, 50},
            {1003, AnchorGrowX, 50}, {1004, AnchorGrowY, 50}, {1005, AnchorGrowXY, 50},
            {2001, AnchorMoveXY, 101}, {2002, AnchorMoveXY, -1},
            {9999, AnchorMoveXY, 100}, // no such control
        };
        SetAnchors(table, int(std::size(table)));
        return true;
    }

private:
    void MakeControl(int nID) { MakeControlIn(this, nID); }
};

QRect GeometryOf(const QWidget& dialog, int nID)
{
    const QWidget* w = GetDlgItem(&dialog, nID);
    return w ? w->geometry() : QRect();
}

} // namespace

// Each mode moves or stretches exactly the edge it names, by percent of the
// change truncated toward zero (50 % of 101 is 50, of 51 is 25); a swapped
// mode or rounding to nearest fails here.
TEST(ClxDialog, AnchorModesTable)
{
    struct Case { int mode; QRect expected; };
    const Case cases[] = {
        {ClxDialog::AnchorMoveX, QRect(70, 30, 100, 40)},
        {ClxDialog::AnchorMoveY, QRect(20, 55, 100, 40)},
        {ClxDialog::AnchorMoveXY, QRect(70, 55, 100, 40)},
        {ClxDialog::AnchorGrowX, QRect(20, 30, 150, 40)},
        {ClxDialog::AnchorGrowY, QRect(20, 30, 100, 65)},
        {ClxDialog::AnchorGrowXY, QRect(20, 30, 150, 65)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClxDialog::AnchoredRect(kOriginal, c.mode, 50, 101, 51), c.expected) << "mode " << c.mode;
    // Out-of-range percent and unknown mode leave the control where it is.
    EXPECT_EQ(ClxDialog::AnchoredRect(kOriginal, ClxDialog::AnchorMoveXY, 101, 101, 51), kOriginal);
    EXPECT_EQ(ClxDialog::AnchoredRect(kOriginal, ClxDialog::AnchorMoveXY, -1, 101, 51), kOriginal);
    EXPECT_EQ(ClxDialog::AnchoredRect(kOriginal, 6, 50, 101, 51), kOriginal);
    // A shrink that would make a size negative stops at 0.
    EXPECT_EQ(ClxDialog::AnchoredRect(kOriginal, ClxDialog::AnchorGrowXY, 100, -500, -500).size(), QSize(0, 0));
}

// The same table through a real dialog: the controls found by id follow
// their entries; entries with a bad percent or an unknown id do nothing.
TEST(ClxDialog, ResizeMovesAnchoredControls)
{
    EnsureTestApp();
    AnchoredDialog dlg;
    dlg.show();
    ASSERT_EQ(dlg.size(), QSize(kBaseW, kBaseH));
    dlg.resize(kBaseW + 101, kBaseH + 51);
    ASSERT_EQ(dlg.size(), QSize(kBaseW + 101, kBaseH + 51));
    EXPECT_EQ(GeometryOf(dlg, 1000), QRect(70, 30, 100, 40));
    EXPECT_EQ(GeometryOf(dlg, 1001), QRect(20, 55, 100, 40));
    EXPECT_EQ(GeometryOf(dlg, 1002), QRect(70, 55, 100, 40));
    EXPECT_EQ(GeometryOf(dlg, 1003), QRect(20, 30, 150, 40));
    EXPECT_EQ(GeometryOf(dlg, 1004), QRect(20, 30, 100, 65));
    EXPECT_EQ(GeometryOf(dlg, 1005), QRect(20, 30, 150, 65));
    EXPECT_EQ(GeometryOf(dlg, 2001), kOriginal);
    EXPECT_EQ(GeometryOf(dlg, 2002), kOriginal);
    // Back to the opening size: everything back where it started.
    dlg.resize(kBaseW, kBaseH);
    for (int id : {1000, 1001, 1002, 1003, 1004, 1005})
        EXPECT_EQ(GeometryOf(dlg, id), kOriginal) << id;
}

// Dragging a frame sends many small resizes. Moving each control by its
// share of each step would lose the truncated remainder every time (101
// steps of 1 px at 50 % move nothing); the end must match one large resize.
TEST(ClxDialog, ManySmallResizesEndWhereOneLargeResizeDoes)
{
    EnsureTestApp();
    AnchoredDialog stepped;
    AnchoredDialog jumped;
    stepped.show();
    jumped.show();
    for (int d = 1; d <= 101; ++d)
        stepped.resize(kBaseW + d, kBaseH + (d + 1) / 2);
    jumped.resize(kBaseW + 101, kBaseH + 51);
    ASSERT_EQ(stepped.size(), jumped.size());
    for (int id : {1000, 1001, 1002, 1003, 1004, 1005})
        EXPECT_EQ(GeometryOf(stepped, id), GeometryOf(jumped, id)) << id;
    // And shrinking in small steps comes back to the start exactly.
    for (int d = 100; d >= 0; --d)
        stepped.resize(kBaseW + d, kBaseH + (d + 1) / 2);
    for (int id : {1000, 1001, 1002, 1003, 1004, 1005})
        EXPECT_EQ(GeometryOf(stepped, id), kOriginal) << id;
}

// The size at opening is the minimum, whichever way the shrink comes.
TEST(ClxDialog, CannotShrinkBelowOpeningSize)
{
    EnsureTestApp();
    AnchoredDialog dlg;
    dlg.show();
    EXPECT_EQ(dlg.minimumSize(), QSize(kBaseW, kBaseH));
    dlg.resize(10, 10);
    EXPECT_EQ(dlg.size(), QSize(kBaseW, kBaseH));
    dlg.resize(kBaseW + 50, 10);
    EXPECT_EQ(dlg.size(), QSize(kBaseW + 50, kBaseH));
    EXPECT_TRUE(dlg.windowFlags() & Qt::WindowStaysOnTopHint);
}

// The grip sits in the lower right corner after every resize, also while
// hidden (so showing it later does not put it in the middle of the dialog).
TEST(ClxDialog, SizeGripFollowsTheCornerShownOrHidden)
{
    EnsureTestApp();
    for (bool show : {true, false}) {
        AnchoredDialog dlg(show);
        dlg.show();
        QSizeGrip* grip = dlg.GetSizeGrip();
        ASSERT_NE(grip, nullptr);
        EXPECT_EQ(grip->isVisible(), show);
        dlg.resize(kBaseW + 77, kBaseH + 33);
        EXPECT_EQ(grip->geometry().bottomRight(), QPoint(kBaseW + 76, kBaseH + 32)) << show;
    }
}

// SetAnchors refuses an empty table and keeps the old one.
TEST(ClxDialog, SetAnchorsRefusesEmptyTable)
{
    EnsureTestApp();
    ClxDialog dlg;
    const ClxDialog::Anchor one[] = {{1, ClxDialog::AnchorMoveX, 100}};
    EXPECT_FALSE(dlg.SetAnchors(nullptr, 1));
    EXPECT_FALSE(dlg.SetAnchors(one, 0));
    EXPECT_FALSE(dlg.SetAnchors(one, -3));
    EXPECT_TRUE(dlg.SetAnchors(one, 1));
}

// A table set before the dialog opens takes the controls' geometry at
// opening, not at the time of the call (the constructor may still move them).
TEST(ClxDialog, TableSetBeforeOpeningUsesOpeningGeometry)
{
    EnsureTestApp();
    ClxDialog dlg;
    QWidget* w = AnchoredDialog::MakeControlIn(&dlg, 1234);
    const ClxDialog::Anchor table[] = {{1234, ClxDialog::AnchorMoveX, 100}};
    dlg.SetAnchors(table, 1);
    w->move(5, 5); // after SetAnchors, before opening
    dlg.resize(300, 200);
    dlg.show();
    dlg.resize(340, 200);
    EXPECT_EQ(w->pos(), QPoint(45, 5));
}

// DoModal answers like the classic dialogs: IDOK for accept, IDCANCEL for
// reject (not 0, which callers comparing with IDCANCEL would miss), other
// codes unchanged.
TEST(ClxDialog, DoModalMapsResults)
{
    EnsureTestApp();
    struct Case { std::function<void(ClxDialog&)> end; int expected; };
    const Case cases[] = {
        {[](ClxDialog& d) { d.accept(); }, IDOK},
        {[](ClxDialog& d) { d.reject(); }, IDCANCEL},
        {[](ClxDialog& d) { d.done(7); }, 7},
    };
    for (const Case& c : cases) {
        ClxDialog dlg;
        QTimer::singleShot(0, &dlg, [&] { c.end(dlg); });
        EXPECT_EQ(dlg.DoModal(), c.expected);
    }
}

// Dialogs that swallow Enter and Escape must stay open on those keys; the
// others keep Escape as cancel.
TEST(ClxDialog, SwallowEnterAndEscape)
{
    EnsureTestApp();
    for (bool swallow : {true, false}) {
        ClxDialog dlg;
        dlg.SetSwallowEnterEscape(swallow);
        dlg.show();
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&dlg, &escape);
        EXPECT_EQ(dlg.isVisible(), swallow);
    }
}

// No single mode moves a control down while widening it, so a table gives
// such a control two entries; they add up like the same entries applied one
// after the other. Applying each entry from the control's opening rectangle
// alone would let the second entry undo the first.
TEST(ClxDialog, EntriesForOneControlAddUp)
{
    EnsureTestApp();
    ClxDialog dlg;
    QWidget* w = AnchoredDialog::MakeControlIn(&dlg, 1234);
    const ClxDialog::Anchor table[] = {
        {1234, ClxDialog::AnchorMoveY, 100},
        {1234, ClxDialog::AnchorGrowX, 50},
        {1234, ClxDialog::AnchorMoveX, 101}, // ignored, changes nothing
    };
    dlg.SetAnchors(table, int(std::size(table)));
    dlg.resize(kBaseW, kBaseH);
    dlg.show();
    for (int d = 1; d <= 40; ++d)
        dlg.resize(kBaseW + 3 * d, kBaseH + d);
    EXPECT_EQ(w->geometry(), QRect(kOriginal.left(), kOriginal.top() + 40, kOriginal.width() + 60, kOriginal.height()));
    dlg.resize(kBaseW, kBaseH);
    EXPECT_EQ(w->geometry(), kOriginal);
}

// A dialog's message carries the dialog's title and the flags' icon and
// buttons, and the answer comes back: a box titled with the program's name
// would not say which dialog refused the input.
TEST(ClxDialog, MessageIsTitledLikeTheDialog)
{
    EnsureTestApp();
    ClxDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Syslog Host Configuration"));
    MessageRecorder messages;
    messages.expect(QStringLiteral("Invalid file."), IDCANCEL);
    EXPECT_EQ(dialog.Message(QStringLiteral("Invalid file."), MB_OKCANCEL | MB_ICONQUESTION), IDCANCEL);
    ASSERT_EQ(messages.requests().size(), 1);
    EXPECT_EQ(messages.requests()[0].title, QStringLiteral("Syslog Host Configuration"));
    EXPECT_EQ(messages.requests()[0].icon, MessageIcon::Question);
    EXPECT_EQ(messages.requests()[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(messages.requests()[0].parent, &dialog);
}
