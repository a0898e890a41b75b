#include "CFirmTransferLogic.h"

#include "GlobalSettings.h"

#include <algorithm>
#include <cmath>

namespace {

const QString kTransferArc = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.3.");

QString TransferObject(CFirmTransferLogic::Mode mode, int nColumn)
{
    return kTransferArc + (mode == CFirmTransferLogic::ModeFirmware ? QStringLiteral("9.") : QStringLiteral("10."))
           + QString::number(nColumn) + QStringLiteral(".0");
}

// The connection settings with a time-out of the request kind's own.
ConnectionSettings SettingsWithTimeout(int nTimeoutMs)
{
    ConnectionSettings settings = GetConnectionSettings();
    settings.nTimeoutMs = nTimeoutMs;
    return settings;
}

} // namespace

TransferTimings TransferTimings::Scaled(double factor) const
{
    TransferTimings t = *this;
    for (int* p : {&t.nFirstPollFirmwareMs, &t.nFirstPollConfigMs, &t.nPollStartingMs, &t.nPollRunningMs,
                   &t.nPollUnansweredMs, &t.nProgressFirstMs, &t.nProgressMs, &t.nOverallFirmwareMs,
                   &t.nOverallConfigMs, &t.nFileSetTimeoutMs, &t.nOperationSetTimeoutMs, &t.nStatusGetTimeoutMs})
        *p = std::max(1, int(std::lround(*p * factor)));
    return t;
}

CFirmTransferLogic::CFirmTransferLogic(const Timings& timings, QObject* parent)
    : QObject(parent)
    , m_timings(timings)
    , m_cSnmpConfigFile(SettingsWithTimeout(timings.nFileSetTimeoutMs))
    , m_cSnmpFirmwareFile(SettingsWithTimeout(timings.nFileSetTimeoutMs))
    , m_cSnmpOperation(SettingsWithTimeout(timings.nOperationSetTimeoutMs))
    , m_cSnmpFirmwareStatus(SettingsWithTimeout(timings.nStatusGetTimeoutMs))
    , m_cSnmpConfigStatus(SettingsWithTimeout(timings.nStatusGetTimeoutMs))
    , m_configFileWrites(m_cSnmpConfigFile)
    , m_firmwareFileWrites(m_cSnmpFirmwareFile)
    , m_operationWrite(m_cSnmpOperation)
    , m_firmwareStatusRead(m_cSnmpFirmwareStatus)
    , m_configStatusRead(m_cSnmpConfigStatus)
{
    for (QTimer* timer : {&m_statusPollTimer, &m_progressTimer, &m_transferTimeoutTimer}) {
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);   // a coarse timer may fire early
    }
    connect(&m_statusPollTimer, &QTimer::timeout, this, &CFirmTransferLogic::Poll);
    connect(&m_progressTimer, &QTimer::timeout, this, &CFirmTransferLogic::OnProgressTimer);
    connect(&m_transferTimeoutTimer, &QTimer::timeout, this, &CFirmTransferLogic::OnOverallTimeout);
    for (CSetSequence* writes : {&m_configFileWrites, &m_firmwareFileWrites})
        connect(writes, &CSetSequence::finished, this, &CFirmTransferLogic::OnFileSet);
    connect(&m_operationWrite, &CSetSequence::finished, this, &CFirmTransferLogic::OnOperationSet);
}

CFirmTransferLogic::~CFirmTransferLogic()
{
    Stop();
}

QString CFirmTransferLogic::AddressObject(Mode mode) { return TransferObject(mode, 1); }
QString CFirmTransferLogic::AddressTypeObject(Mode mode) { return TransferObject(mode, 2); }
QString CFirmTransferLogic::FileNameObject(Mode mode) { return TransferObject(mode, 4); }
QString CFirmTransferLogic::OperationObject(Mode mode) { return TransferObject(mode, 5); }
QString CFirmTransferLogic::StatusObject(Mode mode) { return TransferObject(mode, 6); }

CSetSequence& CFirmTransferLogic::FileWrites()
{
    return m_nTransferMode == ModeFirmware ? m_firmwareFileWrites : m_configFileWrites;
}

