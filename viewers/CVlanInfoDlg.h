#pragma once

// "VLAN Configuration": what VLAN features the switch supports and has on.
// Read only.

#include "CPrivateScalarForm.h"

class CVlanInfoDlg : public CPrivateScalarForm
{
    Q_OBJECT
public:
    explicit CVlanInfoDlg(QWidget* parent = nullptr);
};
