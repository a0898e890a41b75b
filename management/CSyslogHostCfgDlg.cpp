#include "CSyslogHostCfgDlg.h"

#include "CEditEXIPV6.h"
#include "StatusText.h"
#include "CSetSequence.h"
#include "CSnmpRowWalk.h"
#include "CSnmpScalarRead.h"
#include "CStatusLine.h"
#include "CUtils.h"
#include "ControlId.h"
#include "GlobalSettings.h"
#include "StrictNumber.h"
#include "TextLimit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {

const QString kSyslog = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.16.2.");
const QString kEnable = kSyslog + QStringLiteral("1.0");
const QString kTimeStamp = kSyslog + QStringLiteral("2.0");
const QString kSeverity = kSyslog + QStringLiteral("3.0");
const QString kFacility = kSyslog + QStringLiteral("4.0");
const QString kHostEntry = kSyslog + QStringLiteral("5.1.");

QString HostColumn(int nColumn)
{
    return kHostEntry + QString::number(nColumn);
}

QString HostCell(int nColumn, const QString& strIndex)
{
    return HostColumn(nColumn) + QLatin1Char('.') + strIndex;
}

enum HostColumnNumber { COL_TYPE = 1, COL_ADDRESS = 2, COL_PORT = 3, COL_IFNAME = 4, COL_STATUS = 5 };
enum : int { ROW_ACTIVE = 1, ROW_CREATE_AND_WAIT = 5, ROW_DESTROY = 6 };

// Severity list index -> value written, and back.
const char* const kSeverityValues[] = {"4", "6", "7"};
constexpr int kFacilityBase = 128;
constexpr int kFacilityCount = 8;

const QString kDefaultAddress = QStringLiteral("0.0.0.0");
const QString kDefaultPort = QStringLiteral("514");

} // namespace

CSyslogHostCfgDlg::CSyslogHostCfgDlg(QWidget* parent)
    : CConfigDialog(QStringLiteral("Syslog Host Configuration"), nullptr, RefreshApplyClose, parent)
{
    SetControlId(this, IDD);
    SetSwallowEnterEscape(true);
    AddSession(m_cCommonSNMP, "m_cCommonSNMP");
    AddSession(m_cSnmpHostTable, "m_cSnmpHostTable");
    AddSession(m_cCommonSNMPSet, "m_cCommonSNMPSet");

    auto* syslog = new QGroupBox(QStringLiteral("Syslog"), this);
    auto* syslogRow = new QHBoxLayout(syslog);
    m_pEnable = new QCheckBox(QStringLiteral("SysLogEnable"), syslog);
    m_pApplyEnable = new QPushButton(QStringLiteral("Apply"), syslog);
    m_pApplyEnable->setAutoDefault(false);
    syslogRow->addWidget(m_pEnable);
    syslogRow->addStretch(1);
    syslogRow->addWidget(m_pApplyEnable);
    ContentLayout()->addWidget(syslog);

    // The group's caption is the switch's own text.
    auto* config = new QGroupBox(QStringLiteral("Configuratiom"), this);
    auto* form = new QFormLayout(config);
    m_pTimeStamp = new QComboBox(config);
    m_pTimeStamp->addItems({QStringLiteral("Enabled"), QStringLiteral("Disabled")});
    m_pServer = new CEditEXIPV6(config);
    m_pPort = new QLineEdit(config);
    SetTextLimit(m_pPort, 5, QStringLiteral("[0-9]*"));
    m_pFacility = new QComboBox(config);
    for (int k = 0; k < kFacilityCount; ++k)
        m_pFacility->addItem(QStringLiteral("local%1").arg(k));
    m_pSeverity = new QComboBox(config);
    m_pSeverity->addItems({QStringLiteral("warning"), QStringLiteral("info"), QStringLiteral("all")});
    form->addRow(QStringLiteral("Time Stamp"), m_pTimeStamp);
    form->addRow(QStringLiteral("Server IPv4/IPv6 Address"), m_pServer);
    form->addRow(QStringLiteral("UDP Port(1-65535)"), m_pPort);
    form->addRow(QStringLiteral("Facility"), m_pFacility);
    form->addRow(QStringLiteral("Severity"), m_pSeverity);
    ContentLayout()->addWidget(config);
    ContentLayout()->addStretch(1);

    SetControlId(m_pEnable, IDC_SYSLOG_ENABLE);
    SetControlId(m_pApplyEnable, IDC_APPLY_ENABLE);
    SetControlId(m_pTimeStamp, IDC_TIME_STAMP);
    SetControlId(m_pServer, IDC_SERVER_IP);
    SetControlId(m_pPort, IDC_UDP_PORT);
    SetControlId(m_pFacility, IDC_FACILITY);
    SetControlId(m_pSeverity, IDC_SEVERITY);

    m_pServer->setText(kDefaultAddress);
    m_pPort->setText(kDefaultPort);
    m_pTimeStamp->setCurrentIndex(0);
    EnableHostInputs(false);
    m_pApplyEnable->setEnabled(g_bWritePermission);

    m_pScalarRead = std::make_unique<CSnmpScalarRead>(m_cCommonSNMP);
    m_pHostWalk = NewWalk(m_cSnmpHostTable);
    m_pEnableWrite = NewSequence(m_cCommonSNMPSet);
    m_pHostWrites = NewSequence(m_cCommonSNMPSet);
    m_pFallbackWrites = NewSequence(m_cCommonSNMPSet);
    m_pRestoreWrites = NewSequence(m_cCommonSNMPSet);

    connect(m_pEnable, &QCheckBox::toggled, this, &CSyslogHostCfgDlg::OnSysLogEnable);
    connect(m_pApplyEnable, &QPushButton::clicked, this, &CSyslogHostCfgDlg::OnApplyGlobal);
    connect(m_pSeverity, &QComboBox::currentIndexChanged, this, [this] { UpdateApply(); });
    connect(m_pFacility, &QComboBox::currentIndexChanged, this, [this] { UpdateApply(); });
}

