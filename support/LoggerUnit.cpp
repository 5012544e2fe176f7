#include "LoggerUnit.h"

#include <QDateTime>
#include <QFileInfo>

#include <atomic>
#include <memory>

#include <sys/syscall.h>
#include <unistd.h>

namespace support {

namespace {

quint64 CurrentThreadId()
{
    return static_cast<quint64>(::syscall(SYS_gettid));
}

std::unique_ptr<TLogger> GErrorLog;
std::unique_ptr<TLogger> GGeneralLog;
// Readers on worker threads see the pointers only between StartLogging and StopLogging.
std::atomic<TLogger*> GErrorLogPtr{nullptr};
std::atomic<TLogger*> GGeneralLogPtr{nullptr};

} // namespace

TLogger::TLogger(const QString& fileName)
    : FFileName(fileName)
{
    FStartTick.start();
    Open();
}

TLogger::~TLogger()
{
    WriteLine(QStringLiteral("Logfile closed"));
    std::lock_guard guard(FLock);
    Close();
}

bool TLogger::IsOpen() const
{
    std::lock_guard guard(FLock);
    return FOpen;
}

void TLogger::Open()
{
    const QByteArray path = QFile::encodeName(FFileName);
    const bool existed = QFileInfo(FFileName).isFile();
    FFile = std::fopen(path.constData(), existed ? "ab" : "wb");
    if (!FFile)
        return;
    FOpen = true;
    WriteLine(existed ? QStringLiteral("Existing logfile initialized")
                      : QStringLiteral("Logfile created and initialized"));
}

void TLogger::Close()
{
    if (!FOpen)
        return;
    FOpen = false;
    std::fclose(FFile);
    FFile = nullptr;
}

QString TLogger::FormatLine(const QString& timeStamp, qint64 elapsedMs, quint64 threadId,
                            const QString& message)
{
    QString elapsed = QString::number(elapsedMs < 0 ? -elapsedMs : elapsedMs).rightJustified(8, QLatin1Char('0'));
    if (elapsedMs < 0)
        elapsed.prepend(QLatin1Char('-'));
    const QString thread = QString::number(threadId, 16).toUpper().rightJustified(8, QLatin1Char('0'));
    return timeStamp + QLatin1Char(' ') + elapsed + QLatin1Char(' ') + thread + QLatin1Char(' ') + message;
}

void TLogger::WriteLine(const QString& message)
{
    {
        std::lock_guard guard(FLock);
        if (!FOpen)
            return;
    }
    // Time and thread are taken outside the lock, so lines of two threads may be slightly
    // out of time order in the file.
    const qint64 elapsed = FStartTick.elapsed();
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("dd-MM-yyyy hh:mm:ss"));
    const quint64 thread = CurrentThreadId();

    std::lock_guard guard(FLock);
    if (!FOpen)
        return;
    const QByteArray line = FormatLine(stamp, elapsed, thread, message).toLocal8Bit() + "\r\n";
    if (std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), FFile) != static_cast<size_t>(line.size())
        || std::fflush(FFile) != 0)
        Close();
}

TLogger* ErrorLog() { return GErrorLogPtr.load(); }
TLogger* GeneralLog() { return GGeneralLogPtr.load(); }

void StartLogging(const QString& folder, const QString& applicationTitle)
{
    try {
        GErrorLog = std::make_unique<TLogger>(folder + QStringLiteral("/error.log"));
        GErrorLogPtr.store(GErrorLog.get());
        GGeneralLog = std::make_unique<TLogger>(folder + QStringLiteral("/general.log"));
        GGeneralLogPtr.store(GGeneralLog.get());

        if (GErrorLog->IsOpen())
            LogGeneral(QStringLiteral("Error log file created: ") + GErrorLog->FileName());
        else
            LogError(QStringLiteral("Failed to create error log file: ") + GErrorLog->FileName());
        if (GGeneralLog->IsOpen())
            LogGeneral(QStringLiteral("General log file created: ") + GGeneralLog->FileName());
        else
            LogError(QStringLiteral("Failed to create general log file: ") + GGeneralLog->FileName());
        LogGeneral(applicationTitle + QStringLiteral(" started."));
    } catch (...) {
        // Logging is a diagnostic aid; the program runs on without it.
    }
}

void StopLogging()
{
    GGeneralLogPtr.store(nullptr);
    GErrorLogPtr.store(nullptr);
    GGeneralLog.reset();
    GErrorLog.reset();
}

void LogError(const QString& message)
{
    if (auto* log = ErrorLog())
        log->WriteLine(message);
}

void LogGeneral(const QString& message)
{
    if (auto* log = GeneralLog())
        log->WriteLine(message);
}

} // namespace support
