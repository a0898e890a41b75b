#include "CResourceInfo.h"

#include "CListCtrlEx.h"
#include "SyslogTexts.h"

#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

CResourceInfo::CResourceInfo(QWidget* parent)
    : CDirectSnmpDialog(Form::SettingsCopy, QStringLiteral("Resource Information"), parent)
{
    auto* cpu = new QGroupBox(QStringLiteral("CPU Utilization"), this);
    auto* cpuLayout = new QVBoxLayout(cpu);
    m_pCpuList = AddList(203, {QStringLiteral(" 1 Sec Utilization(%) "), QStringLiteral(" 1 Min Utilization(%) "),
                               QStringLiteral(" 5 Min Utilization(%) ")},
                         cpuLayout);
    m_pCpuList->setMinimumHeight(80);
    ContentLayout()->addWidget(cpu, 1);

    auto* tree = new QGroupBox(QStringLiteral("MIB Tree"), this);
    auto* treeLayout = new QVBoxLayout(tree);
    m_pTreeList = AddList(202, {QStringLiteral(" Son               "), QStringLiteral("     SonObjectId         "),
                                QStringLiteral("   GrandFather           ")},
                          treeLayout);
    ContentLayout()->addWidget(tree);
    tree->hide();

    AddButtonRow(241);
    RefreshButton()->setDefault(true);
    AddWalk(m_walkCpu);
    AddWalk(m_walkTree);
    PollEvery(kPollMs);
}

void CResourceInfo::OnRefresh()
{
    ReadCpu();
}

void CResourceInfo::ReadCpu()
{
    if (m_walkCpu.IsPending())
        return;
    m_pCpuList->DeleteAllItems();
    StartRead(m_walkCpu, {SyslogTexts::Oid("1.7.0"), SyslogTexts::Oid("1.8.0"), SyslogTexts::Oid("1.9.0")},
              SNMP_PDU_GET, QStringLiteral("CPU Utilization"), [this](const CDirectWalk::Response& r) {
                  if (m_walkCpu.m_nErrorStatus != 0 || r.isEmpty())
                      return true;
                  QStringList row;
                  for (const CDirectWalk::Binding& b : r)
                      row << QString::fromUtf8(b.value);
                  m_pCpuList->AppendRow(row);
                  return true;
              });
}

void CResourceInfo::FetchMibTree()
{
    if (m_walkTree.IsPending())
        return;
    m_pTreeList->DeleteAllItems();
    StartRead(m_walkTree,
              {SyslogTexts::Oid("35.2.10.1.1.3"), SyslogTexts::Oid("35.2.10.1.1.4"), SyslogTexts::Oid("35.2.10.1.1.5")},
              SNMP_PDU_GETNEXT, QStringLiteral("MIB Tree"), [this](const CDirectWalk::Response& r) {
                  m_pTreeList->AppendRow({QString::fromUtf8(r[0].value), QString::fromUtf8(r[1].value),
                                          QString::fromUtf8(r[2].value)});
                  return true;
              });
}
