#include "CStaticARP.h"

#include "CIPv4AddressCtrl.h"
#include "CListCtrlEx.h"
#include "CUtils.h"
#include "ControlId.h"
#include "StrictNumber.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {

constexpr int kMaxEntries = 128;

} // namespace

CStaticARP::CStaticARP(QWidget* parent)
    : CConfigDialog(tr("Static ARP Settings "), std::make_unique<CProL3FunLogic>(), RefreshClose, parent)
{
    auto* global = new QGroupBox(tr("Global Settings"), this);
    auto* globalRow = new QHBoxLayout(global);
    globalRow->addWidget(new QLabel(tr("ARP Aging Time(0-65535)"), global));
    m_pAging = new QLineEdit(global);
    m_pAging->setMaxLength(5);
    m_pAging->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_pAging));
    SetControlId(m_pAging, 1215);
    globalRow->addWidget(m_pAging);
    globalRow->addWidget(new QLabel(tr("min"), global));
    globalRow->addStretch(1);
    m_pApplyAging = new QPushButton(tr("&Apply"), global);
    SetControlId(m_pApplyAging, 1079);
    globalRow->addWidget(m_pApplyAging);
    ContentLayout()->addWidget(global);

    auto* add = new QGroupBox(tr("Add Static ARP Entry"), this);
    auto* addRow = new QHBoxLayout(add);
    addRow->addWidget(new QLabel(tr("IP Address"), add));
    m_pAddress = new CIPv4AddressCtrl(add);
    SetControlId(m_pAddress, 203);
    addRow->addWidget(m_pAddress);
    addRow->addWidget(new QLabel(tr("MAC Address"), add));
    m_pMac = new QLineEdit(add);
    m_pMac->setMaxLength(17);
    m_pMac->setPlaceholderText(QStringLiteral("00-00-00-00-00-01"));
    SetControlId(m_pMac, 1139);
    addRow->addWidget(m_pMac);
    addRow->addStretch(1);
    m_pAdd = new QPushButton(tr("&Add"), add);
    SetControlId(m_pAdd, 1018);
    addRow->addWidget(m_pAdd);
    ContentLayout()->addWidget(add);

    m_pList = AddListGroup(tr("Static ARP Info"), 1028, m_pDelete, tr("&Delete"), 1121);
    m_pList->AppendColumns({{"Interface Name", 120}, {"IP Addresse", 120}, {"MAC Adress", 140}, {"Type", 120}});

    GateButton(m_pApplyAging);
    GateButton(m_pAdd, [this] { return m_pAddress->IsComplete(); });
    GateButton(m_pDelete);
    m_pWrites = NewSequence(Logic<CProL3FunLogic>()->m_cCommonSNMPSet);
    connect(m_pApplyAging, &QPushButton::clicked, this, &CStaticARP::OnApplyAging);
    connect(m_pAdd, &QPushButton::clicked, this, &CStaticARP::OnAdd);
    connect(m_pDelete, &QPushButton::clicked, this, &CStaticARP::OnDelete);
    connect(m_pAddress, &CIPv4AddressCtrl::addressChanged, this, [this] { UpdateApply(); });
}

QString CStaticARP::TypeText(const QString& type)
{
    if (type == QLatin1String("0"))
        return QStringLiteral("LOCAL");
    if (type == QLatin1String("1"))
        return QStringLiteral("BROADCAST");
    if (type == QLatin1String("2"))
        return QStringLiteral("STATIC");
    return {};
}

void CStaticARP::OnRefresh()
{
    m_rows.clear();
    m_pList->DeleteAllItems();
    CProL3FunLogic* logic = Logic<CProL3FunLogic>();
    m_nAgingTicket = Gate().Expect(tr("ARP aging time"));
    m_nTableTicket = Gate().Expect(tr("ARP table"));
    logic->GetARPAging();    // ends with ARP_AGING_END
    logic->GetStaticARP();   // ends with L3_WALK_END
}

void CStaticARP::OnModuleNotify(unsigned nMessage, int nCode, const void* pData)
{
    if (nMessage != WM_STATICARP_NOTIFY || !pData)
        return;
    if (nCode == ARP_AGING_END) {
        // A failed read leaves the text last read (empty at first).
        m_pAging->setText(Logic<CProL3FunLogic>()->m_strArpAging);
        Gate().Settle(m_nAgingTicket, *static_cast<const WalkOutcome*>(pData));
        return;
    }
    if (nCode == L3_WALK_END) {
        Gate().Settle(m_nTableTicket, *static_cast<const WalkOutcome*>(pData));
        return;
    }
    const auto& r = *static_cast<const CStaticARPInfo*>(pData);
    if (r.strRowStatus != L3RowStatus::kActive)
        return;
    m_rows.append(r);
    m_pList->AppendRow({r.strInterfaceName, r.strAddress, r.strMac, TypeText(r.strType)});
}

void CStaticARP::OnApplyAging()
{
    // An empty text stands for 0 minutes.
    const QString text = m_pAging->text().isEmpty() ? QStringLiteral("0") : m_pAging->text();
    QString aging;
    if (!ParseStrictInt(text, 0, 65535, nullptr, &aging)) {
        Message(QStringLiteral("The range of ARP Aging Time is 0-65535 "));
        return;
    }
    if (IsWriting())
        return;
    m_pWrites->Clear();
    CProL3FunLogic::SetARPAging(aging, *m_pWrites);
    RunWrites(m_pWrites);
}

void CStaticARP::OnAdd()
{
    CStaticARPInfo info;
    info.strAddress = m_pAddress->GetAddress();
    if (m_rows.size() >= kMaxEntries) {
        Message(QStringLiteral("The max entry is 128."));
        return;
    }
    for (const CStaticARPInfo& r : m_rows)
        if (r.strAddress == info.strAddress) {
            Message(QStringLiteral("This IP Address has used,please enter other IP Address"));
            return;
        }
    if (!m_pAddress->IsComplete() || !CUtils::ValidateIPv4(info.strAddress)) {
        Message(QStringLiteral("Invalid IP address."));
        m_pAddress->setFocus();
        return;
    }
    info.strMac = m_pMac->text();
    if (!CUtils::ValidateMacText(info.strMac, 1)) {
        Message(QStringLiteral("Invalid MAC address."));
        return;
    }
    if (IsWriting())
        return;
    m_pWrites->Clear();
    if (Logic<CProL3FunLogic>()->SetStaticARP(info, 1, *m_pWrites))
        RunWrites(m_pWrites);
    m_pMac->clear();
    m_pAddress->ClearAddress();
}

void CStaticARP::OnDelete()
{
    const int selected = m_pList->GetFirstSelectedItem();
    if (selected < 0 || selected >= m_rows.size()) {
        Message(QStringLiteral("Please select the entry to delete."));
        return;
    }
    if (TypeText(m_rows[selected].strType) != QLatin1String("STATIC")) {
        Message(QStringLiteral("Can't delete the entry."));
        return;
    }
    if (IsWriting())
        return;
    m_pWrites->Clear();
    if (Logic<CProL3FunLogic>()->SetStaticARP(m_rows[selected], 3, *m_pWrites))
        RunWrites(m_pWrites);
}
