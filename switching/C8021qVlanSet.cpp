#include "C8021qVlanSet.h"

#include "CCodeConvert.h"
#include "CListCtrlEx.h"
#include "CPQSPVIDConfig.h"
#include "CPQSVlanAdd.h"
#include "CSetSequence.h"
#include "CSnmpRowWalk.h"
#include "CUtils.h"
#include "ControlId.h"
#include "GlobalSettings.h"
#include "StrictNumber.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The switch holds at most this many VLANs.
constexpr int kMaxVlans = 256;

// Columns of the VLAN walk, in this order.
enum { ColName, ColEgress, ColUntagged, ColForbidden, ColAdvertisement, ColRowStatus };

int NumberOf(const QString& text)
{
    qint64 value = 0;
    return ParseStrictInt(text, 0, 0x7fffffff, &value) ? int(value) : 0;
}

// The member ports of a bitmap as "1,2,5", ports beyond the port count
// dropped (a switch may set the bits that fill its last octet).
QString PortList(const QByteArray& bitmap, int nPortNum, int& count)
{
    QStringList ports;
    for (int p = 1; p <= nPortNum && (p - 1) / 8 < bitmap.size(); ++p)
        if (quint8(bitmap[(p - 1) / 8]) & (0x80 >> ((p - 1) % 8)))
            ports.append(QString::number(p));
    count = int(ports.size());
    return ports.join(u',');
}

// The value of a scalar read as a one-column walk (its row index is "0").
QString ScalarText(const CSnmpRowWalk& walk, int column)
{
    const SnmpRow* row = walk.Find(QStringLiteral("0"));
    return row ? row->Text(column) : QString();
}

} // namespace

C8021qVlanSet::C8021qVlanSet(QWidget* parent)
    : CConfigDialog(tr("802.1Q VLAN Configuration"), nullptr, RefreshApplyClose, parent)
    , m_cCommonSNMP(NewSession("m_cCommonSNMP"))
    , m_cCommonSNMPVoiceVlan(NewSession("m_cCommonSNMPVoiceVlan"))
    , m_cCommonSNMPTable(NewSession("m_cCommonSNMPTable"))
    , m_cCommonSNMPTableVlan(NewSession("m_cCommonSNMPTableVlan"))
    , m_cCommonSNMPTableVlanDelete(NewSession("m_cCommonSNMPTableVlanDelete"))
    , m_cCommonSNMPIpInterface(NewSession("m_cCommonSNMPIpInterface"))
{
    m_nPortNum = qMax(0, g_nDevicePortNum);
    m_pPvid.assign(size_t(m_nPortNum), 0);

    auto* modeBox = new QGroupBox(tr("802.1Q Asymmetric VLAN Configuration "), this);
    auto* modeLayout = new QHBoxLayout(modeBox);
    m_btnAsymmetric = new QCheckBox(tr("Enable Asymmetric VLAN"), modeBox);
    SetControlId(m_btnAsymmetric, 1008);
    modeLayout->addWidget(m_btnAsymmetric);
    modeLayout->addStretch(1);
    ContentLayout()->addWidget(modeBox);

    auto* listBox = new QGroupBox(tr("802.1Q VLAN Information"), this);
    auto* listLayout = new QHBoxLayout(listBox);
    m_listVlan = new CListCtrlEx(listBox);
    SetControlId(m_listVlan, 1341);
    const struct { const char* title; int format; int width; } columns[] = {
        {"VLAN ID", CListCtrlEx::LVCFMT_RIGHT, 80},
        {"VLAN Name", CListCtrlEx::LVCFMT_CENTER, 120},
        {"Advertisement", CListCtrlEx::LVCFMT_CENTER, 100},
        {"No.of Ports", CListCtrlEx::LVCFMT_RIGHT, 90},
        {"Egress Port Member", CListCtrlEx::LVCFMT_LEFT, 160},
        {"Untag Port Member", CListCtrlEx::LVCFMT_LEFT, 160},
        {"Forbidden Port Member", CListCtrlEx::LVCFMT_LEFT, 160},
    };
    int column = 0;
    for (const auto& c : columns)
        m_listVlan->InsertColumn(column++, tr(c.title), c.format, c.width);
    m_listVlan->SetExtendedStyle(CListCtrlEx::LVS_EX_FULLROWSELECT);
    listLayout->addWidget(m_listVlan, 1);

    auto* buttons = new QVBoxLayout;
    m_btnAdd = new QPushButton(tr("&Add"), listBox);
    m_btnEdit = new QPushButton(tr("&Edit"), listBox);
    m_btnDelete = new QPushButton(tr("&Delete"), listBox);
    m_btnPvid = new QPushButton(tr("&PVID"), listBox);
    const int ids[] = {1335, 1336, 1337, 1339};
    int i = 0;
    for (QPushButton* button : {m_btnAdd, m_btnEdit, m_btnDelete, m_btnPvid}) {
        SetControlId(button, ids[i++]);
        buttons->addWidget(button);
        GateButton(button);
    }
    buttons->addStretch(1);
    listLayout->addLayout(buttons);
    ContentLayout()->addWidget(listBox, 1);

    connect(m_btnAdd, &QPushButton::clicked, this, &C8021qVlanSet::OnAdd);
    connect(m_btnEdit, &QPushButton::clicked, this, &C8021qVlanSet::OnEdit);
    connect(m_btnDelete, &QPushButton::clicked, this, &C8021qVlanSet::OnDelete);
    connect(m_btnPvid, &QPushButton::clicked, this, &C8021qVlanSet::OnPvid);
    connect(m_listVlan, &CListCtrlEx::rowDoubleClicked, this, [this] {
        if (m_btnEdit->isEnabled())
            OnEdit();
    });

    m_pModeWalk = NewWalk(m_cCommonSNMP);
    m_pVoiceWalk = NewWalk(m_cCommonSNMPVoiceVlan);
    m_pPvidWalk = NewWalk(m_cCommonSNMPTable);
    m_pVlanWalk = NewWalk(m_cCommonSNMPTableVlan);
    m_pIpWalk = NewWalk(m_cCommonSNMPIpInterface);
    m_pModeWrite = NewSequence(m_cCommonSNMP);
    m_pDelete = NewSequence(m_cCommonSNMPTableVlanDelete);
    m_btnAsymmetric->setChecked(false);
    resize(1060, 480);
}

