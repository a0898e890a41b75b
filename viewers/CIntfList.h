#pragma once

// "Interface Table": index, link status and speed of every interface
// (MIB-II ifTable), with the number of entries.

#include "CTableViewDialog.h"

class CIntfList : public CTableViewDialog
{
    Q_OBJECT
public:
    explicit CIntfList(QWidget* parent = nullptr);

protected:
    QString CellText(const SnmpRow& row, int nColumn) const override;
};
