#pragma once

// Progress bar whose done part is a colour gradient laid over the whole
// width of the bar (a bar at 30 % shows the first 30 % of the gradient),
// optionally with the percentage in the middle.
//
// The bar is drawn in bands: one per step of the colour component that
// changes most between the start and end colours (at most 255), so a narrow
// bar or equal colours cost nothing special. The done part ends exactly at
// its share of the width; a full range shows the whole gradient.

#include <QColor>
#include <QFrame>

class CGradientProgressCtrl : public QFrame
{
    Q_OBJECT

public:
    // A Windows colour word, 0x00BBGGRR (red in the low byte).
    using COLORREF = quint32;
    static QColor ColorFromColorRef(COLORREF clr);

    explicit CGradientProgressCtrl(QWidget* parent = nullptr);
    ~CGradientProgressCtrl() override;

    // Stores the range; the position becomes the lower bound. An empty or
    // reversed range shows the background only.
    void SetRange(int nLower, int nUpper);
    void GetRange(int& nLower, int& nUpper) const;
    int GetPos() const { return m_nPos; }
    // Returns the previous position.
    int SetPos(int nPos);
    int SetStep(int nStep);
    // Advances by the step; returns the previous position.
    int StepIt();

    // COLORREF words (0x00C83C3C is R 0x3C, G 0x3C, B 0xC8) or QColors.
    void SetStartColor(COLORREF clr) { SetStartColor(ColorFromColorRef(clr)); }
    void SetStartColor(const QColor& clr);
    void SetStartColor(Qt::GlobalColor clr) { SetStartColor(QColor(clr)); }
    void SetEndColor(COLORREF clr) { SetEndColor(ColorFromColorRef(clr)); }
    void SetEndColor(const QColor& clr);
    void SetEndColor(Qt::GlobalColor clr) { SetEndColor(QColor(clr)); }
    void SetBkColor(const QColor& clr);
    void SetTextColor(const QColor& clr);
    void SetShowPercent(bool bShow);
    QColor GetStartColor() const { return m_clrStart; }
    QColor GetEndColor() const { return m_clrEnd; }
    QColor GetBkColor() const { return m_clrBkGround; }

    // The number of colour bands of the gradient; 1 for equal colours.
    int GetBandCount() const;
    // How many pixels of a bar nWidth wide are done at the current position:
    // 0 at or below the lower bound, nWidth at or above the upper bound.
    int DoneWidth(int nWidth) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_nLower = 0;
    int m_nUpper = 100;
    int m_nStep = 10;
    int m_nPos = 0;
    QColor m_clrStart;
    QColor m_clrEnd;
    QColor m_clrBkGround;
    QColor m_clrText;
    bool m_bShowPercent = false;
};
