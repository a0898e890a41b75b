#include "CPanelDevice.h"

#include "CPanelView.h"

#include <QPainter>

void CPanelDevice::Draw(QPainter& painter, int x, int y, double scaleX, double scaleY)
{
    m_dScaleX = scaleX;
    m_dScaleY = scaleY;
    DrawSized(painter, x, y, PanelRound(GetWidth(0) * scaleX), PanelRound(GetHeight(0) * scaleY));
}

void CPanelDevice::DrawSized(QPainter& painter, int x, int y, int width, int height)
{
    if (!m_pController)
        return;
    m_ptDrawOrigin = QPoint(x, y);
    const double sx = (width != 0 && GetWidth(0) != 0) ? double(width) / GetWidth(0) : 1.0;
    const double sy = (height != 0 && GetHeight(0) != 0) ? double(height) / GetHeight(0) : 1.0;
    m_dScaleX = sx;
    m_dScaleY = sy;
    const int dx = x + PanelRound(m_nLeft * sx);
    const int dy = y + PanelRound(m_nTop * sy);
    const QImage& picture = StatePicture();
    if (width == 0)
        width = PanelRound(GetWidth(m_nState) * sx);
    if (height == 0)
        height = PanelRound(GetHeight(m_nState) * sy);
    if (!picture.isNull())
        painter.drawImage(QRect(dx, dy, width, height), picture);
    RememberDrawn(dx, dy, width, height);
    for (auto& child : m_children)
        child->Draw(painter, dx, dy, sx, sy);
}
