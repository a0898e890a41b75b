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

#include <gtest/gtest.h>

#include <unistd.h>

#include <memory>
#include <vector>

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

// ------------------------------------------------ real copies of the program

namespace {

// Copies of the program, each in a folder of its own with or without a
// User.ini beside it, started for one runtime folder.
class ProgramCopies : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureTestApp();
        ASSERT_TRUE(QFile::exists(m_program)) << "build the velmarc-module target first";
        ASSERT_TRUE(m_runtime.isValid() && m_folders.isValid());
        QFile::setPermissions(m_runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        m_env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
    }
    void TearDown() override
    {
        for (auto& p : m_processes) {
            p->kill();
            p->waitForFinished();
        }
    }

    // The program in a folder of its own, with User.ini naming the device
    // `deviceName` (none when null). A hard link keeps the folder the
    // program reads User.ini from; a copy where links are not possible.
    QString Copy(const char* deviceName)
    {
        const QString folder = QDir(m_folders.path()).filePath(QString::number(m_copies++));
        QDir().mkpath(folder);
        const QString program = QDir(folder).filePath(QStringLiteral("velmarc-module"));
        if (::link(QFile::encodeName(m_program).constData(), QFile::encodeName(program).constData()) != 0) {
            EXPECT_TRUE(QFile::copy(m_program, program));
        }
        if (deviceName) {
            QFile ini(QDir(folder).filePath(QStringLiteral("User.ini")));
            EXPECT_TRUE(ini.open(QIODevice::WriteOnly));
            ini.write("[DeviceInfo]\nDeviceName=" + QByteArray(deviceName) + "\n");
        }
        return program;
    }

    QProcess* Start(const QString& program, const char* address)
    {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(m_env);
        process->start(program, {"/x1", "/I", address, "/r", "public", "/w", "private", "/p", "TRUE", "/v", "1", "/o", "16161"});
        EXPECT_TRUE(process->waitForStarted());
        m_processes.push_back(std::move(process));
        return m_processes.back().get();
    }

    // True once `process` holds a single-instance lock of the runtime folder.
    bool HoldsDevice(QProcess* process)
    {
        QElapsedTimer timer;
        timer.start();
        const auto holds = [&]() {
            for (const QString& name : QDir(m_runtime.path()).entryList({"*.lock"}, QDir::Files)) {
                QFile file(QDir(m_runtime.path()).filePath(name));
                if (file.open(QIODevice::ReadOnly) && file.readLine().trimmed().toLongLong() == process->processId())
                    return true;
            }
            return false;
        };
        while (!holds() && process->state() == QProcess::Running && timer.elapsed() < 10000)
            process->waitForFinished(20);
        return holds() && process->state() == QProcess::Running;
    }

    // True when `process` ends by itself, as a second start for a managed
    // device does (successfully: the running copy was brought forward).
    static bool EndsAtOnce(QProcess* process)
    {
        return process->waitForFinished(10000) && process->exitStatus() == QProcess::NormalExit
               && process->exitCode() == 0;
    }

    const QString m_program = QStringLiteral(VELMARC_BINARY_DIR "/shell/velmarc-module");
    QTemporaryDir m_runtime;
    QTemporaryDir m_folders{QStringLiteral(VELMARC_BINARY_DIR "/tests/program-copies-XXXXXX")};
    QProcessEnvironment m_env;
    std::vector<std::unique_ptr<QProcess>> m_processes;
    int m_copies = 0;
};

} // namespace

// Two switches managed at once: one copy per address, both stay up. A name
// without the address would make the second one end.
TEST_F(ProgramCopies, TwoAddressesAreTwoDevices)
{
    const QString program = Copy(nullptr);
    QProcess* first = Start(program, "10.0.0.81");
    ASSERT_TRUE(HoldsDevice(first));
    QProcess* second = Start(program, "10.0.0.82");
    EXPECT_TRUE(HoldsDevice(second));
    EXPECT_EQ(first->state(), QProcess::Running);
}

// The station may run one copy per User.ini name for one address: two
// names are two devices, and no name is a third. The device a test holds
// under the name written out ("Module:" + name + address + ":" + port)
// refuses the copy with that User.ini name and brings the holder forward.
// Reading no name, or leaving the name or the address out, fails here.
TEST_F(ProgramCopies, UserIniNameAndAddressNameTheDevice)
{
    CSingleInstance holder(QStringLiteral("Module:LabA10.0.0.83:16161"), m_runtime.path());
    ASSERT_TRUE(holder.Acquire());
    int activations = 0;
    QObject::connect(&holder, &CSingleInstance::activateRequested, [&]() { ++activations; });

    const QString labA = Copy("LabA");
    QProcess* refused = Start(labA, "10.0.0.83");
    EXPECT_TRUE(EndsAtOnce(refused)) << refused->readAllStandardError().toStdString();
    EXPECT_TRUE(waitFor([&]() { return activations == 1; }, 5000));

    QProcess* labB = Start(Copy("LabB"), "10.0.0.83");
    ASSERT_TRUE(HoldsDevice(labB));
    QProcess* unnamed = Start(Copy(nullptr), "10.0.0.83");
    ASSERT_TRUE(HoldsDevice(unnamed));
    QProcess* otherAddress = Start(labA, "10.0.0.84");
    ASSERT_TRUE(HoldsDevice(otherAddress));

    // A second copy with LabB's name (from another folder) is LabB's device.
    QProcess* again = Start(Copy("LabB"), "10.0.0.83");
    EXPECT_TRUE(EndsAtOnce(again));
    for (QProcess* p : {labB, unnamed, otherAddress})
        EXPECT_EQ(p->state(), QProcess::Running);
}

// The real program started twice for one device: the second process ends
// at once and the first one is asked to come forward; a first copy killed
// without clean-up does not keep the device locked.
TEST_F(ProgramCopies, SecondProgramProcessActivatesTheFirst)
{
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        // In round 1 the killed copy's lock file is there before.
        QProcess* first = Start(m_program, "10.0.0.77");
        ASSERT_TRUE(HoldsDevice(first));
        QProcess* second = Start(m_program, "10.0.0.77");
        EXPECT_TRUE(EndsAtOnce(second));
        EXPECT_EQ(first->state(), QProcess::Running);

        QByteArray log;
        QElapsedTimer timer;
        timer.start();
        while (!log.contains("bringing the window forward") && timer.elapsed() < 5000) {
            first->waitForReadyRead(100);
            log += first->readAllStandardError();
        }
        EXPECT_TRUE(log.contains("bringing the window forward")) << log.toStdString();

        // A crash: no clean-up, the lock file stays behind for round 1.
        first->kill();
        first->waitForFinished();
    }
}
