#pragma once

// "UDP Service": the UDP ports the switch listens on (MIB-II udpTable).

#include "CTableViewDialog.h"

class CUdpPortInfo : public CTableViewDialog
{
    Q_OBJECT
public:
    explicit CUdpPortInfo(QWidget* parent = nullptr);
};
