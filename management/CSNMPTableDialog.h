#pragma once

// What the SNMP-agent table dialogs (communities, hosts, users, groups,
// views) share: the row list with its Delete button, the table walk that
// gates Apply and Delete, creating a row (createAndWait, columns, active)
// and deleting the selected one, and clearing the inputs only once the
// switch took a new row.

#include "CConfigDialog.h"

#include <QList>
#include <QPair>

class CListCtrlEx;
class CSNMPConfig;
struct SnmpSetValue;

class CSNMPTableDialog : public CConfigDialog
{
public:
    explicit CSNMPTableDialog(const QString& strTitle, QWidget* parent = nullptr);

    CListCtrlEx* List() const { return m_pList; }
    QPushButton* DeleteButton() const { return m_pDelete; }

    void OnModuleNotify(unsigned nMessage, int nCode, const void* pData) override;
    void OnDelete();

protected:
    CSNMPConfig* Config() const;
    // The list in a group box titled `caption`, below what the dialog added
    // before: columns as heading and width.
    void AddTable(const QString& caption, const QList<QPair<QString, int>>& columns);
    // The first column's texts of every listed row.
    QStringList ColumnTexts(int column) const;

    // Starts the table's walk; rows come to OnRow, the end settles the read.
    virtual bool StartWalk() = 0;
    virtual void OnRow(int nCode, const void* pData) = 0;
    // RowStatus OID of a listed row; empty when it cannot be addressed.
    virtual QString RowStatusOid(int item) const = 0;
    virtual QString NoSelectionMessage() const { return QStringLiteral("Please select the item would be delete!\n"); }
    virtual void ClearInputs() {}

    // createAndWait, the column requests, active; inputs cleared after.
    void RunCreate(const QString& statusOid, const QList<QList<SnmpSetValue>>& requests, const QString& what);

    void OnRefresh() override;
    void OnWritesDone() override;

private:
    CListCtrlEx* m_pList = nullptr;
    QPushButton* m_pDelete = nullptr;
    CSetSequence* m_pWrites = nullptr;
    int m_nTicket = -1;
    bool m_bClearInputs = false;
};
