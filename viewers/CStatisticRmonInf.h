#pragma once

// "RMON 1 Interface": the 17 etherStats counters (columns 3 to 19), each
// for an entry of a CStatisticRmon1 chosen on its own row, polled every
// 5 s with one get per row. SNMPv1 only.

#include "CDirectSnmpDialog.h"

#include <array>

class CStatisticRmon1;
class QComboBox;
class QLabel;

class CStatisticRmonInf : public CDirectSnmpDialog
{
    Q_OBJECT
public:
    static constexpr int kRows = 17;

    // Every row starts on the entry at position nEntry of the source.
    CStatisticRmonInf(CStatisticRmon1& source, int nEntry, QWidget* parent = nullptr);

    QComboBox* EntryCombo(int row) const { return m_pEntry[row - 1]; }   // row 1..17
    QLabel* CounterValue(int row) const { return m_pValue[row - 1]; }

    ~CStatisticRmonInf() override;

    void OnRefresh() override { Poll(); }

public slots:
    void Poll();

private:
    std::array<CDirectWalk, kRows> m_rows;
    std::array<bool, kRows> m_bRowFailed{};   // a send the SNMP layer refused: never polled again
    QComboBox* m_pEntry[kRows] = {};
    QLabel* m_pValue[kRows] = {};
};
