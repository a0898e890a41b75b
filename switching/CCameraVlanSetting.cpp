#include "CCameraVlanSetting.h"

#include "CCodeConvert.h"
#include "CListCtrlEx.h"
#include "CSetSequence.h"
#include "CSnmpRowWalk.h"
#include "CSnmpScalarRead.h"
#include "CSurveillanceOui.h"
#include "CUtils.h"
#include "ControlId.h"
#include "GlobalSettings.h"
#include "StrictNumber.h"
#include "VLAN_ENTRY.h"

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

const QString kPrivate = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1");
const QString kState = kPrivate + QStringLiteral(".26.1.1.0");
const QString kVlanId = kPrivate + QStringLiteral(".26.1.2.0");
const QString kPriority = kPrivate + QStringLiteral(".26.1.3.0");
const QString kTaggedPorts = kPrivate + QStringLiteral(".26.1.4.0");
const QString kVoiceOui = kPrivate + QStringLiteral(".21.2.1.1.1");
const QString kVoiceOuiFlag = kPrivate + QStringLiteral(".21.2.1.1.4");

// Columns of the OUI walk, in this order.
enum { ColType, ColDescription, ColMac, ColStatus };
// Columns of the OUI list.
enum { ListId, ListType, ListDescription, ListMac };

int NumberOf(const QString& text)
{
    qint64 value = 0;
    return ParseStrictInt(text, 0, 0x7fffffff, &value) ? int(value) : 0;
}

} // namespace

