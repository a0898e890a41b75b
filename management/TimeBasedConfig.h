#pragma once

// "Time Based PoE Config": adds a PoE time range at the lowest free index,
// or changes the time window of an existing one in place (its name and
// index stay). It reads the table itself, so its checks run on what the
// switch holds now.

#include "CConfigDialog.h"
#include "CPowSavSettings.h"

#include <QList>

class CTimeWindowForm;

class TimeBasedConfig : public CConfigDialog
{
    Q_OBJECT
public:
    // An empty index adds a range; otherwise the range of that index is
    // edited.
    explicit TimeBasedConfig(const QString& strEditIndex = QString(), QWidget* parent = nullptr);

    CTimeWindowForm* Form() const { return m_pForm; }
    bool IsEdit() const { return !m_strEditIndex.isEmpty(); }

protected:
    void OnRefresh() override;
    void OnApply() override;
    QString UndoResultText(bool bOk, const SnmpSetFailure& undoFailure) const override;

private:
    void OnWalkEnd(int nTicket, const WalkOutcome& outcome);

    QString m_strEditIndex;
    CTimeWindowForm* m_pForm = nullptr;
    CSnmpRowWalk* m_pWalk = nullptr;
    CSetSequence* m_pWrites = nullptr;
    CSetSequence* m_pUndo = nullptr;
    QList<TIME_PROFILE_ROW> m_rows;   // every row of the table, active or not
    QString m_strCreated;             // index of a row being made by this Apply
};