CSnmpScalarRead& CFirmTransferLogic::StatusRead()
{
    return m_nTransferMode == ModeFirmware ? m_firmwareStatusRead : m_configStatusRead;
}

bool CFirmTransferLogic::Start(Mode mode, Operation operation, const QString& strAddressType,
                               const QByteArray& address, const QString& strFileName)
{
    const QByteArray fileName = strFileName.toUtf8();
    const bool usable = (mode == ModeFirmware || mode == ModeConfig)
                        && (operation == OperationUpgrade || operation == OperationBackup)
                        && ((strAddressType == QLatin1String("1") && address.size() == 4)
                            || (strAddressType == QLatin1String("2") && address.size() == 16))
                        && !fileName.isEmpty() && fileName.size() <= kMaxFileNameLength;
    if (m_bRunning || m_bStopped || !usable)
        return false;

    m_nTransferMode = mode;
    m_nOperation = operation;
    m_bRunning = true;
    m_bRunningSeen = false;
    m_nStatusTimeoutCount = 0;   // each transfer counts its own silent polls
    m_ProgressTimes = 1;
    m_nProgress = 0;

    CSetSequence& writes = FileWrites();
    writes.Clear();
    // The type first, by itself: the switch reads the address by it.
    writes.Add(tr("server address type"), {SnmpSetValue::Integer(AddressTypeObject(mode), strAddressType.toInt())});
    writes.Add(tr("server address and file name"),
               {SnmpSetValue::Octets(AddressObject(mode), address), SnmpSetValue::Octets(FileNameObject(mode), fileName)});
    emit stageChanged(tr("Setting the server address and file name…"));
    if (!writes.Start()) {
        m_bRunning = false;
        return false;
    }
    return true;
}

void CFirmTransferLogic::OnFileSet(bool bOk, const SnmpSetFailure& failure)
{
    if (!m_bRunning || sender() != &FileWrites())
        return;
    if (bOk) {
        SetOperation();
        return;
    }
    if (failure.nResult == SnmpSetFailure::NoAnswer)
        End(Error, QStringLiteral("Setting file name TimeOut !"));
    else
        End(Refused, tr("Setting file name failed: %1").arg(failure.Text()));
}

void CFirmTransferLogic::SetOperation()
{
    m_operationWrite.Clear();
    m_operationWrite.Add(tr("operation"), {SnmpSetValue::Integer(OperationObject(m_nTransferMode), m_nOperation)});
    m_progressTimer.start(m_timings.nProgressFirstMs);
    ArmOverallTimeout();   // a status stuck at "4" must end too
    emit stageChanged(tr("Starting the transfer…"));
    if (!m_operationWrite.Start())
        End(Error, QStringLiteral("Setting operation TimeOut !"));
}

void CFirmTransferLogic::OnOperationSet(bool bOk, const SnmpSetFailure& failure)
{
    if (!m_bRunning)
        return;
    if (!bOk) {
        if (failure.nResult == SnmpSetFailure::NoAnswer)
            End(Error, QStringLiteral("Setting operation TimeOut !"));
        else
            End(Refused, tr("Setting operation failed: %1").arg(failure.Text()));
        return;
    }
    // Polls start only once the switch has taken the operation.
    emit stageChanged(tr("Waiting for the switch…"));
    m_statusPollTimer.start(m_nTransferMode == ModeFirmware ? m_timings.nFirstPollFirmwareMs
                                                            : m_timings.nFirstPollConfigMs);
}

void CFirmTransferLogic::Poll()
{
    if (!m_bRunning)
        return;
    StatusRead().Start({StatusObject(m_nTransferMode)}, [this](const WalkOutcome& o) { OnStatus(o); });
}

