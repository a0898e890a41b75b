#include "CTrunkInfoDlg.h"

namespace {

QString CreationSupport(const QByteArray& v)
{
    return v == "0" ? QStringLiteral("notSupported") : QStringLiteral("supportsTrunkOrLacp");
}

} // namespace

CTrunkInfoDlg::CTrunkInfoDlg(QWidget* parent)
    : CPrivateScalarForm(QStringLiteral("Trunk Information"),
                         {{"65.1.0", Edit, 1310, "Dot3adAggMibVersion:"},
                          {"65.3.0", Edit, 1312, "Dot3adAggNumOfTrunks:"},
                          {"65.4.0", Edit, 1313, "Dot3adAggMaxPortsInTrunks:"},
                          {"65.5.0", Edit, 1314, "Dot3adAggTrunkCreationSupport:", false, CreationSupport}},
                         parent)
{
}
