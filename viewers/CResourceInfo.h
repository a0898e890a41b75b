#pragma once

// "Resource Information": the processor's utilization over 1 second, 1
// minute and 5 minutes, read again every five seconds, over SNMPv1 or v3.
// A tick while the previous read is unanswered sends nothing; an answer
// that never comes ends that read at its time-out, so the next tick polls
// again.

#include "CDirectSnmpDialog.h"

class CResourceInfo : public CDirectSnmpDialog
{
    Q_OBJECT
public:
    static constexpr int kPollMs = 5000;

    explicit CResourceInfo(QWidget* parent = nullptr);

    CListCtrlEx* CpuList() const { return m_pCpuList; }
    CListCtrlEx* MibTreeList() const { return m_pTreeList; }
    CDirectWalk& CpuWalk() { return m_walkCpu; }
    CDirectWalk& MibTreeWalk() { return m_walkTree; }

    // The hidden MIB-tree list's walk; nothing in the dialog starts it.
    void FetchMibTree();

public slots:
    void OnRefresh() override;

private:
    void ReadCpu();

    CListCtrlEx* m_pCpuList = nullptr;
    CListCtrlEx* m_pTreeList = nullptr;
    CDirectWalk m_walkCpu;
    CDirectWalk m_walkTree;
};
