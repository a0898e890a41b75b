#include "CMibXMLParse.h"

#include "CSnmp.h"
#include "CSnmpV1.h"

#include <QFile>

namespace {

const QString kName = QStringLiteral("NAME");
const QString kType = QStringLiteral("TYPE");
const QString kDesc = QStringLiteral("DESC");
const QString kAccess = QStringLiteral("ACCESS");
const QString kValue = QStringLiteral("VALUE");
const QString kRetValue = QStringLiteral("RETVALUE");
const QString kSuffix = QStringLiteral("SUFFIX");

} // namespace

bool CMibXMLParse::Load(const QString& fileName, const QString& section)
{
    return LoadFile(fileName) && FindSection(section) && CheckSection();
}

bool CMibXMLParse::LoadFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QDomDocument document;
    if (!document.setContent(&file))
        return false;
    m_document = document;
    return true;
}

bool CMibXMLParse::FindSection(const QString& section)
{
    const QDomElement root = m_document.documentElement();
    if (root.isNull() || root.tagName() != QLatin1String("MIB"))
        return false;
    for (QDomNode node = root.firstChild(); !node.isNull(); node = node.nextSibling()) {
        if (node.isElement() && node.nodeName() == section) {
            m_section = node.toElement();
            return true;
        }
    }
    return false;
}

bool CMibXMLParse::CheckSection()
{
    if (m_section.isNull())
        return false;
    m_entries = m_section.childNodes();
    m_nEntryCount = m_entries.count();
    m_bHaveEntries = true;
    return true;
}

bool CMibXMLParse::AttachFirstSection(const QDomDocument& document)
{
    const QDomElement root = document.documentElement();
    if (root.isNull() || root.tagName() != QLatin1String("MIB"))
        return false;
    const QDomElement section = root.firstChild().toElement();
    if (section.isNull())
        return false;
    m_document = document;
    m_section = section;
    return CheckSection();
}

bool CMibXMLParse::ChildText(const QDomElement& entry, const QString& tag, QString& text)
{
    if (entry.isNull())
        return false;
    const QDomElement child = entry.firstChildElement(tag);
    if (child.isNull())
        return false;
    // Layout blanks around a value are no part of it.
    text = child.text().trimmed();
    return true;
}

bool CMibXMLParse::AddOidsToPdu(CSnmp& request, const QString& suffix)
{
    if (m_section.isNull() || m_section.firstChild().isNull())
        return false;
    for (QDomNode node = m_section.firstChild(); !node.isNull(); node = node.nextSibling()) {
        QString name;
        if (!ChildText(node.toElement(), kName, name))
            return false;
        if (!suffix.isEmpty())
            name += QLatin1Char('.') + suffix;
        if (request.addValue(name.toLatin1().constData(), SNMP_TYPE_NULL, nullptr) != SNMP_OK)
            return false;
    }
    return true;
}

int CMibXMLParse::TypeCode(const QString& typeText)
{
    static const QList<QPair<QString, int>> kTypes = {
        {QStringLiteral("INTEGER"), SNMP_TYPE_INTEGER},
        {QStringLiteral("Integer32"), SNMP_TYPE_INTEGER},
        {QStringLiteral("OCTET STRING"), SNMP_TYPE_OCTETS},
        {QStringLiteral("DisplayString"), SNMP_TYPE_OCTETS},
        {QStringLiteral("OBJECT IDENTIFIER"), SNMP_TYPE_OID},
        {QStringLiteral("IpAddress"), SNMP_TYPE_IPADDRESS},
        {QStringLiteral("Unsigned32"), SNMP_TYPE_UNSIGNED},
        {QStringLiteral("Gauge32"), SNMP_TYPE_UNSIGNED},
    };
    for (const auto& [text, code] : kTypes)
        if (text == typeText)
            return code;
    return 0;
}

bool CMibXMLParse::AddWritesToPdu(CSnmp& request)
{
    struct Write
    {
        QByteArray oid;
        int type;
        QByteArray value;
    };
    // Checked whole before anything is added: half a write list must never
    // reach the switch.
    QList<Write> writes;
    for (QDomNode node = m_section.firstChild(); !node.isNull(); node = node.nextSibling()) {
        const QDomElement entry = node.toElement();
        QString name, access;
        if (!ChildText(entry, kName, name))
            return false;
        if (!ChildText(entry, kAccess, access) || !access.contains(QLatin1String("WRITE")))
            continue;
        QString typeText;
        GetEntryType(entry, typeText);
        const int type = TypeCode(typeText);
        if (access.contains(QLatin1String("INDEX"))) {
            MibValueList suffixes;
            GetEntryRetSuffixes(entry, suffixes);
            if (!suffixes.isEmpty() && type == 0)
                return false;
            for (const _value& s : suffixes)
                writes.append({(name + QLatin1Char('.') + s.name).toLatin1(), type, s.value.toUtf8()});
            continue;
        }
        QString value;
        if (!GetEntryRetValueText(entry, value))
            continue;
        if (type == 0)
            return false;
        writes.append({name.toLatin1(), type, value.toUtf8()});
    }
    CSnmpV1 probe(SNMP_PDU_SET);   // the values are checked on a scratch request first
    for (const Write& w : writes) {
        const int rc = w.type == SNMP_TYPE_OCTETS
                           ? probe.addValue(w.oid.constData(), w.type, w.value.constData(), int(w.value.size()))
                           : probe.addValue(w.oid.constData(), w.type, w.value.constData());
        if (rc != SNMP_OK)
            return false;
    }
    for (const Write& w : writes) {
        if (w.type == SNMP_TYPE_OCTETS)
            request.addValue(w.oid.constData(), w.type, w.value.constData(), int(w.value.size()));
        else
            request.addValue(w.oid.constData(), w.type, w.value.constData());
    }
    return true;
}

