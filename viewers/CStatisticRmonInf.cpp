#include "CStatisticRmonInf.h"

#include "CStatisticRmon1.h"
#include "ControlId.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

namespace {

const QByteArray kEtherStats = "1.3.6.1.2.1.16.1.1.1.";

const char* const kCounters[CStatisticRmonInf::kRows] = {
    "DropEvents",     "Octets",       "Pkts",         "BroadcastPkts",      "MulticastPkts",      "CRCAlignErrors",
    "UndersizePkts",  "OversizePkts", "Fragments",    "Jabbers",            "Collisions",         "Pkts64Octets",
    "Pkts65to127Octets", "Pkts128to255Octets", "Pkts256to511Octets", "Pkts512to1023Octets", "Pkts1024to1518Octets",
};
const unsigned kEntryIds[CStatisticRmonInf::kRows] = {1007, 1085, 1086, 1087, 1088, 1089, 1090, 1091, 1092,
                                                      1093, 1094, 1095, 1096, 1097, 1098, 1099, 1100};

} // namespace

CStatisticRmonInf::CStatisticRmonInf(CStatisticRmon1& source, int nEntry, QWidget* parent)
    : CDirectSnmpDialog(Form::SettingsCopy, QStringLiteral("RMON 1 Interface Information"), parent)
{
    SetVersion1Only(true);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Item#"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Parameter"), this), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Data"), this), 0, 2);
    const QStringList entries = source.EntryIndexes().mid(0, source.EntryCount());
    for (int r = 1; r <= kRows; ++r) {
        m_pEntry[r - 1] = new QComboBox(this);
        m_pEntry[r - 1]->setEditable(r == 1);
        m_pEntry[r - 1]->addItems(entries);
        m_pEntry[r - 1]->setCurrentIndex(entries.isEmpty() ? -1 : qBound(0, nEntry, int(entries.size()) - 1));
        SetControlId(m_pEntry[r - 1], kEntryIds[r - 1]);
        auto* label = new QLabel(QString::fromLatin1(kCounters[r - 1]), this);
        SetControlId(label, 1290 + r);
        m_pValue[r - 1] = new QLabel(QStringLiteral("0"), this);
        m_pValue[r - 1]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_pValue[r - 1]->setMinimumWidth(m_pValue[r - 1]->fontMetrics().horizontalAdvance(QStringLiteral("4294967295  ")));
        SetControlId(m_pValue[r - 1], 100 + r);
        grid->addWidget(m_pEntry[r - 1], r, 0);
        grid->addWidget(label, r, 1);
        grid->addWidget(m_pValue[r - 1], r, 2);
        connect(m_pEntry[r - 1], &QComboBox::currentIndexChanged, this, [this] { Poll(); });
    }
    ContentLayout()->addLayout(grid);
    ContentLayout()->addStretch(1);
    AddButtonRow(1126);
    for (CDirectWalk& row : m_rows)
        AddWalk(row);
    PollEvery(5000);
}

CStatisticRmonInf::~CStatisticRmonInf()
{
    // Hiding the dialog as it goes moves the focus, and the drop-downs then
    // report changes: no poll may run once the slots are gone.
    for (QComboBox* combo : m_pEntry)
        combo->blockSignals(true);
}

void CStatisticRmonInf::Poll()
{
    for (int r = 1; r <= kRows; ++r) {
        // Only an entry index can follow the column: an empty or typed
        // non-decimal row is skipped this time.
        const QString entry = m_pEntry[r - 1]->currentText();
        if (m_bRowFailed[r - 1] || !IsIndex(entry))
            continue;
        const QByteArray oid = kEtherStats + QByteArray::number(r + 2) + "." + entry.toLatin1();
        const int rc = StartRead(m_rows[r - 1], {oid}, SNMP_PDU_GET, QString::fromLatin1(kCounters[r - 1]),
                                 [this, r](const CDirectWalk::Response& v) {
                                     if (!v.isEmpty())
                                         m_pValue[r - 1]->setText(QString::fromUtf8(v[0].value));
                                     return true;
                                 });
        if (rc != CDirectWalk::Started && rc != CDirectWalk::Busy && rc != CDirectWalk::VersionNotServed)
            m_bRowFailed[r - 1] = true;
    }
}
