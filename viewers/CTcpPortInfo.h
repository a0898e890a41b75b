#pragma once

// "TCP Service": the switch's TCP connections and listeners (MIB-II
// tcpConnTable).

#include "CTableViewDialog.h"

class CTcpPortInfo : public CTableViewDialog
{
    Q_OBJECT
public:
    explicit CTcpPortInfo(QWidget* parent = nullptr);

protected:
    QString CellText(const SnmpRow& row, int nColumn) const override;
};
