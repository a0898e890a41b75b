#include "CUdpPortInfo.h"

CUdpPortInfo::CUdpPortInfo(QWidget* parent)
    : CTableViewDialog(QStringLiteral("UDP Service"),
                       {{QStringLiteral("1.3.6.1.2.1.7.5.1.2"), QStringLiteral("  Local Port "), -1, true},
                        {QStringLiteral("1.3.6.1.2.1.7.5.1.1"), QStringLiteral("  Local IP      ")}},
                       1000, 0, parent)
{
}
