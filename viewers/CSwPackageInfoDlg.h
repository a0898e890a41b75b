#pragma once

// "SwPackage Information": the switch's software packages and their
// versions, from its private table, with the entry count.

#include "CDirectTableDialog.h"

class CSwPackageInfoDlg : public CDirectTableDialog
{
    Q_OBJECT
public:
    explicit CSwPackageInfoDlg(QWidget* parent = nullptr);
};
