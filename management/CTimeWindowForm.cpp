#include "CTimeWindowForm.h"

#include "CUtils.h"
#include "TextLimit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

QComboBox* NumberList(int lo, int hi, QWidget* parent)
{
    auto* list = new QComboBox(parent);
    for (int n = lo; n <= hi; ++n)
        list->addItem(QString::number(n));
    list->setCurrentIndex(0);
    return list;
}

} // namespace

CTimeWindowForm::CTimeWindowForm(const QString& strTitle, const QString& strNameLabel, int nFirstYear, int nLastYear,
                                 QWidget* parent)
    : QWidget(parent)
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* box = new QGroupBox(strTitle, this);
    outer->addWidget(box);
    auto* grid = new QGridLayout(box);

    m_pName = new QLineEdit(box);
    SetTextLimit(m_pName, 20);
    grid->addWidget(new QLabel(strNameLabel, box), 0, 0);
    grid->addWidget(m_pName, 0, 1, 1, 3);

    m_pDate = new QCheckBox(tr("Date"), box);
    grid->addWidget(m_pDate, 1, 0);
    const int ranges[10][2] = {{nFirstYear, nLastYear}, {1, 12}, {1, 31}, {nFirstYear, nLastYear}, {1, 12}, {1, 31},
                               {0, 23}, {0, 59}, {0, 23}, {0, 59}};
    for (int i = 0; i < 10; ++i)
        m_pLists[size_t(i)] = NumberList(ranges[i][0], ranges[i][1], box);
    const char* const labels[4] = {"From Day ", "To Day ", "Start Time", "End Time"};
    for (int r = 0; r < 4; ++r) {
        grid->addWidget(new QLabel(tr(labels[r]), box), 2 + r, 0);
        const int first = r < 2 ? r * 3 : 6 + (r - 2) * 2;
        const int count = r < 2 ? 3 : 2;
        for (int c = 0; c < count; ++c)
            grid->addWidget(m_pLists[size_t(first + c)], 2 + r, 1 + c);
        if (r >= 2)
            grid->addWidget(new QLabel(tr("Hours(HH MM)"), box), 2 + r, 3);
    }

    m_pAllDays = new QCheckBox(tr("Select All Days"), box);
    grid->addWidget(new QLabel(tr("Weekdays"), box), 6, 0);
    grid->addWidget(m_pAllDays, 6, 1, 1, 3);
    auto* days = new QHBoxLayout;
    const char* const names[7] = {"Mon ", "Tue", "Wed ", "Thu", "Fri ", "Sat", "Sun"};
    for (int d = 0; d < 7; ++d) {
        m_pDays[size_t(d)] = new QCheckBox(tr(names[d]), box);
        days->addWidget(m_pDays[size_t(d)]);
    }
    days->addStretch(1);
    grid->addLayout(days, 7, 0, 1, 4);

    connect(m_pDate, &QCheckBox::toggled, this, &CTimeWindowForm::UpdateDateLists);
    connect(m_pAllDays, &QCheckBox::clicked, this, [this](bool bChecked) {
        for (QCheckBox* day : m_pDays)
            day->setChecked(bChecked);
    });
    // Each day list follows its month and year.
    for (int side = 0; side < 2; ++side) {
        QComboBox* year = m_pLists[size_t(side * 3)];
        QComboBox* month = m_pLists[size_t(side * 3 + 1)];
        QComboBox* day = m_pLists[size_t(side * 3 + 2)];
        const auto refill = [year, month, day] { CUtils::FillDayCombo(year, month, day); };
        connect(year, &QComboBox::currentIndexChanged, this, refill);
        connect(month, &QComboBox::currentIndexChanged, this, refill);
    }
    UpdateDateLists();
}

void CTimeWindowForm::UpdateDateLists()
{
    for (int i = 0; i < 6; ++i)
        m_pLists[size_t(i)]->setEnabled(m_pDate->isChecked());
}

bool CTimeWindowForm::SelectNumber(QComboBox* list, int nValue)
{
    const int at = list->findText(QString::number(nValue), Qt::MatchExactly);
    if (at < 0)
        return false;
    list->setCurrentIndex(at);
    return true;
}

QString CTimeWindowForm::CheckWindow(bool bDated, int fy, int fm, int fd, int ty, int tm, int td, int sh, int smin,
                                     int eh, int emin)
{
    const int start = sh * 100 + smin;
    const int end = eh * 100 + emin;
    if (start == end)
        return QStringLiteral("'Start Time' and 'End Time' can't be the same");
    if (bDated) {
        const long from = fy * 10000L + fm * 100 + fd;
        const long to = ty * 10000L + tm * 100 + td;
        if (from > to) {
            if (fy > ty)
                return QStringLiteral("'To year' can't be less than 'From year'");
            if (fm <= tm)
                return QStringLiteral("'To day' can't be less than 'From day'");
            return QStringLiteral("'To month' can't be less than 'From month'");
        }
        if (from < to)
            return {};
    }
    if (start > end)
        return QStringLiteral("'Start Time' can't be grater than 'End Time'");
    return {};
}

QString CTimeWindowForm::TakeWindow(TIME_PROFILE_ROW& row) const
{
    int v[10];
    for (int i = 0; i < 10; ++i) {
        bool ok = false;
        v[i] = m_pLists[size_t(i)]->currentText().toInt(&ok);
        if (!ok && (i >= 6 || m_pDate->isChecked()))
            return QStringLiteral("Please select the date and time.");
    }
    const bool dated = m_pDate->isChecked();
    const QString why = CheckWindow(dated, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9]);
    if (!why.isEmpty())
        return why;
    const auto two = [](int n) { return QString::number(n).rightJustified(2, u'0'); };
    row.strDateFlag = dated ? QStringLiteral("1") : QStringLiteral("2");
    if (dated) {
        row.strStartYear = QString::number(v[0]);
        row.strStartMonth = two(v[1]);
        row.strStartDay = two(v[2]);
        row.strEndYear = QString::number(v[3]);
        row.strEndMonth = two(v[4]);
        row.strEndDay = two(v[5]);
    } else {
        row.strStartYear = row.strStartMonth = row.strStartDay = QString();
        row.strEndYear = row.strEndMonth = row.strEndDay = QString();
    }
    row.strStartHour = two(v[6]);
    row.strStartMinute = two(v[7]);
    row.strEndHour = two(v[8]);
    row.strEndMinute = two(v[9]);
    for (int d = 0; d < 7; ++d)
        row.strDays[size_t(d)] = m_pDays[size_t(d)]->isChecked() ? QStringLiteral("1") : QStringLiteral("2");
    return {};
}

void CTimeWindowForm::LoadWindow(const TIME_PROFILE_ROW& row)
{
    m_pName->setText(row.strName);
    const bool dated = row.strDateFlag == QLatin1String("1");
    m_pDate->setChecked(dated);
    if (dated) {
        const QString date[6] = {row.strStartYear, row.strStartMonth, row.strStartDay,
                                 row.strEndYear,   row.strEndMonth,   row.strEndDay};
        for (int i = 0; i < 6; ++i)   // day after its month and year: they refill it
            SelectNumber(m_pLists[size_t(i)], date[i].toInt());
    }
    const QString time[4] = {row.strStartHour, row.strStartMinute, row.strEndHour, row.strEndMinute};
    for (int i = 0; i < 4; ++i)
        SelectNumber(m_pLists[size_t(6 + i)], time[i].toInt());
    for (int d = 0; d < 7; ++d)
        m_pDays[size_t(d)]->setChecked(row.strDays[size_t(d)] == QLatin1String("1"));
}