void C8021qVlanSet::OnRefresh()
{
    if (m_nReselectVid == 0)
        m_nReselectVid = SelectedVid();
    m_listVlan->DeleteAllItems();
    m_pVlanList.clear();

    const int mode = Gate().Expect(tr("VLAN mode"));
    m_pModeWalk->Start({VlanOid::kMode}, [this, mode](const WalkOutcome& o) {
        const QString value = ScalarText(*m_pModeWalk, 0);
        if (o.Ok() && !value.isEmpty()) {
            m_strVlanMode = value;
            m_btnAsymmetric->setChecked(Asymmetric());
        }
        Gate().Settle(mode, o.Ok() && !value.isEmpty(), o.Ok() ? tr("the switch has no VLAN mode") : o.strWhy);
    });

    // Switches without voice or surveillance VLAN objects have neither
    // enabled.
    const int voice = Gate().Expect(tr("voice and surveillance VLANs"));
    m_pVoiceWalk->Start({VlanOid::kVoiceState, VlanOid::kVoiceVid, VlanOid::kSurveillanceState,
                         VlanOid::kSurveillanceVid},
                        [this, voice](const WalkOutcome& o) {
                            m_nVoiceVlanState = ScalarText(*m_pVoiceWalk, 0) == QLatin1String("1") ? 1 : 2;
                            m_nVoiceVlanId = NumberOf(ScalarText(*m_pVoiceWalk, 1));
                            m_nSurveillanceVlanState = ScalarText(*m_pVoiceWalk, 2) == QLatin1String("1") ? 1 : 2;
                            m_nSurveillanceVlanId = NumberOf(ScalarText(*m_pVoiceWalk, 3));
                            Gate().Settle(voice, o);
                        });

    const int pvids = Gate().Expect(tr("PVIDs"));
    m_pPvidWalk->Start({VlanOid::kPvid}, [this, pvids](const WalkOutcome& o) {
        std::fill(m_pPvid.begin(), m_pPvid.end(), 0);
        for (const SnmpRow& row : m_pPvidWalk->Rows()) {
            const int port = NumberOf(row.strIndex);
            if (port >= 1 && port <= m_nPortNum && !row.strIndex.contains(u'.'))
                m_pPvid[size_t(port - 1)] = NumberOf(row.Text(0));
        }
        Gate().Settle(pvids, o);
    });

    const int ip = Gate().Expect(tr("IP interfaces"));
    m_pIpWalk->Start({VlanOid::kIpInterfaceVlan}, [this, ip](const WalkOutcome& o) {
        m_arrIpIfVlan.clear();
        for (const SnmpRow& row : m_pIpWalk->Rows())
            m_arrIpIfVlan.push_back(NumberOf(row.Text(0)));
        Gate().Settle(ip, o);
    });

    const int vlans = Gate().Expect(tr("VLAN table"));
    m_pVlanWalk->Start({VlanOid::kName, VlanOid::kEgress, VlanOid::kUntagged, VlanOid::kForbidden,
                        VlanOid::kAdvertisement, VlanOid::kRowStatus},
                       [this, vlans](const WalkOutcome& o) {
                           OnVlanWalkEnd(o);
                           Gate().Settle(vlans, o);
                       });
}

