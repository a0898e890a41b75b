// The look and feedback every configuration dialog gets from the kit: the
// status line, the text after a successful write, address fields marked
// while invalid, and where extra room goes when the window grows.

#include "CConfigDialog.h"
#include "CEditEXIPV6.h"
#include "CListCtrlEx.h"
#include "CPortGrid.h"
#include "CSetSequence.h"
#include "CSnmpRowWalk.h"
#include "CStatusLine.h"
#include "GlobalSettings.h"
#include "MessageRecorder.h"
#include "SharedSwitchDialogTest.h"
#include "WaitFor.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

const QString kPvid = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.7.7.1.1");

// A dialog on the kit: one gated walk, and a write of two steps carrying
// three values. Optional parts: an address field, a list, a port grid.
class LookDialog : public CConfigDialog
{
public:
    struct Parts {
        bool address = false;
        bool list = false;
        bool grid = false;
    };
    explicit LookDialog(Parts parts, ButtonRow buttons = RefreshApplyClose, QWidget* parent = nullptr)
        : CConfigDialog(QStringLiteral("PVID Settings"), std::make_unique<CModuleBase>(), buttons, parent)
    {
        if (parts.address) {
            auto* box = new QGroupBox(QStringLiteral("Server"), this);
            auto* layout = new QVBoxLayout(box);
            address = new CEditEXIPV6(box);
            name = new QLineEdit(box);
            layout->addWidget(address);
            layout->addWidget(name);
            ContentLayout()->addWidget(box);
        }
        if (parts.grid) {
            auto* box = new QGroupBox(QStringLiteral("Ports"), this);
            auto* layout = new QVBoxLayout(box);
            heading = new QLabel(QStringLiteral("Tagged"), box);
            layout->addWidget(heading);
            grid = new CPortGrid(52, 2000, box);
            layout->addWidget(grid);
            ContentLayout()->addWidget(box);
        }
        if (parts.list) {
            list = new CListCtrlEx(this);
            list->InsertColumn(0, QStringLiteral("VLAN ID"), CListCtrlEx::LVCFMT_LEFT, 80);
            ContentLayout()->addWidget(list);
        }
        walk = NewWalk(Logic<CModuleBase>()->m_cSnmpVlanTable);
        sequence = NewSequence(Logic<CModuleBase>()->m_cSnmpSet);
    }

    void OnRefresh() override
    {
        ++refreshes;
        const int ticket = Gate().Expect(QStringLiteral("PVIDs"));
        walk->Start({kPvid}, [this, ticket](const WalkOutcome& o) { Gate().Settle(ticket, o); });
    }

    void OnApply() override
    {
        sequence->Clear();
        sequence->Add(QStringLiteral("PVIDs of ports 3 and 4"),
                      {SnmpSetValue::Unsigned(kPvid + ".3", 10), SnmpSetValue::Unsigned(kPvid + ".4", 10)});
        sequence->Add(QStringLiteral("PVID of port 5"), {SnmpSetValue::Unsigned(kPvid + ".5", 10)});
        if (!successText.isEmpty())
            SetWriteSuccessText(successText);
        RunWrites(sequence);
    }

    CEditEXIPV6* address = nullptr;
    QLineEdit* name = nullptr;
    CListCtrlEx* list = nullptr;
    CPortGrid* grid = nullptr;
    QLabel* heading = nullptr;
    CSnmpRowWalk* walk = nullptr;
    CSetSequence* sequence = nullptr;
    QString successText;
    int refreshes = 0;
};

// Types a text into a widget key by key, as the user does.
void Type(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
    }
}

class DialogLookTest : public SharedSwitchDialogTest
{
protected:
    static void OpenAndRead(LookDialog& d)
    {
        d.show();
        ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }));
    }
};

} // namespace

