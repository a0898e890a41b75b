#include "CIPv4AddressCtrl.h"
#include "TestApp.h"

#include <QLineEdit>
#include <QApplication>
#include <QKeyEvent>

#include <gtest/gtest.h>

// Only four filled fields make an address, and its text is canonical.
TEST(CIPv4AddressCtrl, CompleteAndCanonical)
{
    EnsureTestApp();
    CIPv4AddressCtrl ctrl;
    EXPECT_TRUE(ctrl.IsBlank());
    EXPECT_FALSE(ctrl.IsInvalid());
    const char* fields[] = {"010", "0", "255", "007"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(ctrl.IsComplete());
        ctrl.Field(i)->setText(fields[i]);
    }
    EXPECT_TRUE(ctrl.IsComplete());
    EXPECT_EQ(ctrl.GetAddress(), "10.0.255.7");
    ctrl.Field(2)->clear();
    EXPECT_EQ(ctrl.FilledCount(), 3);
    EXPECT_TRUE(ctrl.IsInvalid());
    EXPECT_EQ(ctrl.GetAddress(), "010.0..007");
}

namespace {

// Sends each character as a key press to the widget that has the focus.
void Type(const char* text)
{
    for (const char* c = text; *c; ++c) {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        const int key = *c == '.' ? Qt::Key_Period : *c >= 'a' && *c <= 'z' ? Qt::Key_A + (*c - 'a') : Qt::Key_0 + (*c - '0');
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(QChar(*c)));
        QApplication::sendEvent(target, &press);
    }
}

} // namespace

// Typed keys: digits only, at most 255, "." moves on, a third digit moves on.
TEST(CIPv4AddressCtrl, Typing)
{
    EnsureTestApp();
    CIPv4AddressCtrl ctrl;
    ctrl.show();
    ctrl.activateWindow();
    ctrl.Field(0)->setFocus();
    QApplication::processEvents();
    Type("192168.1a.999");
    EXPECT_EQ(ctrl.Field(0)->text(), "192");
    EXPECT_EQ(ctrl.Field(1)->text(), "168");
    EXPECT_EQ(ctrl.Field(2)->text(), "1");
    EXPECT_EQ(ctrl.Field(3)->text(), "99");   // 999 is over 255: the last digit is refused
    EXPECT_EQ(ctrl.GetAddress(), "192.168.1.99");
}

// SetAddress takes dotted quads only; the red frame marks a partial address.
TEST(CIPv4AddressCtrl, SetAddressAndInvalidMark)
{
    EnsureTestApp();
    CIPv4AddressCtrl ctrl;
    EXPECT_TRUE(ctrl.SetAddress("192.168.001.1"));
    EXPECT_EQ(ctrl.GetAddress(), "192.168.1.1");
    for (const char* bad : {"192.168.1", "192.168.1.256", "a.b.c.d", "1.2.3.4.5", ""}) {
        EXPECT_FALSE(ctrl.SetAddress(bad)) << bad;
        EXPECT_TRUE(ctrl.IsBlank()) << bad;
    }
    EXPECT_FALSE(ctrl.property("invalid").toBool());
    ctrl.Field(0)->setText("10");
    EXPECT_TRUE(ctrl.property("invalid").toBool());
    EXPECT_FALSE(ctrl.styleSheet().isEmpty());
    ctrl.ClearAddress();
    EXPECT_FALSE(ctrl.property("invalid").toBool());
    EXPECT_TRUE(ctrl.styleSheet().isEmpty());
}
