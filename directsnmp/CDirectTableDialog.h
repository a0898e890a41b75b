#pragma once

// The stand-alone table view: one walk of some columns into a report list,
// one row per answer (binding i in column i), an optional "Entries:" count,
// Refresh and Close. Refresh while the walk is pending starts no second
// walk and keeps the list, so the pending walk completes it; otherwise it
// empties the list and walks again.
//
//     class CRouterMap : public CDirectTableDialog {
//         CRouterMap() : CDirectTableDialog(Form::DirectSettings, "Router Table",
//                          {1194, {"Destination", ...}, {"1.3.6.1.2.1.4.21.1.1", ...}, 3, 1195}) {}
//         QStringList RowTexts(const CDirectWalk::Response& r) const override;  // optional
//     };

#include "CDirectSnmpDialog.h"

class CDirectTableDialog : public CDirectSnmpDialog
{
    Q_OBJECT
public:
    struct Table
    {
        unsigned nListId = 0;
        QStringList headings;
        QList<QByteArray> columns;   // walked OIDs, binding order
        unsigned nRefreshId = 3;
        unsigned nCountId = 0;       // 0: no count
        QString strGroup;            // group box around the list, or none
    };

    CListCtrlEx* List() const { return m_pList; }
    QLabel* CountLabel() const { return m_pCount; }
    CDirectWalk& Walk() { return m_walk; }

    void OnRefresh() override;

protected:
    CDirectTableDialog(Form form, const QString& strCaption, Table table, QWidget* parent = nullptr);

    // The list texts of one answer (default: every binding's value text).
    // An empty list ends the walk without a row.
    virtual QStringList RowTexts(const CDirectWalk::Response& response) const;
    // Starts the walk unless one is pending; true when it started.
    bool FetchTable();
    // Called when the walk has ended (not when cancelled).
    virtual void OnWalkEnd(int) {}

    const Table m_table;
    CDirectWalk m_walk;

private:
    CListCtrlEx* m_pList = nullptr;
    QLabel* m_pCount = nullptr;
};
