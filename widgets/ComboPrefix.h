#pragma once

// Selects the first entry of a drop-down list that begins with `text`
// (case-insensitive), as a list box's prefix search does: a table cell
// "Auto" selects "Auto", "Force T" selects "Force True". Nothing changes
// when the text is empty or no entry matches.

class QComboBox;
class QString;

void SelectComboPrefix(QComboBox* pCombo, const QString& strText);
