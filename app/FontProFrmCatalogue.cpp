#include "app/FontProFrmCatalogue.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>

namespace app {

TMainThreadFontCatalogue::TMainThreadFontCatalogue(QObject* context,
                                                   std::unique_ptr<operations::TFontOperationCatalogue> inner)
    : FContext(context)
    , FInner(std::move(inner))
{
}

void TMainThreadFontCatalogue::OnMainThread(const std::function<void()>& call)
{
    QObject* context = FContext.data();
    if (!context || QThread::currentThread() == context->thread()) {
        call();
        return;
    }
    QMetaObject::invokeMethod(context, call, Qt::BlockingQueuedConnection);
}

std::unique_ptr<catalogue::TFontItem> TMainThreadFontCatalogue::MatchingFont(const catalogue::TFontItem& item)
{
    std::unique_ptr<catalogue::TFontItem> copy;
    OnMainThread([&] { copy = FInner->MatchingFont(item); });
    return copy;
}

void TMainThreadFontCatalogue::AddAsInstalled(const catalogue::TFontItem& item)
{
    OnMainThread([&] { FInner->AddAsInstalled(item); });
}

void TMainThreadFontCatalogue::AddAsLoaded(const catalogue::TFontItem& item)
{
    OnMainThread([&] { FInner->AddAsLoaded(item); });
}

void TMainThreadFontCatalogue::Remove(const catalogue::TFontItem& item)
{
    OnMainThread([&] { FInner->Remove(item); });
}

void TMainThreadFontCatalogue::FileMoved(const catalogue::TFontItem& oldItem, const catalogue::TFontItem& newItem)
{
    OnMainThread([&] { FInner->FileMoved(oldItem, newItem); });
}

} // namespace app
