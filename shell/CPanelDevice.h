#pragma once

// A DEVICE element: a chassis picture whose children are placed relative to
// it. The container of a loaded file is a device as well.

#include "CPanelObject.h"

#include <QPoint>

class CPanelDevice : public CPanelObject
{
public:
    using CPanelObject::CPanelObject;

    void Draw(QPainter& painter, int x, int y, double scaleX, double scaleY) override;
    void DrawSized(QPainter& painter, int x, int y, int width, int height) override;

    QPoint m_ptDrawOrigin;
};
