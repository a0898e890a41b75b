#include "CVlanInfoDlg.h"

namespace {

QString YesWhenOne(const QByteArray& v)
{
    return v == "1" ? QStringLiteral("Yes") : QStringLiteral("No");
}

} // namespace

CVlanInfoDlg::CVlanInfoDlg(QWidget* parent)
    : CPrivateScalarForm(QStringLiteral("VLAN Configuration"),
                         {{"48.1.0", Edit, 1310, "MibVersion:"},
                          {"48.2.0", Edit, 1312, "MaxTableNumber:"},
                          {"48.27.0", Check, 1008, "SendUnknownToAllPorts"},
                          {"48.29.0", Edit, 1313, "DefaultSupported:", false, YesWhenOne},
                          {"48.31.0", Edit, 1314, "Dot1vSupported:", false, YesWhenOne},
                          {"48.32.0", Check, 1009, "DefaultEnabled"},
                          {"48.35.0", Edit, 1315, "PrivateEdgeSupported:", false, YesWhenOne},
                          {"48.36.0", Edit, 1316, "PrivateEdgeVersion:"},
                          {"48.38.0", Check, 1098, "DynamicVlanSupported"}},
                         parent)
{
}
