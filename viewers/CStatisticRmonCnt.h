#pragma once

// "RMON 1 Group Parameter": one chosen etherStats counter for the entries
// of a CStatisticRmon1, 24 entries a page, polled every 2 s with one get per
// slot. SNMPv1 only.

#include "CDirectSnmpDialog.h"

#include <array>

class CStatisticRmon1;
class QComboBox;
class QLabel;
class QPushButton;

class CStatisticRmonCnt : public CDirectSnmpDialog
{
    Q_OBJECT
public:
    static constexpr int kSlots = 24;

    CStatisticRmonCnt(CStatisticRmon1& source, int nPage, int nPageCount, QWidget* parent = nullptr);

    // The etherStats column that counter item `position` polls (-1: none).
    static int CounterColumn(int position);

    QComboBox* ParameterCombo() const { return m_pParameter; }
    QLabel* ItemLabel(int slot) const { return m_pLabel[slot - 1]; }    // slot 1..24
    QLabel* ItemValue(int slot) const { return m_pValue[slot - 1]; }
    QPushButton* PrevButton() const { return m_pPrev; }
    QPushButton* NextButton() const { return m_pNext; }
    int Page() const { return m_nPage; }

    ~CStatisticRmonCnt() override;

    void OnRefresh() override { Poll(); }

public slots:
    void Poll();
    void OnNextGroup();
    void OnPrevGroup();

protected:
    bool OnInitDialog() override;

private:
    void LabelItems();
    void HideUnusedItems();
    void ShowAllItems();

    CStatisticRmon1& m_source;
    int m_nPage = 1;
    int m_nPageCount = 0;
    std::array<CDirectWalk, kSlots> m_slots;
    std::array<bool, kSlots> m_bSlotFailed{};   // a send the SNMP layer refused: never polled again
    QLabel* m_pLabel[kSlots] = {};
    QLabel* m_pValue[kSlots] = {};
    QComboBox* m_pParameter = nullptr;
    QPushButton* m_pPrev = nullptr;
    QPushButton* m_pNext = nullptr;
};
