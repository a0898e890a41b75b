#pragma once

// Numeric control ids on Qt widgets. Dialogs and per-port rows address their
// controls by number (per-port controls are base + port), so the id travels
// with the widget: as its object name "id<number>" (tests and findChild see
// it) and as the "controlId" property.

#include <QString>

class QWidget;

// Object name that carries a control id: "id1001".
QString ControlObjectName(int nID);

// Names the widget after the id and stores the id on it.
void SetControlId(QWidget* pWidget, int nID);

// The id given with SetControlId, or 0 when the widget has none.
int GetControlId(const QWidget* pWidget);

// The descendant of pParent that carries the id (searched recursively), or
// nullptr. Like GetDlgItem, it finds nothing for a null parent.
QWidget* GetDlgItem(const QWidget* pParent, int nID);
