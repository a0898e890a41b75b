#pragma once

// "IP Table": the switch's IP addresses and their masks (MIB-II
// ipAddrTable), with the number of entries.

#include "CTableViewDialog.h"

class CIPAddrTable : public CTableViewDialog
{
    Q_OBJECT
public:
    explicit CIPAddrTable(QWidget* parent = nullptr);
};