// The status line has a row of its own, one text line high whatever the
// layout offers (it was squashed to a few pixels under the buttons), below
// the buttons and across the dialog.
TEST_F(DialogLookTest, StatusLineHasARowOfItsOwn)
{
    for (const bool withList : {false, true}) {
        SCOPED_TRACE(withList ? "with a list" : "without a list");
        LookDialog d({.list = withList});
        OpenAndRead(d);
        CStatusLine* line = d.StatusLine();
        EXPECT_GE(line->height(), line->fontMetrics().height());
        EXPECT_GE(line->geometry().top(), d.ApplyButton()->geometry().bottom());
        EXPECT_GT(line->width(), d.width() / 2);
        d.resize(d.width(), d.height() + 200);
        QApplication::processEvents();
        EXPECT_GE(line->height(), line->fontMetrics().height());
        EXPECT_LT(line->height(), 3 * line->fontMetrics().height());   // one line, not the extra room
    }
}

// A text wider than the line is cut with "…" and the whole text is the
// tooltip; a short one is shown whole.
TEST_F(DialogLookTest, LongStatusTextIsCutWithTheWholeTextAsTooltip)
{
    LookDialog d({});
    OpenAndRead(d);
    const QString longText = QStringLiteral("Refused: wrongValue on ") + QStringList(40, QStringLiteral("1.3.6")).join(u'.');
    d.StatusLine()->ShowText(longText);
    ASSERT_GT(d.StatusLine()->fontMetrics().horizontalAdvance(longText), d.StatusLine()->width());
    EXPECT_EQ(d.StatusLine()->text(), longText);
    EXPECT_EQ(d.StatusLine()->toolTip(), longText);
    const QString shown = d.StatusLine()->DisplayedText();
    EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("Refused: wrongValue on 1.3.6.1.3.6"))) << shown.toStdString();
    EXPECT_LE(d.StatusLine()->fontMetrics().horizontalAdvance(shown), d.StatusLine()->contentsRect().width());

    d.StatusLine()->ShowText(QStringLiteral("Reading…"));
    EXPECT_EQ(d.StatusLine()->DisplayedText(), QStringLiteral("Reading…"));
}

// After a successful write the line says what was written, counted from the
// write's values (two steps, three values), and keeps saying it through the
// re-read that follows; a dialog's own text takes its place. The user's
// Refresh then clears it.
TEST_F(DialogLookTest, SuccessfulWriteSaysWhatItWrote)
{
    struct Case {
        const char* own;
        const char* expected;
    };
    for (const Case c : {Case{"", "Written: 3 settings"}, Case{"VLAN 100 added", "VLAN 100 added"}}) {
        SCOPED_TRACE(c.expected);
        LookDialog d({});
        d.successText = QString::fromLatin1(c.own);
        OpenAndRead(d);
        const int before = d.refreshes;
        d.ApplyButton()->click();
        ASSERT_TRUE(WaitFor([&] { return d.refreshes > before && !d.Gate().Pending() && !d.IsWriting(); }));
        EXPECT_EQ(d.StatusLine()->text(), QString::fromLatin1(c.expected));
        EXPECT_EQ(d.DoneText(), QString::fromLatin1(c.expected));

        d.RefreshButton()->click();
        EXPECT_EQ(d.StatusLine()->text(), QStringLiteral("Reading…"));
        ASSERT_TRUE(WaitFor([&] { return !d.Gate().Pending(); }));
        EXPECT_EQ(d.StatusLine()->text(), QString());
    }
}

// A refused write shows the refusal, never a success text.
TEST_F(DialogLookTest, FailedWriteShowsNoSuccess)
{
    MessageRecorder messages;
    messages.script({IDOK});
    LookDialog d({});
    OpenAndRead(d);
    ASSERT_TRUE(sim->command("set-error " + kPvid.toStdString() + ".5 wrongValue"));
    d.ApplyButton()->click();
    ASSERT_TRUE(WaitFor([&] { return messages.answersLeft() == 0 && !d.Gate().Pending() && !d.IsWriting(); }));
    ASSERT_TRUE(sim->command("clear"));
    EXPECT_FALSE(d.StatusLine()->text().contains(QStringLiteral("Written"))) << d.StatusLine()->text().toStdString();
    EXPECT_EQ(d.DoneText(), QString());
}

