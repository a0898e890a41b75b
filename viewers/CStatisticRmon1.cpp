#include "CStatisticRmon1.h"

#include "CListCtrlEx.h"
#include "CRmon1Entry.h"
#include "CStatisticRmonCnt.h"
#include "CStatisticRmonInf.h"
#include "CStatusLine.h"
#include "ControlId.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {

const QByteArray kEtherStats = "1.3.6.1.2.1.16.1.1.1.";
const QByteArray kIfNumber = "1.3.6.1.2.1.2.1.0";
const QByteArray kIfIndex = "1.3.6.1.2.1.2.2.1.1";
const QString kInterface = QStringLiteral("Interface #");

QPushButton* Button(QWidget* parent, const QString& text, unsigned id)
{
    auto* b = new QPushButton(text, parent);
    SetControlId(b, id);
    return b;
}

} // namespace

CStatisticRmon1::CStatisticRmon1(QWidget* parent)
    : CDirectSnmpDialog(Form::SettingsCopy, QStringLiteral(" RMON 1 Statistic Information: ") + QStringLiteral(" Port ")
                                                + QString::number(1),
                        parent)
{
    SetVersion1Only(true);
    m_list = AddList(1009, {QStringLiteral(" Index    "), QStringLiteral(" Data Source     ")});
    auto* count = new QHBoxLayout;
    count->addWidget(new QLabel(QStringLiteral("Number:"), this));
    m_pCount = new QLabel(QStringLiteral("0"), this);
    SetControlId(m_pCount, 301);
    count->addWidget(m_pCount);
    count->addStretch(1);
    ContentLayout()->addLayout(count);

    m_pAdd = Button(this, QStringLiteral("&Add"), 1090);
    m_pDelete = Button(this, QStringLiteral("&Delete"), 5);
    m_pParameter = Button(this, QStringLiteral("Parameter"), 514);
    m_pInterface = Button(this, QStringLiteral("Interface"), 515);
    AddButtonRow(3, {m_pAdd, m_pDelete, m_pParameter, m_pInterface});
    m_pDelete->setEnabled(false);
    connect(m_pAdd, &QPushButton::clicked, this, &CStatisticRmon1::OnAdd);
    connect(m_pDelete, &QPushButton::clicked, this, &CStatisticRmon1::OnDelete);
    connect(m_pParameter, &QPushButton::clicked, this, &CStatisticRmon1::OnParameter);
    connect(m_pInterface, &QPushButton::clicked, this, &CStatisticRmon1::OnInterface);
    connect(m_list, &CListCtrlEx::rowClicked, this, &CStatisticRmon1::OnListClick);
    connect(m_list, &CListCtrlEx::currentRowChanged, this, &CStatisticRmon1::OnListClick);
    connect(m_list, &CListCtrlEx::rowDoubleClicked, this, &CStatisticRmon1::OnListDblClick);
    AddWalk(m_cEntryWalk);
    AddWalk(m_cIfNumber);

    m_runEntryForm = [](CRmon1Entry& form) { return form.DoModal() == IDOK; };
    m_runCounterView = [](QDialog& view) { view.exec(); };
}

void CStatisticRmon1::OnRefresh()
{
    // The interface count is read once, with the first read.
    if (m_nInterfaceCount == 0 && !m_cIfNumber.IsPending())
        ReadIfNumber();
    Refill();
}

void CStatisticRmon1::ReadIfNumber()
{
    StartRead(m_cIfNumber, {kIfNumber}, SNMP_PDU_GET, QStringLiteral("ifNumber"),
              [this](const CDirectWalk::Response& r) {
                  bool ok = false;
                  const int n = r.isEmpty() ? 0 : r[0].value.toInt(&ok);
                  if (ok && n > 0)
                      m_nInterfaceCount = n;
                  return true;
              });
}

void CStatisticRmon1::Refill()
{
    if (!m_cEntryWalk.IsPending()) {
        m_list->DeleteAllItems();
        m_pCount->setText(QStringLiteral("0"));
        m_nEntryCount = 0;
        m_strEntryIndex.clear();
    }
    FetchEntries();
    m_pDelete->setEnabled(false);
}

