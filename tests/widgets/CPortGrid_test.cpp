#include "CPortGrid.h"
#include "ControlId.h"
#include "TestApp.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>

#include <gtest/gtest.h>

namespace {

struct Shown
{
    explicit Shown(int ports, int pointSize = 0)
        : grid(ports, 3000)
    {
        if (pointSize > 0) {
            QFont f = grid.font();
            f.setPointSize(pointSize);
            grid.setFont(f);
        }
        grid.adjustSize();
        grid.show();
        QApplication::processEvents();
    }
    QRect Label(int port) const { return grid.GetLabel(port)->geometry(); }
    QRect Box(int port) const { return grid.GetCheckBox(port)->geometry(); }
    // Horizontal distance between the centres of two ports' boxes.
    int Step(int a, int b) const { return Box(b).center().x() - Box(a).center().x(); }
    CPortGrid grid;
};

} // namespace

// The grid reads like the front panel at every model size and at a large
// font: each number sits centred over its own box, numbers never overlap,
// the two rows are further apart than number and box, there is a wider gap
// every 8 ports and before the uplinks.
TEST(CPortGrid, LayoutLikeTheFrontPanel)
{
    EnsureTestApp();
    struct Case {
        int ports;
        int pointSize;
        int firstUplink;
        bool twoRows;
    };
    const Case cases[] = {
        {20, 0, 17, false}, {28, 0, 25, false}, {52, 0, 49, true}, {52, 16, 49, true}, {28, 16, 25, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.ports << " ports, font " << c.pointSize);
        Shown s(c.ports, c.pointSize);
        EXPECT_EQ(s.grid.GetLastCopperPort(), c.firstUplink - 1);
        for (int port = 1; port <= c.ports; ++port) {
            const QRect label = s.Label(port);
            const QRect box = s.Box(port);
            // Tight over its own box, centred on it.
            EXPECT_LE(label.bottom(), box.top()) << port;
            EXPECT_LE(box.top() - label.bottom(), 4) << port;
            EXPECT_LE(std::abs(label.center().x() - box.center().x()), 1) << port;
            // The number's text fits its cell (no clipped "52").
            const int textWidth = s.grid.GetLabel(port)->fontMetrics().horizontalAdvance(QString::number(port));
            EXPECT_GE(label.width(), textWidth) << port;
            if (port > 1 && s.Box(port).top() == s.Box(port - 1).top()) {
                EXPECT_FALSE(s.Label(port).intersects(s.Label(port - 1))) << port;
                EXPECT_FALSE(s.Box(port).intersects(s.Box(port - 1))) << port;
            }
        }
        const int pitch = s.Step(1, 2);
        EXPECT_GT(s.Step(8, 9), pitch);    // group gap
        EXPECT_EQ(s.Step(9, 10), pitch);
        EXPECT_GT(s.Step(c.firstUplink - 1, c.firstUplink), s.Step(8, 9));   // uplinks set apart
        if (c.twoRows) {
            // 1-24 over 25-48, port 25 straight under port 1.
            EXPECT_EQ(s.Box(25).center().x(), s.Box(1).center().x());
            const int rowGap = s.Label(25).top() - s.Box(1).bottom();
            EXPECT_GT(rowGap, s.Box(1).top() - s.Label(1).bottom() + 4);
            EXPECT_EQ(s.Box(51).center().x(), s.Box(49).center().x());
        } else {
            EXPECT_EQ(s.Box(c.ports).top(), s.Box(1).top());
        }
    }
}

// The same port stands at the same place in every grid of the same font,
// so port N lines up across the grids of a dialog.
TEST(CPortGrid, SamePitchInEveryGrid)
{
    EnsureTestApp();
    Shown a(52), b(52);
    for (int port : {1, 9, 24, 49, 52})
        EXPECT_EQ(a.Box(port), b.Box(port)) << port;
    Shown big(52, 16);
    EXPECT_GT(big.Step(1, 2), a.Step(1, 2));   // the pitch grows with the font
}

// Bitmaps: bit 7 of byte 0 is port 1; bits past the ports are ignored and
// a short bitmap clears the ports it does not reach. A disabled port greys
// its number as well.
TEST(CPortGrid, BitmapsArraysAndStates)
{
    EnsureTestApp();
    CPortGrid grid(28, 3000);
    grid.SetBitmap(QByteArray::fromHex("800100ff"));   // low bits of byte 3: ports 29-32, none
    EXPECT_EQ(grid.GetPorts(), (QList<int>{1, 16, 25, 26, 27, 28}));
    EXPECT_EQ(grid.GetBitmap().toHex(), "800100f0");
    EXPECT_EQ(grid.GetBitmap(12).toHex(), "800100f00000000000000000");   // padded to the switch's width
    grid.SetBitmap(QByteArray::fromHex("ff"));
    EXPECT_EQ(grid.GetPorts(), (QList<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    std::vector<int> ports(28, 0);
    ports[27] = 1;
    grid.SetPortArray(ports);
    EXPECT_EQ(grid.GetPortArray(), ports);
    EXPECT_EQ(grid.GetBitmap().toHex(), "00000010");

    CPortGrid big(52);
    big.SetBitmap(QByteArray::fromHex("00000000000010ff"));   // ports 52 + bits past the end
    EXPECT_EQ(big.GetPorts(), QList<int>{52});

    grid.EnablePort(5, false);
    EXPECT_FALSE(grid.GetCheckBox(5)->isEnabled());
    EXPECT_FALSE(grid.GetLabel(5)->isEnabled());
    EXPECT_EQ(GetDlgItem(&grid, 3000 + 4), grid.GetCheckBox(5));   // id = first id + port - 1
    int toggled = 0;
    QObject::connect(&grid, &CPortGrid::portToggled, [&](int port, bool on) {
        EXPECT_EQ(port, 7);
        EXPECT_TRUE(on);
        ++toggled;
    });
    grid.GetCheckBox(7)->click();
    EXPECT_EQ(toggled, 1);
    grid.SetChecked(99, true);   // outside: ignored
    EXPECT_FALSE(grid.IsChecked(99));
}
