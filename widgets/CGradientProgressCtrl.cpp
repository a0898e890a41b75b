#include "CGradientProgressCtrl.h"

#include "CMemDC.h"

#include <QPainter>
#include <QPaintEvent>

#include <climits>
#include <cstdlib>

QColor CGradientProgressCtrl::ColorFromColorRef(COLORREF clr)
{
    return QColor(int(clr & 0xff), int((clr >> 8) & 0xff), int((clr >> 16) & 0xff));
}

CGradientProgressCtrl::CGradientProgressCtrl(QWidget* parent)
    : QFrame(parent)
    , m_clrStart(ColorFromColorRef(0x000000FF))
    , m_clrEnd(ColorFromColorRef(0x00FF0000))
    , m_clrText(Qt::white)
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

CGradientProgressCtrl::~CGradientProgressCtrl() = default;

QSize CGradientProgressCtrl::sizeHint() const
{
    return QSize(200, fontMetrics().height() + 6 + 2 * frameWidth());
}

QSize CGradientProgressCtrl::minimumSizeHint() const
{
    return QSize(20, fontMetrics().height() + 2 * frameWidth());
}

void CGradientProgressCtrl::SetRange(int nLower, int nUpper)
{
    m_nLower = nLower;
    m_nUpper = nUpper;
    m_nPos = nLower;
    update();
}

void CGradientProgressCtrl::GetRange(int& nLower, int& nUpper) const
{
    nLower = m_nLower;
    nUpper = m_nUpper;
}

int CGradientProgressCtrl::SetPos(int nPos)
{
    const int previous = m_nPos;
    m_nPos = nPos;
    update();
    return previous;
}

int CGradientProgressCtrl::SetStep(int nStep)
{
    const int previous = m_nStep;
    m_nStep = nStep;
    return previous;
}

int CGradientProgressCtrl::StepIt()
{
    // Saturate instead of overflowing on a run-away caller.
    const qint64 next = qint64(m_nPos) + m_nStep;
    return SetPos(int(qBound(qint64(INT_MIN), next, qint64(INT_MAX))));
}

void CGradientProgressCtrl::SetStartColor(const QColor& clr)
{
    m_clrStart = clr;
    update();
}

void CGradientProgressCtrl::SetEndColor(const QColor& clr)
{
    m_clrEnd = clr;
    update();
}

void CGradientProgressCtrl::SetBkColor(const QColor& clr)
{
    m_clrBkGround = clr;
    update();
}

void CGradientProgressCtrl::SetTextColor(const QColor& clr)
{
    m_clrText = clr;
    update();
}

void CGradientProgressCtrl::SetShowPercent(bool bShow)
{
    m_bShowPercent = bShow;
    update();
}

int CGradientProgressCtrl::GetBandCount() const
{
    const int dr = std::abs(m_clrEnd.red() - m_clrStart.red());
    const int dg = std::abs(m_clrEnd.green() - m_clrStart.green());
    const int db = std::abs(m_clrEnd.blue() - m_clrStart.blue());
    // Equal colours: one band of the start colour.
    return qMax(1, qMax(dr, qMax(dg, db)));
}

int CGradientProgressCtrl::DoneWidth(int nWidth) const
{
    if (nWidth <= 0 || m_nUpper <= m_nLower || m_nPos <= m_nLower)
        return 0;
    if (m_nPos >= m_nUpper)
        return nWidth;
    const double share = (double(m_nPos) - m_nLower) / (double(m_nUpper) - m_nLower);
    return qBound(0, int(share * nWidth), nWidth);
}

void CGradientProgressCtrl::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event); // the frame
    const QRect rc = contentsRect();
    if (rc.isEmpty())
        return;
    QPainter screen(this);
    CMemDC dc(&screen, rc);
    QPainter* p = dc.painter();

    const QColor background = m_clrBkGround.isValid() ? m_clrBkGround : palette().color(QPalette::Window);
    const int width = rc.width();
    const int done = DoneWidth(width);
    if (done <= 0) {
        p->fillRect(rc, background);
        return;
    }

    // Bands over the whole width, cut at the done width; integer edges so
    // that the bands tile the bar exactly and the loop runs at most once per
    // band, however narrow the bar.
    const int bands = GetBandCount();
    const int dr = m_clrEnd.red() - m_clrStart.red();
    const int dg = m_clrEnd.green() - m_clrStart.green();
    const int db = m_clrEnd.blue() - m_clrStart.blue();
    for (int i = 0; i < bands; ++i) {
        const int left = int(qint64(i) * width / bands);
        if (left >= done)
            break;
        const int right = qMin(done, int(qint64(i + 1) * width / bands));
        const QColor colour(int(m_clrStart.red() + i * (double(dr) / bands)),
                            int(m_clrStart.green() + i * (double(dg) / bands)),
                            int(m_clrStart.blue() + i * (double(db) / bands)));
        if (right > left)
            p->fillRect(QRect(rc.left() + left, rc.top(), right - left, rc.height()), colour);
    }
    if (done < width)
        p->fillRect(QRect(rc.left() + done, rc.top(), width - done, rc.height()), background);

    if (m_bShowPercent) {
        const double percent = (double(qBound(m_nLower, m_nPos, m_nUpper)) - m_nLower) * 100.0
                             / (double(m_nUpper) - m_nLower);
        const QString text = QString::asprintf("%.0f%%", percent);
        p->setFont(font());
        // The text colour over the gradient; over the background part a
        // colour that stands out from it, so the text stays readable while
        // the done part has not reached the middle yet.
        p->setClipRect(QRect(rc.left(), rc.top(), done, rc.height()));
        p->setPen(m_clrText);
        p->drawText(rc, Qt::AlignCenter | Qt::TextSingleLine, text);
        if (done < width) {
            p->setClipRect(QRect(rc.left() + done, rc.top(), width - done, rc.height()));
            p->setPen(qGray(background.rgb()) < 128 ? QColor(Qt::white) : QColor(Qt::black));
            p->drawText(rc, Qt::AlignCenter | Qt::TextSingleLine, text);
        }
    }
}
