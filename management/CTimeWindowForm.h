#pragma once

// The form of one time window (name, optional date range, daily start and
// end time, weekdays) shared by the time profiles and the PoE time ranges,
// with the one date and time check both use. The day lists follow the
// selected month and year, so a day that does not exist cannot be chosen.

#include "CPowSavSettings.h"

#include <QWidget>
#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;

class CTimeWindowForm : public QWidget
{
    Q_OBJECT
public:
    CTimeWindowForm(const QString& strTitle, const QString& strNameLabel, int nFirstYear, int nLastYear,
                    QWidget* parent = nullptr);

    QLineEdit* NameEdit() const { return m_pName; }
    QCheckBox* DateCheck() const { return m_pDate; }
    QCheckBox* AllDaysCheck() const { return m_pAllDays; }
    QCheckBox* DayCheck(int nDay) const { return m_pDays[size_t(nDay)]; }   // 0 Monday .. 6 Sunday
    // 0..5 from year, month, day, to year, month, day; 6..9 start hour, minute, end hour, minute.
    QComboBox* List(int n) const { return m_pLists[size_t(n)]; }

    // Selects a value by its number in a list (false when absent).
    static bool SelectNumber(QComboBox* list, int nValue);

    // The date and time check; empty when the window is sound, else the
    // message to show. Without a date both days count as the same.
    static QString CheckWindow(bool bDated, int fy, int fm, int fd, int ty, int tm, int td, int sh, int smin,
                               int eh, int emin);
    // Checks the form and fills the window fields of `row` (not its index
    // or name); empty when sound, else the message to show.
    QString TakeWindow(TIME_PROFILE_ROW& row) const;
    // Shows a stored window (edit of an existing one).
    void LoadWindow(const TIME_PROFILE_ROW& row);

private:
    void UpdateDateLists();

    QLineEdit* m_pName = nullptr;
    QCheckBox* m_pDate = nullptr;
    QCheckBox* m_pAllDays = nullptr;
    std::array<QCheckBox*, 7> m_pDays{};
    std::array<QComboBox*, 10> m_pLists{};
};
