#pragma once

// The texts of a report list, for comparing rows and columns in tests.

#include "CListCtrlEx.h"

#include <QStringList>

inline QStringList ListRow(const CListCtrlEx* list, int row)
{
    QStringList texts;
    for (int c = 0; c < list->GetColumnCount(); ++c)
        texts << list->GetItemText(row, c);
    return texts;
}

inline QStringList ListColumn(const CListCtrlEx* list, int column)
{
    QStringList texts;
    for (int r = 0; r < list->GetItemCount(); ++r)
        texts << list->GetItemText(r, column);
    return texts;
}
