#pragma once

// "Time Profile Info": the switch's time profiles (at most eight), a form
// that adds one at the lowest free index, and the removal of the selected
// one.

#include "CConfigDialog.h"
#include "CPowSavSettings.h"

#include <QList>

class CListCtrlEx;
class CTimeWindowForm;
class QPushButton;

class CTimeProfileInfo : public CConfigDialog
{
    Q_OBJECT
public:
    explicit CTimeProfileInfo(QWidget* parent = nullptr);

    CTimeWindowForm* Form() const { return m_pForm; }
    CListCtrlEx* List() const { return m_pList; }
    QPushButton* AddButton() const { return ApplyButton(); }
    QPushButton* DeleteButton() const { return m_pDelete; }
    // The active profiles as listed, in index order.
    const QList<TIME_PROFILE_ROW>& Profiles() const { return m_rows; }

    // The lowest index from 1 to 8 that no listed profile holds; 0 when
    // all are taken.
    static int FreeIndex(const QList<TIME_PROFILE_ROW>& rows);

protected:
    void OnRefresh() override;
    void OnApply() override;

private:
    void OnWalkEnd(int nTicket, const WalkOutcome& outcome);
    void OnDelete();

    CTimeWindowForm* m_pForm = nullptr;
    CListCtrlEx* m_pList = nullptr;
    QPushButton* m_pDelete = nullptr;
    CSnmpRowWalk* m_pWalk = nullptr;
    CSetSequence* m_pWrites = nullptr;
    CSetSequence* m_pUndo = nullptr;   // removes a row the add left half made
    QList<TIME_PROFILE_ROW> m_rows;
};
