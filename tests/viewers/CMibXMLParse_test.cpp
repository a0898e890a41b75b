// The MIB description file's reader on small documents: section lookup,
// entry walks and lookups, the cursor, the values and the writes it puts on
// a request; and the file the program ships.

#include "CMibXMLParse.h"
#include "CSnmpV1.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class MibXmlTest : public ::testing::Test
{
protected:
    // Writes `body` inside <MIB>...</MIB> to a file and gives its path.
    QString Write(const QString& body, const QString& name = QStringLiteral("t.xml"))
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("<?xml version=\"1.0\"?>\n<MIB>\n%1\n</MIB>\n").arg(body).toUtf8());
        return path;
    }

    static QStringList Oids(CSnmp& request)
    {
        QStringList oids;
        for (int i = 0; i < request.getVarBindCount(); ++i) {
            char* oid = nullptr;
            request.getOid(i, &oid);
            oids << QString::fromLatin1(oid);
        }
        return oids;
    }

    QTemporaryDir m_dir;
};

QString Entry(const QString& tag, const QString& name, const QString& rest = QString())
{
    return QStringLiteral("<%1><NAME>%2</NAME><DESC>%1 label</DESC>%3</%1>").arg(tag, name, rest);
}

const QString kTwoSections = QStringLiteral("<DEVINFO>") + Entry("a", "1.3.6.1.2.1.1.1") + Entry("b", "1.3.6.1.2.1.1.3")
                             + QStringLiteral("</DEVINFO><DEVCFG>")
                             + Entry("c", "1.3.6.1.2.1.11.30", "<VALUE><Enabled>1</Enabled><Disabled>2</Disabled></VALUE>")
                             + QStringLiteral("</DEVCFG>");

