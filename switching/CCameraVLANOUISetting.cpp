#include "CCameraVLANOUISetting.h"

#include "CCodeConvert.h"
#include "CListCtrlEx.h"
#include "CSetSequence.h"
#include "CSnmpRowWalk.h"
#include "CSurveillanceOui.h"
#include "CUtils.h"
#include "ControlId.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Columns of the walk, in this order.
enum { ColDescription, ColOui, ColMask, ColStatus };
// Columns of the list.
enum { ListId, ListDescription, ListOui, ListMask };

// What a whole-OUI entry of this dialog stands for.
constexpr int kOtherDevices = 4;

} // namespace

CCameraVLANOUISetting::CCameraVLANOUISetting(QWidget* parent)
    : CConfigDialog(tr("Auto Surveillance VLAN OUI Settings"), nullptr, RefreshClose, parent)
    , m_cSnmpSet(NewSession("m_cSnmpSet"))
    , m_cSnmpTable(NewSession("m_cSnmpTable"))
{
    m_listOui = new CListCtrlEx(this);
    SetControlId(m_listOui, 1209);
    const int center = CListCtrlEx::LVCFMT_CENTER;
    m_listOui->AppendColumns(
        {{"ID", 50, center}, {"Description", 150, center}, {"Surveillance OUI", 200, center}, {"OUI Mask", 200, center}});
    m_listOui->SetExtendedStyle(CListCtrlEx::LVS_EX_FULLROWSELECT | CListCtrlEx::LVS_EX_GRIDLINES);
    ContentLayout()->addWidget(m_listOui, 1);

    auto* entry = new QGridLayout;
    auto* label = new QLabel(tr("User defined OUI \n(Camera or Server)"), this);
    entry->addWidget(label, 0, 0, 2, 1);
    m_editDescription = new QLineEdit(this);
    m_editDescription->setMaxLength(20);
    SetControlId(m_editDescription, 1005);
    m_editOui = new QLineEdit(this);
    m_editOui->setMaxLength(17);
    SetControlId(m_editOui, 1212);
    entry->addWidget(new QLabel(tr("Description"), this), 0, 1);
    entry->addWidget(m_editDescription, 0, 2);
    entry->addWidget(new QLabel(tr("OUI"), this), 1, 1);
    entry->addWidget(m_editOui, 1, 2);
    entry->addWidget(new QLabel(tr("(XX-XX-XX-XX-XX-XX)"), this), 1, 3);
    m_btnAdd = new QPushButton(tr("&Add"), this);
    SetControlId(m_btnAdd, 1001);
    m_btnDelete = new QPushButton(tr("&Delete"), this);
    SetControlId(m_btnDelete, 1003);
    entry->addWidget(m_btnAdd, 0, 4);
    entry->addWidget(m_btnDelete, 1, 4);
    entry->addWidget(new QLabel(tr("( Maximum user defined OUI:5)"), this), 2, 1, 1, 3);
    entry->setColumnStretch(2, 1);
    ContentLayout()->addLayout(entry);

    SetControlId(RefreshButton(), 1044);
    SetControlId(CloseButton(), 1128);
    GateButton(m_btnAdd);
    GateButton(m_btnDelete);

    m_pWalk = NewWalk(m_cSnmpTable);
    m_pWrite = NewSequence(m_cSnmpSet);
    m_pUndo = NewSequence(m_cSnmpSet);
    SetRereadDelay(50);
    connect(m_btnAdd, &QPushButton::clicked, this, &CCameraVLANOUISetting::OnAdd);
    connect(m_btnDelete, &QPushButton::clicked, this, &CCameraVLANOUISetting::OnDelete);
    resize(680, 420);
}

void CCameraVLANOUISetting::OnRefresh()
{
    m_listOui->DeleteAllItems();
    m_arrIndex.clear();
    const int ticket = Gate().Expect(tr("OUI table"));
    m_pWalk->Start({CSurveillanceOui::Column(CSurveillanceOui::ColDescription),
                    CSurveillanceOui::Column(CSurveillanceOui::ColMac),
                    CSurveillanceOui::Column(CSurveillanceOui::ColMask),
                    CSurveillanceOui::Column(CSurveillanceOui::ColStatus)},
                   [this, ticket](const WalkOutcome& o) {
                       for (const SnmpRow& row : m_pWalk->Rows()) {
                           QString description;
                           CCodeConvert::Utf8ToAnsi(row.cells[ColDescription], description);
                           m_listOui->AppendRow({QString::number(m_listOui->GetItemCount() + 1), description,
                                                 CSurveillanceOui::RowMac(row, ColOui),
                                                 CUtils::OctetsToMacText(row.cells[ColMask])});
                           m_arrIndex << row.strIndex;
                       }
                       Gate().Settle(ticket, o);
                   });
}

void CCameraVLANOUISetting::OnAdd()
{
    if (!m_btnAdd->isEnabled())
        return;
    const QString description = m_editDescription->text();
    const QString typed = m_editOui->text();
    QStringList listed;
    for (int row = 0; row < m_listOui->GetItemCount(); ++row)
        listed << m_listOui->GetItemText(row, ListOui);
    const CSurveillanceOui::Fault fault = CSurveillanceOui::Check(description, typed, true, listed, {});
    if (fault != CSurveillanceOui::Ok) {
        Message(CSurveillanceOui::FaultText(fault, true));
        return;
    }
    // The entry stands for the whole OUI: its last three octets are zero,
    // as the surveillance VLAN dialog writes an OUI entry.
    CSurveillanceOui::AddSteps(*m_pWrite, *m_pUndo, CSurveillanceOui::OuiOf(typed), description, kOtherDevices, true);
    RunWrites(m_pWrite, m_pUndo, 2);
    m_editDescription->clear();
    m_editOui->clear();
}

void CCameraVLANOUISetting::OnDelete()
{
    if (!m_btnDelete->isEnabled())
        return;
    const int row = m_listOui->GetFirstSelectedItem();
    const QString why = CSurveillanceOui::DeleteRow(*m_pWrite, row, m_arrIndex, m_listOui->GetItemText(row, ListOui));
    if (!why.isEmpty()) {
        Message(why);
        return;
    }
    RunWrites(m_pWrite);
}
