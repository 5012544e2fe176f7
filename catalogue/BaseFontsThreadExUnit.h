#pragma once

// The base of the threads that enumerate and scan fonts. Results reach the main thread only
// through Synchronize, a blocking call into the main thread during which the worker waits:
// errors, the end of the run, and batches of added, removed and changed faces (at most one
// batch every 750 ms; removed before added before changed). The worker sleeps 5 ms after
// every 50 ms of work so that the program stays responsive.

#include "catalogue/FontItem.h"

#include <QElapsedTimer>
#include <QString>
#include <QThread>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

namespace catalogue {

using TFontItems = std::vector<std::unique_ptr<TFontItem>>;

class TBaseFontsThreadEx : public QThread {
public:
    using TErrorEvent = std::function<void(const QString& text, TBaseFontsThreadEx& thread)>;
    using TFinishedEvent = std::function<void(TBaseFontsThreadEx& thread, bool completed)>;
    // The handler moves out the items it keeps; what is left in the list is freed after it
    // returns. listOwnsItems arrives false for an added batch (the receiver is meant to take
    // every item) and true for the others.
    using TBatchEvent = std::function<void(TFontItems& items, bool& listOwnsItems, TBaseFontsThreadEx& thread)>;

    // Created suspended: attach the events, then Resume. Must be made in the main thread.
    TBaseFontsThreadEx();
    ~TBaseFontsThreadEx() override;
    TBaseFontsThreadEx(const TBaseFontsThreadEx&) = delete;
    TBaseFontsThreadEx& operator=(const TBaseFontsThreadEx&) = delete;

    void Resume() { start(); }
    // On (the default): the thread object deletes itself, in the main thread, once it ended.
    void SetFreeOnTerminate(bool on);
    bool FreeOnTerminate() const { return static_cast<bool>(FFreeConnection); }

    bool Terminated() const { return FTerminated.load(); }
    // Marks the thread terminated: every loop stops, no further batch is delivered.
    void Terminate() { FTerminated.store(true); }

    // Stops the thread (main thread only): detaches the finished event, turns off
    // free-on-terminate, marks it terminated and waits for its end while serving its
    // synchronised calls. The caller frees the thread afterwards.
    void Stop();

    TErrorEvent OnError;
    TFinishedEvent OnFinished;
    TBatchEvent OnAdded;
    TBatchEvent OnRemoved;
    TBatchEvent OnChanged;

    // The flag the finished event gets: true unless the thread was terminated or an
    // exception escaped the run.
    bool Completed() const { return FCompleted; }

protected:
    // The work of the thread, in the worker.
    virtual void Execute() = 0;

    // Runs call in the main thread and waits for it.
    void Synchronize(const std::function<void()>& call);
    // Sleeps 5 ms when more than 50 ms passed since the last sleep.
    void Yield();

    // Reads the item's details and queues it; delivers under the 750 ms rule.
    void ReportAdded(std::unique_ptr<TFontItem> item);
    // Queues without reading details.
    void ReportRemoved(std::unique_ptr<TFontItem> item);
    // Reads the details unless the face is vertical without file, queues it.
    void ReportChanged(std::unique_ptr<TFontItem> item);
    // Hands over what is waiting: removed, added, changed.
    void DeliverAll();
    // What a stopped run reported but could not hand over any more.
    const TFontItems& UndeliveredAdded() const { return FAdded; }
    const TFontItems& UndeliveredRemoved() const { return FRemoved; }

    // Writes text to the error log and hands it to the error event.
    void Error(const QString& text);

private:
    void run() final;
    void ReadDetailsOf(TFontItem& item);
    bool DeliveryDue();
    void DeliverRemoved();
    void DeliverAdded();
    void DeliverChanged();
    void Deliver(TFontItems& items, TBatchEvent TBaseFontsThreadEx::*event, bool listOwnsItems);
    qint64 Now() const { return FClock.elapsed(); }

    std::unique_ptr<QObject> FReceiver;  // lives in the main thread; the target of Synchronize
    QMetaObject::Connection FFreeConnection;
    std::atomic<bool> FTerminated{false};
    bool FCompleted = false;
    QElapsedTimer FClock;
    qint64 FLastYield = 0;
    qint64 FLastDelivery = 0;
    TFontItems FAdded;
    TFontItems FRemoved;
    TFontItems FChanged;
};

} // namespace catalogue
