#pragma once

// " STP Configuration ": whether the spanning tree is on, its version and
// the bridge's timers, priority, transmit hold count and BPDU forwarding,
// with the root bridge's values as the switch reports them. Apply writes
// the settings under the 802.1D timer relations; "Port Setting" opens the
// port table.

#include "CConfigDialog.h"
#include "CSnmpScalarRead.h"

class CSetSequence;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

class CSpanTreeBridgeParam : public CConfigDialog
{
    Q_OBJECT
public:
    explicit CSpanTreeBridgeParam(QWidget* parent = nullptr);

    // The checked settings of an apply, in the units the switch takes.
    struct Settings
    {
        bool bOn = false;
        int nVersion = 0;       // "0" STP, "2" RSTP, "3" MSTP
        qint64 nPriority = 0;
        qint64 nHoldCount = 0;
        qint64 nMaxAge = 0;     // seconds
        qint64 nForwardDelay = 0;
        qint64 nHello = 0;
        int nForwardBpdu = 1;   // 1 enabled, 2 disabled
    };
    // Checks the controls in the fixed order; the first failure's message
    // text, or empty with `settings` filled.
    QString CheckInput(Settings& settings) const;

protected:
    void OnRefresh() override;
    void OnApply() override;
    bool OnInitDialog() override;
    QString UndoResultText(bool bOk, const SnmpSetFailure& undoFailure) const override;

private:
    void BuildUndo();
    void OnBridgeReply(const WalkOutcome& outcome);
    void OnEnableStp();
    void OnSelchangeVersion();
    void OnPortSetting();
    void EnableFields(bool bOn);

    CSnmpScalarRead m_read;
    CSetSequence* m_pWrites = nullptr;
    CSetSequence* m_pUndo = nullptr;   // the bridge settings as read, in a safe order
    bool m_bStpOnAsRead = false;   // the spanning tree was on when last read

    QCheckBox* m_pEnable = nullptr;        // 1008
    QComboBox* m_pVersion = nullptr;       // 1085
    QComboBox* m_pPriority = nullptr;      // 1007
    QLineEdit* m_pHoldCount = nullptr;     // 15
    QLineEdit* m_pMaxAge = nullptr;        // 11
    QLineEdit* m_pForwardDelay = nullptr;  // 13
    QLineEdit* m_pHello = nullptr;         // 14
    QComboBox* m_pForwardBpdu = nullptr;   // 1160
    QLabel* m_pRootBridge = nullptr;       // 1189
    QLabel* m_pRootCost = nullptr;         // 1197
    QLabel* m_pRootMaxAge = nullptr;       // 1194
    QLabel* m_pRootForwardDelay = nullptr; // 1192
    QLabel* m_pRootPort = nullptr;         // 1195
    QPushButton* m_pPortSetting = nullptr; // 1048
};
