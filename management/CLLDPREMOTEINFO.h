#pragma once

// "LLDP Remote Port Information": the neighbours the switch learned by
// LLDP, one row per neighbour with the local port and the remote index
// taken from the row's index (time mark, local port, remote index).

#include "CCommonSNMP.h"
#include "CSnmpScalarRead.h"
#include "CTableViewDialog.h"

class CLLDPREMOTEINFO : public CTableViewDialog
{
    Q_OBJECT
public:
    explicit CLLDPREMOTEINFO(QWidget* parent = nullptr);
    ~CLLDPREMOTEINFO() override;

    // On opening, over SNMPv1 only: checks that LLDP is on, then reads.
    void CheckLldpAndRead();

protected:
    void OnRefresh() override;
    QString CellText(const SnmpRow& row, int nColumn) const override;
    void OnRowsShown(const WalkOutcome& outcome) override;

private:
    CCommonSNMP m_cCommonSNMPState;
    CSnmpScalarRead m_stateRead;
    bool m_bOpened = false;
    bool m_bLldpOff = false;   // read as disabled: the table and Refresh stay off
};
