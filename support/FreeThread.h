#pragma once

// A background thread that frees objects handed to it, so that slow destructors (closing a
// file on a network drive or under a virus scanner) never hold up the thread that used them.
// An object must not be used by anyone once it has been queued.

#include <condition_variable>
#include <cstddef>
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace support {

// Type-erased owner of one queued object.
class TFreeable {
public:
    virtual ~TFreeable() = default;

protected:
    TFreeable() = default;
};

template <class T>
class TFreeableOwner final : public TFreeable {
public:
    explicit TFreeableOwner(std::unique_ptr<T> object) : FObject(std::move(object)) {}
    // An error raised by the object's destructor (one declared noexcept(false)) is swallowed:
    // it must not end the freeing thread.
    ~TFreeableOwner() override
    {
        T* object = FObject.release();
        try {
            delete object;
        } catch (...) {
        }
    }
    TFreeableOwner(const TFreeableOwner&) = delete;
    TFreeableOwner& operator=(const TFreeableOwner&) = delete;

private:
    std::unique_ptr<T> FObject;
};

template <class T>
std::unique_ptr<TFreeable> MakeFreeable(std::unique_ptr<T> object)
{
    return std::make_unique<TFreeableOwner<T>>(std::move(object));
}

class TFreeThread {
public:
    // The thread is woken when this many objects wait; fewer wait for its next timed look
    // at the list (at most 100 ms).
    static constexpr std::size_t kWakeBatch = 32;

    // Starts the thread.
    TFreeThread();
    // Shuts down (see Shutdown).
    ~TFreeThread();
    TFreeThread(const TFreeThread&) = delete;
    TFreeThread& operator=(const TFreeThread&) = delete;

    // Appends the object to the list and returns at once. After Shutdown the object is freed
    // on the calling thread instead.
    template <class T>
    void QueueForFreeing(std::unique_ptr<T> object)
    {
        if (object)
            Enqueue(MakeFreeable(std::move(object)));
    }
    void Enqueue(std::unique_ptr<TFreeable> object);

    // Asks the thread to end, waits for it, then frees whatever is still queued on the calling
    // thread, so that nothing queued is ever lost. Safe to call twice; never from an object
    // that this thread frees.
    void Shutdown();
    bool TerminationRequested() const;
    std::size_t QueuedCount() const;
    std::thread::id ThreadId() const { return FThreadId; }

private:
    void Execute();

    mutable std::mutex FListLock;
    std::condition_variable FWake;
    std::vector<std::unique_ptr<TFreeable>> FList;
    bool FTerminated = false;
    // FTerminated, readable without the lock while the thread frees a batch.
    std::atomic<bool> FTerminationSeen{false};
    std::thread FThread;
    std::thread::id FThreadId;
};

// The process-wide instance. InstallFreeThread creates it and makes it the font library's
// stream disposer; ShutdownFreeThread removes the disposer, stops the thread and frees what
// is left. The program entry holds a TFreeThreadScope for exactly that.
void InstallFreeThread();
void ShutdownFreeThread();
// Queues on the process-wide instance; frees at once on the calling thread when none runs.
void QueueOnFreeThread(std::unique_ptr<TFreeable> object);

template <class T>
void FreeInBackground(std::unique_ptr<T> object)
{
    if (object)
        QueueOnFreeThread(MakeFreeable(std::move(object)));
}

class TFreeThreadScope {
public:
    TFreeThreadScope() { InstallFreeThread(); }
    ~TFreeThreadScope() { ShutdownFreeThread(); }
    TFreeThreadScope(const TFreeThreadScope&) = delete;
    TFreeThreadScope& operator=(const TFreeThreadScope&) = delete;
};

} // namespace support
