#include "CGradientProgressCtrl.h"
#include "CMemDC.h"
#include "TestApp.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

constexpr int kContentWidth = 200;
const QColor kBackground(0xee, 0xee, 0xee);

// A bar whose contents are exactly nWidth pixels wide.
void Size(CGradientProgressCtrl& bar, int nWidth)
{
    const int frame = bar.frameWidth();
    bar.setFixedSize(nWidth + 2 * frame, 20 + 2 * frame);
}

QRgb PixelAt(const QImage& image, const CGradientProgressCtrl& bar, int x)
{
    const QRect rc = bar.contentsRect();
    return image.pixel(rc.left() + x, rc.center().y()) & 0xffffff;
}

QRgb Rgb(int r, int g, int b) { return qRgb(r, g, b) & 0xffffff; }

} // namespace

// The transfer dialog's colours are COLORREF words (red in the low byte):
// 0x00C83C3C is a blue, not a red. Qt's named colours stay themselves.
TEST(CGradientProgressCtrl, ColorRefWords)
{
    EnsureTestApp();
    EXPECT_EQ(CGradientProgressCtrl::ColorFromColorRef(0x00C83C3C), QColor(0x3C, 0x3C, 0xC8));
    CGradientProgressCtrl bar;
    bar.SetStartColor(0x00C83C3C);
    bar.SetEndColor(0x00FF3C3C);
    EXPECT_EQ(bar.GetStartColor(), QColor(0x3C, 0x3C, 0xC8));
    EXPECT_EQ(bar.GetEndColor(), QColor(0x3C, 0x3C, 0xFF));
    EXPECT_EQ(bar.GetBandCount(), 55); // blue 0xC8..0xFF
    bar.SetStartColor(Qt::red);
    EXPECT_EQ(bar.GetStartColor(), QColor(Qt::red));
}

// Pixels at 0, 50 and 100 %: background only at 0, the first half of the
// whole gradient at 50 (band colours from the start colour, the rest
// background), the whole gradient at 100 (a finished transfer must not
// look as if nothing had been done).
TEST(CGradientProgressCtrl, PixelsAtZeroHalfAndFull)
{
    EnsureTestApp();
    CGradientProgressCtrl bar;
    Size(bar, kContentWidth);
    bar.SetStartColor(0x00C83C3C);
    bar.SetEndColor(0x00FF3C3C);
    bar.SetBkColor(kBackground);
    bar.SetRange(0, 100);
    ASSERT_EQ(bar.contentsRect().width(), kContentWidth);

    QImage image = bar.grab().toImage();
    for (int x : {0, 50, 100, 199})
        EXPECT_EQ(PixelAt(image, bar, x), kBackground.rgb() & 0xffffff) << "0 % at " << x;

    bar.SetPos(50);
    image = bar.grab().toImage();
    // 55 bands of 3.64 px, edges truncated: band 0 (blue 0xC8) covers
    // pixels 0-2, band 1 (0xC9) 3-6, band 3 (0xCB) 10-13, band 26 (0xE2)
    // 94-97, band 27 (0xE3) 98-101, cut at the done width 100.
    EXPECT_EQ(PixelAt(image, bar, 0), Rgb(0x3C, 0x3C, 0xC8));
    EXPECT_EQ(PixelAt(image, bar, 2), Rgb(0x3C, 0x3C, 0xC8));
    EXPECT_EQ(PixelAt(image, bar, 3), Rgb(0x3C, 0x3C, 0xC9));
    EXPECT_EQ(PixelAt(image, bar, 10), Rgb(0x3C, 0x3C, 0xCB));
    EXPECT_EQ(PixelAt(image, bar, 97), Rgb(0x3C, 0x3C, 0xE2));
    EXPECT_EQ(PixelAt(image, bar, 98), Rgb(0x3C, 0x3C, 0xE3));
    EXPECT_EQ(PixelAt(image, bar, 99), Rgb(0x3C, 0x3C, 0xE3));
    EXPECT_EQ(PixelAt(image, bar, 100), kBackground.rgb() & 0xffffff);
    EXPECT_EQ(PixelAt(image, bar, 199), kBackground.rgb() & 0xffffff);

    bar.SetPos(100);
    image = bar.grab().toImage();
    EXPECT_EQ(PixelAt(image, bar, 0), Rgb(0x3C, 0x3C, 0xC8));
    EXPECT_EQ(PixelAt(image, bar, 199), Rgb(0x3C, 0x3C, 0xC8 + 54));
}

// The gradient lies over the whole bar: the colour at a pixel does not
// depend on the position (a bar at 30 % shows the first 30 % of it).
TEST(CGradientProgressCtrl, ColourAtAPixelIndependentOfPosition)
{
    EnsureTestApp();
    CGradientProgressCtrl bar;
    Size(bar, kContentWidth);
    bar.SetRange(0, 100);
    bar.SetPos(30);
    const QRgb at30 = PixelAt(bar.grab().toImage(), bar, 40);
    bar.SetPos(90);
    EXPECT_EQ(PixelAt(bar.grab().toImage(), bar, 40), at30);
}

