#pragma once

// "802.1X Config Information": the switch's older 802.1X settings: on or
// off, one RADIUS server with its key, and one set of authenticator timers
// for every port. With "Enable 802.1X" cleared only the state is written;
// else the server and key, then the state, then the timers, each request
// checked before the next. "&PortSet" opens the per-port settings.

#include "CConfigDialog.h"
#include "CSetSequence.h"

#include <QList>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

class C8021Config : public CConfigDialog
{
    Q_OBJECT
public:
    enum {
        IDC_ENABLE = 1012,
        IDC_SERVER = 1013,
        IDC_KEY = 1004,
        IDC_CONFIRM_KEY = 1005,
        IDC_TX_PERIOD = 1003,
        IDC_QUIET_PERIOD = 1008,
        IDC_SUPP_TIMEOUT = 1009,
        IDC_SERVER_TIMEOUT = 1041,
        IDC_MAX_REQ = 1042,
        IDC_REAUTH_PERIOD = 1043,
        IDC_REAUTH = 1040,
        IDC_PORTSET = 1000,
        IDC_LIST = 1011,
    };

    explicit C8021Config(QWidget* parent = nullptr);

    // Scalar n of the older 802.1X group: "1.1" server, "1.2" key, "2.1"
    // state, "2.2" to "2.8" the timers and re-authentication.
    static QString Oid(const char* tail);

    // The server address check: empty when acceptable, else the message.
    static QString CheckServerAddress(const QString& strAddress);

    QCheckBox* Enable() const { return m_pEnable; }
    QLineEdit* Edit(int nId) const;
    QComboBox* ReAuth() const { return m_pReAuth; }
    QPushButton* PortSetButton() const { return m_pPortSet; }

protected:
    void OnRefresh() override;
    void OnApply() override;
    void OnWritesDone() override;

private:
    void EnableFields(bool bEnable);
    // The timers' request, or the message of the first value refused.
    QString BuildTimers(QList<SnmpSetValue>& values) const;

    enum class Phase { None, StateOnly, Server, Timers };

    QCheckBox* m_pEnable = nullptr;
    QLineEdit* m_pServer = nullptr;
    QComboBox* m_pReAuth = nullptr;
    QPushButton* m_pPortSet = nullptr;
    CSnmpScalarRead* m_pRead = nullptr;
    CSetSequence* m_pWrites = nullptr;
    CSetSequence* m_pTimerWrites = nullptr;
    Phase m_phase = Phase::None;
};
