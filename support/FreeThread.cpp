#include "FreeThread.h"

#include "fontfile/FontStream.h"

#include <chrono>
#include <iterator>

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
    bool wake = false;
    {
        std::lock_guard guard(FListLock);
        if (!FTerminated) {
            FList.push_back(std::move(object));
            // One wake-up per batch: waking the thread for every object costs the caller a
            // system call and a thread switch each time. A smaller batch waits for the timed
            // wake-up of the run loop.
            wake = FList.size() == kWakeBatch;
        }
    }
    if (!object) {
        if (wake)
            FWake.notify_one();
        return;
    }
    FreeSwallowingErrors(object);
}

void TFreeThread::Execute()
{
    std::vector<std::unique_ptr<TFreeable>> batch;
    std::unique_lock lock(FListLock);
    while (!FTerminated) {
        if (FList.empty()) {
            FWake.wait_for(lock, kIdleSleep, [this] { return FTerminated || FList.size() >= kWakeBatch; });
            continue;
        }
        batch.swap(FList);
        lock.unlock();
        std::size_t freed = 0;
        for (; freed < batch.size() && !FTerminationSeen.load(std::memory_order_relaxed); ++freed)
            FreeSwallowingErrors(batch[freed]);
        lock.lock();
        // Asked to end in the middle of a batch: the rest goes back to the front of the list,
        // where the shutdown frees it.
        if (freed < batch.size())
            FList.insert(FList.begin(), std::make_move_iterator(batch.begin() + static_cast<std::ptrdiff_t>(freed)),
                         std::make_move_iterator(batch.end()));
        batch.clear();
    }
}

void TFreeThread::Shutdown()
{
    {
        std::lock_guard guard(FListLock);
        FTerminated = true;
        FTerminationSeen.store(true, std::memory_order_relaxed);
    }
    FWake.notify_all();
    if (FThread.joinable())
        FThread.join();

    std::vector<std::unique_ptr<TFreeable>> remaining;
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
