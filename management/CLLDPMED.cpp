#include "CLLDPMED.h"

#include "CListCtrlEx.h"
#include "CSetSequence.h"
#include "CSnmpRowWalk.h"
#include "CStatusLine.h"
#include "ControlId.h"
#include "GlobalSettings.h"
#include "LldpSettings.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>

using namespace LldpSettings;

CLLDPMED::CLLDPMED(QWidget* parent)
    : CConfigDialog(QStringLiteral("LLDP MED Settings"), nullptr, RefreshApplyClose, parent)
    , m_stateRead(m_cCommonSNMP)
{
    auto* box = new QGroupBox(tr("LLDP MED Settings"), this);
    auto* grid = new QGridLayout(box);
    m_pFrom = new QComboBox(box);
    m_pTo = new QComboBox(box);
    for (int p = 1; p <= g_nDevicePortNum; ++p) {
        m_pFrom->addItem(QStringLiteral("   %1 ").arg(p), p);
        m_pTo->addItem(QStringLiteral("   %1 ").arg(p), p);
    }
    SetControlId(m_pFrom, 1100);
    SetControlId(m_pTo, 211);
    m_pTlv = new QComboBox(box);
    m_pTlv->addItems({QStringLiteral("Enable"), QStringLiteral("Disable")});
    SetControlId(m_pTlv, 1101);
    grid->addWidget(new QLabel(tr("From Port"), box), 0, 0);
    grid->addWidget(new QLabel(tr("To Port"), box), 0, 1);
    grid->addWidget(new QLabel(tr("Power PSE TLV"), box), 0, 2);
    grid->addWidget(m_pFrom, 1, 0);
    grid->addWidget(m_pTo, 1, 1);
    grid->addWidget(m_pTlv, 1, 2);
    grid->setColumnStretch(3, 1);
    ContentLayout()->addWidget(box);

    m_pList = new CListCtrlEx(this);
    SetControlId(m_pList, 1104);
    m_pList->SetExtendedStyle(CListCtrlEx::LVS_EX_FULLROWSELECT | CListCtrlEx::LVS_EX_GRIDLINES);
    m_pList->InsertColumn(0, QStringLiteral("   Port "), CListCtrlEx::LVCFMT_CENTER, 80);
    m_pList->InsertColumn(1, QStringLiteral("Power PSE TLV"), CListCtrlEx::LVCFMT_CENTER, 300);
    m_pList->horizontalHeader()->setStretchLastSection(true);
    m_pList->setMinimumSize(80 + 300 + 24, 320);
    ContentLayout()->addWidget(m_pList, 1);

    SetControlId(ApplyButton(), 1102);
    SetControlId(RefreshButton(), 1044);

    LinkPortRange(m_pFrom, m_pTo);

    m_pWalk = NewWalk(m_cCommonSNMPTable);
    m_pWrite = NewSequence(m_cCommonSNMPSet);
    AddSession(m_cCommonSNMP, "m_cCommonSNMP");
    AddSession(m_cCommonSNMPTable, "m_cCommonSNMPTable");
    AddSession(m_cCommonSNMPSet, "m_cCommonSNMPSet");
    SetRereadDelay(CurrentWaits().nAfterMedWriteMs);
}

CLLDPMED::~CLLDPMED()
{
    m_stateRead.Abandon();
    CloseSessions();
}

void CLLDPMED::OnRefresh()
{
    RefreshButton()->setEnabled(false);
    GetLLDPEnable(Gate().Expect(tr("LLDP state")));
    ReadMedTable();
}

void CLLDPMED::GetLLDPEnable(int nTicket)
{
    m_stateRead.Start({StateOid()}, [this, nTicket](const WalkOutcome& outcome) {
        if (outcome.nResult == WalkOutcome::Cancelled)
            return;
        m_bLldpEnabled = outcome.Ok() && m_stateRead.Text(0) != u"2";
        EnableInputs(m_bLldpEnabled);
        Gate().Settle(nTicket, outcome);
        if (outcome.Ok() && !m_bLldpEnabled)
            Message(QStringLiteral("The LLDP is disable ,so can not set LLDP MED !"));
        UpdateApply();
    });
}

void CLLDPMED::EnableInputs(bool bEnable)
{
    for (QWidget* w : {static_cast<QWidget*>(m_pFrom), static_cast<QWidget*>(m_pTo), static_cast<QWidget*>(m_pTlv),
                       static_cast<QWidget*>(m_pList)})
        w->setEnabled(bEnable);
}

void CLLDPMED::ReadMedTable()
{
    m_pList->DeleteAllItems();
    const int ticket = Gate().Expect(tr("MED table"));
    m_pWalk->Start({MedPseTlvColumn()}, [this, ticket](const WalkOutcome& outcome) {
        if (outcome.nResult == WalkOutcome::Cancelled)
            return;
        // Each row is numbered by its instance (the port), not by arrival.
        for (const SnmpRow& row : m_pWalk->Rows()) {
            bool ok = false;
            const int port = row.strIndex.toInt(&ok);
            if (!ok || port < 1)
                continue;
            m_pList->AppendRow({QStringLiteral("    %1").arg(port),
                                row.Text(0) == u"2" ? QStringLiteral("Disable") : QStringLiteral("Enable")});
        }
        RefreshButton()->setEnabled(true);
        Gate().Settle(ticket, outcome);
    });
}

void CLLDPMED::OnApply()
{
    const int from = m_pFrom->currentIndex() + 1;
    const int to = m_pTo->currentIndex() + 1;
    if (from < 1 || to < from)
        return;
    const int value = m_pTlv->currentIndex() == 1 ? 2 : 1;
    m_pWrite->Clear();
    for (int p = from; p <= to; ++p)
        m_pWrite->Add(tr("Power PSE TLV of port %1").arg(p),
                      {SnmpSetValue::Integer(MedPseTlvColumn() + u'.' + QString::number(p), value)});
    RunWrites(m_pWrite);
}

