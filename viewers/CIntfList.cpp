#include "CIntfList.h"

#include "MibTexts.h"

CIntfList::CIntfList(QWidget* parent)
    : CTableViewDialog(QStringLiteral("Interface Table"),
                       {{QStringLiteral("1.3.6.1.2.1.2.2.1.1"), QStringLiteral("  Index          "), -1, true},
                        {QStringLiteral("1.3.6.1.2.1.2.2.1.8"), QStringLiteral("  Link Status             ")},
                        {QStringLiteral("1.3.6.1.2.1.2.2.1.5"), QStringLiteral("  Speed(b/s)                      "),
                         -1, true}},
                       1094, 1095, parent)
{
}

QString CIntfList::CellText(const SnmpRow& row, int nColumn) const
{
    switch (nColumn) {
    case 1: return row.Has(1) ? MibTexts::LinkStatus(row.Text(1)) : QString();
    case 2: return row.Has(2) ? MibTexts::SpeedMbps(row.Text(2)) : QString();
    default: return row.Text(nColumn);
    }
}
