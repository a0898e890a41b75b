#include "CPanelCell.h"

#include "CPanelConfig.h"
#include "CPanelView.h"

#include <QPainter>

void CPanelCell::Draw(QPainter& painter, int x, int y, double scaleX, double scaleY)
{
    if (!m_pController)
        return;
    m_dScaleX = scaleX;
    m_dScaleY = scaleY;
    // On models without PoE the lamps alternate between their state picture
    // and their state-0 picture, one refresh pass each.
    const bool blinkOff = m_pController->BlinkPhase() && m_strTag == QLatin1String("LAMP")
                          && !m_pController->Config().m_bPoeModel;
    const QImage& picture = blinkOff ? m_pStateImage[0] : StatePicture();
    const int width = PanelRound((m_nWidth ? m_nWidth : GetWidth(m_nState)) * scaleX);
    const int height = PanelRound((m_nHeight ? m_nHeight : GetHeight(m_nState)) * scaleY);
    const int left = PanelRound(x + m_nLeft * scaleX);
    const int top = PanelRound(y + m_nTop * scaleY);
    if (!picture.isNull())
        painter.drawImage(QRect(left, top, width, height), picture);
    RememberDrawn(left, top, width, height);
    for (auto& child : m_children)
        child->Draw(painter, x, y, scaleX, scaleY);
}
