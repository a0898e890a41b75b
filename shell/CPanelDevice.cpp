#include "CPanelDevice.h"

#include "CPanelView.h"

#include <QPainter>

void CPanelDevice::Draw(QPainter& painter, int x, int y, double scaleX, double scaleY)
{
    DrawAtPictureSize(painter, x, y, scaleX, scaleY);
}

void CPanelDevice::DrawSized(QPainter& painter, int x, int y, int width, int height)
{
    if (!m_pController)
        return;
    m_ptDrawOrigin = QPoint(x, y);
    const QPoint corner = PlaceFrame(x, y, width, height);
    const QImage& picture = StatePicture();
    if (width == 0)
        width = PanelRound(GetWidth(m_nState) * m_dScaleX);
    if (height == 0)
        height = PanelRound(GetHeight(m_nState) * m_dScaleY);
    if (!picture.isNull())
        painter.drawImage(QRect(corner, QSize(width, height)), picture);
    RememberDrawn(corner.x(), corner.y(), width, height);
    for (auto& child : m_children)
        child->Draw(painter, corner.x(), corner.y(), m_dScaleX, m_dScaleY);
}
