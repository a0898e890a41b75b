#include "CIPAddrTable.h"

#include "GlobalSettings.h"

CIPAddrTable::CIPAddrTable(QWidget* parent)
    : CTableViewDialog(QStringLiteral("IP Table : ") + GetConnectionSettings().strAddress,
                       {{QStringLiteral("1.3.6.1.2.1.4.20.1.1"), QStringLiteral(" IP                ")},
                        {QStringLiteral("1.3.6.1.2.1.4.20.1.3"), QStringLiteral(" Netmask               ")}},
                       210, 209, parent)
{
}
