#include "CSingleInstance.h"
#include "TestApp.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

bool waitFor(const std::function<bool()>& done, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

const QString kDevice = QStringLiteral("Module:Lab switch10.0.0.1:161");

} // namespace

// The second copy for a device must not run; the first must hear of it so
// it can come forward. Another device is not blocked.
TEST(CSingleInstance, SecondCopyIsRefusedAndActivatesTheFirst)
{
    EnsureTestApp();
    QTemporaryDir folder;
    CSingleInstance first(kDevice, folder.path());
    ASSERT_TRUE(first.Acquire());
    int activations = 0;
    QObject::connect(&first, &CSingleInstance::activateRequested, [&]() { ++activations; });

    CSingleInstance second(kDevice, folder.path());
    EXPECT_FALSE(second.Acquire());
    EXPECT_TRUE(waitFor([&]() { return activations == 1; }, 5000));

    CSingleInstance otherDevice(QStringLiteral("Module:Lab switch10.0.0.2:161"), folder.path());
    EXPECT_TRUE(otherDevice.Acquire());
}

// When the first copy ends, the device is free again.
TEST(CSingleInstance, EndedCopyFreesTheDevice)
{
    EnsureTestApp();
    QTemporaryDir folder;
    {
        CSingleInstance first(kDevice, folder.path());
        ASSERT_TRUE(first.Acquire());
    }
    CSingleInstance next(kDevice, folder.path());
    EXPECT_TRUE(next.Acquire());
    CSingleInstance another(kDevice, folder.path());
    EXPECT_FALSE(another.Acquire());
}

// A copy that crashed leaves its lock file and socket behind; they must not
// keep the device from ever being managed again.
TEST(CSingleInstance, LockOfACrashedCopyDoesNotBlock)
{
    EnsureTestApp();
    QTemporaryDir folder;
    CSingleInstance probe(kDevice, folder.path());

    // A lock file as a real copy writes it, then owned by a process that
    // has ended.
    QByteArray content;
    {
        QLockFile lock(probe.LockFilePath());
        ASSERT_TRUE(lock.tryLock(0));
        QFile file(probe.LockFilePath());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        content = file.readAll();
    }
    QProcess gone;
    gone.start(QStringLiteral("true"), {});
    ASSERT_TRUE(gone.waitForStarted());
    const qint64 deadPid = gone.processId();
    ASSERT_TRUE(gone.waitForFinished());
    const qsizetype newline = content.indexOf('\n');
    ASSERT_GT(newline, 0);
    content = QByteArray::number(deadPid) + content.mid(newline);
    {
        QFile file(probe.LockFilePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        QFile socket(probe.ServerPath());
        ASSERT_TRUE(socket.open(QIODevice::WriteOnly));
    }

    CSingleInstance revived(kDevice, folder.path());
    EXPECT_TRUE(revived.Acquire());
    int activations = 0;
    QObject::connect(&revived, &CSingleInstance::activateRequested, [&]() { ++activations; });
    CSingleInstance second(kDevice, folder.path());
    EXPECT_FALSE(second.Acquire());
    EXPECT_TRUE(waitFor([&]() { return activations == 1; }, 5000));
}

// Names that differ only in characters a file name cannot hold must stay
// different devices; any name gives a short, plain file name.
TEST(CSingleInstance, SafeNamesAreDistinctAndPlain)
{
    const QString names[] = {
        QStringLiteral("Module:a/b10.0.0.1:161"), QStringLiteral("Module:a_b10.0.0.1:161"),
        QStringLiteral("Module:a b10.0.0.1:161"), QStringLiteral("Module:10.0.0.1:161"),
        QStringLiteral("Module:10.0.0.1:1161"),   QStringLiteral("Module:") + QString(500, u'x') + "10.0.0.1:161",
    };
    QStringList safe;
    for (const QString& n : names) {
        const QString s = CSingleInstance::SafeName(n);
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^[a-z0-9-]{1,80}$")).match(s).hasMatch()) << s.toStdString();
        EXPECT_FALSE(safe.contains(s));
        safe << s;
    }
}

// The real program started twice for one device: the second process ends
// at once and the first one is asked to come forward; a first copy killed
// without clean-up does not keep the device locked.
TEST(CSingleInstance, SecondProgramProcessActivatesTheFirst)
{
    const QString program = QStringLiteral(VELMARC_BINARY_DIR "/shell/velmarc-module");
    ASSERT_TRUE(QFile::exists(program)) << "build the velmarc-module target first";
    QTemporaryDir runtime;
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    const QStringList args = {"/x1", "/I", "10.0.0.77", "/r", "public", "/w", "private", "/p", "TRUE", "/v", "1", "/o", "16161"};

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        QProcess first;
        first.setProcessEnvironment(env);
        first.start(program, args);
        ASSERT_TRUE(first.waitForStarted());
        // The lock file names the first process once it has taken the
        // device (in round 1 the killed copy's file is there before).
        const auto holdsLock = [&]() {
            for (const QString& name : QDir(runtime.path()).entryList({"*.lock"}, QDir::Files)) {
                QFile file(QDir(runtime.path()).filePath(name));
                if (file.open(QIODevice::ReadOnly) && file.readLine().trimmed().toLongLong() == first.processId())
                    return true;
            }
            return false;
        };
        QElapsedTimer timer;
        timer.start();
        while (!holdsLock() && timer.elapsed() < 10000)
            QThread::msleep(50);
        ASSERT_TRUE(holdsLock());

        QProcess second;
        second.setProcessEnvironment(env);
        second.start(program, args);
        ASSERT_TRUE(second.waitForFinished(10000));
        EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(second.exitCode(), 0);
        EXPECT_EQ(first.state(), QProcess::Running);

        QByteArray log;
        timer.restart();
        while (!log.contains("bringing the window forward") && timer.elapsed() < 5000) {
            first.waitForReadyRead(100);
            log += first.readAllStandardError();
        }
        EXPECT_TRUE(log.contains("bringing the window forward")) << log.toStdString();

        // A crash: no clean-up, the lock file stays behind for round 1.
        first.kill();
        first.waitForFinished();
    }
}
