#include "CLLDPREMOTEINFO.h"

#include "CListCtrlEx.h"
#include "CStatusLine.h"
#include "CUtils.h"
#include "ControlId.h"
#include "GlobalSettings.h"
#include "LldpSettings.h"

#include <QPushButton>

using namespace LldpSettings;

namespace {

const QString kRemote = QStringLiteral("1.0.8802.1.1.2.1.4.1.1.");

CTableViewDialog::Column Walked(int column, const char* heading, int width)
{
    return {kRemote + QString::number(column), QString::fromLatin1(heading), width};
}

} // namespace

CLLDPREMOTEINFO::CLLDPREMOTEINFO(QWidget* parent)
    : CTableViewDialog(QStringLiteral("LLDP Remote Port Information"),
                       {{QString(), QStringLiteral("Port"), 60, true},
                        {QString(), QStringLiteral("Entity"), 60, true},
                        Walked(4, "Chassis ID Subtype", 130),
                        Walked(5, "Chassis ID", 120),
                        Walked(6, "Port ID Subtype", 120),
                        Walked(7, "Port ID", 110),
                        Walked(8, "Port Description", 150),
                        Walked(9, "System Name", 120),
                        Walked(10, "System Description", 200)},
                       1099, 1108, parent, QStringLiteral("Remote Entities Count: "))
    , m_stateRead(m_cCommonSNMPState)
{
    SetControlId(RefreshButton(), 1109);
    AddSession(m_cCommonSNMPState, "m_cCommonSNMPState");
    resize(1100, 420);
}

CLLDPREMOTEINFO::~CLLDPREMOTEINFO()
{
    m_stateRead.Abandon();
    CloseSessions();
}

void CLLDPREMOTEINFO::OnRefresh()
{
    // The first read, as the window opens, depends on the version and the
    // LLDP state; Refresh reads the table directly.
    if (m_bOpened) {
        ReadTable();
        return;
    }
    m_bOpened = true;
    CheckLldpAndRead();
}

void CLLDPREMOTEINFO::CheckLldpAndRead()
{
    // Over SNMPv3 the table is read only on Refresh.
    if (GetConnectionSettings().nVersion != 1) {
        StatusLine()->Clear();
        return;
    }
    RefreshButton()->setEnabled(false);
    const int ticket = Gate().Expect(tr("LLDP state"));
    m_stateRead.Start({StateOid()}, [this, ticket](const WalkOutcome& outcome) {
        if (outcome.nResult == WalkOutcome::Cancelled)
            return;
        Gate().Settle(ticket, outcome);
        if (!outcome.Ok()) {
            RefreshButton()->setEnabled(true);
            Message(QStringLiteral("Get LLDP remote port information unsuccessful!"));
            return;
        }
        const bool enabled = m_stateRead.Text(0) != u"2";
        m_bLldpOff = !enabled;
        List()->setEnabled(enabled);
        if (!enabled)
            StatusLine()->ShowText(tr("LLDP is disabled on the switch."));
        ReadTable();
    });
}

QString CLLDPREMOTEINFO::CellText(const SnmpRow& row, int nColumn) const
{
    const QStringList index = row.strIndex.split(u'.');
    switch (nColumn) {
    case 0: return index.size() >= 3 ? index[index.size() - 2] : QString();
    case 1: return index.size() >= 3 ? index.last() : QString();
    case 2: return row.Has(0) ? ChassisIdSubtypeText(row.Text(0)) : QString();
    case 3: return CUtils::BytesToHexText(row.cells.value(1));
    case 4: return row.Has(2) ? PortIdSubtypeText(row.Text(2)) : QString();
    case 5:
        // A MAC address as port ID is six octets, not text.
        return row.Text(2) == u"3" ? CUtils::BytesToHexText(row.cells.value(3)) : row.Text(3);
    default: return CTableViewDialog::CellText(row, nColumn);
    }
}

void CLLDPREMOTEINFO::OnRowsShown(const WalkOutcome& outcome)
{
    if (m_bLldpOff)
        RefreshButton()->setEnabled(false);   // the walk's end would enable it
    if (outcome.Ok() && List()->GetItemCount() == 0)
        StatusLine()->ShowText(QStringLiteral("There is no LLDP Remote Port"));
}
