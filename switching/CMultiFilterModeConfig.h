#pragma once

// "Multicast Filtering Mode Configuration": for every VLAN, whether the
// switch forwards or filters multicast frames of unregistered groups; the
// user changes one VLAN's mode or every listed VLAN's at once.

#include "CConfigDialog.h"

class CListCtrlEx;
class CSetSequence;
class CSnmpRowWalk;
class QCheckBox;
class QComboBox;

class CMultiFilterModeConfig : public CConfigDialog
{
    Q_OBJECT
public:
    explicit CMultiFilterModeConfig(QWidget* parent = nullptr);

    // At most this many values go in one set request, so that every
    // request fits the 484 octets any SNMP agent must take, also under v3.
    static constexpr int kValuesPerRequest = 10;

    static QString ModeColumn();
    static QString ModeText(const QString& strMode);

    CListCtrlEx* List() const { return m_pList; }

protected:
    void OnRefresh() override;
    void OnApply() override;
    bool CanApply() const override;

private:
    void OnWalkEnd(int nTicket, const WalkOutcome& outcome);
    void FillList();
    void OnAll();

    CSnmpRowWalk* m_pFilterWalk = nullptr;
    CSnmpRowWalk* m_pNameWalk = nullptr;
    CSetSequence* m_pWrites = nullptr;
    int m_nWalksEnded = 0;

    CListCtrlEx* m_pList = nullptr;   // 1126
    QCheckBox* m_pAll = nullptr;      // 1193
    QComboBox* m_pVlan = nullptr;     // 1192
    QComboBox* m_pMode = nullptr;     // 1125
};
