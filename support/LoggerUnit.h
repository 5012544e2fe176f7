#pragma once

// The two diagnostic logs, "error.log" and "general.log". A logger never creates its folder:
// logging is switched on by creating the log folder, and a logger that cannot open its file
// stays closed and ignores every line.

#include <QElapsedTimer>
#include <QString>

#include <cstdio>
#include <mutex>

namespace support {

class TLogger {
public:
    explicit TLogger(const QString& fileName);
    ~TLogger();
    TLogger(const TLogger&) = delete;
    TLogger& operator=(const TLogger&) = delete;

    void WriteLine(const QString& message);
    bool IsOpen() const;
    const QString& FileName() const { return FFileName; }

    // "dd-mm-yyyy hh:mm:ss elapsed(8) threadid(8 hex) message", without the line end.
    static QString FormatLine(const QString& timeStamp, qint64 elapsedMs, quint64 threadId,
                              const QString& message);

private:
    void Open();
    void Close();

    QString FFileName;
    std::FILE* FFile = nullptr;
    bool FOpen = false;
    QElapsedTimer FStartTick;
    mutable std::mutex FLock;
};

// The process-wide error and general logs; both empty until StartLogging.
TLogger* ErrorLog();
TLogger* GeneralLog();

// Creates both logs in folder (the program's log folder) and writes the start-up lines,
// ending with "<applicationTitle> started.". Never raises.
void StartLogging(const QString& folder, const QString& applicationTitle);
// Frees both logs (each writes "Logfile closed").
void StopLogging();

// Pass a line to the error or the general log; nothing happens when it does not exist.
void LogError(const QString& message);
void LogGeneral(const QString& message);

} // namespace support