bool CMibXMLParse::FindEntryByName(const QString& oid, QDomElement& entry) const
{
    for (QDomNode node = m_section.firstChild(); !node.isNull(); node = node.nextSibling()) {
        QString name;
        if (!ChildText(node.toElement(), kName, name))
            return false;
        if (name == oid) {
            entry = node.toElement();
            return true;
        }
    }
    return false;
}

bool CMibXMLParse::GetEntryName(const QDomElement& entry, QString& text) const { return ChildText(entry, kName, text); }
bool CMibXMLParse::GetEntryType(const QDomElement& entry, QString& text) const { return ChildText(entry, kType, text); }
bool CMibXMLParse::GetEntryDesc(const QDomElement& entry, QString& text) const { return ChildText(entry, kDesc, text); }
bool CMibXMLParse::GetEntryAccess(const QDomElement& entry, QString& text) const { return ChildText(entry, kAccess, text); }
bool CMibXMLParse::GetEntryRetValueText(const QDomElement& entry, QString& text) const
{
    return ChildText(entry, kRetValue, text);
}

bool CMibXMLParse::GetEntryValues(const QDomElement& entry, MibValueList& values) const
{
    if (entry.isNull())
        return false;
    const QDomElement list = entry.firstChildElement(kValue);
    if (list.isNull())
        return false;
    for (QDomElement v = list.firstChildElement(); !v.isNull(); v = v.nextSiblingElement())
        values.append({v.tagName(), v.text().trimmed()});
    return true;
}

bool CMibXMLParse::GetEntryRetSuffixes(const QDomElement& entry, MibValueList& values) const
{
    if (entry.isNull())
        return false;
    const QDomElement ret = entry.firstChildElement(kRetValue);
    if (ret.isNull())
        return false;
    for (QDomElement s = ret.firstChildElement(kSuffix); !s.isNull(); s = s.nextSiblingElement(kSuffix)) {
        _value record;
        ChildText(s, kName, record.name);
        ChildText(s, kValue, record.value);
        values.append(record);
    }
    return true;
}

bool CMibXMLParse::SetEntryRetValue(QDomElement& entry, const QString& text)
{
    if (entry.isNull())
        return false;
    QDomElement ret = entry.firstChildElement(kRetValue);
    if (ret.isNull())
        return AppendTextElement(entry, kRetValue, text);
    while (!ret.firstChild().isNull())
        ret.removeChild(ret.firstChild());
    ret.appendChild(m_document.createTextNode(text));
    return true;
}

bool CMibXMLParse::AddEntryRetSuffix(QDomElement& entry, const QString& suffix, const QString& value)
{
    if (entry.isNull())
        return false;
    QDomElement ret = entry.firstChildElement(kRetValue);
    if (ret.isNull()) {
        ret = m_document.createElement(kRetValue);
        entry.appendChild(ret);
    }
    QDomElement record = m_document.createElement(kSuffix);
    ret.appendChild(record);
    return AppendTextElement(record, kName, suffix) && AppendTextElement(record, kValue, value);
}

bool CMibXMLParse::AppendTextElement(QDomNode& parent, const QString& tag, const QString& text)
{
    if (parent.isNull() || m_document.isNull())
        return false;
    QDomElement element = m_document.createElement(tag);
    element.appendChild(m_document.createTextNode(text));
    return !parent.appendChild(element).isNull();
}

bool CMibXMLParse::GetTypeByName(const QString& oid, QString& text) const
{
    QDomElement e;
    return FindEntryByName(oid, e) && GetEntryType(e, text);
}
bool CMibXMLParse::GetDescByName(const QString& oid, QString& text) const
{
    QDomElement e;
    return FindEntryByName(oid, e) && GetEntryDesc(e, text);
}
bool CMibXMLParse::GetAccessByName(const QString& oid, QString& text) const
{
    QDomElement e;
    return FindEntryByName(oid, e) && GetEntryAccess(e, text);
}
bool CMibXMLParse::GetValuesByName(const QString& oid, MibValueList& values) const
{
    QDomElement e;
    return FindEntryByName(oid, e) && GetEntryValues(e, values);
}
bool CMibXMLParse::GetRetValueTextByName(const QString& oid, QString& text) const
{
    QDomElement e;
    return FindEntryByName(oid, e) && GetEntryRetValueText(e, text);
}
bool CMibXMLParse::GetRetSuffixesByName(const QString& oid, MibValueList& values) const
{
    QDomElement e;
    return FindEntryByName(oid, e) && GetEntryRetSuffixes(e, values);
}
bool CMibXMLParse::SetRetValueByName(const QString& oid, const QString& text)
{
    QDomElement e;
    return FindEntryByName(oid, e) && SetEntryRetValue(e, text);
}
bool CMibXMLParse::AddRetSuffixByName(const QString& oid, const QString& suffix, const QString& value)
{
    QDomElement e;
    return FindEntryByName(oid, e) && AddEntryRetSuffix(e, suffix, value);
}

bool CMibXMLParse::EntryAt(int n, QString& text) const
{
    const QDomNode first = m_entries.item(n).firstChild();
    if (first.isNull())
        return false;
    text = first.toElement().text().trimmed();
    return true;
}

bool CMibXMLParse::GetFirstName(QString& text)
{
    if (!m_bHaveEntries || m_nEntryCount == 0 || !EntryAt(0, text))
        return false;
    m_nCursor = 0;
    return true;
}

bool CMibXMLParse::GetNextName(QString& text)
{
    if (!m_bHaveEntries || m_nCursor == -1)
        return false;
    if (m_nCursor + 1 >= m_nEntryCount)
        return false;
    ++m_nCursor;
    return EntryAt(m_nCursor, text);
}
