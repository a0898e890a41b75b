#pragma once

// "CLI Configuration": the command-line interface's time-outs and history
// settings. Apply writes the console and SSH values shown in the editable
// controls and the telnet time-out as read, the numbers as Unsigned32.

#include "CPrivateScalarForm.h"

class CCLIControlDlg : public CPrivateScalarForm
{
    Q_OBJECT
public:
    explicit CCLIControlDlg(QWidget* parent = nullptr);
};
