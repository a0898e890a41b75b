#pragma once

// " Port STP Configuration": the spanning tree settings of one port of the
// table that opened it; "<= Prev Port" and "Next Port =>" move through the
// table's rows. OK checks the edits against loop-back detection, link
// aggregation and the MSTP timer rule and writes every setting of the port
// in one set; a refused check keeps the dialog open with the edits.

#include "CConfigDialog.h"
#include "CSnmpScalarRead.h"

class CSpanTree;
class CSetSequence;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

class CSpanTreePortParam : public CConfigDialog
{
    Q_OBJECT
public:
    explicit CSpanTreePortParam(CSpanTree* pSpanTree);

    int CurrentRow() const { return m_nRow; }

protected:
    void OnRefresh() override;
    void OnApply() override;
    void OnWritesDone() override;
    bool OnInitDialog() override;

private:
    void ShowRow();
    void OnPortReply(const WalkOutcome& outcome);
    void Move(int nStep);

    CSpanTree* m_pSpanTree = nullptr;   // not owned
    int m_nRow = 0;
    CSnmpScalarRead m_read;
    CSetSequence* m_pWrite = nullptr;
    QString m_strStpVersion;    // bridge version as read ("3" = MSTP)
    QString m_strBridgeMaxAge;  // bridge maximum age as read (hundredths)
    QString m_strLbdState;      // loop-back detection of the port as read

    QPushButton* m_pPrev = nullptr;          // 1111
    QPushButton* m_pNext = nullptr;          // 2222
    QLabel* m_pPort = nullptr;               // 1075
    QCheckBox* m_pEnable = nullptr;          // 1009
    QComboBox* m_pPriority = nullptr;        // 1007
    QLineEdit* m_pCost = nullptr;            // 23
    QComboBox* m_pMigrate = nullptr;         // 1162
    QComboBox* m_pP2P = nullptr;             // 1163
    QComboBox* m_pForwardBpdu = nullptr;     // 1164
    QComboBox* m_pEdge = nullptr;            // 1165
    QComboBox* m_pRestrictedRole = nullptr;  // 1166
    QComboBox* m_pRestrictedTcn = nullptr;   // 1161
    QLineEdit* m_pHello = nullptr;           // 1167
};