CSyslogHostCfgDlg::~CSyslogHostCfgDlg()
{
    // The sessions are members of this class: close them before they go.
    m_pScalarRead->Abandon();
    CloseSessions();
}

QString CSyslogHostCfgDlg::HostRowIndex(const QString& strAddressType, const QString& strOidIndex)
{
    const int length = strAddressType == QLatin1String("2") ? 16 : 4;
    return strAddressType + QLatin1Char('.') + QString::number(length) + QLatin1Char('.') + strOidIndex;
}

void CSyslogHostCfgDlg::EnableHostInputs(bool bEnable)
{
    for (QWidget* w : std::initializer_list<QWidget*>{m_pServer, m_pPort, m_pFacility, m_pSeverity, m_pTimeStamp})
        w->setEnabled(bEnable);
}

void CSyslogHostCfgDlg::OnSysLogEnable()
{
    EnableHostInputs(m_pEnable->isChecked());
    UpdateApply();
}

bool CSyslogHostCfgDlg::CanApply() const
{
    return !m_bHostWriting && m_pEnable->isChecked() && m_pSeverity->currentIndex() >= 0
           && m_pFacility->currentIndex() >= 0;
}

void CSyslogHostCfgDlg::OnRefresh()
{
    const int scalars = Gate().Expect(tr("syslog settings"));
    m_pScalarRead->Start({kFacility, kSeverity, kTimeStamp, kEnable}, [this, scalars](const WalkOutcome& outcome) {
        OnScalarsRead(outcome.Ok());
        Gate().Settle(scalars, outcome);
    });
    const int hosts = Gate().Expect(tr("syslog hosts"));
    m_pHostWalk->Start({HostColumn(COL_STATUS), HostColumn(COL_TYPE), HostColumn(COL_IFNAME), HostColumn(COL_ADDRESS),
                        HostColumn(COL_PORT)},
                       [this, hosts](const WalkOutcome& outcome) {
                           OnHostsRead(outcome.Ok());
                           Gate().Settle(hosts, outcome);
                       });
}

void CSyslogHostCfgDlg::OnScalarsRead(bool bOk)
{
    if (!bOk)
        return;   // the controls keep what they showed; Apply stays off
    const QString facility = m_pScalarRead->Text(0);
    const QString severity = m_pScalarRead->Text(1);
    qint64 value = 0;
    const bool known = ParseStrictInt(facility, kFacilityBase, kFacilityBase + 8 * (kFacilityCount - 1), &value)
                       && (value - kFacilityBase) % 8 == 0;
    m_pFacility->setCurrentIndex(known ? int(value - kFacilityBase) / 8 : 0);
    int severityIndex = -1;
    for (int i = 0; i < int(std::size(kSeverityValues)); ++i)
        if (severity == QLatin1String(kSeverityValues[i]))
            severityIndex = i;
    m_pSeverity->setCurrentIndex(severityIndex);
    m_pTimeStamp->setCurrentIndex(m_pScalarRead->Text(2) == QLatin1String("1") ? 0 : 1);
    m_pEnable->setChecked(m_pScalarRead->Text(3) == QLatin1String("1"));
    OnSysLogEnable();
    if (severityIndex < 0)
        Message(tr("The switch reports a syslog severity this program does not know (%1).\n"
                   "Choose a severity before applying.")
                    .arg(severity));
}

