#pragma once

// Base of the read-only table viewers: one walk of a few columns into a
// report list, an optional "Entries:" count, Refresh and Close. Rows are
// listed in index order once the walk has ended; a walk that stops early
// lists what arrived and the status line says why. Refresh stays disabled
// while a walk runs (a second walk on the session would interleave).
//
// A derived viewer names its columns (OID, heading, width) and may turn a
// cell into text of its own with CellText(). A column without an OID is not
// walked (its text comes from the index, say); the row's cells follow the
// walked columns in order.

#include "CCommonSNMP.h"
#include "CConfigDialog.h"
#include "CSnmpRowWalk.h"

#include <QList>
#include <QString>

class CListCtrlEx;
class QLabel;

class CTableViewDialog : public CConfigDialog
{
    Q_OBJECT
public:
    struct Column
    {
        QString strOID;       // the column walked; empty: none (CellText fills it)
        QString strHeading;   // list heading, exactly as shown
        int nWidth = -1;      // pixels; -1 fits the heading
        bool bNumber = false; // right-aligned
    };

    // nCountId: control id of the count beside strCountLabel (0: no count).
    CTableViewDialog(const QString& strTitle, QList<Column> columns, unsigned nListId, unsigned nCountId = 0,
                     QWidget* parent = nullptr, const QString& strCountLabel = QStringLiteral("Entries:"));
    ~CTableViewDialog() override;

    CListCtrlEx* List() const { return m_pList; }
    QLabel* CountLabel() const { return m_pCount; }
    CSnmpRowWalk* Walk() const { return m_pWalk; }

protected:
    // Text of list column nColumn of a row (default: the walked value of
    // that column as received).
    virtual QString CellText(const SnmpRow& row, int nColumn) const;
    // Position of list column nColumn among the walked ones (-1: not walked).
    int WalkedColumn(int nColumn) const;
    // Starts the walk (what Refresh does, without the gate's new round).
    void ReadTable();
    // Called after the list has been filled (also after a failed walk).
    virtual void OnRowsShown(const WalkOutcome&) {}

    void OnRefresh() override;
    // Fills the list from the walk's rows.
    void ShowRows();

    CCommonSNMP m_cCommonSNMP;

private:
    QList<Column> m_columns;
    CListCtrlEx* m_pList = nullptr;
    QLabel* m_pCount = nullptr;
    CSnmpRowWalk* m_pWalk = nullptr;
};
