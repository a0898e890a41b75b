// The one widget helper of CUtils, kept apart so that the conversions build
// without the widget library.

#include "CUtils.h"
#include "GlobalSettings.h"

#include <QComboBox>

void CUtils::FillDayCombo(QComboBox* year, QComboBox* month, QComboBox* day)
{
    if (!year || !month || !day)
        return;
    const int days = SettingToInt(DaysInMonthText(year->currentText(), month->currentText()));
    day->clear();
    for (int d = 1; d <= days; ++d)
        day->addItem(QString::number(d));
    day->setCurrentIndex(0);
}