void CStatisticRmon1::FetchEntries()
{
    StartRead(m_cEntryWalk, {kEtherStats + "1", kEtherStats + "2"}, SNMP_PDU_GETNEXT,
              QStringLiteral("RMON statistics"), [this](const CDirectWalk::Response& r) {
                  if (r.size() < 2)
                      return false;
                  const QString index = QString::fromLatin1(r[0].value);
                  const QString source = QString::fromLatin1(r[1].value);
                  const int at = source.indexOf(QStringLiteral("2.2.1.1."));
                  m_list->AppendRow({index, kInterface + (at >= 0 ? source.mid(at + 8) : source)});
                  ++m_nEntryCount;
                  if (m_strEntryIndex.size() < kMaxEntries)
                      m_strEntryIndex << index;
                  m_pCount->setText(QString::number(m_list->GetItemCount()));
                  return true;
              });
}

void CStatisticRmon1::OnListClick()
{
    const int row = m_list->GetFirstSelectedItem();
    if (row < 0) {
        m_pDelete->setEnabled(false);
        return;
    }
    const QString source = m_list->GetItemText(row, 1);
    bool ok = false;
    int port = source.startsWith(kInterface) ? source.mid(kInterface.size()).toInt(&ok) : 0;
    if (!ok || port < 1 || port > m_nInterfaceCount)
        port = 1;
    m_nCurrentPort = port;
    setWindowTitle(QStringLiteral(" RMON1 Group Info") + QStringLiteral(" - Port : ") + QString::number(port));
    m_pDelete->setEnabled(true);
}

void CStatisticRmon1::OnAdd()
{
    CRmon1Entry form(this);
    if (!m_runEntryForm(form))
        return;
    if (Settings().m_nVersion != 1)
        return;
    // Index and interface become parts of OIDs: anything but one decimal
    // sub-identifier would make a malformed request.
    if (!IsIndex(form.m_strIndex) || !IsIndex(form.m_strInterface)) {
        StatusLine()->ShowText(QStringLiteral("Nothing written: the index and the interface must be numbers"));
        return;
    }
    const QByteArray index = "." + form.m_strIndex.toLatin1();
    WriteScalars({{kEtherStats + "21" + index, SNMP_TYPE_INTEGER, "2"},
                  {kEtherStats + "2" + index, SNMP_TYPE_OID, kIfIndex + "." + form.m_strInterface.toLatin1()},
                  {kEtherStats + "20" + index, SNMP_TYPE_OCTETS, form.m_strProperty.toUtf8()}},
                 [this](int, int, int) { Refill(); });
}

void CStatisticRmon1::OnDelete()
{
    const int row = m_list->GetFirstSelectedItem();
    if (!ConfirmMessage(QStringLiteral("Do you want to delete the control item?"), this))
        return;
    if (row < 0 || Settings().m_nVersion != 1)
        return;
    const QString index = m_list->GetItemText(row, 0);
    if (!IsIndex(index))
        return;
    WriteScalars({{kEtherStats + "21." + index.toLatin1(), SNMP_TYPE_INTEGER, "4"}}, [this](int, int, int) { Refill(); });
    m_pDelete->setEnabled(false);
}

void CStatisticRmon1::OnParameter()
{
    const int pages = (m_nEntryCount + CStatisticRmonCnt::kSlots - 1) / CStatisticRmonCnt::kSlots;
    CStatisticRmonCnt view(*this, 1, pages, this);
    m_runCounterView(view);
}

void CStatisticRmon1::OnInterface()
{
    CStatisticRmonInf view(*this, qMax(0, m_list->GetFirstSelectedItem()), this);
    m_runCounterView(view);
}

void CStatisticRmon1::OnListDblClick()
{
    if (m_list->GetFirstSelectedItem() < 0) {
        m_pDelete->setEnabled(false);
        return;
    }
    OnInterface();
}
