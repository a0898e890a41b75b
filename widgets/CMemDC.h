#pragma once

// Off-screen drawing: paint into an image over a rectangle of the target,
// which gets the finished picture at once when the CMemDC ends. On a printer
// (or any target that is not a pixel surface worth buffering) it draws
// straight into the target.
//
//   QPainter screen(this);
//   {
//       CMemDC dc(&screen, rect());
//       dc->fillRect(...);          // coordinates of the target
//   }                               // copied to the target here

#include <QImage>
#include <QPainter>
#include <QRect>

#include <optional>

class CMemDC
{
public:
    CMemDC(QPainter* pTarget, const QRect& rcArea);
    ~CMemDC();

    CMemDC(const CMemDC&) = delete;
    CMemDC& operator=(const CMemDC&) = delete;

    // The painter to draw with: the off-screen one, or the target.
    QPainter* painter() { return m_pPainter; }
    QPainter* operator->() { return m_pPainter; }

    bool IsOffScreen() const { return m_bMemDC; }
    const QRect& GetRect() const { return m_rcArea; }

private:
    QPainter* m_pTarget;
    QRect m_rcArea;
    QImage m_image;
    std::optional<QPainter> m_memPainter;
    QPainter* m_pPainter;
    bool m_bMemDC = false;
};
