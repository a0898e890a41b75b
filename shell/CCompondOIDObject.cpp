#include "CCompondOIDObject.h"

int CCompondOIDObject::KindOf(const QString& elementName)
{
    if (elementName == QLatin1String("POEMODEOID"))
        return KIND_POEMODE;
    if (elementName == QLatin1String("PORTTYPE"))
        return KIND_PORTTYPE;
    if (elementName == QLatin1String("POEOID"))
        return KIND_POE;
    if (elementName == QLatin1String("LINKOID"))
        return KIND_LINK;
    return KIND_OTHER;
}

bool CCompondOIDObject::Add(const QString& elementName, const QString& oid)
{
    if (GetCount() >= kMaxEntries)
        return false;
    m_arrEntries.push_back({KindOf(elementName), oid, QString()});
    return true;
}

QString CCompondOIDObject::GetPoeModeValue() const
{
    if (GetCount() != 3 || m_arrEntries[0].kind != KIND_POEMODE)
        return QString();
    if (m_arrEntries[0].value == QLatin1String("LINKOID"))
        return m_arrEntries[1].kind == KIND_LINK ? m_arrEntries[1].value : m_arrEntries[2].value;
    return m_arrEntries[1].kind == KIND_POE ? m_arrEntries[1].value : m_arrEntries[2].value;
}

QString CCompondOIDObject::GetMediumValue(const QString& type) const
{
    if (GetCount() != 2)
        return QString();
    const QString& medium = m_arrEntries[0].value;
    if ((medium == QLatin1String("CABLEOID") && type == QLatin1String("CABLE"))
        || (medium == QLatin1String("FIBEROID") && type == QLatin1String("FIBER")))
        return m_arrEntries[1].value;
    return QStringLiteral("1");
}

QString CCompondOIDObject::GetValue() const
{
    if (GetCount() == 1)
        return m_arrEntries[0].value;
    if (GetCount() != 2)
        return QString();
    const QString one = QStringLiteral("1");
    if (m_arrEntries[0].value != one)
        return m_arrEntries[0].value;
    if (m_arrEntries[1].value != one)
        return m_arrEntries[1].value;
    return one;
}