CCameraVlanSetting::CCameraVlanSetting(QWidget* parent)
    : CConfigDialog(tr("Auto Surveillance VLAN Settings"), std::make_unique<CModuleBase>(), RefreshApplyClose, parent)
    , m_cCommonSNMP(NewSession("m_cCommonSNMP"))
    , m_cCommonSNMPSet(NewSession("m_cCommonSNMPSet"))
    , m_cCommonSNMPGet(NewSession("m_cCommonSNMPGet"))
    , m_cCommonSNMPTable(NewSession("m_cCommonSNMPTable"))
    , m_cCommonSNMPVoiceOui(NewSession("m_cCommonSNMPVoiceOui"))
    , m_cCommonSNMPVlanTable(NewSession("m_cCommonSNMPVlanTable"))
{
    m_pTaggedPorts.assign(size_t(qMax(0, g_nDevicePortNum)), 0);

    // Global settings, with the Apply that writes them.
    auto* global = new QGroupBox(tr("Auto Surveillance VLAN Global Settings"), this);
    auto* globalGrid = new QGridLayout(global);
    m_btnEnable = new QCheckBox(tr("Enable Auto Surveillance VLAN"), global);
    SetControlId(m_btnEnable, 1214);
    globalGrid->addWidget(m_btnEnable, 0, 0, 1, 4);
    m_editVlanId = new QLineEdit(global);
    m_editVlanId->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_editVlanId));
    SetControlId(m_editVlanId, 1114);
    m_cmbPriority = new QComboBox(global);
    m_cmbPriority->addItems({tr("Highest"), tr("High"), tr("Medium"), tr("Low")});
    m_cmbPriority->setCurrentIndex(2);
    SetControlId(m_cmbPriority, 219);
    m_editTaggedPorts = new QLineEdit(global);
    SetControlId(m_editTaggedPorts, 1113);
    globalGrid->addWidget(new QLabel(tr("Vlan ID"), global), 1, 0);
    globalGrid->addWidget(m_editVlanId, 1, 1);
    globalGrid->addWidget(new QLabel(tr("Priority"), global), 1, 2);
    globalGrid->addWidget(m_cmbPriority, 1, 3);
    globalGrid->addWidget(new QLabel(tr("Tagged Uplink/Downlink Port"), global), 2, 0);
    globalGrid->addWidget(m_editTaggedPorts, 2, 1, 1, 3);
    globalGrid->addWidget(new QLabel(tr("ex:(1,2,4-6)"), global), 2, 4);
    SetControlId(ApplyButton(), 1216);
    globalGrid->addWidget(ApplyButton(), 2, 5, Qt::AlignRight);
    globalGrid->setColumnStretch(1, 1);
    globalGrid->setColumnStretch(3, 1);
    ContentLayout()->addWidget(global);

    // User-defined MAC addresses and OUIs.
    auto* table = new QGroupBox(tr("User-defined MAC Settings "), this);
    auto* tableLayout = new QVBoxLayout(table);
    tableLayout->addWidget(
        new QLabel(tr("To add more device(s) for Auto Surveillance VLAN by user-defined configuration as below "), table));
    auto* entryGrid = new QGridLayout;
    m_cmbComponent = new QComboBox(table);
    m_cmbComponent->addItems(CSurveillanceOui::ChoosableTypes());
    SetControlId(m_cmbComponent, 1218);
    m_editDescription = new QLineEdit(table);
    m_editDescription->setMaxLength(20);
    SetControlId(m_editDescription, 1005);
    m_cmbMacMode = new QComboBox(table);
    m_cmbMacMode->addItems({tr("MAC"), tr("OUI")});
    SetControlId(m_cmbMacMode, 1112);
    m_editMac = new QLineEdit(table);
    m_editMac->setMaxLength(17);
    SetControlId(m_editMac, 1212);
    m_btnAdd = new QPushButton(tr("&Add"), table);
    SetControlId(m_btnAdd, 1001);
    entryGrid->addWidget(new QLabel(tr("Component Type "), table), 0, 0);
    entryGrid->addWidget(m_cmbComponent, 0, 1);
    entryGrid->addWidget(new QLabel(tr("Description"), table), 0, 2);
    entryGrid->addWidget(m_editDescription, 0, 3);
    entryGrid->addWidget(m_cmbMacMode, 1, 0);
    entryGrid->addWidget(m_editMac, 1, 1);
    entryGrid->addWidget(new QLabel(tr("(XX-XX-XX-XX-XX-XX)"), table), 1, 2, 1, 2);
    entryGrid->addWidget(m_btnAdd, 1, 4);
    entryGrid->setColumnStretch(1, 1);
    entryGrid->setColumnStretch(3, 1);
    tableLayout->addLayout(entryGrid);

    m_listOui = new CListCtrlEx(table);
    SetControlId(m_listOui, 1209);
    const int center = CListCtrlEx::LVCFMT_CENTER;
    m_listOui->AppendColumns(
        {{"ID", 50, center}, {"Component Type", 200, center}, {"Description", 200, center}, {"MAC Address", 200, center}});
    m_listOui->SetExtendedStyle(CListCtrlEx::LVS_EX_GRIDLINES | CListCtrlEx::LVS_EX_FULLROWSELECT
                                | CListCtrlEx::LVS_EX_FLATSB);
    tableLayout->addWidget(m_listOui, 1);
    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(new QLabel(tr("Note : Maximum number of user-defined MAC is 5 entries"), table));
    listButtons->addStretch(1);
    m_btnDelete = new QPushButton(tr("&Delete"), table);
    SetControlId(m_btnDelete, 1003);
    listButtons->addWidget(m_btnDelete);
    tableLayout->addLayout(listButtons);
    ContentLayout()->addWidget(table, 1);

    SetControlId(RefreshButton(), 1044);
    SetControlId(CloseButton(), 1128);

    // Add follows the check box like the other entry controls; Delete
    // follows the state the switch reported.
    GateButton(m_btnAdd, [this] { return m_btnEnable->isChecked(); });
    GateButton(m_btnDelete, [this] { return m_strState == QLatin1String("1"); });
    EnableSettings(false);

    m_pVlanWalk = NewWalk(m_cCommonSNMPVlanTable);
    m_pConflictRead = NewScalarRead(m_cCommonSNMP);
    m_pGlobalRead = NewScalarRead(m_cCommonSNMPGet);
    m_pOuiWalk = NewWalk(m_cCommonSNMPTable);
    m_pVoiceOuiWalk = NewWalk(m_cCommonSNMPVoiceOui);
    m_pApplyWrite = NewSequence(m_cCommonSNMPSet);
    m_pOuiWrite = NewSequence(m_cCommonSNMP);
    m_pOuiUndo = NewSequence(m_cCommonSNMP);
    // The switch takes a moment before it shows what it was given.
    SetRereadDelay(50);

    connect(m_btnEnable, &QCheckBox::clicked, this, &CCameraVlanSetting::OnEnable);
    connect(m_cmbMacMode, &QComboBox::currentIndexChanged, this, &CCameraVlanSetting::OnSelchangeMacMode);
    connect(m_cmbPriority, &QComboBox::currentIndexChanged, this, [this] { UpdateApply(); });
    connect(m_btnAdd, &QPushButton::clicked, this, &CCameraVlanSetting::OnAdd);
    connect(m_btnDelete, &QPushButton::clicked, this, &CCameraVlanSetting::OnDelete);
    resize(760, 560);
}

