#include "CUtils.h"
#include "TestApp.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

TEST(CUtilsOther, DaysInMonth)
{
    struct Case { const char* year; const char* month; const char* days; };
    const Case cases[] = {
        {"2024", "2", "29"}, {"2000", "2", "29"}, {"2023", "2", "28"}, {"2100", "2", "28"}, {"1900", "2", "28"},
        {"2023", "1", "31"}, {"2023", "12", "31"}, {"2023", "4", "30"}, {"2023", "11", "30"},
        {"2023", "13", ""}, {"2023", "02", ""}, {"2023", "", ""},
        {"abc", "2", "29"},  // a non-numeric year reads as 0, a leap year
    };
    for (const Case& c : cases)
        EXPECT_EQ(CUtils::DaysInMonthText(QString::fromLatin1(c.year), QString::fromLatin1(c.month)),
                  QString::fromLatin1(c.days)) << c.year << "-" << c.month;
    EXPECT_TRUE(CUtils::IsLeapYearSimple(2400));
    EXPECT_FALSE(CUtils::IsLeapYearSimple(2100));
}

// The day list follows the chosen year and month, replaces what it held,
// selects day 1, and stays empty for an unknown month.
TEST(CUtilsOther, FillDayCombo)
{
    EnsureTestApp();
    QComboBox year, month, day;
    year.addItems({"2023", "2024"});
    month.addItems({"1", "2", "13"});
    day.addItems({"old"});
    year.setCurrentIndex(1);
    month.setCurrentIndex(1);
    CUtils::FillDayCombo(&year, &month, &day);
    ASSERT_EQ(day.count(), 29);
    EXPECT_EQ(day.itemText(0), QStringLiteral("1"));
    EXPECT_EQ(day.itemText(28), QStringLiteral("29"));
    EXPECT_EQ(day.currentIndex(), 0);
    year.setCurrentIndex(0);
    CUtils::FillDayCombo(&year, &month, &day);
    EXPECT_EQ(day.count(), 28);
    month.setCurrentIndex(2);
    CUtils::FillDayCombo(&year, &month, &day);
    EXPECT_EQ(day.count(), 0);
    EXPECT_EQ(day.currentIndex(), -1);
    CUtils::FillDayCombo(nullptr, &month, &day);
}

TEST(CUtilsOther, SplitToArray)
{
    QStringList parts{"stale"};
    EXPECT_EQ(CUtils::SplitToArray(QStringLiteral("1.3.6.1, 1.3.6.2"), QStringLiteral(","), parts), 2);
    EXPECT_EQ(parts, QStringList({"1.3.6.1", "1.3.6.2"}));
    EXPECT_EQ(CUtils::SplitToArray(QString(), QStringLiteral(","), parts), 0);
    EXPECT_TRUE(parts.isEmpty());
    EXPECT_EQ(CUtils::SplitToArray(QStringLiteral("a,b"), QString(), parts), 1);
    EXPECT_EQ(parts, QStringList({"a,b"}));
    EXPECT_EQ(CUtils::SplitToArray(QStringLiteral(" a ;; b ;"), QStringLiteral(";"), parts), 4);
    EXPECT_EQ(parts, QStringList({"a", "", "b", ""}));
    EXPECT_EQ(CUtils::SplitToArray(QStringLiteral("a::b"), QStringLiteral("::"), parts), 2);
    EXPECT_EQ(parts, QStringList({"a", "b"}));
}