// An OK/Cancel dialog opened from another closes on success; the dialog
// that opened it shows what was written, also after its own re-read.
TEST_F(DialogLookTest, OkDialogHandsItsTextToTheDialogThatOpenedIt)
{
    LookDialog owner({});
    OpenAndRead(owner);
    {
        LookDialog add({}, CConfigDialog::OkCancel, &owner);
        add.successText = QStringLiteral("VLAN 100 added");
        OpenAndRead(add);
        add.ApplyButton()->click();
        ASSERT_TRUE(WaitFor([&] { return !add.isVisible(); }));
    }
    EXPECT_EQ(owner.StatusLine()->text(), QStringLiteral("VLAN 100 added"));
    owner.Refresh();
    ASSERT_TRUE(WaitFor([&] { return !owner.Gate().Pending(); }));
    EXPECT_EQ(owner.StatusLine()->text(), QStringLiteral("VLAN 100 added"));
}

// While an address field holds a text that is not an address it is marked
// and Apply is off; a valid address, an empty field or a disabled field
// give Apply back. (A box at Apply was the only warning before.)
TEST_F(DialogLookTest, InvalidAddressIsMarkedAndKeepsApplyOff)
{
    LookDialog d({.address = true});
    OpenAndRead(d);
    ASSERT_TRUE(d.ApplyButton()->isEnabled());
    struct Case {
        const char* text;
        bool valid;
    };
    const Case cases[] = {
        {"10.0.0.300", false}, {"10.0.0", false},    {"10.0.0.3", true},   {"fe80::1", false},
        {"fe80::1%eth0", true}, {"2001:db8::1", true}, {"10.0.0.1 x", false}, {"", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        d.address->clear();
        Type(d.address, QString::fromLatin1(c.text));   // typed, not set
        EXPECT_EQ(d.address->IsMarkedInvalid(), !c.valid);
        EXPECT_EQ(d.ApplyButton()->isEnabled(), c.valid);
    }
    d.address->setText(QStringLiteral("10.0.0"));
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
    d.address->setEnabled(false);   // not in play
    EXPECT_TRUE(d.ApplyButton()->isEnabled());
    d.address->setEnabled(true);
    EXPECT_FALSE(d.ApplyButton()->isEnabled());
}

// Extra height goes to the list; edits keep their height.
TEST_F(DialogLookTest, ExtraHeightGoesToTheList)
{
    LookDialog d({.address = true, .list = true});
    OpenAndRead(d);
    const int listHeight = d.list->height();
    const int editHeight = d.address->height();
    const int addressWidth = d.address->width();
    d.resize(d.width() + 300, d.height() + 200);
    QApplication::processEvents();
    EXPECT_GE(d.list->height(), listHeight + 180);
    EXPECT_EQ(d.address->height(), editHeight);
    EXPECT_EQ(d.address->width(), addressWidth);   // an address-sized field, not the window's width
    EXPECT_GE(d.list->width(), 300);
}

// Without a list the content stays together at the top: a heading stays
// right above its grid, the grid keeps its size, the group box does not
// take the extra height, and edits do not take the extra width.
TEST_F(DialogLookTest, WithoutAListHeadingsStayWithTheirGrids)
{
    LookDialog d({.address = true, .grid = true});
    OpenAndRead(d);
    const QRect headingBefore = d.heading->geometry();
    const QRect gridBefore = d.grid->geometry();
    const int gap = gridBefore.top() - headingBefore.bottom();
    const int nameWidth = d.name->width();
    const QWidget* box = d.grid->parentWidget();
    const int boxHeight = box->height();
    d.resize(d.width() + 400, d.height() + 300);
    QApplication::processEvents();
    EXPECT_EQ(d.grid->size(), gridBefore.size());
    EXPECT_EQ(d.grid->geometry().top() - d.heading->geometry().bottom(), gap);
    EXPECT_EQ(d.grid->x() - d.heading->x(), gridBefore.x() - headingBefore.x());
    EXPECT_EQ(box->height(), boxHeight);
    EXPECT_EQ(d.name->width(), nameWidth);
}
