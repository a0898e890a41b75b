#include "CPQSPVIDConfig.h"

#include "CSetSequence.h"
#include "CSnmpRowWalk.h"
#include "ControlId.h"
#include "StrictNumber.h"
#include "TextLimit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {

constexpr int kLabelBaseId = 4500;
constexpr int kEditBaseId = 5000;

// Ports per row by model, as the front panel groups them.
int PortsPerRow(int nPorts)
{
    switch (nPorts) {
    case 16: return 8;
    case 20: return 10;
    case 24:
    case 48: return 12;
    case 28: return 14;
    case 52: return 13;
    default: return qMax(1, nPorts);
    }
}

} // namespace

CPQSPVIDConfig::CPQSPVIDConfig(const VlanList& list, QWidget* parent)
    : CConfigDialog(tr("PVID Configuration"), std::make_unique<CPvidLogic>(), RefreshApplyClose, parent)
    , m_pVlanList(list)
{
    const int nPorts = PvidLogic()->PortCount();
    m_pPvid.assign(size_t(nPorts), 0);

    auto* box = new QGroupBox(tr("PVID Configuration"), this);
    auto* outer = new QVBoxLayout(box);
    outer->addWidget(new QLabel(tr("Port VID:"), box));
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    const int perRow = PortsPerRow(nPorts);
    const int cellWidth = fontMetrics().horizontalAdvance(QStringLiteral("88888")) + 12;
    for (int port = 1; port <= nPorts; ++port) {
        const int row = (port - 1) / perRow;
        const int column = (port - 1) % perRow;
        auto* label = new QLabel(QString::number(port), box);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        SetControlId(label, kLabelBaseId + port);
        auto* edit = new QLineEdit(box);
        edit->setAlignment(Qt::AlignCenter);
        SetTextLimit(edit, 4, QStringLiteral("[0-9]*"));
        edit->setFixedWidth(cellWidth);
        edit->setEnabled(false);   // until its PVID has been read
        edit->setAccessibleName(tr("PVID of port %1").arg(port));
        SetControlId(edit, kEditBaseId + port);
        grid->addWidget(label, row * 3, column, Qt::AlignHCenter | Qt::AlignBottom);
        grid->addWidget(edit, row * 3 + 1, column, Qt::AlignHCenter);
        if (row > 0)
            grid->setRowMinimumHeight(row * 3 - 1, fontMetrics().height() / 2);
        m_pPortLabel.append(label);
        m_pPvidEdit.append(edit);
    }
    outer->addLayout(grid);
    outer->addStretch(1);
    ContentLayout()->addWidget(box);
    m_pPvidWalk = NewWalk(PvidLogic()->m_cSnmpGet);
    m_pWrites = NewSequence(PvidLogic()->m_cSnmpSet);
}

QLineEdit* CPQSPVIDConfig::PvidEdit(int nPort) const
{
    return nPort >= 1 && nPort <= m_pPvidEdit.size() ? m_pPvidEdit[nPort - 1] : nullptr;
}

void CPQSPVIDConfig::OnRefresh()
{
    const int ticket = Gate().Expect(tr("PVIDs"));
    m_pPvidWalk->Start({VlanOid::kPvid}, [this, ticket](const WalkOutcome& o) { OnPvidWalkEnd(ticket, o); });
    ReadTrunkMap();
}

void CPQSPVIDConfig::OnPvidWalkEnd(int nTicket, const WalkOutcome& outcome)
{
    if (outcome.Ok()) {
        // By port index: a missing port stays unknown, a port beyond the
        // port count is ignored.
        std::fill(m_pPvid.begin(), m_pPvid.end(), 0);
        for (const SnmpRow& row : m_pPvidWalk->Rows()) {
            bool isPort = false;
            const int port = row.strIndex.toInt(&isPort);
            qint64 pvid = 0;
            if (isPort && port >= 1 && port <= int(m_pPvid.size()) && ParseStrictInt(row.Text(0), 1, 4094, &pvid))
                m_pPvid[size_t(port - 1)] = int(pvid);
        }
        for (int port = 1; port <= int(m_pPvid.size()); ++port) {
            const int pvid = m_pPvid[size_t(port - 1)];
            m_pPvidEdit[port - 1]->setText(pvid > 0 ? QString::number(pvid) : QString());
            m_pPvidEdit[port - 1]->setEnabled(pvid > 0);
            m_pPortLabel[port - 1]->setEnabled(pvid > 0);
        }
    }
    Gate().Settle(nTicket, outcome);
}

void CPQSPVIDConfig::OnApply()
{
    CPvidLogic* logic = PvidLogic();
    std::vector<int> pvids(m_pPvid.size(), 0);
    std::vector<bool> unknown(m_pPvid.size(), false);
    for (size_t i = 0; i < pvids.size(); ++i) {
        unknown[i] = m_pPvid[i] == 0;
        qint64 pvid = 0;
        pvids[i] = unknown[i] ? 0 : ParseStrictInt(m_pPvidEdit[int(i)]->text(), 1, 4094, &pvid) ? int(pvid) : 0;
    }
    QString why = logic->CheckTrunkPvid(pvids, unknown);
    if (why.isEmpty())
        why = CPvidLogic::CheckPvid(m_pVlanList, pvids, unknown);
    if (!why.isEmpty()) {
        Message(why);
        return;
    }
    m_pWrites->Clear();
    logic->SetPvidSteps(*m_pWrites, m_pPvid, pvids);
    if (m_pWrites->StepCount() == 0) {
        accept();   // nothing changed
        return;
    }
    RunWrites(m_pWrites);
}

void CPQSPVIDConfig::OnWritesDone()
{
    accept();
}
