#pragma once

// The MIB description file's reader: one section ("DEVINFO", "DEVCFG", ...)
// of a document whose root element is "MIB". Each child element of the
// section is one entry, described by its own children: "NAME" (the OID
// without instance), "TYPE", "DESC" (the label), "ACCESS", "VALUE" (one
// child per allowed value: tag = display name, text = the value sent) and
// "RETVALUE" (a value to write, or "SUFFIX" records of NAME and VALUE for an
// object written per index). Element names match exactly, case included;
// only the first element of a name under an entry counts.
//
//     CMibXMLParse cfg;
//     if (cfg.Load(path, "DEVCFG")) { cfg.AddOidsToPdu(request, "0"); ... }
//
// Lists of `_value` records are appended to, never cleared.

#include <QDomDocument>
#include <QDomElement>
#include <QDomNodeList>
#include <QList>
#include <QString>

class CSnmp;

struct _value
{
    QString name;
    QString value;
};
using MibValueList = QList<_value>;

class CMibXMLParse
{
public:
    CMibXMLParse() = default;
    virtual ~CMibXMLParse() = default;

    // LoadFile, FindSection, CheckSection: true only if all three succeed.
    bool Load(const QString& fileName, const QString& section);
    // Parses the whole file (a relative name from the current directory).
    bool LoadFile(const QString& fileName);
    // The first child of a "MIB" element whose name is `section`.
    bool FindSection(const QString& section);
    // Caches the section's child list (an empty section passes).
    bool CheckSection();
    // Takes a document loaded elsewhere: exactly one "MIB" element, its
    // first child the section.
    bool AttachFirstSection(const QDomDocument& document);

    // Every entry's NAME (+ "." + suffix) as a get binding, in document
    // order; false on an empty section or at an entry without NAME (the
    // OIDs before it stay in the request).
    bool AddOidsToPdu(CSnmp& request, const QString& suffix = QString());
    // The section's written values (ACCESS with WRITE: RETVALUE; with WRITE
    // and INDEX: one binding per SUFFIX), each typed by the entry's TYPE.
    // All or nothing: an entry without NAME, an unknown TYPE or a value the
    // type does not take adds nothing at all and fails.
    bool AddWritesToPdu(CSnmp& request);
    // The type code a TYPE text stands for (1 INTEGER, 2 OCTET STRING,
    // 3 OBJECT IDENTIFIER, 8 IpAddress, 10 Unsigned32), 0 for none.
    static int TypeCode(const QString& typeText);

    bool FindEntryByName(const QString& oid, QDomElement& entry) const;
    bool GetEntryName(const QDomElement& entry, QString& text) const;
    bool GetEntryType(const QDomElement& entry, QString& text) const;
    bool GetEntryDesc(const QDomElement& entry, QString& text) const;
    bool GetEntryAccess(const QDomElement& entry, QString& text) const;
    bool GetEntryRetValueText(const QDomElement& entry, QString& text) const;
    bool GetEntryValues(const QDomElement& entry, MibValueList& values) const;
    bool GetEntryRetSuffixes(const QDomElement& entry, MibValueList& values) const;
    bool SetEntryRetValue(QDomElement& entry, const QString& text);
    bool AddEntryRetSuffix(QDomElement& entry, const QString& suffix, const QString& value);
    bool AppendTextElement(QDomNode& parent, const QString& tag, const QString& text);

    bool GetTypeByName(const QString& oid, QString& text) const;
    bool GetDescByName(const QString& oid, QString& text) const;
    bool GetAccessByName(const QString& oid, QString& text) const;
    bool GetValuesByName(const QString& oid, MibValueList& values) const;
    bool GetRetValueTextByName(const QString& oid, QString& text) const;
    bool GetRetSuffixesByName(const QString& oid, MibValueList& values) const;
    bool SetRetValueByName(const QString& oid, const QString& text);
    bool AddRetSuffixByName(const QString& oid, const QString& suffix, const QString& value);

    // The first entry's NAME; the cursor moves to it.
    bool GetFirstName(QString& text);
    // The next entry's NAME; false before GetFirstName and past the end.
    bool GetNextName(QString& text);

    const QDomDocument& Document() const { return m_document; }
    int EntryCount() const { return m_nEntryCount; }

private:
    static bool ChildText(const QDomElement& entry, const QString& tag, QString& text);
    bool EntryAt(int n, QString& text) const;

    QDomDocument m_document;
    QDomElement m_section;
    QDomNodeList m_entries;
    int m_nEntryCount = 0;
    int m_nCursor = -1;
    bool m_bHaveEntries = false;
};
