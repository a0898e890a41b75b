#include "CMemDC.h"

#include <QPaintDevice>

CMemDC::CMemDC(QPainter* pTarget, const QRect& rcArea)
    : m_pTarget(pTarget)
    , m_rcArea(rcArea)
    , m_pPainter(pTarget)
{
    QPaintDevice* device = pTarget ? pTarget->device() : nullptr;
    if (!device || device->devType() == QInternal::Printer || rcArea.isEmpty())
        return;
    const qreal ratio = device->devicePixelRatioF();
    m_image = QImage(rcArea.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    m_image.setDevicePixelRatio(ratio);
    m_image.fill(Qt::transparent);
    m_memPainter.emplace(&m_image);
    m_memPainter->setFont(pTarget->font());
    m_memPainter->setPen(pTarget->pen());
    m_memPainter->setBrush(pTarget->brush());
    m_memPainter->translate(-rcArea.topLeft());
    m_pPainter = &*m_memPainter;
    m_bMemDC = true;
}

CMemDC::~CMemDC()
{
    if (!m_bMemDC)
        return;
    m_memPainter->end();
    m_pTarget->drawImage(m_rcArea.topLeft(), m_image);
}
