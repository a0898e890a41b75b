#include "CSnmpDevIden.h"

#include "CSetSequence.h"
#include "CStatusLine.h"
#include "CUtils.h"
#include "ControlId.h"
#include "MibTexts.h"
#include "TextLimit.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kSysDescr = QStringLiteral("1.3.6.1.2.1.1.1.0");
const QString kSysObjectId = QStringLiteral("1.3.6.1.2.1.1.2.0");
const QString kSysUpTime = QStringLiteral("1.3.6.1.2.1.1.3.0");
const QString kSysContact = QStringLiteral("1.3.6.1.2.1.1.4.0");
const QString kSysName = QStringLiteral("1.3.6.1.2.1.1.5.0");
const QString kSysLocation = QStringLiteral("1.3.6.1.2.1.1.6.0");
constexpr int kReadTimeoutMs = 4000;
constexpr int kMaxChars = 20;

} // namespace

CSnmpDevIden::CSnmpDevIden(QWidget* parent)
    : CConfigDialog(QStringLiteral("System Information"), nullptr, RefreshApplyClose, parent)
    , m_read(m_cCommonSNMP)
{
    auto* descrBox = new QGroupBox(tr("Description"), this);
    auto* descrLayout = new QVBoxLayout(descrBox);
    m_pDescr = new QLabel(descrBox);
    m_pDescr->setWordWrap(true);
    m_pDescr->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_pDescr->setMinimumHeight(m_pDescr->fontMetrics().lineSpacing() * 3);
    m_pDescr->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    SetControlId(m_pDescr, 1302);
    descrLayout->addWidget(m_pDescr);
    ContentLayout()->addWidget(descrBox);

    auto* form = new QFormLayout;
    m_pObjectId = new QLabel(this);
    m_pObjectId->setTextInteractionFlags(Qt::TextSelectableByMouse);
    SetControlId(m_pObjectId, 1303);
    m_pUpTime = new QLabel(this);
    SetControlId(m_pUpTime, 1304);
    m_pContact = new QLineEdit(this);
    SetTextLimit(m_pContact, 32);
    SetControlId(m_pContact, 1312);
    m_pName = new QLineEdit(this);
    SetTextLimit(m_pName, kMaxChars);
    SetControlId(m_pName, 1310);
    m_pLocation = new QLineEdit(this);
    SetTextLimit(m_pLocation, kMaxChars);
    SetControlId(m_pLocation, 1313);
    form->addRow(tr("Object OID:"), m_pObjectId);
    form->addRow(tr("Runtime:"), m_pUpTime);
    form->addRow(tr("Contact:"), m_pContact);
    form->addRow(tr("Name:"), m_pName);
    form->addRow(tr("Location:"), m_pLocation);
    // The contact is read but not offered for editing.
    form->setRowVisible(m_pContact, false);
    ContentLayout()->addLayout(form);
    ContentLayout()->addStretch(1);

    m_pWrite = NewSequence(m_cCommonSNMPSet);
    AddSession(m_cCommonSNMP, "m_cCommonSNMP");
    AddSession(m_cCommonSNMPSet, "m_cCommonSNMPSet");
    setMinimumWidth(460);
}

CSnmpDevIden::~CSnmpDevIden()
{
    m_read.Abandon();
    CloseSessions();
}

void CSnmpDevIden::OnRefresh()
{
    RefreshButton()->setEnabled(false);
    const int ticket = Gate().Expect(tr("system group"));
    m_read.Start({kSysDescr, kSysObjectId, kSysUpTime, kSysContact, kSysName, kSysLocation},
                 [this, ticket](const WalkOutcome& outcome) {
                     if (outcome.nResult == WalkOutcome::Cancelled)
                         return;
                     RefreshButton()->setEnabled(true);
                     if (outcome.Ok()) {
                         m_pDescr->setText(m_read.Text(0));
                         m_pObjectId->setText(m_read.Text(1));
                         m_pUpTime->setText(MibTexts::UpTime(m_read.Text(2)));
                         m_pContact->setText(m_read.Text(3));
                         m_pName->setText(m_read.Text(4));
                         m_pLocation->setText(m_read.Text(5));
                     }
                     Gate().Settle(ticket, outcome);
                     if (outcome.Ok() && m_bWritten)
                         StatusLine()->ShowText(tr("The switch took the name and location."));
                     m_bWritten = false;
                 },
                 kReadTimeoutMs);
}

void CSnmpDevIden::OnApply()
{
    const QString name = m_pName->text();
    const QString location = m_pLocation->text();
    // What the switch holds is shown whole; a text over the limit is refused
    // here, before anything is written.
    for (const auto& [edit, field] : {std::pair{m_pName, tr("System Name")}, std::pair{m_pLocation, tr("System Location")}})
        if (const QString why = TextLimitMessage(edit, field); !why.isEmpty()) {
            Message(why, MB_OK);
            return;
        }
    if (!CUtils::HasNoSpecialChars(name)) {
        Message(tr("Invalid System Name."), MB_OK);
        return;
    }
    if (!CUtils::HasNoSpecialChars(location)) {
        Message(tr("Invalid System Location."), MB_OK);
        return;
    }
    m_pWrite->Clear();
    m_pWrite->Add(tr("system name and location"),
                  {SnmpSetValue::Text(kSysName, name), SnmpSetValue::Text(kSysLocation, location)});
    RunWrites(m_pWrite);
}

void CSnmpDevIden::OnWritesDone()
{
    m_bWritten = true;
    Refresh();
}
