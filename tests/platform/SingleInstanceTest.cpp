// The single-instance channel inside one process: the lock, the argument block, and requests
// answered by a served socket (the client runs on a thread because it blocks).

#include "platform/SingleInstance.h"

#include "IsolatedEnvironment.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <QtEndian>

#include <atomic>
#include <functional>
#include <cstring>
#include <thread>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

using platform::TSingleInstance;

// Each test gets a channel name of its own so that tests never see each other's sockets
// (short: a socket path has little room).
QString ChannelName()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const QString full = QLatin1String(info->test_suite_name()) + QLatin1Char('.') + QLatin1String(info->name());
    return QStringLiteral("QmTest-%1").arg(qHash(full), 0, 16);
}

// Runs `client` on a thread while this thread serves the event loop; returns its result.
int RunClient(const std::function<int()>& client)
{
    std::atomic<int> result{-2};
    std::atomic<bool> done{false};
    std::thread worker([&] {
        result = client();
        done = true;
    });
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done)
            loop.quit();
    });
    poll.start(1);
    loop.exec();
    worker.join();
    return result;
}

TEST(SingleInstanceArguments, BlockRoundTrip)
{
    const struct {
        const char* name;
        QStringList arguments;
        int expectedBytes;
    } cases[] = {
        {"none", {}, 2},
        {"one", {QStringLiteral("a")}, 6},
        {"paths", {QStringLiteral("/tmp/x y.ttf"), QStringLiteral("--flag")}, 2 * (12 + 1) + 2 * (6 + 1) + 2},
        {"non-latin", {QStringLiteral("Schrift-\u00e4\u00df"), QString::fromUtf8("\xe5\xad\x97\xf0\x9f\x98\x80")}, 2 * (10 + 1) + 2 * (3 + 1) + 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray block = platform::EncodeArgumentBlock(c.arguments);
        EXPECT_EQ(block.size(), c.expectedBytes);
        EXPECT_TRUE(block.endsWith(QByteArray(2, '\0')));
        EXPECT_EQ(platform::DecodeArgumentBlock(block), c.arguments);
    }
}

TEST(SingleInstanceArguments, DecodeStopsAtTheFirstEmptyStringAndSurvivesDamage)
{
    auto utf16 = [](const char* latin) {
        QByteArray bytes;
        for (const char* p = latin; *p; ++p) {
            bytes.append(*p);
            bytes.append('\0');
        }
        return bytes;
    };
    const QByteArray nul(2, '\0');
    const struct {
        const char* name;
        QByteArray block;
        QStringList expected;
    } cases[] = {
        {"empty block", QByteArray(), {}},
        {"strings after the end mark are ignored", utf16("a") + nul + nul + utf16("b") + nul + nul, {QStringLiteral("a")}},
        {"missing final NUL", utf16("a") + nul + utf16("b") + nul, {QStringLiteral("a"), QStringLiteral("b")}},
        {"unterminated last string is dropped", utf16("a") + nul + utf16("bc"), {QStringLiteral("a")}},
        {"odd trailing byte", utf16("a") + nul + QByteArray(1, 'x'), {QStringLiteral("a")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(platform::DecodeArgumentBlock(c.block), c.expected);
    }
}

TEST(SingleInstanceChannel, SocketLivesInTheRuntimeFolderOrCarriesTheUid)
{
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    const QString runtime = QString::fromStdString(qmtest::IsolatedEnvironment::Global().RuntimeDir());
    EXPECT_EQ(platform::SingleInstanceSocketPath(QStringLiteral("TMainFormQuillmark")),
              QDir::cleanPath(runtime) + QStringLiteral("/TMainFormQuillmark"));

    qunsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(platform::SingleInstanceSocketPath(QStringLiteral("TMainFormQuillmark")),
              QDir::tempPath() + QStringLiteral("/TMainFormQuillmark-") + QString::number(::getuid()));
    qputenv("XDG_RUNTIME_DIR", "relative/path");
    EXPECT_TRUE(platform::SingleInstanceSocketPath(QStringLiteral("X")).endsWith(QStringLiteral("/X-") + QString::number(::getuid())));
    qputenv("XDG_RUNTIME_DIR", saved);
}

TEST(SingleInstanceChannel, OnlyOneHolderOfTheLockAtATime)
{
    auto first = std::make_unique<TSingleInstance>(ChannelName());
    EXPECT_EQ(first->Claim(), TSingleInstance::TClaim::First);
    EXPECT_EQ(first->Claim(), TSingleInstance::TClaim::First) << "a second call repeats the answer";

    TSingleInstance second(ChannelName());
    EXPECT_EQ(second.Claim(), TSingleInstance::TClaim::AlreadyRunning);
    EXPECT_FALSE(second.Listen([](quint32, const QByteArray&) { return 1; }));

    first.reset();
    TSingleInstance third(ChannelName());
    EXPECT_EQ(third.Claim(), TSingleInstance::TClaim::First) << "the lock goes with its holder";
}

TEST(SingleInstanceChannel, UnwritableFolderMeansRunningAlone)
{
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", "/nonexistent-quillmark-runtime");
    TSingleInstance instance(ChannelName());
    EXPECT_EQ(instance.Claim(), TSingleInstance::TClaim::Unavailable);
    EXPECT_FALSE(instance.ErrorString().isEmpty());
    qputenv("XDG_RUNTIME_DIR", saved);
}

TEST(SingleInstanceChannel, StaleSocketOfACrashedInstanceDoesNotBlock)
{
    const QString path = platform::SingleInstanceSocketPath(ChannelName());
    // A bound socket whose owner is gone: the file stays, nobody accepts.
    {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        ASSERT_GE(fd, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray native = QFile::encodeName(path);
        std::memcpy(address.sun_path, native.constData(), static_cast<size_t>(native.size()));
        ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
        ::close(fd);
    }
    ASSERT_TRUE(QFile::exists(path));
    EXPECT_EQ(platform::SendToFirstInstance(path, 13273, QByteArray(2, '\0'), 500), -1);

    TSingleInstance instance(ChannelName());
    ASSERT_EQ(instance.Claim(), TSingleInstance::TClaim::First);
    ASSERT_TRUE(instance.Listen([](quint32, const QByteArray&) { return 1; })) << instance.ErrorString().toStdString();
    EXPECT_EQ(RunClient([&] { return platform::SendToFirstInstance(path, 13273, QByteArray(2, '\0'), 5000); }), 1);
}

TEST(SingleInstanceChannel, RequestsReachTheHandlerAndItsAnswerComesBack)
{
    TSingleInstance instance(ChannelName());
    ASSERT_EQ(instance.Claim(), TSingleInstance::TClaim::First);
    quint32 seenTag = 0;
    QByteArray seenData;
    ASSERT_TRUE(instance.Listen([&](quint32 tag, const QByteArray& data) {
        seenTag = tag;
        seenData = data;
        return tag == 13273 ? 1 : 0;
    }));
    const QString path = instance.SocketPath();
    const QByteArray block = platform::EncodeArgumentBlock({QStringLiteral("/fonts/a.ttf"), QStringLiteral("b")});

    EXPECT_EQ(RunClient([&] { return platform::SendToFirstInstance(path, 13273, block, 5000); }), 1);
    EXPECT_EQ(seenTag, 13273u);
    EXPECT_EQ(seenData, block);

    EXPECT_EQ(RunClient([&] { return platform::SendToFirstInstance(path, 42, block, 5000); }), 0);
    EXPECT_EQ(seenTag, 42u);

    EXPECT_TRUE(RunClient([&] { return platform::HandOverToFirstInstance(path, 13273, block) ? 1 : 0; }) == 1);

    // An empty payload is still a request.
    EXPECT_EQ(RunClient([&] { return platform::SendToFirstInstance(path, 13273, QByteArray(), 5000); }), 1);
    EXPECT_TRUE(seenData.isEmpty());
}

TEST(SingleInstanceChannel, OversizedRequestIsRefusedWithoutAnAnswer)
{
    TSingleInstance instance(ChannelName());
    ASSERT_EQ(instance.Claim(), TSingleInstance::TClaim::First);
    bool called = false;
    ASSERT_TRUE(instance.Listen([&](quint32, const QByteArray&) {
        called = true;
        return 1;
    }));
    const QString path = instance.SocketPath();
    // Only the header: it announces more than the channel accepts.
    const int reply = RunClient([&] {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray native = QFile::encodeName(path);
        std::memcpy(address.sun_path, native.constData(), static_cast<size_t>(native.size()));
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
            ::close(fd);
            return -3;
        }
        char header[8];
        qToLittleEndian<quint32>(13273, header);
        qToLittleEndian<quint32>(platform::kMaxHandOverBytes + 1, header + 4);
        if (::send(fd, header, sizeof(header), MSG_NOSIGNAL) != 8) {
            ::close(fd);
            return -4;
        }
        char answer[4];
        const ssize_t n = ::recv(fd, answer, sizeof(answer), 0); // 0: closed without an answer
        ::close(fd);
        return static_cast<int>(n);
    });
    EXPECT_LE(reply, 0) << "no answer, only the closed connection";
    EXPECT_GT(reply, -3) << "the request itself could be sent";
    EXPECT_FALSE(called);
}

TEST(SingleInstanceChannel, HandOverGivesUpWhenNobodyAnswers)
{
    const QString path = platform::SingleInstanceSocketPath(ChannelName());
    EXPECT_FALSE(platform::HandOverToFirstInstance(path, 13273, QByteArray(2, '\0'), 3, 1));
    EXPECT_EQ(platform::SendToFirstInstance(path, 13273, QByteArray(2, '\0'), 100), -1);
}

} // namespace
