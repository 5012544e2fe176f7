#include "support/LoggerUnit.h"
#include "IsolatedEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include <thread>
#include <vector>

using support::TLogger;

namespace {

QString FreshFolder(const char* name)
{
    const QString path = QString::fromStdString(qmtest::IsolatedEnvironment::Global().Scratch()) + "/" + name;
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    return path;
}

QStringList ReadLines(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromLocal8Bit(f.readAll());
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

const QRegularExpression kLine(QStringLiteral(R"(^\d\d-\d\d-\d{4} \d\d:\d\d:\d\d \d{8,} [0-9A-F]{8,} (.*)$)"));

} // namespace

TEST(LoggerFormat, FieldsArePaddedAsDocumented)
{
    struct Case { qint64 elapsed; quint64 thread; const char* expected; };
    const Case cases[] = {
        {1500, 0x1A4, "01-02-2026 03:04:05 00001500 000001A4 hello"},
        {0, 0, "01-02-2026 03:04:05 00000000 00000000 hello"},
        {123456789, 0x123456789ABull, "01-02-2026 03:04:05 123456789 123456789AB hello"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TLogger::FormatLine("01-02-2026 03:04:05", c.elapsed, c.thread, "hello").toStdString(), c.expected);
}

TEST(Logger, MissingFolderCreatesNothing)
{
    const QString folder = FreshFolder("nolog") + "/log";
    {
        TLogger log(folder + "/error.log");
        EXPECT_FALSE(log.IsOpen());
        log.WriteLine("ignored");
    }
    EXPECT_FALSE(QFileInfo::exists(folder));
}

TEST(Logger, SecondOpenAppendsToTheSameFile)
{
    const QString file = FreshFolder("twice") + "/general.log";
    { TLogger log(file); log.WriteLine("first run"); }
    { TLogger log(file); log.WriteLine("second run"); }

    QStringList messages;
    for (const QString& line : ReadLines(file)) {
        const auto m = kLine.match(line);
        ASSERT_TRUE(m.hasMatch()) << line.toStdString();
        messages << m.captured(1);
    }
    EXPECT_EQ(messages, (QStringList{"Logfile created and initialized", "first run", "Logfile closed",
                                     "Existing logfile initialized", "second run", "Logfile closed"}));
}

TEST(Logger, LinesOfManyThreadsNeverInterleave)
{
    const QString file = FreshFolder("threads") + "/general.log";
    constexpr int kThreads = 8, kLines = 200;
    {
        TLogger log(file);
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t)
            threads.emplace_back([&log, t] {
                for (int i = 0; i < kLines; ++i)
                    log.WriteLine(QStringLiteral("thread %1 line %2 %3").arg(t).arg(i).arg(QString(40, 'x')));
            });
        for (auto& th : threads)
            th.join();
    }
    const QStringList lines = ReadLines(file);
    ASSERT_EQ(lines.size(), kThreads * kLines + 2);
    for (const QString& line : lines)
        EXPECT_TRUE(kLine.match(line).hasMatch()) << line.toStdString();
}

TEST(Logger, WriteFailureClosesSilently)
{
    TLogger log("/dev/full");
    log.WriteLine("lost");
    EXPECT_FALSE(log.IsOpen());
}

TEST(Logger, StartLoggingWritesTheStartLines)
{
    const QString folder = FreshFolder("start");
    support::StartLogging(folder, "Brindlecote Quillmark");
    support::StopLogging();

    QStringList general;
    for (const QString& line : ReadLines(folder + "/general.log"))
        general << kLine.match(line).captured(1);
    EXPECT_EQ(general, (QStringList{"Logfile created and initialized",
                                    "Error log file created: " + folder + "/error.log",
                                    "General log file created: " + folder + "/general.log",
                                    "Brindlecote Quillmark started.", "Logfile closed"}));
}
