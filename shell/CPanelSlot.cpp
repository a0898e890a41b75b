#include "CPanelSlot.h"

#include "CPanelConfig.h"
#include "CPanelDevice.h"
#include "CPanelView.h"

#include <QPainter>

void CPanelSlot::Reset()
{
    m_pModuleDevice.reset();
    m_strModuleXml.clear();
    CPanelObject::Reset();
}

void CPanelSlot::HitTest(int x, int y, PanelHitResult& result) const
{
    HitSelf(x, y, result);
    if (m_pModuleDevice)
        m_pModuleDevice->HitTest(x, y, result);
    HitChildren(x, y, result);
}

void CPanelSlot::AppendSlotID(CPanelObject* top, const QString& id)
{
    if (top)
        top->AppendToRelativeOIDs(id);
}

void CPanelSlot::UpdateState()
{
    m_nState = 0;
    bool keep = false;
    if (!m_strValue.isEmpty() && m_pController && !m_strType.isEmpty()) {
        const CPanelConfig& config = m_pController->Config();
        const QString file = config.DeviceIniString(QStringLiteral("SLOT_") + m_strType, m_strValue);
        if (!file.isEmpty()) {
            const QString path = config.m_strModelDir + file;
            if (path == m_strModuleXml && m_pModuleDevice) {
                keep = true;
            } else if (std::unique_ptr<CPanelDevice> container = m_pController->LoadXMLFile(path, nullptr)) {
                m_strModuleXml = path;
                m_pModuleDevice = container->TakeFirstChild();
                AppendSlotID(m_pModuleDevice.get(), m_strID);
                keep = m_pModuleDevice != nullptr;
            }
        }
    }
    if (!keep) {
        m_strModuleXml.clear();
        m_pModuleDevice.reset();
    }
    if (m_pModuleDevice)
        m_pModuleDevice->Refresh();
}

void CPanelSlot::Draw(QPainter& painter, int x, int y, double scaleX, double scaleY)
{
    DrawAtPictureSize(painter, x, y, scaleX, scaleY);
}

void CPanelSlot::DrawSized(QPainter& painter, int x, int y, int width, int height)
{
    if (!m_pController)
        return;
    m_ptDrawOrigin = QPoint(x, y);
    const QPoint corner = PlaceFrame(x, y, width, height);
    if (width == 0)
        width = m_nWidth;
    if (height == 0)
        height = m_nHeight;
    if (m_pModuleDevice) {
        m_pModuleDevice->DrawSized(painter, corner.x(), corner.y(), width, height);
    } else if (!m_pStateImage[0].isNull()) {
        // An empty bay shows its own picture whatever its state.
        if (width == 0)
            width = m_pStateImage[0].width();
        if (height == 0)
            height = m_pStateImage[0].height();
        painter.drawImage(QRect(corner, QSize(width, height)), m_pStateImage[0]);
    }
    RememberDrawn(corner.x(), corner.y(), width, height);
    for (auto& child : m_children)
        child->Draw(painter, corner.x(), corner.y(), m_dScaleX, m_dScaleY);
}
