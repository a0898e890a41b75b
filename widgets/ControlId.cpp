#include "ControlId.h"

#include <QVariant>
#include <QWidget>

namespace {
constexpr char kIdProperty[] = "controlId";
}

QString ControlObjectName(int nID)
{
    return QStringLiteral("id%1").arg(nID);
}

void SetControlId(QWidget* pWidget, int nID)
{
    if (!pWidget)
        return;
    pWidget->setObjectName(ControlObjectName(nID));
    pWidget->setProperty(kIdProperty, nID);
}

int GetControlId(const QWidget* pWidget)
{
    if (!pWidget)
        return 0;
    return pWidget->property(kIdProperty).toInt();
}

QWidget* GetDlgItem(const QWidget* pParent, int nID)
{
    if (!pParent)
        return nullptr;
    return pParent->findChild<QWidget*>(ControlObjectName(nID));
}