VLAN_ENTRY C8021qVlanSet::EntryOf(const SnmpRow& row) const
{
    VLAN_ENTRY entry;
    entry.nVid = NumberOf(row.strIndex);
    CCodeConvert::Utf8ToAnsi(row.cells[ColName], entry.szName);
    entry.szEgressPorts = PortList(row.cells[ColEgress], m_nPortNum, entry.nEgressCount);
    entry.szUntaggedPorts = PortList(row.cells[ColUntagged], m_nPortNum, entry.nUntaggedCount);
    entry.szForbiddenPorts = PortList(row.cells[ColForbidden], m_nPortNum, entry.nForbiddenCount);
    entry.nNotMemberCount = m_nPortNum - entry.nEgressCount - entry.nForbiddenCount;
    entry.strAdvertisement = row.Text(ColAdvertisement);
    return entry;
}

void C8021qVlanSet::OnVlanWalkEnd(const WalkOutcome& outcome)
{
    if (!outcome.Ok())
        return;   // the status line says why; nothing half-read is listed
    auto rangeText = [this](const QByteArray& bitmap) {
        QString text;
        const int bytes = qMin(int(bitmap.size()), (m_nPortNum + 7) / 8);
        CUtils::PortBitmapToRangeList(reinterpret_cast<const unsigned char*>(bitmap.constData()), bytes, 1,
                                      m_nPortNum, text);
        return text;
    };
    for (const SnmpRow& row : m_pVlanWalk->Rows()) {
        // Only active rows are VLANs; the index must be one VID.
        const int vid = NumberOf(row.strIndex);
        if (row.Text(ColRowStatus) != QLatin1String("1") || vid < 1 || vid > 4094 || row.strIndex.contains(u'.'))
            continue;
        const VLAN_ENTRY entry = EntryOf(row);
        m_pVlanList.append(entry);
        m_listVlan->AppendRow({QString::number(entry.nVid), entry.szName,
                               entry.strAdvertisement == QLatin1String("1") ? tr("Enabled") : tr("Disabled"),
                               QString::number(entry.nEgressCount), rangeText(row.cells[ColEgress]),
                               rangeText(row.cells[ColUntagged]), rangeText(row.cells[ColForbidden])});
        if (entry.nVid == m_nReselectVid)
            m_listVlan->SelectItem(m_listVlan->GetItemCount() - 1);
    }
    m_nReselectVid = 0;
}

int C8021qVlanSet::SelectedVid() const
{
    const int item = m_listVlan->GetFirstSelectedItem();
    return item < 0 ? 0 : NumberOf(m_listVlan->GetItemText(item, 0));
}

