#include "IniFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The station writes User.ini and the device INIs by hand: section and key
// case must not matter, a repeated key gives its first value (as the
// classic profile reader does), and a missing file, section or key gives
// the default rather than a neighbour's value.
TEST(IniFile, LookupRules)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("User.ini"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("; written by the station\n"
               "[Other]\n"
               "DeviceName=wrong section\n"
               "[deviceinfo]\n"
               "devicename = Lab switch 1\n"
               "DEVICENAME = second value\n"
               "Empty=\n");
    file.close();

    struct Case { const char* section; const char* key; const char* expected; };
    const Case cases[] = {
        {"DeviceInfo", "DeviceName", "Lab switch 1"},
        {"DEVICEINFO", "devicename", "Lab switch 1"},
        {"Other", "DeviceName", "wrong section"},
        {"DeviceInfo", "Empty", ""},
        {"DeviceInfo", "Missing", "default"},
        {"Missing", "DeviceName", "default"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IniReadString(path, c.section, c.key, QStringLiteral("default")), QString::fromUtf8(c.expected))
            << c.section << "/" << c.key;
    EXPECT_EQ(IniReadString(dir.filePath(QStringLiteral("none.ini")), "DeviceInfo", "DeviceName", "default"),
              QStringLiteral("default"));
}

// Files edited by hand come indented, with long paths and lists, with CRLF
// and a BOM, with blanks and semicolons inside values and quotes around
// them. The profile reader's rules hold for each: a key is a key wherever
// it is indented, a line is read whole however long, a value is taken as
// written (trimmed, surrounding quotes dropped), and no part of a long
// line is ever read as a line of its own.
TEST(IniFile, OddFilesReadAsTheProfileReaderDoes)
{
    const QByteArray longValue = QByteArray("models/") + QByteArray(240, 'm') + "/pqs.ini";
    struct Case { const char* why; QByteArray content; const char* key; QByteArray expected; };
    const Case cases[] = {
        // An indented key below another key is a key, not a continuation
        // of the value above it.
        {"indented keys", "[DeviceInfo]\n  XMLName=panel.xml\n  DeviceName=PQS-4400-52\n", "DeviceName",
         "PQS-4400-52"},
        {"tab-indented key", "[DeviceInfo]\n\tXMLName=panel.xml\n\tDeviceName=PQS-4400-52\n", "DeviceName",
         "PQS-4400-52"},
        // Paths and value lists may run past 200 characters.
        {"long value", "[DeviceInfo]\nPath=" + longValue + "\n", "Path", longValue},
        // The tail of a long comment line must not become a key.
        {"long comment line", "[DeviceInfo]\n;" + QByteArray(198, 'x') + "DeviceName=wrong\nDeviceName=right\n",
         "DeviceName", "right"},
        // A semicolon inside a value is part of it.
        {"semicolon in value", "[DeviceInfo]\nDeviceName=Core ;rack 3\n", "DeviceName", "Core ;rack 3"},
        {"quoted value", "[DeviceInfo]\nDeviceName=\" Lab switch \"\n", "DeviceName", " Lab switch "},
        {"single-quoted value", "[DeviceInfo]\nDeviceName='Lab'\n", "DeviceName", "Lab"},
        {"lone quote kept", "[DeviceInfo]\nDeviceName=\"Lab\n", "DeviceName", "\"Lab"},
        {"CRLF and BOM", "\xEF\xBB\xBF[DeviceInfo]\r\nDeviceName = Lab \r\n", "DeviceName", "Lab"},
        {"blanks around the section name", "[ DeviceInfo ]\nDeviceName=Lab\n", "DeviceName", "Lab"},
        {"no newline at the end", "[DeviceInfo]\nDeviceName=Lab", "DeviceName", "Lab"},
        // A key of the wrong section, or a commented one, is not the key.
        {"commented key", "[DeviceInfo]\n;DeviceName=old\n#DeviceName=older\nDeviceName=Lab\n", "DeviceName",
         "Lab"},
        {"key before any section", "DeviceName=stray\n[DeviceInfo]\nDeviceName=Lab\n", "DeviceName", "Lab"},
        {"empty file", "", "DeviceName", "default"},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("odd.ini"));
    for (const Case& c : cases) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.content);
        file.close();
        EXPECT_EQ(IniReadString(path, QStringLiteral("DeviceInfo"), QString::fromLatin1(c.key), QStringLiteral("default"))
                      .toStdString(),
                  c.expected.toStdString())
            << c.why;
    }
}