void CFirmTransferLogic::OnStatus(const WalkOutcome& outcome)
{
    if (!m_bRunning || outcome.nResult == WalkOutcome::Cancelled)
        return;
    if (outcome.nResult == WalkOutcome::NoAnswer) {
        if (m_bRunningSeen) {
            // Running already: the switch may be busy or restarting.
            m_nStatusTimeoutCount = 0;
            emit stageChanged(tr("No answer from the switch; still waiting…"));
            m_statusPollTimer.start(m_timings.nPollUnansweredMs);
            return;
        }
        if (++m_nStatusTimeoutCount > m_timings.nMaxUnansweredPolls) {
            End(TimedOut, m_nTransferMode == ModeFirmware
                              ? QStringLiteral("Get Firmware BackUp/Upgrade status Time Out !")
                              : QStringLiteral("Get Config BackUp/Upgrade status Time Out !"));
            return;
        }
        emit stageChanged(tr("No answer from the switch (%1 of %2)…")
                              .arg(m_nStatusTimeoutCount)
                              .arg(m_timings.nMaxUnansweredPolls + 1));
        m_statusPollTimer.start(m_timings.nPollUnansweredMs);
        return;
    }
    if (!outcome.Ok()) {
        End(Error, QStringLiteral("Get Info Fail !"));
        return;
    }
    m_nStatusTimeoutCount = 0;
    const QString status = StatusRead().Text(0);
    if (status == QLatin1String("0") || status == QLatin1String("1")) {
        m_nProgress = 99;
        emit progressChanged(m_nProgress);
        End(Succeeded, QStringLiteral("Success!"));
    } else if (status == QLatin1String("2")) {
        End(Failed, FailureMessage());
    } else if (status == QLatin1String("3")) {
        m_bRunningSeen = true;
        emit stageChanged(tr("Transferring…"));
        m_statusPollTimer.start(m_timings.nPollRunningMs);
        ArmOverallTimeout();
    } else if (status == QLatin1String("4")) {
        emit stageChanged(tr("Waiting for the switch…"));
        m_statusPollTimer.start(m_timings.nPollStartingMs);
    } else {
        End(Error, tr("The switch reported an unknown transfer status (%1).").arg(status));
    }
}

QString CFirmTransferLogic::FailureMessage() const
{
    const bool upgrade = m_nOperation == OperationUpgrade;
    if (m_nTransferMode == ModeFirmware)
        return upgrade ? QStringLiteral("Firmware Upgrade Fail!") : QStringLiteral("Firmware Backup Fail!");
    return upgrade ? QStringLiteral("Config File Upgrade Fail!") : QStringLiteral("Config File Backup Fail!");
}

void CFirmTransferLogic::OnProgressTimer()
{
    if (!m_bRunning || m_ProgressTimes >= 90)
        return;
    m_nProgress = m_ProgressTimes;
    m_ProgressTimes += 2;
    emit progressChanged(m_nProgress);
    m_progressTimer.start(m_timings.nProgressMs);
}

void CFirmTransferLogic::ArmOverallTimeout()
{
    m_transferTimeoutTimer.start(m_nTransferMode == ModeFirmware ? m_timings.nOverallFirmwareMs
                                                                 : m_timings.nOverallConfigMs);
}

void CFirmTransferLogic::OnOverallTimeout()
{
    if (!m_bRunning)
        return;
    End(TimedOut, m_nTransferMode == ModeFirmware
                      ? QStringLiteral("Time out! Please check TFTP Server IP and network.")
                      : QStringLiteral("Time out! Please check TFTP Server IP and network.\n You may close the "
                                       "current device Orvane Module and implement 'Device Discovery'to restart it"));
}

void CFirmTransferLogic::StopRequests()
{
    m_statusPollTimer.stop();
    m_progressTimer.stop();
    m_transferTimeoutTimer.stop();
    m_configFileWrites.Abandon();
    m_firmwareFileWrites.Abandon();
    m_operationWrite.Abandon();
    m_firmwareStatusRead.Abandon();
    m_configStatusRead.Abandon();
}

void CFirmTransferLogic::End(Result result, const QString& strMessage)
{
    // Final state first: the report may start the next transfer.
    m_bRunning = false;
    StopRequests();
    emit ended(result, strMessage);
}

void CFirmTransferLogic::Stop()
{
    if (m_bStopped)
        return;
    m_bStopped = true;
    m_bRunning = false;
    StopRequests();
    CLOSE_SNMP_SESSION(m_cSnmpConfigFile);
    CLOSE_SNMP_SESSION(m_cSnmpFirmwareFile);
    CLOSE_SNMP_SESSION(m_cSnmpOperation);
    CLOSE_SNMP_SESSION(m_cSnmpFirmwareStatus);
    CLOSE_SNMP_SESSION(m_cSnmpConfigStatus);
}
