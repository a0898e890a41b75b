#pragma once

// "PVID Configuration": one PVID edit per port. Apply is possible only once
// the PVIDs and the aggregated links have been read completely; it checks
// the PVIDs against the aggregated links and the listed VLANs and writes
// the ports whose PVID changed.

#include "CConfigDialog.h"
#include "CPvidLogic.h"
#include "VLAN_ENTRY.h"

#include <vector>

class QLabel;
class QLineEdit;

class CPQSPVIDConfig : public CConfigDialog
{
    Q_OBJECT
public:
    explicit CPQSPVIDConfig(const VlanList& list, QWidget* parent = nullptr);

    CPvidLogic* PvidLogic() const { return Logic<CPvidLogic>(); }
    QLineEdit* PvidEdit(int nPort) const;
    // PVIDs of the last complete read (0 = the switch reported none).
    const std::vector<int>& ReadPvids() const { return m_pPvid; }

protected:
    void OnRefresh() override;
    void OnApply() override;
    void OnWritesDone() override;

private:
    void OnPvidWalkEnd(int nTicket, const WalkOutcome& outcome);

    VlanList m_pVlanList;
    std::vector<int> m_pPvid;
    QList<QLabel*> m_pPortLabel;
    QList<QLineEdit*> m_pPvidEdit;
    CSnmpRowWalk* m_pPvidWalk = nullptr;
    CSetSequence* m_pWrites = nullptr;
};