// Which documents load with which section: names compare exactly, case
// included; a missing file, a broken document, another root or a missing
// section fail.
TEST_F(MibXmlTest, LoadFindsSectionsExactly)
{
    struct Case
    {
        const char* what;
        QString body;
        const char* section;
        bool loads;
        bool missingFile = false;
    };
    const QList<Case> cases = {
        {"upper-case section", kTwoSections, "DEVCFG", true},
        {"second section too", kTwoSections, "DEVINFO", true},
        {"lower-case asked", kTwoSections, "devcfg", false},
        {"absent section", kTwoSections, "DEVX", false},
        {"empty section passes", QStringLiteral("<DEVCFG/>"), "DEVCFG", true},
        {"not well-formed", QStringLiteral("<DEVCFG>"), "DEVCFG", false},
        {"missing file", kTwoSections, "DEVCFG", false, true},
    };
    for (const Case& c : cases) {
        QString path = Write(c.body);
        if (c.missingFile)
            path = m_dir.filePath(QStringLiteral("absent.xml"));
        CMibXMLParse xml;
        EXPECT_EQ(xml.Load(path, QString::fromLatin1(c.section)), c.loads) << c.what;
        // A reader that did not load finds nothing and adds nothing.
        if (!c.loads) {
            CSnmpV1 request(SNMP_PDU_GET);
            EXPECT_FALSE(xml.AddOidsToPdu(request, QStringLiteral("0"))) << c.what;
            EXPECT_EQ(request.getVarBindCount(), 0) << c.what;
            QString name;
            EXPECT_FALSE(xml.GetFirstName(name)) << c.what;
            EXPECT_FALSE(xml.GetNextName(name)) << c.what;
        }
    }

    // Another root element: nothing is a section.
    QFile f(m_dir.filePath(QStringLiteral("other.xml")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<MIBS><DEVCFG/></MIBS>");
    f.close();
    CMibXMLParse xml;
    EXPECT_FALSE(xml.Load(f.fileName(), QStringLiteral("DEVCFG")));
}

// Every entry's OID with the suffix, in document order; a comment between
// entries stops the walk there: the OIDs before it stay, and it fails.
TEST_F(MibXmlTest, OidsInOrderAndCommentStops)
{
    CMibXMLParse xml;
    ASSERT_TRUE(xml.Load(Write(kTwoSections), QStringLiteral("DEVINFO")));
    CSnmpV1 request(SNMP_PDU_GET);
    EXPECT_TRUE(xml.AddOidsToPdu(request, QStringLiteral("0")));
    EXPECT_EQ(Oids(request), QStringList({"1.3.6.1.2.1.1.1.0", "1.3.6.1.2.1.1.3.0"}));
    EXPECT_EQ(request.getValueType(0), SNMP_TYPE_NULL);

    CMibXMLParse commented;
    ASSERT_TRUE(commented.Load(Write(QStringLiteral("<DEVINFO>") + Entry("a", "1.3.6.1.2.1.1.1")
                                         + QStringLiteral("<!-- between -->") + Entry("b", "1.3.6.1.2.1.1.3")
                                         + QStringLiteral("</DEVINFO>")),
                               QStringLiteral("DEVINFO")));
    CSnmpV1 partial(SNMP_PDU_GET);
    EXPECT_FALSE(commented.AddOidsToPdu(partial, QStringLiteral("0")));
    EXPECT_EQ(Oids(partial), QStringList({"1.3.6.1.2.1.1.1.0"}));

    CMibXMLParse empty;
    ASSERT_TRUE(empty.Load(Write(QStringLiteral("<DEVINFO></DEVINFO>")), QStringLiteral("DEVINFO")));
    CSnmpV1 none(SNMP_PDU_GET);
    EXPECT_FALSE(empty.AddOidsToPdu(none, QStringLiteral("0")));
}

// Values: one record per VALUE child (tag = name, text = value) in order;
// an empty VALUE gives none but succeeds; no VALUE fails. A duplicate NAME
// always finds the first entry.
TEST_F(MibXmlTest, ValuesEmptyValueAndDuplicateName)
{
    const QString body = QStringLiteral("<DEVCFG>")
                         + Entry("first", "1.3.6.1.2.1.11.30", "<VALUE><Enabled>1</Enabled><Disabled>2</Disabled></VALUE>")
                         + Entry("empty", "1.3.6.1.2.1.4.1", "<VALUE/>") + Entry("plain", "1.3.6.1.2.1.1.5")
                         + Entry("second", "1.3.6.1.2.1.11.30", "<VALUE><Other>9</Other></VALUE>")
                         + QStringLiteral("</DEVCFG>");
    CMibXMLParse xml;
    ASSERT_TRUE(xml.Load(Write(body), QStringLiteral("DEVCFG")));

    MibValueList values;
    ASSERT_TRUE(xml.GetValuesByName(QStringLiteral("1.3.6.1.2.1.11.30"), values));
    ASSERT_EQ(values.size(), 2);
    EXPECT_EQ(values[0].name, "Enabled");
    EXPECT_EQ(values[0].value, "1");
    EXPECT_EQ(values[1].name, "Disabled");
    EXPECT_EQ(values[1].value, "2");
    QString desc;
    ASSERT_TRUE(xml.GetDescByName(QStringLiteral("1.3.6.1.2.1.11.30"), desc));
    EXPECT_EQ(desc, "first label");

    // Appended to, never cleared.
    EXPECT_TRUE(xml.GetValuesByName(QStringLiteral("1.3.6.1.2.1.4.1"), values));
    EXPECT_EQ(values.size(), 2);
    EXPECT_FALSE(xml.GetValuesByName(QStringLiteral("1.3.6.1.2.1.1.5"), values));
    EXPECT_FALSE(xml.GetValuesByName(QStringLiteral("1.3.6.1.2.1.1.99"), values));
    EXPECT_FALSE(xml.GetDescByName(QStringLiteral("1.3.6.1.2.1.11"), desc)) << "a prefix is no match";
    EXPECT_EQ(values.size(), 2);
}

// The name cursor: nothing before the first, every entry once in order,
// then false at the end and after it.
TEST_F(MibXmlTest, NameCursorWalksToTheEnd)
{
    CMibXMLParse xml;
    ASSERT_TRUE(xml.Load(Write(QStringLiteral("<DEVCFG>") + Entry("a", "1.1") + Entry("b", "1.2") + Entry("c", "1.3")
                               + QStringLiteral("</DEVCFG>")),
                         QStringLiteral("DEVCFG")));
    QString name = QStringLiteral("untouched");
    EXPECT_FALSE(xml.GetNextName(name));
    EXPECT_EQ(name, "untouched");
    QStringList seen;
    ASSERT_TRUE(xml.GetFirstName(name));
    seen << name;
    while (xml.GetNextName(name))
        seen << name;
    EXPECT_EQ(seen, QStringList({"1.1", "1.2", "1.3"}));
    EXPECT_FALSE(xml.GetNextName(name));
    EXPECT_EQ(name, "1.3");
    // The first again restarts it.
    ASSERT_TRUE(xml.GetFirstName(name));
    ASSERT_TRUE(xml.GetNextName(name));
    EXPECT_EQ(name, "1.2");

    CMibXMLParse empty;
    ASSERT_TRUE(empty.Load(Write(QStringLiteral("<DEVCFG/>")), QStringLiteral("DEVCFG")));
    EXPECT_FALSE(empty.GetFirstName(name));
    EXPECT_FALSE(empty.GetNextName(name));
}

// The writes: each TYPE text becomes its code, a string goes whole (no cut
// at a fixed buffer), per-index values go to NAME.suffix in order; entries
// without WRITE or without RETVALUE add nothing. An unknown type, or a value
// its type does not take, adds nothing at all.
TEST_F(MibXmlTest, WritesTypedWholeOrNotAtAll)
{
    const QString longText(300, QLatin1Char('x'));
    const QString body =
        QStringLiteral("<DEVCFG>")
        + QStringLiteral("<a><NAME>1.3.6.1.2.1.11.30</NAME><TYPE>INTEGER</TYPE><ACCESS>READ-WRITE</ACCESS><RETVALUE>2</RETVALUE></a>")
        + QStringLiteral("<b><NAME>1.3.6.1.2.1.1.4</NAME><TYPE>DisplayString</TYPE><ACCESS>READ-WRITE</ACCESS><RETVALUE>%1</RETVALUE></b>").arg(longText)
        + QStringLiteral("<c><NAME>1.3.6.1.2.1.1.5</NAME><TYPE>DisplayString</TYPE><ACCESS>READ-ONLY</ACCESS><RETVALUE>no</RETVALUE></c>")
        + QStringLiteral("<d><NAME>1.3.6.1.2.1.2.2.1.7</NAME><TYPE>INTEGER</TYPE><ACCESS>READ-WRITE INDEX</ACCESS>"
                         "<RETVALUE><SUFFIX><NAME>3</NAME><VALUE>2</VALUE></SUFFIX><SUFFIX><NAME>1</NAME><VALUE>1</VALUE></SUFFIX></RETVALUE></d>")
        + QStringLiteral("<e><NAME>1.3.6.1.4.1.9.1</NAME><TYPE>Unsigned32</TYPE><ACCESS>READ-WRITE</ACCESS><RETVALUE>4000000000</RETVALUE></e>")
        + QStringLiteral("<f><NAME>1.3.6.1.4.1.9.2</NAME><TYPE>IpAddress</TYPE><ACCESS>READ-WRITE</ACCESS><RETVALUE>10.0.0.1</RETVALUE></f>")
        + QStringLiteral("<g><NAME>1.3.6.1.4.1.9.3</NAME><TYPE>INTEGER</TYPE><ACCESS>READ-WRITE</ACCESS></g>")
        + QStringLiteral("</DEVCFG>");
    CMibXMLParse xml;
    ASSERT_TRUE(xml.Load(Write(body), QStringLiteral("DEVCFG")));
    CSnmpV1 request(SNMP_PDU_SET);
    ASSERT_TRUE(xml.AddWritesToPdu(request));
    EXPECT_EQ(Oids(request), QStringList({"1.3.6.1.2.1.11.30", "1.3.6.1.2.1.1.4", "1.3.6.1.2.1.2.2.1.7.3",
                                          "1.3.6.1.2.1.2.2.1.7.1", "1.3.6.1.4.1.9.1", "1.3.6.1.4.1.9.2"}));
    const QList<int> types = {SNMP_TYPE_INTEGER, SNMP_TYPE_OCTETS, SNMP_TYPE_INTEGER, SNMP_TYPE_INTEGER,
                              SNMP_TYPE_UNSIGNED, SNMP_TYPE_IPADDRESS};
    for (int i = 0; i < types.size(); ++i)
        EXPECT_EQ(request.getValueType(i), types[i]) << i;

    struct Bad
    {
        const char* what;
        const char* type;
        const char* value;
    };
    for (const Bad& bad : {Bad{"unknown type", "Counter64", "5"}, Bad{"lower-case type", "integer", "5"},
                           Bad{"no type", "", "5"}, Bad{"not a number", "INTEGER", "5x"},
                           Bad{"empty number", "INTEGER", ""}, Bad{"negative unsigned", "Unsigned32", "-1"}}) {
        const QString broken = QStringLiteral("<DEVCFG>")
                               + QStringLiteral("<a><NAME>1.3.6.1.2.1.11.30</NAME><TYPE>INTEGER</TYPE><ACCESS>READ-WRITE</ACCESS><RETVALUE>2</RETVALUE></a>")
                               + QStringLiteral("<b><NAME>1.3.6.1.4.1.9.9</NAME><TYPE>%1</TYPE><ACCESS>READ-WRITE</ACCESS><RETVALUE>%2</RETVALUE></b>")
                                     .arg(QString::fromLatin1(bad.type), QString::fromLatin1(bad.value))
                               + QStringLiteral("</DEVCFG>");
        CMibXMLParse reader;
        ASSERT_TRUE(reader.Load(Write(broken, QStringLiteral("bad.xml")), QStringLiteral("DEVCFG"))) << bad.what;
        CSnmpV1 set(SNMP_PDU_SET);
        EXPECT_FALSE(reader.AddWritesToPdu(set)) << bad.what;
        EXPECT_EQ(set.getVarBindCount(), 0) << bad.what;
    }
}

// The editing operations build what the reading ones then find: a value to
// write replaces the old one, suffix records follow each other, and a
// document loaded elsewhere can be attached by its first section.
TEST_F(MibXmlTest, RetValuesEditedAndFirstSectionAttached)
{
    CMibXMLParse xml;
    ASSERT_TRUE(xml.Load(Write(kTwoSections), QStringLiteral("DEVCFG")));
    const QString oid = QStringLiteral("1.3.6.1.2.1.11.30");
    QString text;
    EXPECT_FALSE(xml.GetRetValueTextByName(oid, text));
    ASSERT_TRUE(xml.SetRetValueByName(oid, QStringLiteral("1")));
    ASSERT_TRUE(xml.SetRetValueByName(oid, QStringLiteral("2")));
    ASSERT_TRUE(xml.GetRetValueTextByName(oid, text));
    EXPECT_EQ(text, "2");

    ASSERT_TRUE(xml.AddRetSuffixByName(oid, QStringLiteral("4"), QStringLiteral("1")));
    ASSERT_TRUE(xml.AddRetSuffixByName(oid, QStringLiteral("7"), QStringLiteral("2")));
    MibValueList suffixes;
    ASSERT_TRUE(xml.GetRetSuffixesByName(oid, suffixes));
    ASSERT_EQ(suffixes.size(), 2);
    EXPECT_EQ(suffixes[0].name, "4");
    EXPECT_EQ(suffixes[1].value, "2");
    EXPECT_FALSE(xml.SetRetValueByName(QStringLiteral("9.9"), QStringLiteral("1")));

    CMibXMLParse attached;
    ASSERT_TRUE(attached.AttachFirstSection(xml.Document()));
    ASSERT_TRUE(attached.GetFirstName(text));
    EXPECT_EQ(text, "1.3.6.1.2.1.1.1");
    EXPECT_EQ(attached.EntryCount(), 2);
    EXPECT_FALSE(CMibXMLParse().AttachFirstSection(QDomDocument()));
}

// The file the program ships: both sections load; every entry has a NAME
// without instance, a label, and every configuration entry its allowed
// values with numeric texts; one entry's label holds "Time". The build
// copies it beside the program.
TEST(MibXmlShippedFile, SectionsComplete)
{
    const QString path = QStringLiteral(VELMARC_SOURCE_DIR "/resources/PQS6048_CFG.XML");
    bool sawTime = false;
    for (const char* section : {"DEVINFO", "DEVCFG"}) {
        CMibXMLParse xml;
        ASSERT_TRUE(xml.Load(path, QString::fromLatin1(section))) << section;
        CSnmpV1 request(SNMP_PDU_GET);
        ASSERT_TRUE(xml.AddOidsToPdu(request, QStringLiteral("0"))) << section;
        ASSERT_GT(request.getVarBindCount(), 0);
        QString name;
        ASSERT_TRUE(xml.GetFirstName(name));
        do {
            EXPECT_TRUE(name.startsWith(QLatin1String("1.3.6.1.2.1."))) << name.toStdString();
            EXPECT_FALSE(name.endsWith(QLatin1String(".0"))) << name.toStdString();
            QString desc;
            EXPECT_TRUE(xml.GetDescByName(name, desc) && !desc.isEmpty()) << name.toStdString();
            sawTime = sawTime || desc.contains(QLatin1String("Time"));
            if (QLatin1String(section) == QLatin1String("DEVCFG")) {
                MibValueList values;
                ASSERT_TRUE(xml.GetValuesByName(name, values)) << name.toStdString();
                EXPECT_GE(values.size(), 2);
                for (const _value& v : values) {
                    bool number = false;
                    v.value.toInt(&number);
                    EXPECT_TRUE(number) << v.name.toStdString();
                }
            }
        } while (xml.GetNextName(name));
    }
    EXPECT_TRUE(sawTime);
    // The build puts it beside the program, where the program looks for it.
    QFile copied(QStringLiteral(VELMARC_BINARY_DIR "/shell/PQS6048_CFG.XML"));
    QFile source(path);
    ASSERT_TRUE(copied.open(QIODevice::ReadOnly));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    EXPECT_EQ(copied.readAll(), source.readAll());
}

} // namespace
