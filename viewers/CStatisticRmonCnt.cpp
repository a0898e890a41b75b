#include "CStatisticRmonCnt.h"

#include "CListCtrlEx.h"
#include "CStatisticRmon1.h"
#include "ControlId.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {

const QByteArray kEtherStats = "1.3.6.1.2.1.16.1.1.1.";

struct Counter
{
    const char* text;
    int column;
};
// Jabbers (column 12) is not offered here.
const Counter kCounters[] = {
    {"Octects", 4},         {"Packets", 5},            {"BroadcastPkts", 6},       {"MulticastPkts", 7},
    {"CRCAlignErrors", 8},  {"UndersizePkts", 9},      {"OversizePkts", 10},       {"Fragments", 11},
    {"Collisions", 13},     {"Pkts64Octets", 14},      {"Pkts65to127Octets", 15},  {"Pkts128to255Octets", 16},
    {"Pkts256to511Octets", 17}, {"Pkts512to1023Octets", 18}, {"Pkts1024to1518Octets", 19},
};

} // namespace

CStatisticRmonCnt::CStatisticRmonCnt(CStatisticRmon1& source, int nPage, int nPageCount, QWidget* parent)
    : CDirectSnmpDialog(Form::SettingsCopy, QStringLiteral("RMON 1 Parameter Information"), parent)
    , m_source(source)
    , m_nPage(nPage)
    , m_nPageCount(nPageCount)
{
    SetVersion1Only(true);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Parameter:"), this));
    m_pParameter = new QComboBox(this);
    for (const Counter& c : kCounters)
        m_pParameter->addItem(QString::fromLatin1(c.text));
    SetControlId(m_pParameter, 2005);
    top->addWidget(m_pParameter);
    top->addStretch(1);
    ContentLayout()->addLayout(top);

    auto* grid = new QGridLayout;
    for (int column = 0; column < 3; ++column) {
        grid->addWidget(new QLabel(QStringLiteral("Item#"), this), 0, column * 2);
        grid->addWidget(new QLabel(QStringLiteral("Data"), this), 0, column * 2 + 1);
    }
    for (int k = 1; k <= kSlots; ++k) {
        m_pLabel[k - 1] = new QLabel(QStringLiteral("Item %1").arg(k, 2), this);
        SetControlId(m_pLabel[k - 1], 1148 + k);
        m_pValue[k - 1] = new QLabel(QStringLiteral("0"), this);
        m_pValue[k - 1]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_pValue[k - 1]->setMinimumWidth(m_pValue[k - 1]->fontMetrics().horizontalAdvance(QStringLiteral("4294967295  ")));
        SetControlId(m_pValue[k - 1], 100 + k);
        const int column = (k - 1) / 8;
        grid->addWidget(m_pLabel[k - 1], 1 + (k - 1) % 8, column * 2);
        grid->addWidget(m_pValue[k - 1], 1 + (k - 1) % 8, column * 2 + 1);
    }
    ContentLayout()->addLayout(grid);
    ContentLayout()->addStretch(1);

    m_pPrev = new QPushButton(QStringLiteral("Prev Group"), this);
    SetControlId(m_pPrev, 1183);
    m_pNext = new QPushButton(QStringLiteral("&Next Group"), this);
    SetControlId(m_pNext, 5015);
    AddButtonRow(1002, {m_pPrev, m_pNext});
    connect(m_pPrev, &QPushButton::clicked, this, &CStatisticRmonCnt::OnPrevGroup);
    connect(m_pNext, &QPushButton::clicked, this, &CStatisticRmonCnt::OnNextGroup);
    connect(m_pParameter, &QComboBox::currentIndexChanged, this, [this] { Poll(); });
    for (CDirectWalk& slot : m_slots)
        AddWalk(slot);
    PollEvery(2000);
}

CStatisticRmonCnt::~CStatisticRmonCnt()
{
    // Hiding the dialog as it goes moves the focus, and the drop-downs then
    // report changes: no poll may run once the slots are gone.
    m_pParameter->blockSignals(true);
}

int CStatisticRmonCnt::CounterColumn(int position)
{
    return position >= 0 && position < int(std::size(kCounters)) ? kCounters[position].column : -1;
}

bool CStatisticRmonCnt::OnInitDialog()
{
    CDirectSnmpDialog::OnInitDialog();
    if (m_nPageCount < 2) {
        m_pPrev->setEnabled(false);
        m_pNext->setEnabled(false);
    }
    LabelItems();
    return true;
}

void CStatisticRmonCnt::LabelItems()
{
    const CListCtrlEx* list = m_source.List();
    for (int k = 1; k <= kSlots; ++k) {
        const int row = (m_nPage - 1) * kSlots + k - 1;
        m_pLabel[k - 1]->setText(QStringLiteral("Item ")
                                 + (row < list->GetItemCount() ? list->GetItemText(row, 0).left(3) : QString()));
    }
}

void CStatisticRmonCnt::HideUnusedItems()
{
    if (m_nPage < m_nPageCount)
        return;
    const int empty = qMin(kSlots, m_nPage * kSlots - m_source.EntryCount());
    for (int k = kSlots; k > kSlots - empty; --k) {
        m_pValue[k - 1]->setText(QString());
        m_pValue[k - 1]->setEnabled(false);
        m_pLabel[k - 1]->setEnabled(false);
    }
}

void CStatisticRmonCnt::ShowAllItems()
{
    for (int k = 0; k < kSlots; ++k) {
        m_pValue[k]->setEnabled(true);
        m_pLabel[k]->setEnabled(true);
    }
}

void CStatisticRmonCnt::OnNextGroup()
{
    if (++m_nPage > m_nPageCount) {
        ShowAllItems();
        m_nPage = 1;
    }
    LabelItems();
    HideUnusedItems();
    Poll();
}

void CStatisticRmonCnt::OnPrevGroup()
{
    if (--m_nPage < 1)
        m_nPage = qMax(1, m_nPageCount);
    if (m_nPage == m_nPageCount - 1)
        ShowAllItems();
    LabelItems();
    HideUnusedItems();
    Poll();
}

void CStatisticRmonCnt::Poll()
{
    const int column = CounterColumn(m_pParameter->currentIndex());
    if (column < 0) {
        Message(QStringLiteral("Please input parameter!"), MB_OK);
        return;
    }
    int nSlots = kSlots;
    if (m_nPage >= m_nPageCount)
        nSlots = kSlots - (m_nPage * kSlots - m_source.EntryCount());
    const QStringList& indexes = m_source.EntryIndexes();
    for (int k = 1; k <= nSlots && k <= kSlots; ++k) {
        const int entry = (m_nPage - 1) * kSlots + k - 1;
        // A slot still waiting for its answer is skipped (StartRead: Busy).
        if (m_bSlotFailed[k - 1] || entry < 0 || entry >= indexes.size() || !IsIndex(indexes[entry]))
            continue;
        const QByteArray oid = kEtherStats + QByteArray::number(column) + "." + indexes[entry].toLatin1();
        const int rc = StartRead(m_slots[k - 1], {oid}, SNMP_PDU_GET, QStringLiteral("Item %1").arg(k),
                                 [this, k](const CDirectWalk::Response& r) {
                                     if (!r.isEmpty())
                                         m_pValue[k - 1]->setText(QString::fromUtf8(r[0].value));
                                     return true;
                                 });
        if (rc != CDirectWalk::Started && rc != CDirectWalk::Busy && rc != CDirectWalk::VersionNotServed)
            m_bSlotFailed[k - 1] = true;
    }
}
