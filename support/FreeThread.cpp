#include "FreeThread.h"

#include "fontfile/FontStream.h"

#include <chrono>

namespace support {

namespace {

constexpr std::chrono::milliseconds kIdleSleep{100};

// The owner swallows errors of the object's destructor (see TFreeableOwner).
void FreeSwallowingErrors(std::unique_ptr<TFreeable>& object)
{
    object.reset();
}

} // namespace

TFreeThread::TFreeThread()
    : FThread([this] { Execute(); })
{
    FThreadId = FThread.get_id();
}

TFreeThread::~TFreeThread()
{
    Shutdown();
}

void TFreeThread::Enqueue(std::unique_ptr<TFreeable> object)
{
    if (!object)
        return;
    {
        std::lock_guard guard(FListLock);
        if (!FTerminated) {
            FList.push_back(std::move(object));
            FWake.notify_one();
            return;
        }
    }
    FreeSwallowingErrors(object);
}

void TFreeThread::Execute()
{
    std::unique_lock lock(FListLock);
    while (!FTerminated) {
        if (FList.empty()) {
            // Wakes at once for a new object or the end; the timeout only bounds the sleep.
            FWake.wait_for(lock, kIdleSleep, [this] { return FTerminated || !FList.empty(); });
            continue;
        }
        std::unique_ptr<TFreeable> object = std::move(FList.front());
        FList.pop_front();
        lock.unlock();
        FreeSwallowingErrors(object);
        lock.lock();
    }
}

void TFreeThread::Shutdown()
{
    {
        std::lock_guard guard(FListLock);
        FTerminated = true;
    }
    FWake.notify_all();
    if (FThread.joinable())
        FThread.join();

    std::deque<std::unique_ptr<TFreeable>> remaining;
    {
        std::lock_guard guard(FListLock);
        remaining.swap(FList);
    }
    for (auto& object : remaining)
        FreeSwallowingErrors(object);
}

bool TFreeThread::TerminationRequested() const
{
    std::lock_guard guard(FListLock);
    return FTerminated;
}

std::size_t TFreeThread::QueuedCount() const
{
    std::lock_guard guard(FListLock);
    return FList.size();
}

namespace {

std::mutex GInstanceLock;
std::unique_ptr<TFreeThread> GInstance;

void DisposeStreamOnFreeThread(std::unique_ptr<fontfile::TFontStream> stream)
{
    FreeInBackground(std::move(stream));
}

} // namespace

void QueueOnFreeThread(std::unique_ptr<TFreeable> object)
{
    // Declared before the guard: freed after the lock is released when no thread runs.
    std::unique_ptr<TFreeable> freeHere;
    std::lock_guard guard(GInstanceLock);
    if (GInstance)
        GInstance->Enqueue(std::move(object));
    else
        freeHere = std::move(object);
}

void InstallFreeThread()
{
    std::lock_guard guard(GInstanceLock);
    if (GInstance)
        return;
    GInstance = std::make_unique<TFreeThread>();
    fontfile::SetStreamDisposer(&DisposeStreamOnFreeThread);
}

void ShutdownFreeThread()
{
    std::unique_ptr<TFreeThread> instance;
    {
        std::lock_guard guard(GInstanceLock);
        fontfile::SetStreamDisposer(nullptr);
        instance = std::move(GInstance);
    }
    if (instance)
        instance->Shutdown();
}

} // namespace support