void CSyslogHostCfgDlg::OnHostsRead(bool bOk)
{
    if (!bOk)
        return;
    const QList<SnmpRow> rows = m_pHostWalk->Rows();
    m_nHostRows = int(rows.size());
    m_oldRow.reset();
    m_strLastHostAddress.clear();
    // The dialog edits the last row of the table; rows whose address does
    // not match its type are not the switch's hosts.
    for (const SnmpRow& row : rows) {
        const QByteArray octets = row.cells.value(3);
        const QString type = row.Text(1);
        const bool v4 = type == QLatin1String("1") && octets.size() == 4;
        const bool v6 = type == QLatin1String("2") && octets.size() == 16;
        if (!row.Has(0) || (!v4 && !v6))
            continue;
        const auto* data = reinterpret_cast<const unsigned char*>(octets.constData());
        HostRow host;
        host.strIndex = row.strIndex;
        host.strAddress = v4 ? CUtils::HexToDottedIPv4(CUtils::InetOctetsToHex(data, 1))
                             : CUtils::CompressIPv6(CUtils::InetOctetsToHex(data, 2));
        m_strLastHostAddress = host.strAddress;
        host.strInterfaceName = row.Text(2);
        if (v6 && CUtils::IsLinkLocalIPv6(host.strAddress))
            host.strAddress += QLatin1Char('%') + host.strInterfaceName;
        host.strPort = row.Text(4);
        host.bActive = row.Text(0) == QLatin1String("1");
        m_oldRow = host;
    }
    if (!m_oldRow) {
        m_pServer->setText(kDefaultAddress);
        m_pPort->setText(kDefaultPort);
    } else if (!m_oldRow->bActive) {
        m_pServer->setText(kDefaultAddress);
        m_pPort->setText(QStringLiteral("0"));
    } else {
        m_pServer->setText(m_oldRow->strAddress);
        m_pPort->setText(m_oldRow->strPort);
    }
}

void CSyslogHostCfgDlg::OnApplyGlobal()
{
    if (IsWriting() || m_bHostWriting || !g_bWritePermission)
        return;
    m_pEnableWrite->Clear();
    m_pEnableWrite->Add(tr("syslog enable"), {SnmpSetValue::Integer(kEnable, m_pEnable->isChecked() ? 1 : 2)});
    RunWrites(m_pEnableWrite);
}

void CSyslogHostCfgDlg::OnApply()
{
    if (m_bHostWriting || m_pSeverity->currentIndex() < 0 || m_pFacility->currentIndex() < 0)
        return;
    // Every check before the first request.
    if (const int status = m_pServer->OnKillFocus(); status != CEditEXIPV6::StatusValid) {
        Message(CEditEXIPV6::AddressErrorText(status), MB_OK);
        return;
    }
    const bool linkLocal = m_pServer->IsLinkLocal();
    if (linkLocal && !CUtils::HasNoSpecialChars(m_pServer->GetInterfaceName())) {
        Message(QStringLiteral("Invalid Interface Name. "), MB_OK);
        return;
    }
    QString port;
    if (!ParseStrictInt(m_pPort->text(), 1, 65535, nullptr, &port)) {
        Message(QStringLiteral("Invalid UDP port range (1-65535)"), MB_OK);
        return;
    }
    m_new.strIndex = HostRowIndex(m_pServer->GetAddressType(), m_pServer->GetAddressOidIndex());
    m_new.strAddress = m_pServer->text().trimmed();
    m_new.strPort = port;
    m_new.strInterfaceName = linkLocal ? m_pServer->GetInterfaceName() : QString();

    m_pHostWrites->Clear();
    m_nCreateStep = m_nActivateStep = m_nRemoveOldStep = 0;
    if (m_oldRow && m_oldRow->strIndex == m_new.strIndex) {
        // The same server: its row is updated where it stands.
        m_pHostWrites->Add(tr("UDP port"), {SnmpSetValue::Integer(HostCell(COL_PORT, m_new.strIndex), port.toInt())});
        if (linkLocal)
            m_pHostWrites->Add(tr("interface name"),
                               {SnmpSetValue::Text(HostCell(COL_IFNAME, m_new.strIndex), m_new.strInterfaceName)});
        if (!m_oldRow->bActive)
            m_pHostWrites->Add(tr("activate the syslog host"),
                               {SnmpSetValue::Integer(HostCell(COL_STATUS, m_new.strIndex), ROW_ACTIVE)});
    } else {
        AddCreateSteps(m_pHostWrites, m_new.strIndex, port, m_new.strInterfaceName, true);
        m_nCreateStep = 1;
        m_nActivateStep = m_pHostWrites->StepCount();
        if (m_oldRow) {
            m_pHostWrites->Add(tr("remove the previous syslog host"),
                               {SnmpSetValue::Integer(HostCell(COL_STATUS, m_oldRow->strIndex), ROW_DESTROY)});
            m_nRemoveOldStep = m_pHostWrites->StepCount();
        }
    }
    AddScalarStep(m_pHostWrites);
    m_nScalarStep = m_pHostWrites->StepCount();
    RunHostSteps(m_pHostWrites, [this](bool ok, const SnmpSetFailure& f) { OnMainStepsDone(ok, f); });
}

