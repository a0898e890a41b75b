#include "CGratuitousARPDlg.h"

#include "CListCtrlEx.h"
#include "ControlId.h"
#include "StrictNumber.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {

// Each combo item carries the index of its interface's row.
constexpr int kIndexRole = Qt::UserRole;

} // namespace

CGratuitousARPDlg::CGratuitousARPDlg(QWidget* parent)
    : CConfigDialog(tr("Gratuitous ARP"), std::make_unique<CProL3FunLogic>(), RefreshClose, parent)
{
    auto* global = new QGroupBox(tr("Gratuitous ARP Global Settings"), this);
    auto* globalLayout = new QVBoxLayout(global);
    const char* texts[3] = {"Send when IP Interface is up", "Send when duplicated IP is detected",
                            "Learn received Gratuitous ARP"};
    for (int i = 0; i < 3; ++i) {
        m_pChecks[i] = new QCheckBox(tr(texts[i]), global);
        SetControlId(m_pChecks[i], 1115 + i);
        globalLayout->addWidget(m_pChecks[i]);
    }
    auto* globalRow = new QHBoxLayout;
    globalRow->addStretch(1);
    m_pApplyGlobal = new QPushButton(tr("&Apply"), global);
    SetControlId(m_pApplyGlobal, 1003);
    globalRow->addWidget(m_pApplyGlobal);
    globalLayout->addLayout(globalRow);
    ContentLayout()->addWidget(global);

    auto* interval = new QGroupBox(tr("Gratuitous ARP Send Interval"), this);
    auto* grid = new QGridLayout(interval);
    grid->addWidget(new QLabel(tr("Interface Name"), interval), 0, 0);
    m_pInterface = new QComboBox(interval);
    m_pInterface->setEditable(true);
    m_pInterface->setInsertPolicy(QComboBox::NoInsert);
    m_pInterface->setMinimumContentsLength(20);
    SetControlId(m_pInterface, 1122);
    grid->addWidget(m_pInterface, 0, 1);
    grid->addWidget(new QLabel(tr("Time Interval (0-65535)"), interval), 1, 0);
    m_pInterval = new QLineEdit(interval);
    m_pInterval->setMaxLength(5);
    m_pInterval->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_pInterval));
    SetControlId(m_pInterval, 1035);
    grid->addWidget(m_pInterval, 1, 1);
    grid->addWidget(new QLabel(tr("sec"), interval), 1, 2);
    m_pApplyInterval = new QPushButton(tr("&Apply"), interval);
    SetControlId(m_pApplyInterval, 1011);
    grid->addWidget(m_pApplyInterval, 1, 4);
    grid->setColumnStretch(3, 1);
    m_pList = new CListCtrlEx(interval);
    SetControlId(m_pList, 1036);
    m_pList->AppendColumns({{" Interface Name", 160}, {"Time Interval", 150, CListCtrlEx::LVCFMT_RIGHT}});
    grid->addWidget(m_pList, 2, 0, 1, 5);
    ContentLayout()->addWidget(interval, 1);

    GateButton(m_pApplyGlobal);
    GateButton(m_pApplyInterval);
    m_pWrites = NewSequence(Logic<CProL3FunLogic>()->m_cCommonSNMPSet);
    connect(m_pApplyGlobal, &QPushButton::clicked, this, &CGratuitousARPDlg::OnApplyGlobal);
    connect(m_pApplyInterval, &QPushButton::clicked, this, &CGratuitousARPDlg::OnApplyInterval);
}

void CGratuitousARPDlg::OnRefresh()
{
    m_pList->DeleteAllItems();
    m_pInterface->clearEditText();
    // Names of interfaces that are gone stay offered until the dialog
    // closes, but only the names the last walk delivered carry an index.
    for (int i = 0; i < m_pInterface->count(); ++i)
        m_pInterface->setItemData(i, QVariant(), kIndexRole);
    m_nGlobalTicket = Gate().Expect(tr("gratuitous ARP settings"));
    m_nIfTicket = Gate().Expect(tr("gratuitous ARP interfaces"));
    Logic<CProL3FunLogic>()->GetGratuitousARP();     // GARP_GLOBAL, then GARP_GLOBAL_END
    Logic<CProL3FunLogic>()->GetGratuitousARPIf();   // GARP_ROW per interface, then GARP_IF_END
}

void CGratuitousARPDlg::OnModuleNotify(unsigned nMessage, int nCode, const void* pData)
{
    if (nMessage != WM_GRATUITOUSARP_NOTIFY || !pData)
        return;
    switch (nCode) {
    case GARP_GLOBAL: {
        const auto& r = *static_cast<const CGratuitousARPInfo*>(pData);
        const QString* values[3] = {&r.strSendOnUp, &r.strSendOnDuplicate, &r.strLearn};
        for (int i = 0; i < 3; ++i)
            m_pChecks[i]->setChecked(*values[i] == QLatin1String("1"));
        break;
    }
    case GARP_ROW: {
        const auto& r = *static_cast<const CGratuitousARPIfInfo*>(pData);
        int item = m_pInterface->findText(r.strName, Qt::MatchFixedString | Qt::MatchCaseSensitive);
        if (item < 0) {
            m_pInterface->addItem(r.strName);
            item = m_pInterface->count() - 1;
        }
        m_pInterface->setItemData(item, r.strIndex, kIndexRole);
        m_pInterface->setCurrentIndex(0);
        m_pList->AppendRow({r.strName, r.strInterval});
        break;
    }
    case GARP_GLOBAL_END: Gate().Settle(m_nGlobalTicket, *static_cast<const WalkOutcome*>(pData)); break;
    case GARP_IF_END: Gate().Settle(m_nIfTicket, *static_cast<const WalkOutcome*>(pData)); break;
    }
}

void CGratuitousARPDlg::OnApplyGlobal()
{
    if (IsWriting())
        return;
    const auto value = [this](int i) { return m_pChecks[i]->isChecked() ? QStringLiteral("1") : QStringLiteral("2"); };
    m_pWrites->Clear();
    CProL3FunLogic::SetGratuitousARP(value(0), value(1), value(2), *m_pWrites);
    RunWrites(m_pWrites);
}

void CGratuitousARPDlg::OnApplyInterval()
{
    // The interface is the item whose text is in the edit field: a name
    // typed that no current interface has writes nothing.
    const int item = m_pInterface->findText(m_pInterface->currentText(), Qt::MatchFixedString | Qt::MatchCaseSensitive);
    const QString index = item < 0 ? QString() : m_pInterface->itemData(item, kIndexRole).toString();
    if (index.isEmpty()) {
        Message(QStringLiteral("Please select an interface."));
        return;
    }
    CGratuitousARPIfInfo info{index, m_pInterface->itemText(item), {}};
    if (!ParseStrictInt(m_pInterval->text(), 0, 65535, nullptr, &info.strInterval)) {
        Message(QStringLiteral("The Time Interval range is 0-65535 "));
        return;
    }
    if (IsWriting())
        return;
    m_pWrites->Clear();
    if (CProL3FunLogic::SetGratuitousARPIf(info, *m_pWrites))
        RunWrites(m_pWrites);
    m_pInterface->setCurrentIndex(0);
    m_pInterval->clear();
}
