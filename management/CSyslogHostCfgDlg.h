#pragma once

// "Syslog Host Configuration": the switch's remote logging (enable, time
// stamp, severity, facility) and the one syslog server this dialog edits,
// the last row of the switch's syslog host table (address, UDP port, and
// the interface name of a link-local IPv6 address).
//
// Changing the server never leaves the switch without one because of a
// refused write: the same address is updated in place; a new address is
// created and made active before the old row goes. A switch with room for
// one row refuses that create; then the old row goes first, and if the new
// one is still refused the old one is put back. Every step's answer is
// checked, a failure is reported, and the table is read again.

#include "CConfigDialog.h"
#include "CCommonSNMP.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class CEditEXIPV6;
class CSetSequence;
class CSnmpRowWalk;
class CSnmpScalarRead;
class QCheckBox;
class QComboBox;
class QLineEdit;
struct SnmpSetFailure;

class CSyslogHostCfgDlg : public CConfigDialog
{
    Q_OBJECT
public:
    enum : int {
        IDD = 499,
        IDC_SYSLOG_ENABLE = 1016,
        IDC_APPLY_ENABLE = 1000,
        IDC_TIME_STAMP = 1168,
        IDC_SERVER_IP = 203,
        IDC_UDP_PORT = 206,
        IDC_FACILITY = 211,
        IDC_SEVERITY = 207,
    };

    explicit CSyslogHostCfgDlg(QWidget* parent = nullptr);
    ~CSyslogHostCfgDlg() override;

    QCheckBox* EnableBox() const { return m_pEnable; }
    QPushButton* EnableApplyButton() const { return m_pApplyEnable; }
    QComboBox* TimeStampList() const { return m_pTimeStamp; }
    CEditEXIPV6* ServerEdit() const { return m_pServer; }
    QLineEdit* PortEdit() const { return m_pPort; }
    QComboBox* FacilityList() const { return m_pFacility; }
    QComboBox* SeverityList() const { return m_pSeverity; }
    bool IsWritingHost() const { return m_bHostWriting; }

    // The host-table row of an address ("1.4.10.0.0.5", "2.16.254.128...").
    static QString HostRowIndex(const QString& strAddressType, const QString& strOidIndex);

public slots:
    void done(int result) override;

protected:
    void OnRefresh() override;
    void OnApply() override;
    bool CanApply() const override;

private:
    // The row this dialog edits, as read.
    struct HostRow
    {
        QString strIndex;
        QString strAddress;     // as shown, with "%" and the interface name for link-local
        QString strPort;
        QString strInterfaceName;
        bool bActive = false;
    };
    // A new server as checked.
    struct NewHost
    {
        QString strIndex;
        QString strAddress;
        QString strPort;
        QString strInterfaceName;   // link-local only
    };
    using StepsDone = std::function<void(bool, const SnmpSetFailure&)>;

    void OnSysLogEnable();
    void OnApplyGlobal();
    void OnScalarsRead(bool bOk);
    void OnHostsRead(bool bOk);
    void AddCreateSteps(CSetSequence* sequence, const QString& strIndex, const QString& strPort,
                        const QString& strInterfaceName, bool bActivate);
    void AddScalarStep(CSetSequence* sequence);
    void RunHostSteps(CSetSequence* sequence, StepsDone done);
    void SetHostWriting(bool bWriting);
    void OnMainStepsDone(bool bOk, const SnmpSetFailure& failure);
    void OnFallbackDone(bool bOk, const SnmpSetFailure& failure);
    void Restore(const SnmpSetFailure& failure, bool bNewRowMade);
    void Report(const QString& strText, const SnmpSetFailure& failure);
    void EnableHostInputs(bool bEnable);

    CCommonSNMP m_cCommonSNMP;      // scalar get
    CCommonSNMP m_cSnmpHostTable;   // host-table walk
    CCommonSNMP m_cCommonSNMPSet;   // every set

    QCheckBox* m_pEnable = nullptr;
    QPushButton* m_pApplyEnable = nullptr;
    QComboBox* m_pTimeStamp = nullptr;
    CEditEXIPV6* m_pServer = nullptr;
    QLineEdit* m_pPort = nullptr;
    QComboBox* m_pFacility = nullptr;
    QComboBox* m_pSeverity = nullptr;

    std::unique_ptr<CSnmpScalarRead> m_pScalarRead;
    CSnmpRowWalk* m_pHostWalk = nullptr;
    CSetSequence* m_pEnableWrite = nullptr;
    CSetSequence* m_pHostWrites = nullptr;
    CSetSequence* m_pFallbackWrites = nullptr;
    CSetSequence* m_pRestoreWrites = nullptr;

    QString m_strLastHostAddress;   // address of the last row read, without interface name
    std::optional<HostRow> m_oldRow;
    int m_nHostRows = 0;
    NewHost m_new;
    // Step numbers of the sequence under way (0 = not in it).
    int m_nCreateStep = 0;
    int m_nActivateStep = 0;
    int m_nRemoveOldStep = 0;
    int m_nScalarStep = 0;
    bool m_bHostWriting = false;
};
