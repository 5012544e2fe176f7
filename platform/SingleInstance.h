#pragma once

// One running program per user: the first instance holds a lock file and serves a local
// socket; a later start connects, hands its arguments over and ends.
//
// The lock is an flock() on "<socket path>.lock", so the kernel drops it when the owner dies
// and a crashed instance never blocks the next start. The socket lives in $XDG_RUNTIME_DIR
// (per user); without a runtime folder it goes to the temporary folder with the uid in its
// name, so that two users never meet.
//
// Wire format (integers little-endian):
//   request: quint32 tag, quint32 byte count n, then n bytes of data
//   reply:   qint32 result (1 = accepted)

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QLocalServer;
class QLocalSocket;

namespace platform {

// Requests larger than this are refused without an answer.
inline constexpr quint32 kMaxHandOverBytes = 4u * 1024u * 1024u;

// Full path of the socket for a channel name.
QString SingleInstanceSocketPath(const QString& name);

// The argument block: each argument as UTF-16LE followed by one NUL, then one more NUL.
QByteArray EncodeArgumentBlock(const QStringList& arguments);
// Walks the NUL-terminated strings of a block up to the first empty one (or the end).
QStringList DecodeArgumentBlock(const QByteArray& block);

// Sends one request over the socket at socketPath and waits up to timeoutMs for the reply.
// Returns the reply, or -1 when no instance could be reached or none answered in time.
int SendToFirstInstance(const QString& socketPath, quint32 tag, const QByteArray& data,
                        int timeoutMs);

// The hand-over of a second start: up to `attempts` tries, each first sleeping `sleepMs`;
// true as soon as one try is answered with 1.
bool HandOverToFirstInstance(const QString& socketPath, quint32 tag, const QByteArray& data,
                             int attempts = 20, int sleepMs = 10);

class TSingleInstance : public QObject {
    Q_OBJECT
public:
    enum class TClaim {
        First,          // this process holds the lock
        AlreadyRunning, // another process holds it
        Unavailable,    // no lock could be made; the program runs on its own
    };
    // Answers one request: (tag, data) -> result sent back.
    using THandler = std::function<qint32(quint32 tag, const QByteArray& data)>;

    explicit TSingleInstance(const QString& name, QObject* parent = nullptr);
    ~TSingleInstance() override;
    TSingleInstance(const TSingleInstance&) = delete;
    TSingleInstance& operator=(const TSingleInstance&) = delete;

    // Takes the lock (once; later calls return the first answer).
    TClaim Claim();
    // Serves the socket; only after Claim() returned First. A socket file left behind by a
    // dead owner is removed first (holding the lock proves it is stale).
    bool Listen(THandler handler);
    void StopListening();
    bool IsListening() const;

    const QString& SocketPath() const { return FSocketPath; }
    QString ErrorString() const { return FError; }

private:
    void AcceptPending();
    void ServeConnection(QLocalSocket* socket);

    QString FSocketPath;
    QString FError;
    int FLockFd = -1;
    bool FClaimed = false;
    TClaim FClaim = TClaim::Unavailable;
    QLocalServer* FServer = nullptr;
    THandler FHandler;
};

} // namespace platform
