#include "CSwPackageInfoDlg.h"

CSwPackageInfoDlg::CSwPackageInfoDlg(QWidget* parent)
    : CDirectTableDialog(Form::DirectSettings, QStringLiteral("SwPackage Information"),
                         {1088,
                          {QStringLiteral(" SwPackageVersionName      "), QStringLiteral(" SwPackageVersionVesrion   ")},
                          {"1.3.6.1.4.1.32473.10.94.89.89.67.1.1.1", "1.3.6.1.4.1.32473.10.94.89.89.67.1.1.2"},
                          3, 1095, QString()},
                         parent)
{
}
