#pragma once

// "802.1X Port Configuration": the authenticator settings of every port,
// and one set of settings written to a range of ports. Three rules guard
// the write: no port of an aggregated link in the range, at least one port
// of the switch left outside forceUnauthorized and auto control (so the
// management station keeps a way in), and 802.1X enabled on the switch.
// Apply opens only after the global state, the whole port table and the
// aggregated links were read.

#include "CConfigDialog.h"

#include <QString>

#include <vector>

class CListCtrlEx;
class QComboBox;
class QLineEdit;

class Dot1xPortConfig : public CConfigDialog
{
    Q_OBJECT
public:
    enum {
        IDC_PORT_CONTROL = 1087,
        IDC_TO_PORT = 1085,
        IDC_FROM_PORT = 1007,
        IDC_LIST = 1045,
        IDC_TX_PERIOD = 1149,
        IDC_QUIET_PERIOD = 1144,
        IDC_SUPP_TIMEOUT = 1145,
        IDC_SERVER_TIMEOUT = 1146,
        IDC_MAX_REQ = 1147,
        IDC_REAUTH_PERIOD = 1148,
        IDC_CAPABILITY = 1142,
        IDC_DIRECTION = 1143,
        IDC_REAUTH = 1150,
    };

    explicit Dot1xPortConfig(QWidget* parent = nullptr);

    // Column n of the port table (P.23.2.1.1.n).
    static QString PortColumn(int nColumn);

    // The port-control rule for writing `control` (1 forceUnauthorized,
    // 2 auto, 3 forceAuthorized) to ports from..to, with the codes read for
    // every port (entry p-1 for port p; 0 other or not read): the message
    // that refuses it, or empty.
    static QString CheckAllPortsRule(const std::vector<int>& portControl, int nFrom, int nTo, int nControl);

    CListCtrlEx* List() const { return m_pList; }
    QComboBox* From() const { return m_pFrom; }
    QComboBox* To() const { return m_pTo; }
    QComboBox* PortControl() const { return m_pControl; }
    QComboBox* Capability() const { return m_pCapability; }
    QComboBox* Direction() const { return m_pDirection; }
    QComboBox* ReAuth() const { return m_pReAuth; }
    QLineEdit* Edit(int nId) const;

    // The controls' defaults (also after every Apply).
    void PutDefaults();

protected:
    void OnRefresh() override;
    void OnApply() override;
    void OnWritesDone() override;
    bool CanApply() const override;

private:
    void OnPortsEnd(int nTicket, const WalkOutcome& outcome);
    void OnListClicked();
    void UpdateControlCombo();

    QComboBox* m_pControl = nullptr;
    QComboBox* m_pTo = nullptr;
    QComboBox* m_pFrom = nullptr;
    CListCtrlEx* m_pList = nullptr;
    QLineEdit* m_pTxPeriod = nullptr;
    QLineEdit* m_pQuietPeriod = nullptr;
    QLineEdit* m_pSuppTimeout = nullptr;
    QLineEdit* m_pServerTimeout = nullptr;
    QLineEdit* m_pMaxReq = nullptr;
    QLineEdit* m_pReAuthPeriod = nullptr;
    QComboBox* m_pCapability = nullptr;
    QComboBox* m_pDirection = nullptr;
    QComboBox* m_pReAuth = nullptr;
    CSnmpScalarRead* m_pStateRead = nullptr;
    CSnmpRowWalk* m_pPortWalk = nullptr;
    CSetSequence* m_pWrites = nullptr;
    // Entry p-1: port p's control code as read (1, 2, 3; 0 other or unread).
    std::vector<int> m_portControl;
    QString m_strState;   // the global authentication state last read
};
