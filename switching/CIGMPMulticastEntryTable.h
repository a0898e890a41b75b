#pragma once

// "Multicast Entry Table": the multicast groups the switch has learned,
// numbered in the order of the table. Read only.

#include "CConfigDialog.h"

class CListCtrlEx;
class CSnmpRowWalk;

class CIGMPMulticastEntryTable : public CConfigDialog
{
    Q_OBJECT
public:
    explicit CIGMPMulticastEntryTable(QWidget* parent = nullptr);

    CListCtrlEx* List() const { return m_pList; }

protected:
    void OnRefresh() override;
    bool OnInitDialog() override;

private:
    CSnmpRowWalk* m_pWalk = nullptr;
    CListCtrlEx* m_pList = nullptr;   // 3338
};