namespace {

// A private desktop: PATH and the XDG folders point into a temporary folder
// for the test's lifetime.
class FakeDesktop
{
public:
    FakeDesktop()
    {
        for (const char* name : {"PATH", "XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS"})
            m_saved.append({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
        QDir root(m_dir.path());
        root.mkpath("bin");
        root.mkpath("data/applications");
        root.mkpath("config");
        qputenv("PATH", (m_dir.path() + "/bin:/usr/bin:/bin").toLocal8Bit());
        qputenv("XDG_DATA_HOME", (m_dir.path() + "/data").toLocal8Bit());
        qputenv("XDG_DATA_DIRS", (m_dir.path() + "/none").toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (m_dir.path() + "/config").toLocal8Bit());
        qputenv("XDG_CONFIG_DIRS", (m_dir.path() + "/none").toLocal8Bit());
    }
    ~FakeDesktop()
    {
        for (const Saved& s : m_saved) {
            if (s.set)
                qputenv(s.name, s.value);
            else
                qunsetenv(s.name);
        }
    }

    QString Path(const QString& relative) const { return m_dir.path() + "/" + relative; }

    void Write(const QString& relative, const QByteArray& content, bool executable = false)
    {
        QFile f(Path(relative));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
        if (executable)
            f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // An executable browser and its desktop entry.
    void InstallBrowser(const QString& id)
    {
        Write("bin dir/web browser", "#!/bin/sh\nexit 0\n", true);
        Write("data/applications/" + id,
              "[Desktop Entry]\nName=Web\nExec=\"" + Path("bin dir/web browser").toUtf8() + "\" %u\n");
    }

private:
    struct Saved { const char* name; QByteArray value; bool set; };
    QTemporaryDir m_dir;
    QList<Saved> m_saved;
};

} // namespace

// The desktop's choice, through xdg-settings, resolved to the program in
// the entry's Exec (quoted path with a blank, field code dropped).
TEST(CUtilsOther, DefaultBrowserFromXdgSettings)
{
    FakeDesktop desktop;
    QDir().mkpath(desktop.Path("bin dir"));
    desktop.InstallBrowser("web.desktop");
    desktop.Write("bin/xdg-settings", "#!/bin/sh\necho web.desktop\n", true);
    EXPECT_EQ(CUtils::GetDefaultBrowserPath(), desktop.Path("bin dir/web browser"));
}

// Without the desktop tools the mimeapps.list default is used; a bare
// program name is looked up on PATH.
TEST(CUtilsOther, DefaultBrowserFromMimeApps)
{
    FakeDesktop desktop;
    desktop.Write("bin/surfer", "#!/bin/sh\nexit 0\n", true);
    desktop.Write("data/applications/surfer.desktop", "[Desktop Entry]\nExec=env A=1 surfer --new %U\n");
    desktop.Write("config/mimeapps.list",
                  "[Added Associations]\nx-scheme-handler/http=other.desktop;\n"
                  "[Default Applications]\nx-scheme-handler/http=surfer.desktop;other.desktop;\n");
    EXPECT_EQ(CUtils::GetDefaultBrowserPath(), desktop.Path("bin/surfer"));
}

// No browser anywhere, or one whose program is missing: "".
TEST(CUtilsOther, NoDefaultBrowser)
{
    FakeDesktop desktop;
    EXPECT_EQ(CUtils::GetDefaultBrowserPath(), QString());
    desktop.Write("bin/xdg-mime", "#!/bin/sh\necho gone.desktop\n", true);
    desktop.Write("data/applications/gone.desktop", "[Desktop Entry]\nExec=/nonexistent/browser %u\n");
    EXPECT_EQ(CUtils::GetDefaultBrowserPath(), QString());
}

// A desktop tool that never answers must not hang the program: its wait is
// bounded and the lookup goes on with the next source.
TEST(CUtilsOther, HangingDesktopToolIsAbandoned)
{
    FakeDesktop desktop;
    QDir().mkpath(desktop.Path("bin dir"));
    desktop.InstallBrowser("web.desktop");
    desktop.Write("bin/xdg-settings", "#!/bin/sh\nexec sleep 60\n", true);
    desktop.Write("bin/xdg-mime", "#!/bin/sh\necho web.desktop\n", true);
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(CUtils::GetDefaultBrowserPath(), desktop.Path("bin dir/web browser"));
    EXPECT_LT(timer.elapsed(), 30000);  // liveness only: far above the bounded wait
}
