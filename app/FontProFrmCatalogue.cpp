#include "app/FontProFrmCatalogue.h"

#include "catalogue/GlobalFontManagerUnit.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>

namespace app {

TMainThreadFontCatalogue::TMainThreadFontCatalogue(QObject* context) : FContext(context) {}

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
    OnMainThread([&] {
        catalogue::TGlobalFontManager& manager = catalogue::TGlobalFontManager::Instance();
        const catalogue::TFontItem* match = manager.GetMatchingActiveFont(item);
        if (!match)
            match = manager.MatchingCachedFont(item);
        if (match)
            copy = operations::DetachedCopy(*match);
    });
    return copy;
}

void TMainThreadFontCatalogue::AddAsInstalled(const catalogue::TFontItem& item)
{
    OnMainThread([&] { catalogue::TGlobalFontManager::Instance().AddAsInstalled(item); });
}

void TMainThreadFontCatalogue::AddAsLoaded(const catalogue::TFontItem& item)
{
    OnMainThread([&] { catalogue::TGlobalFontManager::Instance().AddAsLoaded(item); });
}

void TMainThreadFontCatalogue::Remove(const catalogue::TFontItem& item)
{
    OnMainThread([&] { catalogue::TGlobalFontManager::Instance().Remove(item); });
}

void TMainThreadFontCatalogue::FileMoved(const catalogue::TFontItem& oldItem, const catalogue::TFontItem& newItem)
{
    OnMainThread([&] { catalogue::TGlobalFontManager::Instance().FileMoved(oldItem, newItem); });
}

} // namespace app
