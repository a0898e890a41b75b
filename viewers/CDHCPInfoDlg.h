#pragma once

// "DHCP Information": whether the switch has a DHCP relay and server.
// Read only.

#include "CPrivateScalarForm.h"

class CDHCPInfoDlg : public CPrivateScalarForm
{
    Q_OBJECT
public:
    explicit CDHCPInfoDlg(QWidget* parent = nullptr);
};
