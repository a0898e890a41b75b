#include "StatusText.h"

#include "CCommonSNMP.h"
#include "GlobalSettings.h"

#include <QLocale>

namespace StatusText {

QString Reading()
{
    return QStringLiteral("Reading…");
}

QString ReadingRows(int nRows)
{
    const QString count = QLocale(QLocale::English).toString(nRows);
    return nRows == 1 ? QStringLiteral("Reading… 1 row") : QStringLiteral("Reading… %1 rows").arg(count);
}

QString Writing(int nStep, int nTotal)
{
    return QStringLiteral("Writing step %1 of %2…").arg(nStep).arg(nTotal);
}

QString NoAnswer()
{
    return QStringLiteral("No answer from %1").arg(g_strDeviceIP.trimmed());
}

QString Refused(const QString& strReason)
{
    return QStringLiteral("Refused: %1").arg(strReason);
}

QString ReadFailed(const QString& strWhat)
{
    return QStringLiteral("Read failed: %1").arg(strWhat);
}

QString Written(int nSettings)
{
    return nSettings == 1 ? QStringLiteral("Written: 1 setting") : QStringLiteral("Written: %1 settings").arg(nSettings);
}

QString Then(const QString& strFirst, const QString& strNext)
{
    if (strFirst.isEmpty())
        return strNext;
    if (strNext.isEmpty())
        return strFirst;
    return strFirst + QStringLiteral(". ") + strNext;
}

QString SessionFailure(const CCommonSNMP& session)
{
    return session.GetLastResult() == SNMP_NO_ANSWER ? NoAnswer() : session.GetLastResultText();
}

} // namespace StatusText
