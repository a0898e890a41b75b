#pragma once

// DHCP server screening: the switch drops DHCP server messages that arrive
// on ports that are not trusted, except from the listed trusted servers.
// The switch keeps the ports that are NOT trusted as a port bitmap; the
// screening dialog shows and edits its complement, the per-port form the
// bitmap itself. This object holds the objects, the conversions, the
// checks and the writes; the dialogs read and send through the configuration
// dialog's walks and sequences.

#include "CModuleBase.h"

#include <QString>

class CEditEXIPV6;
class CSetSequence;
struct SnmpRow;

// One trusted server as the walk reports it.
struct DHCP_SERVER_ROW
{
    QString strEntry;     // entry number 1-5
    QString strType;      // "1" IPv4, "2" IPv6
    QString strAddress;   // dotted IPv4 or compressed IPv6
    QString strStatus;    // row status, "1" active
};

class CDHCPServerLogic : public CModuleBase
{
public:
    enum : int { kMaxServers = 5 };
    // Operations of SetServerEntry.
    enum : int { OpAdd = 1, OpDelete = 3 };
    // Columns of the trusted-server table.
    enum : int { ColEntry = 1, ColAddress = 2, ColType = 3, ColStatus = 4 };

    // The bitmap of the ports that are not trusted.
    static QString PortStateOid();
    static QString ServerColumn(int nColumn);
    static QString ServerCell(int nColumn, const QString& strEntry);
    // The walk's columns, in the order ServerRow reads them.
    static QStringList ServerWalkColumns();

    // The trusted ports (range text such as 1-2,4-52) of the switch's
    // bitmap of untrusted ports. False, leaving strText alone, for a bitmap
    // too short for the port count: its missing octets would read as
    // trusted ports.
    static bool GetPortState(const QByteArray& bitmap, QString& strText);

    // Checks a typed trusted-port list and adds the one write of its
    // complement to `sequence`. 0 when refused: strWhy holds the message,
    // or is empty when the port-list parser has shown its own.
    int SetPortState(const QString& strPorts, CSetSequence& sequence, QString& strWhy) const;

    // A walked row (columns in ServerWalkColumns order). False for a row
    // whose address does not have the length of its type: its address text
    // is then empty, never octets read as another address.
    static bool ServerRow(const SnmpRow& row, DHCP_SERVER_ROW& out);

    // Adds the writes of an add (create and wait; address type and address;
    // active) or a delete (destroy) of entry strEntry. The add takes the
    // address from the edit given with SetAddressEdit. 0 when nothing could
    // be added (no valid address).
    int SetServerEntry(const QString& strEntry, int nOperation, CSetSequence& sequence) const;
    void SetAddressEdit(const CEditEXIPV6* pEdit) { m_pAddressEdit = pEdit; }

    // The text a typed address is compared with the listed ones by: IPv6
    // in its compressed form.
    static QString ComparableAddress(const QString& strAddress);

    // The per-port form's rule: a range that leaves the members of an
    // aggregated link with different states.
    static QString SplitLinkMessage();

private:
    const CEditEXIPV6* m_pAddressEdit = nullptr;
};
