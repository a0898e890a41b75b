#include "CPowSavSettings.h"

#include "CListCtrlEx.h"
#include "CSetSequence.h"
#include "CSnmpRowWalk.h"
#include "CUtils.h"
#include "GlobalSettings.h"
#include "MessageSink.h"

#include <set>
#include <vector>

namespace PowerSaveOid {
const QString kBase = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.31");
const QString kProfileEntry = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.32.1.1");
const QString kCableLength = kBase + QStringLiteral(".5.0");
const QString kLinkStatus = kBase + QStringLiteral(".6.0");

namespace {
// System hibernation has no bitmap: its state and profiles sit one place up.
QString Scalar(int nType, int nColumn)
{
    if (nType == 4)
        return QStringLiteral("%1.4.%2.0").arg(kBase).arg(nColumn - 1);
    return QStringLiteral("%1.%2.%3.0").arg(kBase).arg(nType).arg(nColumn);
}
} // namespace

QString PortBitmap(int nType) { return nType == 4 ? QString() : Scalar(nType, 1); }
QString State(int nType) { return Scalar(nType, 2); }
QString Profile1(int nType) { return Scalar(nType, 3); }
QString Profile2(int nType) { return Scalar(nType, 4); }
} // namespace PowerSaveOid

namespace {

const QString kNone = QStringLiteral("None");
const QString kAllPort = QStringLiteral("All Port");

QString ProfileFromSwitch(const QByteArray& value)
{
    const QString name = QString::fromUtf8(value);
    return name == kNone ? QString() : name;
}

QString TwoDigits(const QString& text)
{
    return text.size() >= 2 ? text.right(2) : text.rightJustified(2, u'0');
}

} // namespace

QStringList TIME_PROFILE_ROW::ListTexts() const
{
    return {strName, WeekdayText(), FromDayText(), ToDayText(), StartTimeText(), EndTimeText()};
}

QString TIME_PROFILE_ROW::WeekdayText() const
{
    static const char* const kDays[7] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    QStringList days;
    for (int i = 0; i < 7; ++i)
        if (strDays[size_t(i)] == QLatin1String("1"))
            days << QLatin1String(kDays[i]);
    return days.join(u',');
}

QString TIME_PROFILE_ROW::FromDayText() const
{
    return strDateFlag == QLatin1String("1") ? strStartYear + u'/' + strStartMonth + u'/' + strStartDay : QString();
}

QString TIME_PROFILE_ROW::ToDayText() const
{
    return strDateFlag == QLatin1String("1") ? strEndYear + u'/' + strEndMonth + u'/' + strEndDay : QString();
}

QString TIME_PROFILE_ROW::StartTimeText() const { return strStartHour + u':' + strStartMinute; }
QString TIME_PROFILE_ROW::EndTimeText() const { return strEndHour + u':' + strEndMinute; }

CPowSavSettings::CPowSavSettings()
{
    for (int i = 0; i < 4; ++i)
        m_rows[size_t(i)].nType = i + 1;
}

QStringList CPowSavSettings::PowerSavingOids()
{
    QStringList oids;
    for (int type = 1; type <= 4; ++type) {
        if (type != 4)
            oids << PowerSaveOid::PortBitmap(type);
        oids << PowerSaveOid::State(type) << PowerSaveOid::Profile1(type) << PowerSaveOid::Profile2(type);
    }
    oids << PowerSaveOid::kCableLength << PowerSaveOid::kLinkStatus;
    return oids;
}

bool CPowSavSettings::TakePowerSaving(const QList<QByteArray>& values)
{
    if (values.size() != 17)
        return false;
    std::array<POWER_SAVE_ROW, 4> rows;
    int pos = 0;
    for (int type = 1; type <= 4; ++type) {
        POWER_SAVE_ROW& row = rows[size_t(type - 1)];
        row.nType = type;
        if (type == 4) {
            row.strPorts = kAllPort;
        } else {
            const QByteArray& bitmap = values[pos++];
            CUtils::PortBitmapToRangeList(reinterpret_cast<const unsigned char*>(bitmap.constData()),
                                          int(qMin<qsizetype>(bitmap.size(), 8)), 1, g_nDevicePortNum, row.strPorts);
        }
        row.strState = QString::fromUtf8(values[pos++]);
        row.strProfile1 = ProfileFromSwitch(values[pos++]);
        row.strProfile2 = ProfileFromSwitch(values[pos++]);
    }
    m_rows = rows;
    m_global.strCableLength = QString::fromUtf8(values[pos++]);
    m_global.strLinkStatus = QString::fromUtf8(values[pos++]);
    return true;
}

