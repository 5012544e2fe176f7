#include "SingleInstance.h"

#include "FileDescriptor.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <QtEndian>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr int kHeaderBytes = 8;
constexpr int kReplyBytes = 4;
// A client that connects and never completes its request is dropped after this.
constexpr int kConnectionTimeoutMs = 5000;

using TClock = std::chrono::steady_clock;

int RemainingMs(TClock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TClock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// Waits for `events` on fd until the deadline; false on timeout or error.
bool WaitFor(int fd, short events, TClock::time_point deadline)
{
    for (;;) {
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, RemainingMs(deadline));
        if (ready > 0)
            return (entry.revents & events) != 0;
        if (ready == 0)
            return false;
        if (errno != EINTR)
            return false;
    }
}

bool SendAll(int fd, const QByteArray& bytes, TClock::time_point deadline)
{
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        if (!WaitFor(fd, POLLOUT, deadline))
            return false;
        const ssize_t n = ::send(fd, bytes.constData() + sent, static_cast<size_t>(bytes.size() - sent), MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            return false;
        }
        sent += n;
    }
    return true;
}

bool ReceiveExactly(int fd, char* buffer, int size, TClock::time_point deadline)
{
    int received = 0;
    while (received < size) {
        if (!WaitFor(fd, POLLIN, deadline))
            return false;
        const ssize_t n = ::recv(fd, buffer + received, static_cast<size_t>(size - received), 0);
        if (n == 0)
            return false; // the server closed without answering
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            return false;
        }
        received += static_cast<int>(n);
    }
    return true;
}

QByteArray Request(quint32 tag, const QByteArray& data)
{
    QByteArray bytes(kHeaderBytes, '\0');
    qToLittleEndian<quint32>(tag, bytes.data());
    qToLittleEndian<quint32>(static_cast<quint32>(data.size()), bytes.data() + 4);
    bytes.append(data);
    return bytes;
}

QByteArray Reply(qint32 result)
{
    QByteArray bytes(kReplyBytes, '\0');
    qToLittleEndian<qint32>(result, bytes.data());
    return bytes;
}

} // namespace

QString SingleInstanceSocketPath(const QString& name)
{
    const QString runtime = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"));
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime))
        return QDir::cleanPath(runtime) + QLatin1Char('/') + name;
    return QDir::tempPath() + QLatin1Char('/') + name + QLatin1Char('-') + QString::number(::getuid());
}

QByteArray EncodeArgumentBlock(const QStringList& arguments)
{
    QByteArray block;
    for (const QString& argument : arguments) {
        for (const QChar c : argument) {
            char unit[2];
            qToLittleEndian<quint16>(c.unicode(), unit);
            block.append(unit, 2);
        }
        block.append(2, '\0');
    }
    block.append(2, '\0');
    return block;
}

QStringList DecodeArgumentBlock(const QByteArray& block)
{
    QStringList arguments;
    QString current;
    const qsizetype units = block.size() / 2; // an odd last byte is no code unit
    for (qsizetype i = 0; i < units; ++i) {
        const char16_t unit = qFromLittleEndian<quint16>(block.constData() + 2 * i);
        if (unit != 0) {
            current.append(QChar(unit));
            continue;
        }
        if (current.isEmpty())
            return arguments;
        arguments.append(current);
        current.clear();
    }
    // A block without its closing NULs still yields the strings it holds completely.
    return arguments;
}

int SendToFirstInstance(const QString& socketPath, quint32 tag, const QByteArray& data, int timeoutMs)
{
    const QByteArray path = QFile::encodeName(socketPath);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= static_cast<qsizetype>(sizeof(address.sun_path)))
        return -1;
    std::memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));

    TFileDescriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (socket.Get() < 0)
        return -1;
    // A local connect either succeeds or fails at once; no server means no instance.
    if (::connect(socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0)
        return -1;

    const auto deadline = TClock::now() + std::chrono::milliseconds(timeoutMs);
    if (!SendAll(socket.Get(), Request(tag, data), deadline))
        return -1;
    char reply[kReplyBytes];
    if (!ReceiveExactly(socket.Get(), reply, kReplyBytes, deadline))
        return -1;
    return qFromLittleEndian<qint32>(reply);
}

