#include "support/FreeThread.h"
#include "fontfile/FontStream.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

using support::TFreeThread;

namespace {

// Records on which thread each probe was destroyed.
class FreedLog {
public:
    void Add(std::thread::id thread)
    {
        std::lock_guard guard(FLock);
        FThreads.push_back(thread);
        FChanged.notify_all();
    }
    // Waits without a time limit: the test runner's timeout catches a hang.
    std::vector<std::thread::id> WaitFor(std::size_t count)
    {
        std::unique_lock lock(FLock);
        FChanged.wait(lock, [&] { return FThreads.size() >= count; });
        return FThreads;
    }
    std::size_t Count()
    {
        std::lock_guard guard(FLock);
        return FThreads.size();
    }

private:
    std::mutex FLock;
    std::condition_variable FChanged;
    std::vector<std::thread::id> FThreads;
};

class Probe {
public:
    explicit Probe(FreedLog& log) : FLog(log) {}
    virtual ~Probe() { FLog.Add(std::this_thread::get_id()); }

private:
    FreedLog& FLog;
};

// A one-shot gate a destructor can wait at.
class Gate {
public:
    void Open()
    {
        std::lock_guard guard(FLock);
        FOpen = true;
        FChanged.notify_all();
    }
    void Wait()
    {
        std::unique_lock lock(FLock);
        FChanged.wait(lock, [&] { return FOpen; });
    }

private:
    std::mutex FLock;
    std::condition_variable FChanged;
    bool FOpen = false;
};

// Signals that its destruction began, then holds the freeing thread until the gate opens.
class BlockingProbe final : public Probe {
public:
    BlockingProbe(FreedLog& log, Gate& started, Gate& release) : Probe(log), FStarted(started), FRelease(release) {}
    ~BlockingProbe() override
    {
        FStarted.Open();
        FRelease.Wait();
    }

private:
    Gate& FStarted;
    Gate& FRelease;
};

class RaisingObject {
public:
    ~RaisingObject() noexcept(false) { throw std::runtime_error("close failed"); }
};

class ProbeStream final : public fontfile::TFontStream {
public:
    explicit ProbeStream(FreedLog& log) : FLog(log) {}
    ~ProbeStream() override { FLog.Add(std::this_thread::get_id()); }
    std::size_t Read(void*, std::size_t) override { return 0; }
    void Seek(std::uint64_t) override {}
    std::uint64_t Position() const override { return 0; }
    std::uint64_t Size() const override { return 0; }

private:
    FreedLog& FLog;
};

} // namespace

TEST(FreeThread, FreesQueuedObjectsOnItsOwnThread)
{
    FreedLog log;
    TFreeThread thread;
    constexpr std::size_t kObjects = 50;
    for (std::size_t i = 0; i < kObjects; ++i)
        thread.QueueForFreeing(std::make_unique<Probe>(log));
    thread.QueueForFreeing(std::unique_ptr<Probe>());

    const auto freedOn = log.WaitFor(kObjects);
    for (const auto& id : freedOn)
        EXPECT_EQ(id, thread.ThreadId());
    EXPECT_NE(thread.ThreadId(), std::this_thread::get_id());
}

TEST(FreeThread, ErrorsOfDestructorsAreSwallowed)
{
    FreedLog log;
    TFreeThread thread;
    thread.QueueForFreeing(std::make_unique<RaisingObject>());
    thread.QueueForFreeing(std::make_unique<Probe>(log));
    EXPECT_EQ(log.WaitFor(1).front(), thread.ThreadId());
}

TEST(FreeThread, ObjectsStillQueuedAtShutdownAreFreedByTheShutdown)
{
    FreedLog log;
    Gate started, release;
    TFreeThread thread;
    thread.QueueForFreeing(std::make_unique<BlockingProbe>(log, started, release));
    started.Wait();
    thread.QueueForFreeing(std::make_unique<Probe>(log));
    thread.QueueForFreeing(std::make_unique<Probe>(log));
    EXPECT_EQ(thread.QueuedCount(), 2u);

    std::thread::id shutdownThread;
    std::thread stopper([&] {
        shutdownThread = std::this_thread::get_id();
        thread.Shutdown();
    });
    while (!thread.TerminationRequested())
        std::this_thread::yield();
    release.Open();
    stopper.join();

    const auto freedOn = log.WaitFor(3);
    ASSERT_EQ(freedOn.size(), 3u);
    EXPECT_EQ(freedOn[0], thread.ThreadId());
    EXPECT_EQ(freedOn[1], shutdownThread);
    EXPECT_EQ(freedOn[2], shutdownThread);
    EXPECT_EQ(thread.QueuedCount(), 0u);

    // After the end the caller frees at once.
    thread.QueueForFreeing(std::make_unique<Probe>(log));
    EXPECT_EQ(log.WaitFor(4).back(), std::this_thread::get_id());
    thread.Shutdown();
}

// The thread takes what is queued as one batch; asked to end in the middle of one, it leaves
// the objects it has not reached to the shutdown.
TEST(FreeThread, ShutdownInTheMiddleOfABatchFreesTheRest)
{
    FreedLog log;
    Gate firstStarted, firstRelease, secondStarted, secondRelease;
    TFreeThread thread;
    thread.QueueForFreeing(std::make_unique<BlockingProbe>(log, firstStarted, firstRelease));
    firstStarted.Wait();
    // Queued while the thread is busy: its next batch.
    thread.QueueForFreeing(std::make_unique<BlockingProbe>(log, secondStarted, secondRelease));
    thread.QueueForFreeing(std::make_unique<Probe>(log));
    thread.QueueForFreeing(std::make_unique<Probe>(log));
    firstRelease.Open();
    secondStarted.Wait();
    EXPECT_EQ(thread.QueuedCount(), 0u);

    std::thread::id shutdownThread;
    std::thread stopper([&] {
        shutdownThread = std::this_thread::get_id();
        thread.Shutdown();
    });
    while (!thread.TerminationRequested())
        std::this_thread::yield();
    secondRelease.Open();
    stopper.join();

    const auto freedOn = log.WaitFor(4);
    ASSERT_EQ(freedOn.size(), 4u);
    EXPECT_EQ(freedOn[0], thread.ThreadId());
    EXPECT_EQ(freedOn[1], thread.ThreadId());
    EXPECT_EQ(freedOn[2], shutdownThread);
    EXPECT_EQ(freedOn[3], shutdownThread);
}

TEST(FreeThread, ProcessInstanceDisposesFontStreams)
{
    FreedLog log;
    {
        support::TFreeThreadScope scope;
        fontfile::DisposeStream(std::make_unique<ProbeStream>(log));
        EXPECT_NE(log.WaitFor(1).front(), std::this_thread::get_id());

        constexpr std::size_t kMore = 20;
        for (std::size_t i = 0; i < kMore; ++i)
            support::FreeInBackground(std::make_unique<Probe>(log));
    }
    // The scope's end frees whatever the thread had not reached yet.
    EXPECT_EQ(log.Count(), 21u);

    fontfile::DisposeStream(std::make_unique<ProbeStream>(log));
    support::FreeInBackground(std::make_unique<Probe>(log));
    const auto freedOn = log.WaitFor(23);
    EXPECT_EQ(freedOn[21], std::this_thread::get_id());
    EXPECT_EQ(freedOn[22], std::this_thread::get_id());
}