int CPowSavSettings::PortLimit(int nType) const
{
    if (nType == 1 || nType == 3) {
        if (g_strDeviceName == QLatin1String("PQS-4400-20"))
            return 16;
        if (g_strDeviceName == QLatin1String("PQS-4400-28"))
            return 24;
    }
    return g_nDevicePortNum;
}

QString CPowSavSettings::SetPowerSaving(const POWER_SAVE_ROW& row, CSetSequence& sequence) const
{
    const int type = row.nType;
    if (type < 1 || type > 4)
        return QStringLiteral("Invalid type");
    QByteArray bitmap;
    // The port text is checked also for a feature being disabled, although
    // that write carries its state alone.
    if (type != 4) {
        std::vector<int> flags(size_t(qMax(g_nDevicePortNum, 1)), 0);
        if (!CUtils::ParsePortList(row.strPorts, flags.data()))
            return QStringLiteral("Invalid Portlist");
        const int limit = PortLimit(type);
        for (int port = limit + 1; port <= g_nDevicePortNum; ++port)
            if (flags[size_t(port - 1)]) {
                const QString why = QStringLiteral("Not support fiber Port.");
                AfxMessageBox(why, MB_OK);
                return why;
            }
        bitmap = CUtils::PortArrayToOctets(flags.data());
    }
    const QString what = QStringLiteral("power saving");
    if (row.strState == QLatin1String("2")) {
        sequence.Add(what, {SnmpSetValue::Integer(PowerSaveOid::State(type), 2)});
        return {};
    }
    const auto profile = [](const QString& name) { return name.isEmpty() ? kNone : name; };
    const SnmpSetValue state = SnmpSetValue::Integer(PowerSaveOid::State(type), 1);
    const SnmpSetValue p1 = SnmpSetValue::Text(PowerSaveOid::Profile1(type), profile(row.strProfile1));
    const SnmpSetValue p2 = SnmpSetValue::Text(PowerSaveOid::Profile2(type), profile(row.strProfile2));
    if (type == 4)
        sequence.Add(what, {state, p1, p2});
    else if (type == 3)   // the switch takes port standby's ports last
        sequence.Add(what, {state, p1, p2, SnmpSetValue::Octets(PowerSaveOid::PortBitmap(type), bitmap)});
    else
        sequence.Add(what, {state, SnmpSetValue::Octets(PowerSaveOid::PortBitmap(type), bitmap), p1, p2});
    return {};
}

void CPowSavSettings::SetPowerSavingExtra(const POWER_SAVE_GLOBAL& global, CSetSequence& sequence) const
{
    sequence.Add(QStringLiteral("detection settings"),
                 {SnmpSetValue::Integer(PowerSaveOid::kCableLength, global.strCableLength.toInt()),
                  SnmpSetValue::Integer(PowerSaveOid::kLinkStatus, global.strLinkStatus.toInt())});
}

QStringList CPowSavSettings::TimeProfileColumns(const QString& strEntry)
{
    QStringList columns;
    for (int column = 2; column <= 21; ++column)
        columns << QStringLiteral("%1.%2").arg(strEntry).arg(column);
    return columns;
}

bool CPowSavSettings::TakeTimeRow(const SnmpRow& row, TIME_PROFILE_ROW& out)
{
    for (int i = 0; i < 20; ++i)
        if (!row.Has(i))
            return false;
    // Columns start at .2: cell i is column i + 2.
    const auto cell = [&row](int column) { return row.Text(column - 2); };
    out = TIME_PROFILE_ROW();
    out.strIndex = row.strIndex;
    out.strName = cell(2);
    out.strDateFlag = cell(3);
    if (out.strDateFlag == QLatin1String("1")) {
        out.strStartYear = cell(4);
        out.strStartMonth = TwoDigits(cell(5));
        out.strStartDay = TwoDigits(cell(6));
        out.strEndYear = cell(9);
        out.strEndMonth = TwoDigits(cell(10));
        out.strEndDay = TwoDigits(cell(11));
    }
    out.strStartHour = TwoDigits(cell(7));
    out.strStartMinute = TwoDigits(cell(8));
    out.strEndHour = TwoDigits(cell(12));
    out.strEndMinute = TwoDigits(cell(13));
    for (int d = 0; d < 7; ++d)
        out.strDays[size_t(d)] = cell(14 + d);
    out.strRowStatus = cell(21);
    return true;
}

