#include "BaseFontsThreadExUnit.h"

#include "support/LoggerUnit.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <cstdlib>
#include <exception>

namespace catalogue {

namespace {

constexpr qint64 kYieldIntervalMs = 50;
constexpr unsigned long kYieldSleepMs = 5;
constexpr qint64 kDeliveryIntervalMs = 750;
constexpr int kStopPollMs = 5;

} // namespace

TBaseFontsThreadEx::TBaseFontsThreadEx()
    : FReceiver(std::make_unique<QObject>())
{
    FClock.start();
    SetFreeOnTerminate(true);
}

TBaseFontsThreadEx::~TBaseFontsThreadEx()
{
    // A thread freed while it runs would be cut off; Stop is the way to end it early.
    Terminate();
    wait();
}

void TBaseFontsThreadEx::SetFreeOnTerminate(bool on)
{
    if (on && !FFreeConnection)
        FFreeConnection = connect(this, &QThread::finished, this, &QObject::deleteLater);
    else if (!on && FFreeConnection) {
        disconnect(FFreeConnection);
        FFreeConnection = {};
    }
}

void TBaseFontsThreadEx::Stop()
{
    OnFinished = nullptr;
    SetFreeOnTerminate(false);
    Terminate();
    // The worker may be waiting in Synchronize; serve those calls (and nothing else) until
    // it has ended.
    while (!wait(QDeadlineTimer(kStopPollMs)))
        QCoreApplication::sendPostedEvents(FReceiver.get(), QEvent::MetaCall);
    QCoreApplication::sendPostedEvents(FReceiver.get(), QEvent::MetaCall);
}

void TBaseFontsThreadEx::Synchronize(const std::function<void()>& call)
{
    if (QThread::currentThread() == FReceiver->thread()) {
        call();
        return;
    }
    QMetaObject::invokeMethod(FReceiver.get(), call, Qt::BlockingQueuedConnection);
}

void TBaseFontsThreadEx::Yield()
{
    const qint64 now = Now();
    if (std::llabs(now - FLastYield) > kYieldIntervalMs) {
        FLastYield = now;
        msleep(kYieldSleepMs);
    }
}

void TBaseFontsThreadEx::ReadDetailsOf(TFontItem& item)
{
    try {
        item.ReadDetails();
    } catch (const std::exception& error) {
        support::LogError(QStringLiteral("Reading details of ") + item.FullName() + QStringLiteral(": ") +
                          QString::fromUtf8(error.what()));
    }
}

bool TBaseFontsThreadEx::DeliveryDue()
{
    const qint64 now = Now();
    if (std::llabs(now - FLastDelivery) <= kDeliveryIntervalMs)
        return false;
    FLastDelivery = now;
    return true;
}

void TBaseFontsThreadEx::ReportAdded(std::unique_ptr<TFontItem> item)
{
    ReadDetailsOf(*item);
    FAdded.push_back(std::move(item));
    Yield();
    if (DeliveryDue())
        DeliverAdded();
}

void TBaseFontsThreadEx::ReportRemoved(std::unique_ptr<TFontItem> item)
{
    FRemoved.push_back(std::move(item));
    Yield();
    if (DeliveryDue())
        DeliverRemoved();
}

void TBaseFontsThreadEx::ReportChanged(std::unique_ptr<TFontItem> item)
{
    if (!item->IsVerticalWithoutFile())
        ReadDetailsOf(*item);
    FChanged.push_back(std::move(item));
    Yield();
    if (DeliveryDue())
        DeliverChanged();
}

void TBaseFontsThreadEx::DeliverRemoved()
{
    Deliver(FRemoved, &TBaseFontsThreadEx::OnRemoved, true);
}

void TBaseFontsThreadEx::DeliverAdded()
{
    // A face that moved from one kind of entry to another is removed before it is added.
    DeliverRemoved();
    Deliver(FAdded, &TBaseFontsThreadEx::OnAdded, false);
}

void TBaseFontsThreadEx::DeliverChanged()
{
    // A changed face may have arrived in a batch still waiting.
    DeliverAdded();
    Deliver(FChanged, &TBaseFontsThreadEx::OnChanged, true);
}

void TBaseFontsThreadEx::DeliverAll()
{
    DeliverChanged();
}

void TBaseFontsThreadEx::Deliver(TFontItems& items, TBatchEvent TBaseFontsThreadEx::*event, bool listOwnsItems)
{
    if (items.empty())
        return;
    Synchronize([&] {
        // Read in the main thread: the stopper detaches events there.
        const TBatchEvent& handler = this->*event;
        if (!handler || Terminated())
            return;  // the items stay and are freed with the thread
        bool owns = listOwnsItems;
        try {
            handler(items, owns, *this);
        } catch (...) {
            // The receiver's failure does not stop the run.
        }
        items.clear();
    });
}

void TBaseFontsThreadEx::Error(const QString& text)
{
    support::LogError(text);
    Synchronize([&] {
        if (!OnError)
            return;
        try {
            OnError(text, *this);
        } catch (...) {
        }
    });
}

void TBaseFontsThreadEx::run()
{
    FLastYield = Now();
    FLastDelivery = Now();
    try {
        Execute();
        FCompleted = !Terminated();
    } catch (const std::exception& error) {
        FCompleted = false;
        Error(QString::fromUtf8(error.what()));
    } catch (...) {
        FCompleted = false;
        Error(QStringLiteral("Unknown exception"));
    }
    Synchronize([this] {
        if (!OnFinished)
            return;
        try {
            OnFinished(*this, FCompleted);
        } catch (...) {
        }
    });
}

} // namespace catalogue