void CCameraVlanSetting::EnableSettings(bool bEnable)
{
    for (QWidget* control : std::initializer_list<QWidget*>{m_cmbPriority, m_cmbComponent, m_editDescription, m_editMac,
                                                            m_editTaggedPorts, m_editVlanId, m_cmbMacMode})
        control->setEnabled(bEnable);
    UpdateApply();   // Add follows the check box
}

void CCameraVlanSetting::OnEnable()
{
    EnableSettings(m_btnEnable->isChecked());
}

void CCameraVlanSetting::OnSelchangeMacMode()
{
    m_editMac->clear();
    m_editMac->setMaxLength(m_cmbMacMode->currentIndex() == 1 ? 8 : 17);
}

void CCameraVlanSetting::OnRefresh()
{
    const int vlans = Gate().Expect(tr("VLAN table"));
    m_pVlanWalk->Start({VlanOid::kName}, [this, vlans](const WalkOutcome& o) {
        if (o.Ok()) {
            m_arrVlanId.clear();
            for (const SnmpRow& row : m_pVlanWalk->Rows())
                m_arrVlanId << row.strIndex;
        }
        Gate().Settle(vlans, o);
    });

    const int conflict = Gate().Expect(tr("VLAN mode and voice VLAN"));
    m_pConflictRead->Start({VlanOid::kMode + QStringLiteral(".0"), VlanOid::kVoiceState + QStringLiteral(".0"),
                            VlanOid::kVoiceVid + QStringLiteral(".0")},
                           [this, conflict](const WalkOutcome& o) {
                               if (o.Ok()) {
                                   m_nVlanMode = m_pConflictRead->Text(0) == QLatin1String("1") ? 1 : 2;
                                   m_nVoiceVlanState = m_pConflictRead->Text(1) == QLatin1String("1") ? 1 : 2;
                                   m_nVoiceVlanId = NumberOf(m_pConflictRead->Text(2));
                               }
                               Gate().Settle(conflict, o);
                           });

    // Read on their own: they do not wait for the VLAN ids.
    const int global = Gate().Expect(tr("auto surveillance VLAN settings"));
    m_pGlobalRead->Start({kState, kVlanId, kPriority, kTaggedPorts}, [this, global](const WalkOutcome& o) {
        if (o.Ok())
            OnGlobalRead();
        Gate().Settle(global, o);
    });

    m_listOui->DeleteAllItems();
    m_arrOuiIndex.clear();
    const int oui = Gate().Expect(tr("OUI table"));
    m_pOuiWalk->Start({CSurveillanceOui::Column(CSurveillanceOui::ColType),
                       CSurveillanceOui::Column(CSurveillanceOui::ColDescription),
                       CSurveillanceOui::Column(CSurveillanceOui::ColMac),
                       CSurveillanceOui::Column(CSurveillanceOui::ColStatus)},
                      [this, oui](const WalkOutcome& o) {
                          OnOuiTableRead();
                          Gate().Settle(oui, o);
                      });

    const int voice = Gate().Expect(tr("voice VLAN OUI table"));
    m_pVoiceOuiWalk->Start({kVoiceOui, kVoiceOuiFlag}, [this, voice](const WalkOutcome& o) {
        m_arrVoiceOui.clear();
        for (const SnmpRow& row : m_pVoiceOuiWalk->Rows()) {
            const QByteArray octets = row.cells[0];
            // Only OUIs in use count; a short value has none to compare with.
            if (octets.size() >= 3 && row.Text(1) == QLatin1String("1"))
                m_arrVoiceOui << CUtils::BytesToHexText(octets.left(3));
        }
        Gate().Settle(voice, o);
    });

    ReadTrunkMap();
}

