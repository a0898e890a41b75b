#pragma once

// A typing limit for an edit that shows values read from the switch.
// QLineEdit's maximum length cuts a text when it is set, so a longer value
// read from the switch would be shown cut and Apply would write the cut text
// back. This limit only stops typing past it: a longer text that was set is
// shown whole and may be shortened; Apply refuses it with TextLimitMessage.
//
//     SetTextLimit(m_pName, 20);
//     SetTextLimit(m_pPort, 5, QStringLiteral("[0-9]*"));   // digits only as well
//     ...
//     if (const QString why = TextLimitMessage(m_pName, tr("System Name")); !why.isEmpty())
//         return Message(why);

#include <QString>

class QLineEdit;

// nLimit characters at most while typing; strPattern, when given, is what
// the whole typed text must match (typed text only, as with any validator).
void SetTextLimit(QLineEdit* edit, int nLimit, const QString& strPattern = QString());
// The edit's limit (0 when it has none).
int TextLimit(const QLineEdit* edit);
// Empty while the edit's text is within its limit, else
// "System Name may have at most 20 characters."
QString TextLimitMessage(const QLineEdit* edit, const QString& strField);
