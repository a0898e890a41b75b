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