// Narrow bars have far more bands (255 from red to blue) than pixels; the
// painting must finish and still show start colour and background. Equal
// colours (no band by difference) and empty or reversed ranges must not
// divide by zero.
TEST(CGradientProgressCtrl, DegenerateBarsPaintAndReturn)
{
    EnsureTestApp();
    struct Case { int width; QColor start; QColor end; int lower; int upper; int pos; bool painted; };
    const Case cases[] = {
        {40, Qt::red, Qt::blue, 0, 100, 50, true},
        {40, Qt::red, Qt::blue, 0, 100, 99, true},
        {1, Qt::red, Qt::blue, 0, 100, 99, false}, // 0.99 of one pixel
        {40, Qt::red, Qt::red, 0, 100, 50, true},
        {40, Qt::red, Qt::blue, 0, 0, 5, false},
        {40, Qt::red, Qt::blue, 100, 0, 50, false},
        {40, Qt::red, Qt::blue, 0, 100, -5, false},
        {40, Qt::red, Qt::blue, -100, 100, 0, true},
    };
    for (const Case& c : cases) {
        CGradientProgressCtrl bar;
        Size(bar, c.width);
        bar.SetStartColor(c.start);
        bar.SetEndColor(c.end);
        bar.SetBkColor(kBackground);
        bar.SetRange(c.lower, c.upper);
        bar.SetPos(c.pos);
        const QImage image = bar.grab().toImage();
        // With more bands than pixels the first pixel shows the band that
        // covers it: near the start colour, not exactly it.
        const QColor first = QColor::fromRgb(PixelAt(image, bar, 0));
        const QColor expected = c.painted ? c.start : kBackground;
        const int distance = qAbs(first.red() - expected.red()) + qAbs(first.green() - expected.green())
                           + qAbs(first.blue() - expected.blue());
        EXPECT_LE(distance, 16) << c.width << " " << c.lower << ".." << c.upper << " @" << c.pos;
        if (c.width > 1) {
            EXPECT_EQ(PixelAt(image, bar, c.width - 1), kBackground.rgb() & 0xffffff) << c.width << " @" << c.pos;
        }
    }
    // Equal colours: the done part is exactly half, in the start colour.
    CGradientProgressCtrl bar;
    Size(bar, 40);
    bar.SetStartColor(Qt::red);
    bar.SetEndColor(Qt::red);
    bar.SetBkColor(kBackground);
    bar.SetPos(50);
    const QImage image = bar.grab().toImage();
    EXPECT_EQ(PixelAt(image, bar, 19), QColor(Qt::red).rgb() & 0xffffff);
    EXPECT_EQ(PixelAt(image, bar, 20), kBackground.rgb() & 0xffffff);
}

// Range and step bookkeeping: SetRange puts the position at the lower
// bound; StepIt advances by the step and saturates instead of overflowing.
TEST(CGradientProgressCtrl, RangeStepAndPosition)
{
    EnsureTestApp();
    CGradientProgressCtrl bar;
    bar.SetPos(40);
    bar.SetRange(10, 20);
    EXPECT_EQ(bar.GetPos(), 10);
    bar.SetStep(3);
    EXPECT_EQ(bar.StepIt(), 10);
    EXPECT_EQ(bar.StepIt(), 13);
    EXPECT_EQ(bar.GetPos(), 16);
    bar.SetPos(INT_MAX - 1);
    bar.StepIt();
    EXPECT_EQ(bar.GetPos(), INT_MAX);
    EXPECT_EQ(bar.DoneWidth(100), 100);
}

// The percentage is written over the bar in the text colour.
TEST(CGradientProgressCtrl, PercentText)
{
    EnsureTestApp();
    CGradientProgressCtrl bar;
    Size(bar, kContentWidth);
    bar.SetStartColor(Qt::black);
    bar.SetEndColor(Qt::black);
    bar.SetPos(100);
    const auto whitePixels = [&bar] {
        const QImage image = bar.grab().toImage();
        int n = 0;
        const QRect rc = bar.contentsRect();
        for (int y = rc.top(); y <= rc.bottom(); ++y)
            for (int x = rc.left(); x <= rc.right(); ++x)
                n += qGray(image.pixel(x, y)) > 128; // anti-aliased white text
        return n;
    };
    EXPECT_EQ(whitePixels(), 0);
    bar.SetShowPercent(true);
    EXPECT_GT(whitePixels(), 10);
}

// Off-screen drawing reaches the target only when the CMemDC ends, at the
// rectangle it covers, in the target's coordinates.
TEST(CMemDC, CopiesToTheTargetWhenDone)
{
    QImage target(50, 50, QImage::Format_RGB32);
    target.fill(Qt::white);
    QPainter painter(&target);
    {
        CMemDC dc(&painter, QRect(10, 10, 20, 20));
        EXPECT_TRUE(dc.IsOffScreen());
        dc->fillRect(QRect(10, 10, 20, 20), Qt::red);
        dc->fillRect(QRect(25, 25, 5, 5), Qt::blue);
        EXPECT_EQ(target.pixel(15, 15), QColor(Qt::white).rgb());
    }
    painter.end();
    EXPECT_EQ(target.pixel(10, 10), QColor(Qt::red).rgb());
    EXPECT_EQ(target.pixel(29, 29), QColor(Qt::blue).rgb());
    EXPECT_EQ(target.pixel(9, 9), QColor(Qt::white).rgb());
    EXPECT_EQ(target.pixel(30, 30), QColor(Qt::white).rgb());
}

// The percentage sits in the middle of the bar, which below 50 % is the
// background, not the gradient: white text there would be invisible on a
// light background. It must stay readable over either part.
TEST(CGradientProgressCtrl, PercentTextReadableOverTheBackground)
{
    EnsureTestApp();
    CGradientProgressCtrl bar;
    Size(bar, kContentWidth);
    bar.SetStartColor(0x00C83C3C);
    bar.SetEndColor(0x00FF3C3C);
    bar.SetBkColor(kBackground);
    bar.SetShowPercent(true);
    bar.SetPos(20); // the done part ends at pixel 40, the text is around 100
    const QImage image = bar.grab().toImage();
    const QRect rc = bar.contentsRect();
    int dark = 0;
    for (int y = rc.top(); y <= rc.bottom(); ++y)
        for (int x = rc.left() + 50; x <= rc.right(); ++x)
            dark += qGray(image.pixel(x, y)) < 128;
    EXPECT_GT(dark, 10);
}
