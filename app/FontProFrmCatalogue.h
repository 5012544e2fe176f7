#pragma once

// The engine's view of the program's font index and cache for the task window: every
// question and change is handed to the main thread (a blocking queued call from the worker),
// so the active index and the font cache, which the main thread paints from, are never
// touched by two threads at once.

#include "operations/FontOperationCatalogue.h"

#include <QPointer>

#include <functional>
#include <memory>

class QObject;

namespace app {

class TMainThreadFontCatalogue : public operations::TFontOperationCatalogue {
public:
    // context: an object of the main thread (the task window); inner: the catalogue the
    // calls go to.
    TMainThreadFontCatalogue(QObject* context, std::unique_ptr<operations::TFontOperationCatalogue> inner);

    std::unique_ptr<catalogue::TFontItem> MatchingFont(const catalogue::TFontItem& item) override;
    void AddAsInstalled(const catalogue::TFontItem& item) override;
    void AddAsLoaded(const catalogue::TFontItem& item) override;
    void Remove(const catalogue::TFontItem& item) override;
    void FileMoved(const catalogue::TFontItem& oldItem, const catalogue::TFontItem& newItem) override;

private:
    void OnMainThread(const std::function<void()>& call);

    QPointer<QObject> FContext;
    std::unique_ptr<operations::TFontOperationCatalogue> FInner;
};

} // namespace app
