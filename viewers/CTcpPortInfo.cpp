#include "CTcpPortInfo.h"

#include "MibTexts.h"

CTcpPortInfo::CTcpPortInfo(QWidget* parent)
    : CTableViewDialog(QStringLiteral("TCP Service"),
                       {{QStringLiteral("1.3.6.1.2.1.6.13.1.3"), QStringLiteral("Local Port "), -1, true},
                        {QStringLiteral("1.3.6.1.2.1.6.13.1.2"), QStringLiteral(" Local IP        ")},
                        {QStringLiteral("1.3.6.1.2.1.6.13.1.4"), QStringLiteral(" Remote IP       ")},
                        {QStringLiteral("1.3.6.1.2.1.6.13.1.5"), QStringLiteral("Remote Port"), -1, true},
                        {QStringLiteral("1.3.6.1.2.1.6.13.1.1"), QStringLiteral(" Status ")}},
                       1000, 0, parent)
{
}

QString CTcpPortInfo::CellText(const SnmpRow& row, int nColumn) const
{
    if (nColumn == 4)
        return row.Has(4) ? MibTexts::TcpState(row.Text(4)) : QString();
    return row.Text(nColumn);
}
