#pragma once

// A SLOT element: a bay whose value names the module inserted in it. The
// device INI's [SLOT_<TYPE>] table maps that value to the module's own
// panel XML, whose picture then fills the slot; the module's relative OIDs
// are completed with the slot's ID.

#include "CPanelObject.h"

#include <QPoint>

class CPanelSlot : public CPanelObject
{
public:
    using CPanelObject::CPanelObject;

    void Reset() override;
    void HitTest(int x, int y, PanelHitResult& result) const override;
    void UpdateState() override;
    void Draw(QPainter& painter, int x, int y, double scaleX, double scaleY) override;
    void DrawSized(QPainter& painter, int x, int y, int width, int height) override;

    // Appends `id` to every relative OID below `top`.
    static void AppendSlotID(CPanelObject* top, const QString& id);

    QPoint m_ptDrawOrigin;
    std::unique_ptr<CPanelObject> m_pModuleDevice;
    QString m_strModuleXml;
};
