#pragma once

// "PoE Configuration": the PoE settings and live readings of every PoE port
// the switch lists, and the write of state, time range, priority and power
// limit to a range of those ports (one set request per port, sent without
// blocking the window; the first refusal stops the rest).

#include "CConfigDialog.h"

#include <QList>

class CListCtrlEx;
class QCheckBox;
class QComboBox;
class QLineEdit;

class CPOEConfigDlg : public CConfigDialog
{
    Q_OBJECT
public:
    enum {
        IDC_PORT_LIST = 201,
        IDC_FROM_PORT = 1069,
        IDC_TO_PORT = 211,
        IDC_TIME_RANGE = 1085,
        IDC_STATE = 212,
        IDC_PRIORITY = 219,
        IDC_POWER_LIMIT = 1065,
        IDC_USER_DEFINE = 1066,
        IDC_USER_LIMIT = 1070,
    };

    explicit CPOEConfigDlg(QWidget* parent = nullptr);

    CListCtrlEx* List() const { return m_pList; }
    QComboBox* FromPort() const { return m_pFrom; }
    QComboBox* ToPort() const { return m_pTo; }
    QComboBox* TimeRange() const { return m_pTimeRange; }
    QComboBox* State() const { return m_pState; }
    QComboBox* Priority() const { return m_pPriority; }
    QComboBox* PowerLimit() const { return m_pLimit; }
    QCheckBox* UserDefine() const { return m_pUserDefine; }
    QLineEdit* UserLimit() const { return m_pUserLimit; }
    // Port numbers of the PoE rows read, in port order.
    const QList<int>& Ports() const { return m_ports; }

    // The user-defined limit: empty when the whole text is a decimal number
    // of watts from 1.0 to 30.0 in steps of 0.2 (then *pSend is the text to
    // send, one fractional digit), else the message to show.
    static QString CheckPowerLimit(const QString& strText, QString* pSend);

protected:
    void OnRefresh() override;
    void OnApply() override;
    bool CanApply() const override;

private:
    struct TimeRangeName
    {
        int nIndex = 0;   // the time profile's index
        QString strName;
    };

    void OnTimeRangesEnd(int nRangesTicket, int nPortsTicket, const WalkOutcome& outcome);
    void ReadPorts(int nTicket);
    void OnPortsEnd(int nTicket, const WalkOutcome& outcome);
    QString TimeRangeText(const QString& strIndex) const;
    void OnRowSelected();
    void UpdateLimitControls();

    CListCtrlEx* m_pList = nullptr;
    QComboBox* m_pFrom = nullptr;
    QComboBox* m_pTo = nullptr;
    QComboBox* m_pTimeRange = nullptr;
    QComboBox* m_pState = nullptr;
    QComboBox* m_pPriority = nullptr;
    QComboBox* m_pLimit = nullptr;
    QCheckBox* m_pUserDefine = nullptr;
    QLineEdit* m_pUserLimit = nullptr;
    CSnmpRowWalk* m_pTimeRangeWalk = nullptr;
    CSnmpRowWalk* m_pPortWalk = nullptr;
    CSetSequence* m_pWrites = nullptr;
    QList<TimeRangeName> m_timeRanges;   // beside the "Time Range" items after "N/A"
    QList<int> m_ports;
};
