#include "CIGMPMulticastEntryTable.h"

#include "CIGMPSnoopingLogic.h"
#include "CListCtrlEx.h"
#include "CSnmpRowWalk.h"
#include "ControlId.h"

#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

CIGMPMulticastEntryTable::CIGMPMulticastEntryTable(QWidget* parent)
    : CConfigDialog(QStringLiteral("Multicast Entry Table"), std::make_unique<CIGMPSnoopingLogic>(), RefreshApplyClose,
                    parent)
{
    CIGMPSnoopingLogic* logic = Logic<CIGMPSnoopingLogic>();
    for (auto [session, name] : logic->OwnSessions())
        AddSession(*session, name);

    auto* box = new QGroupBox(QStringLiteral("Multicast Entry Table Info"), this);
    auto* layout = new QVBoxLayout(box);
    m_pList = new CListCtrlEx(box);
    SetControlId(m_pList, 3338);
    const std::pair<const char*, int> columns[] = {{"Group ID", 80},
                                                   {"VLAN ID", 80},
                                                   {"Multicast  Group", 150},
                                                   {"Multicast MAC address", 180},
                                                   {"Port Members", 140}};
    for (int i = 0; i < 5; ++i)
        m_pList->InsertColumn(i, QString::fromLatin1(columns[i].first),
                              i < 2 ? CListCtrlEx::LVCFMT_RIGHT : CListCtrlEx::LVCFMT_LEFT, columns[i].second);
    m_pList->SetExtendedStyle(CListCtrlEx::LVS_EX_FULLROWSELECT | CListCtrlEx::LVS_EX_GRIDLINES);
    layout->addWidget(m_pList);
    ContentLayout()->addWidget(box, 1);
    ApplyButton()->hide();   // nothing to write

    m_pWalk = NewWalk(logic->m_cSnmpEntryTable);
}

bool CIGMPMulticastEntryTable::OnInitDialog()
{
    resize(qMax(width(), 680), qMax(height(), 360));
    return CConfigDialog::OnInitDialog();
}

void CIGMPMulticastEntryTable::OnRefresh()
{
    m_pList->DeleteAllItems();
    const int ticket = Gate().Expect(tr("multicast entries"));
    m_pWalk->Start(CIGMPSnoopingLogic::EntryColumns(), [this, ticket](const WalkOutcome& outcome) {
        int n = 0;
        for (const SnmpRow& row : m_pWalk->Rows()) {
            IGMP_ENTRY_INFO info;
            if (CIGMPSnoopingLogic::EntryRow(row, info))
                m_pList->AppendRow({QString::number(++n), info.strVlanId, info.strGroup, info.strMac, info.strPorts});
        }
        Gate().Settle(ticket, outcome);
    });
}
