#pragma once

// One firmware or configuration transfer, driven over SNMP: the switch
// itself moves the file to or from a TFTP server once it has the server
// address, the file name and the operation; this class writes those, polls
// the switch's transfer status until it ends, and advances a progress
// figure meanwhile. It knows no widgets: the dialog shows what it reports.
//
// Steps: address type; address and file name (one set); operation (one
// set). A step that gets no answer or a non-zero error status ends the
// transfer: polling never starts after a refused write, so a status left
// from an earlier transfer cannot pass for this one's success. Then the
// status object is polled:
//   "0", "1"  success          "2"  failure
//   "3"  running: next poll after the running interval, overall time-out
//        counted again from now
//   "4"  starting: next poll after the starting interval
//   any other value: ends the transfer with a message
// Before the switch has reported "3", the fourth unanswered poll in a row
// ends the transfer; after it, unanswered polls go on (the switch may be
// restarting) until the overall time-out, which runs from the operation set
// so that a status stuck at "4" ends too. Every interval is in Timings, so
// tests run the same machine on a faster clock.

#include "CCommonSNMP.h"
#include "CSetSequence.h"
#include "CSnmpScalarRead.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

// Intervals and waits in milliseconds; the defaults are the program's.
struct TransferTimings
{
    int nFirstPollFirmwareMs = 15000;   // after the operation set
    int nFirstPollConfigMs = 3000;
    int nPollStartingMs = 1000;         // after a "4"
    int nPollRunningMs = 5000;          // after a "3"
    int nPollUnansweredMs = 3000;       // after a poll without answer
    int nProgressFirstMs = 2000;
    int nProgressMs = 2500;
    int nOverallFirmwareMs = 200000;    // from the operation set and from every "3"
    int nOverallConfigMs = 70000;
    int nFileSetTimeoutMs = 10000;      // address type, address and file name
    int nOperationSetTimeoutMs = 15000;
    int nStatusGetTimeoutMs = 6000;
    int nMaxUnansweredPolls = 3;        // one more ends the transfer before a "3"

    // Every interval and wait times `factor` (at least 1 ms).
    TransferTimings Scaled(double factor) const;
};

class CFirmTransferLogic : public QObject
{
    Q_OBJECT
public:
    enum Mode { ModeNone = 0, ModeFirmware = 1, ModeConfig = 2 };
    enum Operation { OperationUpgrade = 1, OperationBackup = 2 };
    enum Result { Succeeded, Failed, TimedOut, Refused, Error };

    using Timings = TransferTimings;

    // The sessions are built here with the current connection settings.
    explicit CFirmTransferLogic(const Timings& timings = Timings(), QObject* parent = nullptr);
    ~CFirmTransferLogic() override;

    // Starts a transfer. Nothing is written, and false is returned, unless
    // every value is usable: a mode and an operation, address type "1" with
    // 4 octets or "2" with 16, a file name of 1 to 64 octets.
    bool Start(Mode mode, Operation operation, const QString& strAddressType, const QByteArray& address,
               const QString& strFileName);
    bool IsRunning() const { return m_bRunning; }

    // Stops every timer, request and session (the window is going away);
    // reports nothing. The transfer itself goes on in the switch.
    void Stop();

    Mode GetMode() const { return m_nTransferMode; }
    int GetProgress() const { return m_nProgress; }
    int GetUnansweredPolls() const { return m_nStatusTimeoutCount; }
    bool GetRunningSeen() const { return m_bRunningSeen; }
    const Timings& GetTimings() const { return m_timings; }

    // The transfer objects of a mode ("1.3.6...3.9.6.0").
    static QString AddressObject(Mode mode);
    static QString AddressTypeObject(Mode mode);
    static QString FileNameObject(Mode mode);
    static QString OperationObject(Mode mode);
    static QString StatusObject(Mode mode);

    static constexpr int kMaxFileNameLength = 64;

signals:
    // The progress bar's position (0 to 100).
    void progressChanged(int nPosition);
    // What the transfer is doing now, for the status line.
    void stageChanged(const QString& strText);
    // The transfer has ended; strMessage is what the user must read.
    void ended(int nResult, const QString& strMessage);

private:
    void OnFileSet(bool bOk, const SnmpSetFailure& failure);
    void SetOperation();
    void OnOperationSet(bool bOk, const SnmpSetFailure& failure);
    void Poll();
    void OnStatus(const WalkOutcome& outcome);
    void OnProgressTimer();
    void OnOverallTimeout();
    void End(Result result, const QString& strMessage);
    void StopRequests();   // timers, writes and polls; the sessions stay open
    void ArmOverallTimeout();
    QString FailureMessage() const;
    CSetSequence& FileWrites();
    CSnmpScalarRead& StatusRead();

    Timings m_timings;
    CCommonSNMP m_cSnmpConfigFile;
    CCommonSNMP m_cSnmpFirmwareFile;
    CCommonSNMP m_cSnmpOperation;
    CCommonSNMP m_cSnmpFirmwareStatus;
    CCommonSNMP m_cSnmpConfigStatus;
    CSetSequence m_configFileWrites;
    CSetSequence m_firmwareFileWrites;
    CSetSequence m_operationWrite;
    CSnmpScalarRead m_firmwareStatusRead;
    CSnmpScalarRead m_configStatusRead;

    QTimer m_statusPollTimer;
    QTimer m_progressTimer;
    QTimer m_transferTimeoutTimer;

    Mode m_nTransferMode = ModeNone;
    Operation m_nOperation = OperationUpgrade;
    bool m_bRunning = false;
    bool m_bRunningSeen = false;
    bool m_bStopped = false;
    int m_nStatusTimeoutCount = 0;
    int m_ProgressTimes = 1;
    int m_nProgress = 0;
};
