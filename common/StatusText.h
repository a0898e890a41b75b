#pragma once

// The texts of a dialog's status line, one place for all dialogs.

#include <QString>

class CCommonSNMP;

namespace StatusText {

QString Reading();                               // "Reading…"
QString ReadingRows(int nRows);                  // "Reading… 1,200 rows"
QString Writing(int nStep, int nTotal);          // "Writing step 3 of 7…"
QString NoAnswer();                              // "No answer from 10.0.0.1"
QString Refused(const QString& strReason);       // "Refused: wrongValue on 1.3.6…"
QString ReadFailed(const QString& strWhat);      // "Read failed: VLAN table: No answer from 10.0.0.1"
QString Written(int nSettings);                   // "Written: 7 settings"
// Two texts of the line one after the other: "Written: 7 settings. Reading…".
QString Then(const QString& strFirst, const QString& strNext);
// Why the session's last request failed: NoAnswer() for a silent switch,
// else the session's own sentence.
QString SessionFailure(const CCommonSNMP& session);

} // namespace StatusText
