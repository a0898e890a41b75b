#include "CSwitchDatabase.h"

#include "CListCtrlEx.h"
#include "CSnmpRowWalk.h"
#include "ControlId.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLoggingCategory>
#include <QPushButton>
#include <QVBoxLayout>

Q_LOGGING_CATEGORY(lcFdb, "velmarc.fdb")

namespace {

const QString kFdbStatus = QStringLiteral("1.3.6.1.2.1.17.7.1.2.2.1.3");
const QString kFdbPort = QStringLiteral("1.3.6.1.2.1.17.7.1.2.2.1.2");
const QString kAgingTime = QStringLiteral("1.3.6.1.2.1.17.4.2.0");

} // namespace

CSwitchDatabase::CSwitchDatabase(QWidget* parent)
    : CConfigDialog(QStringLiteral("Forwarding Table"), nullptr, RefreshClose, parent)
    , m_agingRead(m_cCommonSNMPGetTime)
{
    auto* box = new QGroupBox(tr("Forwarding Table"), this);
    auto* boxLayout = new QVBoxLayout(box);
    m_pList = new CListCtrlEx(box);
    SetControlId(m_pList, 1205);
    m_pList->SetExtendedStyle(CListCtrlEx::LVS_EX_FULLROWSELECT | CListCtrlEx::LVS_EX_GRIDLINES);
    m_pList->InsertColumn(0, QStringLiteral("ID "), CListCtrlEx::LVCFMT_CENTER, 80);
    m_pList->InsertColumn(1, QStringLiteral("Port"), CListCtrlEx::LVCFMT_CENTER, 100);
    m_pList->InsertColumn(2, QStringLiteral(" MAC Address "), CListCtrlEx::LVCFMT_CENTER, 210);
    m_pList->InsertColumn(3, QStringLiteral(" Status "), CListCtrlEx::LVCFMT_CENTER, 117);
    m_pList->horizontalHeader()->setStretchLastSection(true);
    m_pList->setMinimumSize(80 + 100 + 210 + 117 + 24, 360);
    boxLayout->addWidget(m_pList, 1);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(tr("Age Time"), box));
    m_pAging = new QLabel(box);
    m_pAging->setMinimumWidth(m_pAging->fontMetrics().horizontalAdvance(QStringLiteral("0000000")));
    m_pAging->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    SetControlId(m_pAging, 1216);
    row->addWidget(m_pAging);
    row->addWidget(new QLabel(tr("Seconds"), box));
    row->addStretch(1);
    m_pBack = new QPushButton(tr("&Back"), box);
    SetControlId(m_pBack, 1154);
    m_pNext = new QPushButton(tr("&Next"), box);
    SetControlId(m_pNext, 1149);
    m_pBack->setEnabled(false);
    m_pNext->setEnabled(false);
    row->addWidget(m_pBack);
    row->addWidget(m_pNext);
    boxLayout->addLayout(row);
    ContentLayout()->addWidget(box, 1);

    connect(m_pBack, &QPushButton::clicked, this, &CSwitchDatabase::OnBack);
    connect(m_pNext, &QPushButton::clicked, this, &CSwitchDatabase::OnNext);

    m_pWalk = NewWalk(m_cCommonSNMP);
    AddSession(m_cCommonSNMP, "m_cCommonSNMP");
    AddSession(m_cCommonSNMPGetTime, "m_cCommonSNMPGetTime");
}

CSwitchDatabase::~CSwitchDatabase()
{
    m_agingRead.Abandon();
    CloseSessions();
}

QString CSwitchDatabase::MacFromIndex(const QString& strIndex)
{
    const QStringList parts = strIndex.split(u'.');
    if (parts.size() < 7)
        return QString();
    QStringList octets;
    for (qsizetype i = parts.size() - 6; i < parts.size(); ++i) {
        bool ok = false;
        const uint n = parts[i].toUInt(&ok);
        if (!ok || n > 255)
            return QString();
        octets << QStringLiteral("%1").arg(n, 2, 16, QLatin1Char('0')).toUpper();
    }
    return octets.join(u'-');
}

QString CSwitchDatabase::StatusText(const QString& strValue)
{
    // By the value's first character, as the switch's own tools show it.
    static const char* const texts[] = {"Other", "Invalid", "Learn", "Own", "Static"};
    const int n = strValue.isEmpty() ? 0 : strValue[0].unicode() - u'0';
    return n >= 1 && n <= 5 ? QString::fromLatin1(texts[n - 1]) : QString();
}

bool CSwitchDatabase::OnInitDialog()
{
    CConfigDialog::OnInitDialog();
    RefreshButton()->setFocus();
    return true;
}

void CSwitchDatabase::OnRefresh()
{
    ReadFdbTable();
    ReadAgingTime();
}

void CSwitchDatabase::ReadFdbTable()
{
    m_pList->DeleteAllItems();
    m_arrFwdTable.clear();
    m_nFirst = 1;
    RefreshButton()->setEnabled(false);
    m_pNext->setEnabled(false);
    m_pBack->setEnabled(false);
    const int ticket = Gate().Expect(tr("forwarding table"));
    m_pWalk->Start({kFdbStatus, kFdbPort}, [this, ticket](const WalkOutcome& o) { OnFdbWalkEnd(o, ticket); });
}

void CSwitchDatabase::OnFdbWalkEnd(const WalkOutcome& outcome, int nTicket)
{
    if (outcome.nResult == WalkOutcome::Cancelled)
        return;
    // What arrived is kept and shown even when the walk stopped early.
    for (const SnmpRow& row : m_pWalk->Rows()) {
        FWD_TABLE entry;
        entry.strMac = MacFromIndex(row.strIndex);
        if (entry.strMac.isEmpty()) {
            qCWarning(lcFdb) << "forwarding entry with a malformed index skipped:" << row.strIndex;
            continue;
        }
        entry.nID = int(m_arrFwdTable.size()) + 1;
        entry.strStatus = row.Has(0) ? StatusText(row.Text(0)) : QString();
        entry.strPort = row.Text(1);
        m_arrFwdTable.append(entry);
    }
    FillRows(1, kPageRows);
    RefreshButton()->setEnabled(true);
    Gate().Settle(nTicket, outcome);
}

void CSwitchDatabase::ReadAgingTime()
{
    const int ticket = Gate().Expect(tr("aging time"));
    m_agingRead.Start({kAgingTime}, [this, ticket](const WalkOutcome& outcome) {
        if (outcome.nResult == WalkOutcome::Cancelled)
            return;
        if (outcome.Ok())
            m_pAging->setText(m_agingRead.Text(0));
        Gate().Settle(ticket, outcome);
    });
}

void CSwitchDatabase::TurnPage(bool bNext)
{
    const int first = bNext ? m_nFirst + kPageRows : m_nFirst - kPageRows;
    FillRows(first, first + kPageRows - 1);
}

void CSwitchDatabase::FillRows(int nFirst, int nLast)
{
    const int count = int(m_arrFwdTable.size());
    if (nFirst < 1 || (nFirst > count && count > 0))
        return;
    nLast = qMin(nLast, count);
    m_nFirst = nFirst;
    m_pList->setUpdatesEnabled(false);
    m_pList->DeleteAllItems();
    for (int id = nFirst; id <= nLast; ++id) {
        const FWD_TABLE& e = m_arrFwdTable[id - 1];
        m_pList->AppendRow({QString::number(e.nID), e.strPort, e.strMac, e.strStatus});
    }
    m_pList->setUpdatesEnabled(true);
    m_pNext->setEnabled(count > nLast);
    m_pBack->setEnabled(nFirst > 1);
}
