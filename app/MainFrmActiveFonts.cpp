// The Active tab's enumeration: the full reload, the incremental re-enumeration after a font
// change, and the handlers of the active-fonts thread (all in the main thread, served while
// the worker waits).

#include "app/MainFrm.h"

#include "catalogue/ActiveFontsThreadExUnit.h"
#include "app/FontListModel.h"
#include "app/FontListView.h"
#include "catalogue/GlobalFontManagerUnit.h"
#include "catalogue/FontFamilyList.h"
#include "platform/FontChangeWatcher.h"
#include "support/WideMessageFrm.h"

#include <QComboBox>
#include <QTabWidget>

namespace app {

void TMainFormFM::FullReloadOfActiveFonts()
{
    StopActiveFontsThread();
    EmptyTabList(kActiveTab);
    // The index must not look into the catalogue while it is emptied.
    catalogue::TGlobalFontManager::Instance().SetActiveIndex(nullptr);
    FActiveFamilies->Clear();
    catalogue::TGlobalFontManager::Instance().SetActiveIndex(FActiveFamilies.get());
    FFlags.SystemFontsChanged = false;
    // Back to the bare caption; the counts return with the first batch or the end of the run.
    tcFonts->setTabText(kActiveTab, QStringLiteral("Active"));
    StartActiveFontsThread(true);
}

void TMainFormFM::IncrementalReEnumerationOfActiveFonts()
{
    StartActiveFontsThread(false);
}

void TMainFormFM::StartActiveFontsThread(bool forgetPrevious)
{
    auto thread = std::make_unique<catalogue::TActiveFontsThreadEx>();
    // The window frees its threads itself, after they have ended.
    thread->SetFreeOnTerminate(false);
    if (forgetPrevious)
        thread->ForgetPreviousEnumeration();
    AttachActiveFontsHandlers(*thread);
    FActiveFontsThread = thread.release();
    FActiveFontsThread->Resume();
}

void TMainFormFM::AttachActiveFontsHandlers(catalogue::TActiveFontsThreadEx& thread)
{
    using catalogue::TBaseFontsThreadEx;
    using catalogue::TFontItems;
    thread.OnEnumerationBegins = [this](catalogue::TActiveFontsThreadEx&) { FFlags.EnumerationPassRunning = true; };
    thread.OnEnumerationEnds = [this](catalogue::TActiveFontsThreadEx&) { FFlags.EnumerationPassRunning = false; };
    thread.OnRemoved = [this](TFontItems& items, bool&, TBaseFontsThreadEx& from) {
        if (!FromActiveSlot(from))
            return;
        ActiveFontsRemoved(items);
    };
    thread.OnAdded = [this](TFontItems& items, bool&, TBaseFontsThreadEx& from) {
        if (!FromActiveSlot(from))
            return;
        ActiveFontsAdded(items);
    };
    thread.OnChanged = [this](TFontItems& items, bool&, TBaseFontsThreadEx& from) {
        if (!FromActiveSlot(from))
            return;
        ActiveFontsChanged(items);
    };
    thread.OnError = [this](const QString& text, TBaseFontsThreadEx&) { ActiveFontsError(text); };
    thread.OnFinished = [this](TBaseFontsThreadEx& from, bool completed) { ActiveFontsFinished(from, completed); };
}

bool TMainFormFM::FromActiveSlot(const catalogue::TBaseFontsThreadEx& thread) const
{
    return FActiveFontsThread != nullptr && &thread == FActiveFontsThread;
}

void TMainFormFM::StopActiveFontsThread()
{
    if (!FActiveFontsThread)
        return;
    std::unique_ptr<catalogue::TActiveFontsThreadEx> thread(FActiveFontsThread);
    thread->Stop();
    FActiveFontsThread = nullptr;
}

void TMainFormFM::ReapFinishedThreads()
{
    std::erase_if(FRetiredThreads, [](const auto& thread) { return thread->isFinished(); });
}

void TMainFormFM::ActiveFontsFinished(catalogue::TBaseFontsThreadEx& thread, bool completed)
{
    if (!FromActiveSlot(thread))
        return;
    // The thread is still returning from this call; it goes once it has ended.
    FRetiredThreads.emplace_back(FActiveFontsThread);
    FActiveFontsThread = nullptr;
    if (completed) {
        FActiveFamilies->Sort();
        if (tcFonts->currentIndex() == kActiveTab)
            RefillFamilyBox();
    }
    FFlags.ActiveFontsKnown = true;
    RefreshActiveCaption();
}

void TMainFormFM::ActiveFontsError(const QString& text)
{
    support::WideMessageBox(QStringLiteral("An error occurred while retrieving active fonts: ") + text,
                            support::TMessageKind::Warning, support::TMessageButtons::OK);
}

void TMainFormFM::SystemFontsMayHaveChanged()
{
    FFlags.SystemFontsChanged = true;
}

} // namespace app
