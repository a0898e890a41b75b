#pragma once

// "RMON 1 Statistic Info": the switch's RMON Ethernet statistics entries
// (etherStatsTable), adding and deleting an entry, and the two counter
// views, which read this dialog's entries. SNMPv1 only.

#include "CDirectSnmpDialog.h"

#include <functional>

class CRmon1Entry;
class QLabel;
class QPushButton;

class CStatisticRmon1 : public CDirectSnmpDialog
{
    Q_OBJECT
public:
    explicit CStatisticRmon1(QWidget* parent = nullptr);

    static constexpr int kMaxEntries = 5000;

    CListCtrlEx* List() const { return m_list; }
    QLabel* CountLabel() const { return m_pCount; }
    QPushButton* AddButton() const { return m_pAdd; }
    QPushButton* DeleteButton() const { return m_pDelete; }
    QPushButton* ParameterButton() const { return m_pParameter; }
    QPushButton* InterfaceButton() const { return m_pInterface; }
    CDirectWalk& EntryWalk() { return m_cEntryWalk; }

    // What the counter views read: the entry count and the index of each
    // entry, row n of the list being entry n. Both start again whenever the
    // list is walked again.
    int EntryCount() const { return m_nEntryCount; }
    const QStringList& EntryIndexes() const { return m_strEntryIndex; }
    int InterfaceCount() const { return m_nInterfaceCount; }
    int CurrentPort() const { return m_nCurrentPort; }

    // How the modal dialogs run (tests answer them without a user).
    std::function<bool(CRmon1Entry&)> m_runEntryForm;
    std::function<void(QDialog&)> m_runCounterView;

    void OnRefresh() override;

public slots:
    void OnListClick();
    void OnAdd();
    void OnDelete();
    void OnParameter();
    void OnInterface();
    void OnListDblClick();

private:
    void ReadIfNumber();
    // Empties the list and walks it again, unless a walk is pending (that
    // walk completes the list).
    void Refill();
    void FetchEntries();

    CDirectWalk m_cEntryWalk;
    CDirectWalk m_cIfNumber;
    CListCtrlEx* m_list = nullptr;
    QLabel* m_pCount = nullptr;
    QPushButton* m_pAdd = nullptr;
    QPushButton* m_pDelete = nullptr;
    QPushButton* m_pParameter = nullptr;
    QPushButton* m_pInterface = nullptr;
    int m_nInterfaceCount = 0;
    int m_nCurrentPort = 1;
    int m_nEntryCount = 0;
    QStringList m_strEntryIndex;
};
