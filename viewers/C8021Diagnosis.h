#pragma once

// "802.1x Diagnose Information": the authenticator state-machine counters of
// every port (dot1xAuthDiagTable), one row per port, values as read.

#include "CDirectTableDialog.h"

class C8021Diagnosis : public CDirectTableDialog
{
    Q_OBJECT
public:
    explicit C8021Diagnosis(QWidget* parent = nullptr);
};