void C8021qVlanSet::OnApply()
{
    const QString wanted = m_btnAsymmetric->isChecked() ? QStringLiteral("1") : QStringLiteral("2");
    if (wanted != m_strVlanMode && m_arrIpIfVlan.size() >= 2) {
        Message(tr("Multiple Interfaces are set, the VLAN mode can not be changed."));
        return;
    }
    if (m_nVoiceVlanState == 1 || m_nSurveillanceVlanState == 1) {
        Message(m_nVoiceVlanState == 1
                    ? tr("Voice Vlan is enable,the vlan mode can't change to Asymmetric mode!\n"
                         "If you could disable it, please set it through the web!")
                    : tr("Auto Surveillance VLAN is enable,the vlan mode can't change to Asymmetric mode!"));
        m_btnAsymmetric->setChecked(Asymmetric());   // back to the switch's mode
        return;
    }
    if (Message(tr("The setting of VLAN, IGMP Snooping, Management VLAN and MAC Address Table will be reset to "
                   "default."),
                MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2)
        != IDOK)
        return;
    m_pModeWrite->Clear();
    m_pModeWrite->Add(tr("VLAN mode"), {SnmpSetValue::Integer(VlanOid::kMode + QStringLiteral(".0"), wanted.toInt())});
    RunWrites(m_pModeWrite);
}

void C8021qVlanSet::OnAdd()
{
    if (m_pVlanList.size() >= kMaxVlans) {
        Message(tr(" Number of VLAN group is over limit"));
        return;
    }
    // The mode as the box shows it, set by the user or not yet applied.
    CPQSVlanAdd add(m_pVlanList, true, m_btnAsymmetric->isChecked() ? 1 : 2, 0, this);
    add.DoModal();
    Refresh();   // also after a failed write: show what the switch holds
}

bool C8021qVlanSet::HasSelection(const QString& strPlease)
{
    if (m_listVlan->GetItemCount() == 0)
        Message(strPlease, MB_OK);
    else if (m_listVlan->GetFirstSelectedItem() < 0)
        Message(strPlease, MB_OK | MB_ICONINFORMATION);
    else
        return true;
    return false;
}

void C8021qVlanSet::OnEdit()
{
    if (!HasSelection(tr("Please select the VLAN !")))
        return;
    const int vid = SelectedVid();
    if (vid <= 0) {
        Message(tr("Invalid VLAN ID!"));
        return;
    }
    m_nReselectVid = vid;
    CPQSVlanAdd edit(m_pVlanList, false, m_btnAsymmetric->isChecked() ? 1 : 2, vid, this);
    edit.DoModal();
    Refresh();
}

bool C8021qVlanSet::CanDeleteVlan(int nVid)
{
    QString why;
    if (nVid == 1)
        why = tr("Can't delete the default VLAN!");
    else if (m_btnAsymmetric->isChecked() && std::find(m_pPvid.begin(), m_pPvid.end(), nVid) != m_pPvid.end())
        why = tr("The VID is one of The PVID, so it cannot be deleted.");
    else if (m_nVoiceVlanState == 1 && nVid == m_nVoiceVlanId)
        why = tr("The VLAN ID is Voice VLAN ID.");
    else if (m_nSurveillanceVlanState == 1 && nVid == m_nSurveillanceVlanId)
        why = tr("The VLAN ID is Surveillance VLAN ID.");
    else if (std::find(m_arrIpIfVlan.begin(), m_arrIpIfVlan.end(), nVid) != m_arrIpIfVlan.end())
        why = tr("The VLAN ID is IP Interface VLAN.");
    if (why.isEmpty())
        return true;
    Message(why);
    return false;
}

void C8021qVlanSet::OnDelete()
{
    if (!HasSelection(tr("Please select the VLAN want to be deleted!")))
        return;
    const int vid = SelectedVid();
    if (!CanDeleteVlan(vid))
        return;
    if (Message(tr("The VLAN %1 settings in IGMP Snooping and MAC Address Table maybe be affected, continue?").arg(vid),
                MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2)
        != IDOK) {
        Refresh();
        return;
    }
    m_pDelete->Clear();
    CVlanAddLogic::DestroySteps(*m_pDelete, vid);
    SetWriteSuccessText(tr("VLAN %1 deleted").arg(vid));
    RunWrites(m_pDelete);
}

void C8021qVlanSet::OnPvid()
{
    CPQSPVIDConfig pvid(m_pVlanList, this);
    pvid.DoModal();
    Refresh();
}