QList<TIME_PROFILE_ROW> CPowSavSettings::TakeTimeRows(const QList<SnmpRow>& rows, bool bActiveOnly)
{
    QList<TIME_PROFILE_ROW> taken;
    for (const SnmpRow& walked : rows) {
        TIME_PROFILE_ROW row;
        if (!TakeTimeRow(walked, row))
            break;   // a row cut short ends the table
        if (!bActiveOnly || row.strRowStatus == QLatin1String("1"))
            taken << row;
    }
    return taken;
}

QList<TIME_PROFILE_ROW> CPowSavSettings::ShowActiveTimeRows(const QList<SnmpRow>& rows, CListCtrlEx* pList)
{
    QList<TIME_PROFILE_ROW> active = TakeTimeRows(rows, true);
    pList->DeleteAllItems();
    for (const TIME_PROFILE_ROW& row : active)
        pList->AppendRow(row.ListTexts());
    return active;
}

QList<SnmpSetValue> CPowSavSettings::TimeWindowValues(const QString& strEntry, const TIME_PROFILE_ROW& row)
{
    const QString instance = u'.' + row.strIndex;
    const auto number = [&](int n, const QString& text) {
        return SnmpSetValue::Integer(QStringLiteral("%1.%2").arg(strEntry).arg(n) + instance, text.toLongLong());
    };
    QList<SnmpSetValue> values;
    values << number(3, row.strDateFlag);
    if (row.strDateFlag == QLatin1String("1"))
        values << number(4, row.strStartYear) << number(5, row.strStartMonth) << number(6, row.strStartDay)
               << number(9, row.strEndYear) << number(10, row.strEndMonth) << number(11, row.strEndDay);
    values << number(7, row.strStartHour) << number(8, row.strStartMinute) << number(12, row.strEndHour)
           << number(13, row.strEndMinute);
    for (int d = 0; d < 7; ++d)
        values << number(14 + d, row.strDays[size_t(d)]);
    return values;
}

int CPowSavSettings::FreeTimeIndex(const QList<TIME_PROFILE_ROW>& rows)
{
    std::set<int> used;
    for (const TIME_PROFILE_ROW& row : rows)
        used.insert(row.strIndex.toInt());
    for (int index = 1; index <= kMaxProfiles; ++index)
        if (!used.count(index))
            return index;
    return 0;
}

void CPowSavSettings::SetTimeWindowSteps(const QString& strEntry, const TIME_PROFILE_ROW& row, CSetSequence& sequence)
{
    const QString instance = u'.' + row.strIndex;
    const auto column = [&](int n) { return QStringLiteral("%1.%2").arg(strEntry).arg(n) + instance; };
    sequence.Add(QStringLiteral("row creation"), {SnmpSetValue::Integer(column(21), 5)});
    QList<SnmpSetValue> values;
    values << SnmpSetValue::Text(column(2), row.strName) << TimeWindowValues(strEntry, row);
    values << SnmpSetValue::Integer(column(21), 1);
    sequence.Add(QStringLiteral("time settings"), values, 50);
}

void CPowSavSettings::SetTimeProfile(const TIME_PROFILE_ROW& row, CSetSequence& sequence) const
{
    SetTimeWindowSteps(PowerSaveOid::kProfileEntry, row, sequence);
}

void CPowSavSettings::RemoveTimeWindowStep(const QString& strEntry, const QString& strIndex, const QString& strStep,
                                           CSetSequence& sequence)
{
    sequence.Add(strStep, {SnmpSetValue::Integer(strEntry + QStringLiteral(".21.") + strIndex, 6)});
}

void CPowSavSettings::DeleteTimeProfile(const QString& strIndex, CSetSequence& sequence) const
{
    RemoveTimeWindowStep(PowerSaveOid::kProfileEntry, strIndex, QStringLiteral("profile removal"), sequence);
}
