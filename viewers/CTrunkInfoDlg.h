#pragma once

// "Trunk Information": what link aggregation the switch supports. Read
// only.

#include "CPrivateScalarForm.h"

class CTrunkInfoDlg : public CPrivateScalarForm
{
    Q_OBJECT
public:
    explicit CTrunkInfoDlg(QWidget* parent = nullptr);
};
