#include "ComboPrefix.h"

#include <QComboBox>

void SelectComboPrefix(QComboBox* pCombo, const QString& strText)
{
    if (!pCombo || strText.isEmpty())
        return;
    for (int i = 0; i < pCombo->count(); ++i)
        if (pCombo->itemText(i).startsWith(strText, Qt::CaseInsensitive)) {
            pCombo->setCurrentIndex(i);
            return;
        }
}
