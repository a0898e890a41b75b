#include "CDHCPServerLogic.h"

#include "CEditEXIPV6.h"
#include "CSetSequence.h"
#include "CSnmpRowWalk.h"
#include "CUtils.h"
#include "GlobalSettings.h"

#include <vector>

namespace {

const QString kPrivate = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1");

constexpr int kCreateAndWait = 5;
constexpr int kActive = 1;
constexpr int kDestroy = 6;

int PortCount()
{
    return g_nDevicePortNum > 0 ? g_nDevicePortNum : 0;
}

} // namespace

QString CDHCPServerLogic::PortStateOid()
{
    return kPrivate + QStringLiteral(".14.7.1.0");
}

QString CDHCPServerLogic::ServerColumn(int nColumn)
{
    return kPrivate + QStringLiteral(".14.7.3.1.%1").arg(nColumn);
}

QString CDHCPServerLogic::ServerCell(int nColumn, const QString& strEntry)
{
    return QStringLiteral("%1.%2").arg(ServerColumn(nColumn), strEntry);
}

QStringList CDHCPServerLogic::ServerWalkColumns()
{
    return {ServerColumn(ColEntry), ServerColumn(ColType), ServerColumn(ColAddress), ServerColumn(ColStatus)};
}

bool CDHCPServerLogic::GetPortState(const QByteArray& bitmap, QString& strText)
{
    const int ports = PortCount();
    const int needed = (ports + 7) / 8;
    if (ports <= 0 || bitmap.size() < needed)
        return false;
    QByteArray inverted = bitmap.left(needed);
    for (char& octet : inverted)
        octet = char(~octet);
    QString text;
    CUtils::PortBitmapToRangeList(reinterpret_cast<const unsigned char*>(inverted.constData()), needed, 1, ports, text);
    strText = text;
    return true;
}

int CDHCPServerLogic::SetPortState(const QString& strPorts, CSetSequence& sequence, QString& strWhy) const
{
    strWhy.clear();
    if (!CUtils::HasNoSpecialCharsOrLetters(strPorts)) {
        strWhy = QStringLiteral("Invalid Port list");
        return 0;
    }
    const int ports = PortCount();
    std::vector<int> trusted(size_t(ports), 0);
    if (ports <= 0 || !CUtils::ParsePortList(strPorts, trusted.data()))
        return 0;
    if (!CheckTrunkMembers(trusted.data())) {
        strWhy = QStringLiteral("The link aggregation member port can not be configured.");
        return 0;
    }
    std::vector<int> untrusted(size_t(ports), 0);
    for (int p = 0; p < ports; ++p)
        untrusted[size_t(p)] = trusted[size_t(p)] ? 0 : 1;
    sequence.Clear();
    sequence.Add(QStringLiteral("trusted ports"),
                 {SnmpSetValue::Octets(PortStateOid(), CUtils::PortArrayToOctets(untrusted.data()))});
    return 1;
}

bool CDHCPServerLogic::ServerRow(const SnmpRow& row, DHCP_SERVER_ROW& out)
{
    // Walk order: entry, type, address, status.
    const QString type = row.Text(1);
    const QByteArray address = row.cells.value(2);
    // The index is the entry number; the entry column only repeats it.
    out.strEntry = row.strIndex;
    out.strType = type;
    out.strStatus = row.Text(3);
    out.strAddress.clear();
    int addressType = 0;
    if (type == QLatin1String("1") && address.size() == 4)
        addressType = 1;
    else if (type == QLatin1String("2") && address.size() == 16)
        addressType = 2;
    else
        return false;
    const QString hex =
        CUtils::InetOctetsToHex(reinterpret_cast<const unsigned char*>(address.constData()), addressType);
    out.strAddress = addressType == 1 ? CUtils::HexToDottedIPv4(hex) : CUtils::CompressIPv6(hex);
    return true;
}

int CDHCPServerLogic::SetServerEntry(const QString& strEntry, int nOperation, CSetSequence& sequence) const
{
    sequence.Clear();
    if (nOperation == OpDelete) {
        sequence.Add(QStringLiteral("remove entry %1").arg(strEntry),
                     {SnmpSetValue::Integer(ServerCell(ColStatus, strEntry), kDestroy)});
        return 1;
    }
    if (nOperation != OpAdd || !m_pAddressEdit || !m_pAddressEdit->IsValid())
        return 0;
    const QByteArray octets = m_pAddressEdit->GetAddressOctets();
    if (octets.isEmpty())
        return 0;
    sequence.Add(QStringLiteral("create entry %1").arg(strEntry),
                 {SnmpSetValue::Integer(ServerCell(ColStatus, strEntry), kCreateAndWait)});
    sequence.Add(QStringLiteral("address of entry %1").arg(strEntry),
                 {SnmpSetValue::Integer(ServerCell(ColType, strEntry), m_pAddressEdit->GetAddressType().toInt()),
                  SnmpSetValue::Octets(ServerCell(ColAddress, strEntry), octets)});
    sequence.Add(QStringLiteral("activate entry %1").arg(strEntry),
                 {SnmpSetValue::Integer(ServerCell(ColStatus, strEntry), kActive)});
    return 1;
}

QString CDHCPServerLogic::ComparableAddress(const QString& strAddress)
{
    return strAddress.contains(u':') ? CUtils::CompressIPv6(CUtils::ExpandIPv6(strAddress)) : strAddress;
}

QString CDHCPServerLogic::SplitLinkMessage()
{
    return QStringLiteral("Cannot add ports with different DHCP Server Screening Port Settings to an aggregated link.");
}
