#pragma once

// The switch's power-saving settings and its time-profile table: the read of
// the power-saving objects, the request of each write, and the layout of the
// time-profile rows that the power-saving and PoE dialogs refer to by name.
// Writes are handed out as set steps so that the dialog sends them without
// blocking and reports the step that failed.

#include "CModuleBase.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

class CListCtrlEx;
class CSetSequence;
struct SnmpSetValue;
struct SnmpRow;

struct POWER_SAVE_ROW
{
    int nType = 0;          // 1 LED shut-off, 2 port shut-off, 3 port standby, 4 system hibernation
    QString strPorts;       // range text ("1-4,7"); "All Port" for system hibernation
    QString strState;       // "1" enabled, "2" disabled
    QString strProfile1;    // empty when the switch holds "None"
    QString strProfile2;
};

struct POWER_SAVE_GLOBAL
{
    QString strCableLength;   // "1" enabled, "2" disabled
    QString strLinkStatus;
};

// One time window: a row of the time-profile table (and of the PoE time
// ranges, which share its columns). Month, day, hour and minute are held as
// two-digit text; the date fields are empty when the date flag is "2".
struct TIME_PROFILE_ROW
{
    QString strIndex;
    QString strName;
    QString strDateFlag;                  // "1" dated, "2" not
    QString strStartYear, strStartMonth, strStartDay, strStartHour, strStartMinute;
    QString strEndYear, strEndMonth, strEndDay, strEndHour, strEndMinute;
    std::array<QString, 7> strDays;       // Monday..Sunday, "1" included, "2" not
    QString strRowStatus;

    // The cells of a list row: name, weekdays, from day, to day, start
    // and end time.
    QStringList ListTexts() const;
    // "Mon,Tue,..." for the included days.
    QString WeekdayText() const;
    QString FromDayText() const;   // "2012/05/09", empty without a date
    QString ToDayText() const;
    QString StartTimeText() const; // "08:30"
    QString EndTimeText() const;
};

namespace PowerSaveOid {
extern const QString kBase;           // …4.1.31
extern const QString kProfileEntry;   // …4.1.32.1.1
QString PortBitmap(int nType);        // empty for system hibernation
QString State(int nType);
QString Profile1(int nType);
QString Profile2(int nType);
extern const QString kCableLength;
extern const QString kLinkStatus;
}

class CPowSavSettings : public CModuleBase
{
public:
    CPowSavSettings();

    static constexpr int kMaxProfiles = 8;

    // The 17 objects of the power-saving read, in request order.
    static QStringList PowerSavingOids();
    // The values of that read by position (raw octets for the bitmaps);
    // then Rows() and Global() hold what the switch holds. False when one
    // is missing.
    bool TakePowerSaving(const QList<QByteArray>& values);
    const std::array<POWER_SAVE_ROW, 4>& Rows() const { return m_rows; }
    const POWER_SAVE_GLOBAL& Global() const { return m_global; }

    // The copper-port bound of a feature on this model (LED shut-off and
    // port standby cannot act on the fiber ports of the 20- and 28-port
    // models).
    int PortLimit(int nType) const;
    // Checks the row and adds its one set step. Empty when added, else the
    // message already shown ("Invalid Portlist", "Not support fiber Port.").
    QString SetPowerSaving(const POWER_SAVE_ROW& row, CSetSequence& sequence) const;
    void SetPowerSavingExtra(const POWER_SAVE_GLOBAL& global, CSetSequence& sequence) const;

    // Time-profile table columns .2 to .21 (the row index is the instance).
    static QStringList TimeProfileColumns(const QString& strEntry);
    // The row of a walk; false when it lacks a column (a cut-off row ends the
    // table).
    static bool TakeTimeRow(const SnmpRow& row, TIME_PROFILE_ROW& out);
    // The rows of a complete walk up to the first one cut short; with
    // bActiveOnly only those whose row status is "1".
    static QList<TIME_PROFILE_ROW> TakeTimeRows(const QList<SnmpRow>& rows, bool bActiveOnly);
    // The active rows of a complete walk, also shown in pList (emptied
    // first), one line per row.
    static QList<TIME_PROFILE_ROW> ShowActiveTimeRows(const QList<SnmpRow>& rows, CListCtrlEx* pList);
    // The window's columns of a row, in the switch's order: date flag,
    // the dates when flagged, the times, the weekdays (not the name, not
    // the row status).
    static QList<SnmpSetValue> TimeWindowValues(const QString& strEntry, const TIME_PROFILE_ROW& row);
    // The lowest index from 1 to 8 that no row holds; 0 when all are taken.
    static int FreeTimeIndex(const QList<TIME_PROFILE_ROW>& rows);
    // Row status "5", then the columns with "1" last, under the row's index.
    static void SetTimeWindowSteps(const QString& strEntry, const TIME_PROFILE_ROW& row, CSetSequence& sequence);
    // One step, named strStep, that destroys the row of that index.
    static void RemoveTimeWindowStep(const QString& strEntry, const QString& strIndex, const QString& strStep,
                                     CSetSequence& sequence);
    void SetTimeProfile(const TIME_PROFILE_ROW& row, CSetSequence& sequence) const;
    void DeleteTimeProfile(const QString& strIndex, CSetSequence& sequence) const;

private:
    std::array<POWER_SAVE_ROW, 4> m_rows;
    POWER_SAVE_GLOBAL m_global;
};