void CCameraVlanSetting::OnGlobalRead()
{
    m_strState = m_pGlobalRead->Text(0);
    const bool on = m_strState == QLatin1String("1");
    m_btnEnable->setChecked(on);
    EnableSettings(on);
    m_editVlanId->setText(m_pGlobalRead->Text(1));
    // A priority the list does not have selects none: Apply then waits
    // for the user's choice instead of sending a position that means nothing.
    qint64 priority = -1;
    if (!ParseStrictInt(m_pGlobalRead->Text(2), 0, m_cmbPriority->count() - 1, &priority))
        priority = -1;
    m_cmbPriority->setCurrentIndex(int(priority));
    const QByteArray bitmap = m_pGlobalRead->Value(3);
    const int ports = qMax(0, g_nDevicePortNum);
    QString text;
    CUtils::PortBitmapToRangeList(reinterpret_cast<const unsigned char*>(bitmap.constData()),
                                  qMin(int(bitmap.size()), (ports + 7) / 8), 1, ports, text);
    m_editTaggedPorts->setText(text);
}

void CCameraVlanSetting::OnOuiTableRead()
{
    // What arrived is listed even when the walk stopped early; the status
    // line says why, and Add and Delete stay off.
    for (const SnmpRow& row : m_pOuiWalk->Rows()) {
        QString description;
        CCodeConvert::Utf8ToAnsi(row.cells[ColDescription], description);
        m_listOui->AppendRow({QString::number(m_listOui->GetItemCount() + 1),
                              CSurveillanceOui::TypeText(row.Text(ColType)), description,
                              CSurveillanceOui::RowMac(row, ColMac)});
        m_arrOuiIndex << row.strIndex;
    }
}

bool CCameraVlanSetting::CanApply() const
{
    return m_cmbPriority->currentIndex() >= 0;
}