void CSyslogHostCfgDlg::AddCreateSteps(CSetSequence* sequence, const QString& strIndex, const QString& strPort,
                                       const QString& strInterfaceName, bool bActivate)
{
    sequence->Add(tr("create the syslog host row"),
                  {SnmpSetValue::Integer(HostCell(COL_STATUS, strIndex), ROW_CREATE_AND_WAIT)});
    sequence->Add(tr("UDP port"), {SnmpSetValue::Integer(HostCell(COL_PORT, strIndex), strPort.toInt())});
    if (!strInterfaceName.isEmpty())
        sequence->Add(tr("interface name"), {SnmpSetValue::Text(HostCell(COL_IFNAME, strIndex), strInterfaceName)});
    if (bActivate)
        sequence->Add(tr("activate the syslog host"), {SnmpSetValue::Integer(HostCell(COL_STATUS, strIndex), ROW_ACTIVE)});
}

void CSyslogHostCfgDlg::AddScalarStep(CSetSequence* sequence)
{
    sequence->Add(tr("severity, facility and time stamp"),
                  {SnmpSetValue::Integer(kSeverity, QByteArray(kSeverityValues[m_pSeverity->currentIndex()]).toInt()),
                   SnmpSetValue::Integer(kFacility, kFacilityBase + 8 * m_pFacility->currentIndex()),
                   SnmpSetValue::Integer(kTimeStamp, m_pTimeStamp->currentIndex() == 0 ? 1 : 2)});
}

void CSyslogHostCfgDlg::RunHostSteps(CSetSequence* sequence, StepsDone done)
{
    SetHostWriting(true);
    auto progress = connect(sequence, &CSetSequence::progress, this,
                            [this](int step, int total, const QString&) { StatusLine()->ShowWriting(step, total); });
    auto finished = std::make_shared<QMetaObject::Connection>();
    *finished = connect(sequence, &CSetSequence::finished, this,
                        [progress, finished, done](bool ok, const SnmpSetFailure& failure) {
                            disconnect(progress);
                            disconnect(*finished);
                            done(ok, failure);
                        });
    if (!sequence->Start()) {
        disconnect(progress);
        disconnect(*finished);
        SnmpSetFailure failure;
        failure.nResult = SnmpSetFailure::NotSent;
        done(false, failure);
    }
}

void CSyslogHostCfgDlg::SetHostWriting(bool bWriting)
{
    m_bHostWriting = bWriting;
    RefreshButton()->setEnabled(!bWriting);
    CloseButton()->setEnabled(!bWriting);
    m_pApplyEnable->setEnabled(!bWriting && g_bWritePermission);
    UpdateApply();
}

