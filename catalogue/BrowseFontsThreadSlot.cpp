#include "BrowseFontsThreadSlot.h"

namespace catalogue {

TBrowseScanSlot::TBrowseScanSlot(TFontFileList& fileList)
    : FFileList(fileList)
{
}

TBrowseScanSlot::~TBrowseScanSlot()
{
    StopThread();
}

void TBrowseScanSlot::StartFresh(const QString& folder, bool includeSubFolders)
{
    StopThread();
    FFolder = folder;
    FIncludeSubFolders = includeSubFolders;
    FChangePending = false;
    Start(true);
}

bool TBrowseScanSlot::Poll()
{
    if (!FChangePending || Running())
        return false;
    FChangePending = false;
    Start(false);
    return true;
}

void TBrowseScanSlot::Stop()
{
    FChangePending = false;
    StopThread();
}

void TBrowseScanSlot::StopThread()
{
    TBrowseFontsThread* thread = FThread.data();
    if (!thread)
        return;
    FThread.clear();
    thread->Stop();
    delete thread;
}

TBaseFontsThreadEx::TBatchEvent TBrowseScanSlot::Forward(TBaseFontsThreadEx::TBatchEvent TBrowseScanSlot::*event)
{
    return [this, event](TFontItems& items, bool& listOwnsItems, TBaseFontsThreadEx& thread) {
        const TBaseFontsThreadEx::TBatchEvent& handler = this->*event;
        if (IsCurrent(thread) && handler)
            handler(items, listOwnsItems, thread);
    };
}

void TBrowseScanSlot::Start(bool forget)
{
    auto* thread = new TBrowseFontsThread(FFileList, FIncludeSubFolders, FFolder);
    if (forget)
        thread->Forget();
    thread->OnAdded = Forward(&TBrowseScanSlot::OnAdded);
    thread->OnRemoved = Forward(&TBrowseScanSlot::OnRemoved);
    thread->OnChanged = Forward(&TBrowseScanSlot::OnChanged);
    thread->OnError = [this](const QString& text, TBaseFontsThreadEx& sender) {
        if (IsCurrent(sender) && OnError)
            OnError(text, sender);
    };
    thread->OnFinished = [this](TBaseFontsThreadEx& sender, bool completed) {
        if (!IsCurrent(sender))
            return;
        FThread.clear();  // the thread frees itself
        if (OnFinished)
            OnFinished(completed);
    };
    FThread = thread;
    thread->Resume();
}

} // namespace catalogue
