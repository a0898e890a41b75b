#pragma once

// "Time Range Information": the switch's PoE time ranges (at most eight
// named time windows), with Add and Edit through TimeBasedConfig and the
// removal of the selected range.

#include "CConfigDialog.h"
#include "CPowSavSettings.h"

#include <QList>

class CListCtrlEx;
class QPushButton;

class TimeRangInfo : public CConfigDialog
{
    Q_OBJECT
public:
    explicit TimeRangInfo(QWidget* parent = nullptr);

    // The table's entry; its columns are those of the time profiles.
    static const QString kEntry;
    static constexpr int kMaxRanges = 8;

    CListCtrlEx* List() const { return m_pList; }
    QPushButton* AddButton() const { return m_pAdd; }
    QPushButton* EditButton() const { return m_pEdit; }
    QPushButton* DeleteButton() const { return m_pDelete; }
    // The active ranges as listed, in index order.
    const QList<TIME_PROFILE_ROW>& Ranges() const { return m_rows; }

    // The form opened by Add and Edit; a test replaces it to drive the form
    // before it runs (the default runs it modally).
    std::function<void(QDialog&)> m_runForm;

protected:
    void OnRefresh() override;

private:
    void OnWalkEnd(int nTicket, const WalkOutcome& outcome);
    void OnAdd();
    void OnEdit();
    void OnDelete();
    // The selected row, or -1 after the message for `strMessage`.
    int SelectedRow(const QString& strMessage);

    CListCtrlEx* m_pList = nullptr;
    QPushButton* m_pAdd = nullptr;
    QPushButton* m_pEdit = nullptr;
    QPushButton* m_pDelete = nullptr;
    CSnmpRowWalk* m_pWalk = nullptr;
    CSetSequence* m_pWrites = nullptr;
    QList<TIME_PROFILE_ROW> m_rows;
};
