#pragma once

// "Spanning Tree Table": every port's spanning tree settings and state, and
// the settings dialog of one port. On opening it first turns the spanning
// tree off on every port whose loop-back detection is on (the two must not
// run on one port).

#include "CConfigDialog.h"

class CListCtrlEx;
class CSetSequence;
class CSnmpRowWalk;
class QLabel;

class CSpanTree : public CConfigDialog
{
    Q_OBJECT
public:
    explicit CSpanTree(QWidget* parent = nullptr);

    // The list the port settings dialog moves through.
    CListCtrlEx* List() const { return m_pList; }
    QPushButton* PortConfigButton() const { return m_pPortConfig; }

    // Column texts of one walked row (the list's eleven columns).
    static QStringList RowTexts(const SnmpRow& row);

protected:
    void OnRefresh() override;
    void OnWritesDone() override;
    bool OnInitDialog() override;

private:
    void LoopDetectPass(int nTableTicket, const WalkOutcome& outcome);
    void GetPortTable(int nTicket);
    void OnPortConfig();

    CSnmpRowWalk* m_pLoopWalk = nullptr;
    CSnmpRowWalk* m_pTableWalk = nullptr;
    CSetSequence* m_pLoopWrites = nullptr;
    bool m_bPassDone = false;

    CListCtrlEx* m_pList = nullptr;      // 1088
    QLabel* m_pCount = nullptr;          // 301
    QPushButton* m_pPortConfig = nullptr; // 101
};
