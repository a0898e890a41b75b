// The typing limit of edits that show values read from the switch: typing
// stops at the limit, a longer value that was set is never cut, and the
// refusal names the field and the limit.

#include "TestApp.h"
#include "TextLimit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

void Type(QLineEdit& edit, const QString& text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(&edit, &press);
    }
}

void Backspace(QLineEdit& edit)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QApplication::sendEvent(&edit, &press);
}

} // namespace

// Catches a limit that cuts what was set (QLineEdit's maximum length does),
// one that lets typing go past it, and one that locks an over-long text
// (it must still be shortened, never lengthened).
TEST(TextLimit, TypingStopsButSetTextIsKeptWhole)
{
    EnsureTestApp();
    QLineEdit edit;
    SetTextLimit(&edit, 5);
    EXPECT_EQ(TextLimit(&edit), 5);
    Type(edit, QStringLiteral("abcdefg"));
    EXPECT_EQ(edit.text(), "abcde");
    EXPECT_TRUE(TextLimitMessage(&edit, QStringLiteral("Name")).isEmpty());

    edit.setText(QStringLiteral("switch-in-hall-7"));
    EXPECT_EQ(edit.text(), "switch-in-hall-7");
    EXPECT_EQ(TextLimitMessage(&edit, QStringLiteral("Name")), "Name may have at most 5 characters.");
    Type(edit, QStringLiteral("x"));
    EXPECT_EQ(edit.text(), "switch-in-hall-7");
    Backspace(edit);
    EXPECT_EQ(edit.text(), "switch-in-hall-");
    Type(edit, QStringLiteral("y"));   // over the limit it only shrinks
    EXPECT_EQ(edit.text(), "switch-in-hall-");
    edit.selectAll();
    Type(edit, QStringLiteral("ab"));   // a replacement within the limit is typing as usual
    EXPECT_EQ(edit.text(), "ab");
    Type(edit, QStringLiteral("cdefg"));
    EXPECT_EQ(edit.text(), "abcde");
}

// The digits-only form: letters are refused while typing, a number read
// from the switch with more digits than the limit is shown whole.
TEST(TextLimit, PatternAppliesToTypingOnly)
{
    EnsureTestApp();
    QLineEdit edit;
    SetTextLimit(&edit, 4, QStringLiteral("[0-9]*"));
    Type(edit, QStringLiteral("1a2b34567"));
    EXPECT_EQ(edit.text(), "1234");
    edit.setText(QStringLiteral("123456"));
    EXPECT_EQ(edit.text(), "123456");
    EXPECT_FALSE(TextLimitMessage(&edit, QStringLiteral("PVID")).isEmpty());

    QLineEdit plain;   // no limit: never a refusal
    plain.setText(QString(300, u'a'));
    EXPECT_TRUE(TextLimitMessage(&plain, QStringLiteral("x")).isEmpty());
}
