// Two real quillmark processes: the second start hands its arguments to the first and ends
// without a window; a crashed first instance does not block the next start.

#include "IsolatedEnvironment.h"
#include "platform/SingleInstance.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <functional>

namespace {

constexpr int kGenerousWaitMs = 60000; // sanitizer builds start slowly

QString ProgramPath()
{
    return QStringLiteral(QUILLMARK_BINARY_DIR "/app/quillmark");
}

QString LogFolder()
{
    // No "log" folder stands beside the built program, so the logs go to the state folder.
    return QString::fromStdString(qmtest::IsolatedEnvironment::Global().StateHome()) + QStringLiteral("/quillmark/log");
}

QString GeneralLog()
{
    QFile file(LogFolder() + QStringLiteral("/general.log"));
    return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()) : QString();
}

QString SocketPath()
{
    return platform::SingleInstanceSocketPath(QStringLiteral("TMainFormQuillmark"));
}

bool WaitUntil(const std::function<bool()>& condition)
{
    QDeadlineTimer deadline(kGenerousWaitMs);
    while (!deadline.hasExpired()) {
        if (condition())
            return true;
        QThread::msleep(20);
    }
    return condition();
}

// A probe with a foreign tag: -1 while nobody serves the channel, the refusal once it does.
int Probe()
{
    return platform::SendToFirstInstance(SocketPath(), 4242, platform::EncodeArgumentBlock({}), 5000);
}

class TProgram {
public:
    explicit TProgram(const QStringList& arguments = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        FProcess.setProcessEnvironment(environment);
        FProcess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        FProcess.setStandardOutputFile(QProcess::nullDevice());
        FProcess.start(ProgramPath(), arguments);
    }
    ~TProgram()
    {
        if (FProcess.state() != QProcess::NotRunning) {
            FProcess.kill();
            FProcess.waitForFinished(kGenerousWaitMs);
        }
    }
    TProgram(const TProgram&) = delete;
    TProgram& operator=(const TProgram&) = delete;

    QProcess& Process() { return FProcess; }

private:
    QProcess FProcess;
};

class SingleInstanceProcessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QFile::exists(ProgramPath())) << ProgramPath().toStdString();
        QDir(LogFolder()).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(LogFolder()));
    }
};

TEST_F(SingleInstanceProcessTest, SecondStartHandsItsArgumentsOverAndEnds)
{
    TProgram first;
    ASSERT_TRUE(first.Process().waitForStarted(kGenerousWaitMs));
    ASSERT_TRUE(WaitUntil([] { return Probe() != -1; })) << "the first instance never served its channel";
    EXPECT_EQ(Probe(), 0) << "a payload with another tag is refused";

    TProgram second({QStringLiteral("/fonts/Some Font.ttf"), QStringLiteral("second-argument")});
    ASSERT_TRUE(second.Process().waitForFinished(kGenerousWaitMs));
    EXPECT_EQ(second.Process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.Process().exitCode(), 0);

    EXPECT_TRUE(WaitUntil([] {
        return GeneralLog().contains(QStringLiteral("Arguments received: /fonts/Some Font.ttf second-argument"));
    })) << GeneralLog().toStdString();
    EXPECT_EQ(GeneralLog().count(QStringLiteral("Brindlecote Quillmark started.")), 1)
        << "the second start never came as far as its own start-up";
    EXPECT_EQ(first.Process().state(), QProcess::Running);
}

TEST_F(SingleInstanceProcessTest, AKilledFirstInstanceDoesNotBlockTheNextStart)
{
    {
        TProgram crashed;
        ASSERT_TRUE(crashed.Process().waitForStarted(kGenerousWaitMs));
        ASSERT_TRUE(WaitUntil([] { return Probe() != -1; }));
        crashed.Process().kill(); // no chance to clean up its socket
        ASSERT_TRUE(crashed.Process().waitForFinished(kGenerousWaitMs));
    }
    ASSERT_TRUE(QFile::exists(SocketPath())) << "the dead instance left its socket behind";
    EXPECT_EQ(Probe(), -1);

    TProgram next;
    ASSERT_TRUE(next.Process().waitForStarted(kGenerousWaitMs));
    ASSERT_TRUE(WaitUntil([] { return Probe() != -1; })) << "the new start must take over the channel";
    EXPECT_EQ(next.Process().state(), QProcess::Running);
}

TEST_F(SingleInstanceProcessTest, TerminationSignalEndsThroughTheOrdinaryShutdown)
{
    const QString settingsFile = QString::fromStdString(qmtest::IsolatedEnvironment::Global().ConfigHome()) +
                                 QStringLiteral("/quillmark/user.reg");
    QFile::remove(settingsFile);
    TProgram program;
    ASSERT_TRUE(program.Process().waitForStarted(kGenerousWaitMs));
    ASSERT_TRUE(WaitUntil([] { return Probe() != -1; }));
    program.Process().terminate(); // SIGTERM
    ASSERT_TRUE(program.Process().waitForFinished(kGenerousWaitMs));
    EXPECT_EQ(program.Process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.Process().exitCode(), 0);
    EXPECT_TRUE(GeneralLog().contains(QStringLiteral("Logfile closed"))) << GeneralLog().toStdString();

    QFile stored(settingsFile);
    ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(stored.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("\\Position\\Main Window]")))
        << text.toStdString();
    EXPECT_FALSE(QFile::exists(SocketPath())) << "an orderly end removes its socket";
}

} // namespace