void CSyslogHostCfgDlg::OnMainStepsDone(bool bOk, const SnmpSetFailure& failure)
{
    if (bOk) {
        SetHostWriting(false);
        ShowDoneText(StatusText::Written(m_pHostWrites->ValueCount()));
        Refresh();
        return;
    }
    const int step = failure.nStep;
    if (step == m_nCreateStep && failure.nResult == SnmpSetFailure::ErrorStatus && m_oldRow && m_nHostRows == 1) {
        // No room for a second row: the old one goes first, and comes back
        // if the new one is refused again.
        m_pFallbackWrites->Clear();
        m_pFallbackWrites->Add(tr("remove the previous syslog host"),
                               {SnmpSetValue::Integer(HostCell(COL_STATUS, m_oldRow->strIndex), ROW_DESTROY)});
        AddCreateSteps(m_pFallbackWrites, m_new.strIndex, m_new.strPort, m_new.strInterfaceName, true);
        m_nRemoveOldStep = 1;
        m_nCreateStep = 2;
        m_nActivateStep = m_pFallbackWrites->StepCount();
        AddScalarStep(m_pFallbackWrites);
        m_nScalarStep = m_pFallbackWrites->StepCount();
        RunHostSteps(m_pFallbackWrites, [this](bool ok, const SnmpSetFailure& f) { OnFallbackDone(ok, f); });
        return;
    }
    if (step > m_nCreateStep && step <= m_nActivateStep && m_nCreateStep > 0) {
        // A half-made new row must not stay behind; the old row is untouched.
        m_pRestoreWrites->Clear();
        m_pRestoreWrites->Add(tr("remove the new syslog host"),
                              {SnmpSetValue::Integer(HostCell(COL_STATUS, m_new.strIndex), ROW_DESTROY)});
        RunHostSteps(m_pRestoreWrites, [this, failure](bool, const SnmpSetFailure&) {
            Report(QString(), failure);
        });
        return;
    }
    Report(QString(), failure);
}

void CSyslogHostCfgDlg::OnFallbackDone(bool bOk, const SnmpSetFailure& failure)
{
    if (bOk) {
        SetHostWriting(false);
        ShowDoneText(StatusText::Written(m_pFallbackWrites->ValueCount()));
        Refresh();
        return;
    }
    if (failure.nStep >= m_nCreateStep && failure.nStep <= m_nActivateStep) {
        Restore(failure, failure.nStep > m_nCreateStep);
        return;
    }
    Report(QString(), failure);
}

void CSyslogHostCfgDlg::Restore(const SnmpSetFailure& failure, bool bNewRowMade)
{
    m_pRestoreWrites->Clear();
    if (bNewRowMade)
        m_pRestoreWrites->Add(tr("remove the new syslog host"),
                              {SnmpSetValue::Integer(HostCell(COL_STATUS, m_new.strIndex), ROW_DESTROY)});
    QString port;
    if (!ParseStrictInt(m_oldRow->strPort, 1, 65535, nullptr, &port))
        port = kDefaultPort;
    AddCreateSteps(m_pRestoreWrites, m_oldRow->strIndex, port,
                   CUtils::IsLinkLocalIPv6(m_strLastHostAddress) ? m_oldRow->strInterfaceName : QString(),
                   m_oldRow->bActive);
    RunHostSteps(m_pRestoreWrites, [this, failure](bool ok, const SnmpSetFailure&) {
        if (ok) {
            Report(QString(), failure);
            return;
        }
        Report(tr("The switch did not take the syslog host %1, and the syslog host %2 could not be restored: "
                  "the switch has no syslog host now.")
                   .arg(m_new.strAddress, m_oldRow->strAddress),
               failure);
    });
}

void CSyslogHostCfgDlg::Report(const QString& strText, const SnmpSetFailure& failure)
{
    SetHostWriting(false);
    StatusLine()->ShowWriteFailure(failure);
    QString text = strText;
    if (text.isEmpty()) {
        if (failure.nStep == m_nScalarStep)
            text = tr("The syslog host was written, but the switch did not take the severity, facility and time "
                      "stamp.");
        else if (failure.nStep == m_nRemoveOldStep && m_nRemoveOldStep > m_nActivateStep)
            text = tr("The syslog host %1 is active, but the previous syslog host %2 could not be removed.")
                       .arg(m_new.strAddress, m_oldRow->strAddress);
        else if (m_oldRow)
            text = tr("The switch did not take the syslog host %1. The syslog host %2 is kept.")
                       .arg(m_new.strAddress, m_oldRow->strAddress);
        else
            text = tr("The switch did not take the syslog host %1.").arg(m_new.strAddress);
    }
    text += tr("\n%1 failed: %2").arg(failure.strWhat, failure.Text());
    Message(text, MB_OK | MB_ICONERROR);
    Refresh();
}

void CSyslogHostCfgDlg::done(int result)
{
    // Each step ends within the time-out; leaving in the middle would leave
    // the switch half-changed.
    if (m_bHostWriting && result != QDialog::Accepted)
        return;
    m_pScalarRead->Abandon();
    CConfigDialog::done(result);
}