void CCameraVlanSetting::OnApply()
{
    const QString state = m_btnEnable->isChecked() ? QStringLiteral("1") : QStringLiteral("2");
    const int priority = m_cmbPriority->currentIndex();
    qint64 vid = 0;
    QString vidText;
    const bool vidNumber = ParseStrictInt(m_editVlanId->text(), 0, 0x7fffffff, &vid, &vidText);

    auto refuse = [this](const QString& text) {
        Message(text);
        Refresh();
    };
    if (m_nVlanMode == 1)
        return refuse(tr("Auto Surveillance Vlan can not support in Asymmetric VLAN mode."));
    if (vidNumber && vid == 1)
        return refuse(tr("Default VLAN cannot be set as Auto Surveillance VLAN."));
    if (!vidNumber || vid < 2 || vid > 4094)
        return refuse(tr("The VLAN ID value range is 2 - 4094"));
    if (m_nVoiceVlanState == 1 && vid == m_nVoiceVlanId)
        return refuse(tr("The VLAN ID already is voice VLAN ID."));

    const QString ports = m_editTaggedPorts->text();
    if (!CUtils::HasNoSpecialCharsOrLetters(ports)) {
        Message(tr("Invalid Portlist"));
        return;
    }
    std::fill(m_pTaggedPorts.begin(), m_pTaggedPorts.end(), 0);
    if (m_pTaggedPorts.empty() || !CUtils::ParsePortList(ports, m_pTaggedPorts.data())) {
        Refresh();
        return;
    }
    if (!Logic<CModuleBase>()->CheckTrunkMembers(m_pTaggedPorts.data()))
        return refuse(tr("If Link Aggregation member port is selected, it must have the same port list as Auto "
                         "Surveillance VLAN Tagged Uplink/Downlink Port."));
    const QByteArray octets = CUtils::PortArrayToModelOctets(m_pTaggedPorts.data());

    QList<SnmpSetValue> values;
    if (state == QLatin1String("1")) {
        if (m_arrVlanId.contains(vidText)
            && Message(tr("The VLAN ID %1 already exists, still apply? \nIf yes, the original setting of VLAN %1 "
                          "members will be removed.")
                           .arg(vid),
                       MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2)
                   != IDOK) {
            Refresh();
            return;
        }
        if (m_strState == QLatin1String("2") && IsPoeModelName(g_strDeviceName))
            Message(tr("Switch will automatically turn on PoE function to all the member ports of surveillance VLAN, "
                       "\nplease ensure all the member ports of surveillance VLAN connected to PoE power devices."),
                    MB_OK | MB_ICONINFORMATION);
        values << SnmpSetValue::Integer(kVlanId, vid) << SnmpSetValue::Integer(kPriority, priority)
               << SnmpSetValue::Octets(kTaggedPorts, octets);
    }
    // The state last, so the switch turns the feature on with the new
    // VLAN, priority and ports.
    values << SnmpSetValue::Integer(kState, state.toInt());
    m_pApplyWrite->Clear();
    m_pApplyWrite->Add(tr("auto surveillance VLAN settings"), values);
    RunWrites(m_pApplyWrite);
}

QString CCameraVlanSetting::ConvertMacText(const QString& strDigits)
{
    return CSurveillanceOui::IndexOf(strDigits);
}

int CCameraVlanSetting::CheckOuiEntry(const QString& strDescription, const QString& strMac)
{
    QStringList listed;
    for (int row = 0; row < m_listOui->GetItemCount(); ++row)
        listed << m_listOui->GetItemText(row, ListMac);
    const CSurveillanceOui::Fault fault = CSurveillanceOui::Check(strDescription, strMac, false, listed, m_arrVoiceOui);
    if (fault == CSurveillanceOui::Ok)
        return 1;
    Message(CSurveillanceOui::FaultText(fault, false));
    return 0;
}

void CCameraVlanSetting::OnAdd()
{
    if (!m_btnAdd->isEnabled())
        return;
    const int type = m_cmbComponent->currentIndex();
    const QString description = m_editDescription->text();
    QString mac = m_editMac->text();
    const bool oui = m_cmbMacMode->currentIndex() == 1;
    if (oui)
        mac += QStringLiteral("-00-00-00");
    if (!CheckOuiEntry(description, mac))
        return;
    CSurveillanceOui::AddSteps(*m_pOuiWrite, *m_pOuiUndo, mac, description, type, oui);
    RunWrites(m_pOuiWrite, m_pOuiUndo, 2);
    m_editDescription->clear();
    m_editMac->clear();
}

void CCameraVlanSetting::OnDelete()
{
    if (!m_btnDelete->isEnabled())
        return;
    const int row = m_listOui->GetFirstSelectedItem();
    const QString why =
        CSurveillanceOui::DeleteRow(*m_pOuiWrite, row, m_arrOuiIndex, m_listOui->GetItemText(row, ListMac));
    if (!why.isEmpty()) {
        Message(why);
        return;
    }
    RunWrites(m_pOuiWrite);
}
