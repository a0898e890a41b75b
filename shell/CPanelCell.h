#pragma once

// A PORT, LAMP or LED element: one picture at its place. Cells nested in a
// cell are placed relative to the same device as their parent.

#include "CPanelObject.h"

class CPanelCell : public CPanelObject
{
public:
    using CPanelObject::CPanelObject;

    void Draw(QPainter& painter, int x, int y, double scaleX, double scaleY) override;
};
