#include "CCLIControlDlg.h"

namespace {

QString AsReceived(const QByteArray& v)
{
    return QString::fromUtf8(v);
}

} // namespace

CCLIControlDlg::CCLIControlDlg(QWidget* parent)
    : CPrivateScalarForm(QStringLiteral("CLI Configuration"),
                         {{"74.2.0", Edit, 1310, "CliTimeout:", true, AsReceived, SNMP_TYPE_UNSIGNED},
                          {"74.3.0", Check, 1008, "CliHistoryEnable", true, {}, SNMP_TYPE_INTEGER},
                          {"74.4.0", Edit, 1312, "CliHistorySize:", true, AsReceived, SNMP_TYPE_UNSIGNED},
                          {"74.6.0", Edit, 1313, "CliSshTimeout:", true, AsReceived, SNMP_TYPE_UNSIGNED},
                          {"74.7.0", Edit, 1314, "CliTelnetTimeout:", false, AsReceived, SNMP_TYPE_UNSIGNED},
                          {"74.8.0", Check, 1009, "CliTelnetHistoryEnable", true, {}, SNMP_TYPE_INTEGER},
                          {"74.9.0", Edit, 1315, "CliTelnetHistorySize:"},
                          {"74.10.0", Check, 1098, "CliSshHistoryEnable"},
                          {"74.11.0", Edit, 1316, "CliSshHistorySize:"}},
                         parent)
{
}
