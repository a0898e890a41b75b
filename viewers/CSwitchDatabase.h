#pragma once

// "Forwarding Table": the learned and static MAC addresses of the Q-BRIDGE
// forwarding table, shown 100 at a time with Back and Next, and the
// address aging time. Every entry read stays in memory; pages are cut from
// it without new requests, and a refresh starts again at page one.

#include "CCommonSNMP.h"
#include "CConfigDialog.h"
#include "CSnmpScalarRead.h"

#include <QList>
#include <QString>

class CListCtrlEx;
class CSnmpRowWalk;
class QLabel;
class QPushButton;

struct FWD_TABLE
{
    int nID = 0;           // position in reading order, from 1
    QString strMac;        // "00-11-22-33-44-55"
    QString strStatus;     // "Learn", ...
    QString strPort;
};

class CSwitchDatabase : public CConfigDialog
{
    Q_OBJECT
public:
    static constexpr int kPageRows = 100;

    explicit CSwitchDatabase(QWidget* parent = nullptr);
    ~CSwitchDatabase() override;

    // The MAC address of an entry from its index "fdbId.m1.m2.m3.m4.m5.m6":
    // the last six sub-identifiers, whatever the FDB id's length. Empty
    // when the index has fewer than seven parts or a part is not 0 to 255.
    static QString MacFromIndex(const QString& strIndex);
    // dot1qTpFdbStatus: "1" "Other", "2" "Invalid", "3" "Learn", "4" "Own",
    // "5" "Static"; anything else an empty text.
    static QString StatusText(const QString& strValue);

    void TurnPage(bool bNext);
    void OnBack() { TurnPage(false); }
    void OnNext() { TurnPage(true); }

    CListCtrlEx* List() const { return m_pList; }
    QPushButton* BackButton() const { return m_pBack; }
    QPushButton* NextButton() const { return m_pNext; }
    QLabel* AgingTime() const { return m_pAging; }
    const QList<FWD_TABLE>& Entries() const { return m_arrFwdTable; }

protected:
    bool OnInitDialog() override;
    void OnRefresh() override;

private:
    void ReadFdbTable();
    void ReadAgingTime();
    void OnFdbWalkEnd(const WalkOutcome& outcome, int nTicket);
    void FillRows(int nFirst, int nLast);

    CCommonSNMP m_cCommonSNMP;
    CCommonSNMP m_cCommonSNMPGetTime;
    CSnmpRowWalk* m_pWalk = nullptr;
    CSnmpScalarRead m_agingRead;
    QList<FWD_TABLE> m_arrFwdTable;
    int m_nFirst = 1;   // nID of the first row shown

    CListCtrlEx* m_pList = nullptr;
    QLabel* m_pAging = nullptr;
    QPushButton* m_pBack = nullptr;
    QPushButton* m_pNext = nullptr;
};
