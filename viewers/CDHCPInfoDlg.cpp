#include "CDHCPInfoDlg.h"

namespace {

QString YesUnlessTwo(const QByteArray& v)
{
    return v == "2" ? QStringLiteral("No") : QStringLiteral("Yes");
}

} // namespace

CDHCPInfoDlg::CDHCPInfoDlg(QWidget* parent)
    : CPrivateScalarForm(QStringLiteral("DHCP Information"),
                         {{"38.14.0", Edit, 1310, "DhcpMibVersion:"},
                          {"38.26.0", Edit, 1312, "DhcpRelayExists:", false, YesUnlessTwo},
                          {"38.31.0", Edit, 1313, "DhcpSrvExists:", false, YesUnlessTwo}},
                         parent)
{
}