bool HandOverToFirstInstance(const QString& socketPath, quint32 tag, const QByteArray& data,
                             int attempts, int sleepMs)
{
    // The first instance answers from its event loop; give it a generous moment per try.
    constexpr int kReplyTimeoutMs = 2000;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(sleepMs));
        if (SendToFirstInstance(socketPath, tag, data, kReplyTimeoutMs) == 1)
            return true;
    }
    return false;
}

TSingleInstance::TSingleInstance(const QString& name, QObject* parent)
    : QObject(parent)
    , FSocketPath(SingleInstanceSocketPath(name))
{
}

TSingleInstance::~TSingleInstance()
{
    StopListening();
    if (FLockFd >= 0)
        ::close(FLockFd); // releases the lock
}

TSingleInstance::TClaim TSingleInstance::Claim()
{
    if (FClaimed)
        return FClaim;
    FClaimed = true;

    const QByteArray lockPath = QFile::encodeName(FSocketPath + QStringLiteral(".lock"));
    FLockFd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (FLockFd < 0) {
        FError = QStringLiteral("Cannot open %1: %2").arg(QFile::decodeName(lockPath), QString::fromLocal8Bit(std::strerror(errno)));
        FClaim = TClaim::Unavailable;
        return FClaim;
    }
    int rc;
    do {
        rc = ::flock(FLockFd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc == 0) {
        FClaim = TClaim::First;
    } else if (errno == EWOULDBLOCK) {
        FClaim = TClaim::AlreadyRunning;
    } else {
        FError = QStringLiteral("Cannot lock %1: %2").arg(QFile::decodeName(lockPath), QString::fromLocal8Bit(std::strerror(errno)));
        FClaim = TClaim::Unavailable;
    }
    return FClaim;
}

bool TSingleInstance::Listen(THandler handler)
{
    if (FClaim != TClaim::First) {
        FError = QStringLiteral("The single-instance lock is not held");
        return false;
    }
    StopListening();
    QLocalServer::removeServer(FSocketPath);
    FServer = new QLocalServer(this);
    FServer->setSocketOptions(QLocalServer::UserAccessOption);
    if (!FServer->listen(FSocketPath)) {
        FError = FServer->errorString();
        delete FServer;
        FServer = nullptr;
        return false;
    }
    FHandler = std::move(handler);
    connect(FServer, &QLocalServer::newConnection, this, &TSingleInstance::AcceptPending);
    return true;
}

void TSingleInstance::StopListening()
{
    if (!FServer)
        return;
    FServer->close();
    delete FServer; // its sockets are its children
    FServer = nullptr;
    FHandler = nullptr;
}

bool TSingleInstance::IsListening() const
{
    return FServer && FServer->isListening();
}

void TSingleInstance::AcceptPending()
{
    while (FServer && FServer->hasPendingConnections()) {
        if (QLocalSocket* socket = FServer->nextPendingConnection())
            ServeConnection(socket);
    }
}

void TSingleInstance::ServeConnection(QLocalSocket* socket)
{
    auto buffer = std::make_shared<QByteArray>();
    auto answered = std::make_shared<bool>(false);
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    QTimer::singleShot(kConnectionTimeoutMs, socket, [socket] { socket->abort(); });

    connect(socket, &QLocalSocket::readyRead, this, [this, socket, buffer, answered] {
        if (*answered)
            return;
        buffer->append(socket->readAll());
        if (buffer->size() < kHeaderBytes)
            return;
        const quint32 tag = qFromLittleEndian<quint32>(buffer->constData());
        const quint32 size = qFromLittleEndian<quint32>(buffer->constData() + 4);
        if (size > kMaxHandOverBytes) {
            *answered = true;
            socket->abort();
            return;
        }
        if (buffer->size() - kHeaderBytes < static_cast<qsizetype>(size))
            return;
        *answered = true;
        const QByteArray data = buffer->mid(kHeaderBytes, size);
        qint32 result = 0;
        if (FHandler) {
            try {
                result = FHandler(tag, data);
            } catch (...) {
                result = 0;
            }
        }
        socket->write(Reply(result));
        socket->flush();
        socket->disconnectFromServer();
    });
}

} // namespace platform
