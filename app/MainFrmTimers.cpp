// The four timers of the main window. Worker threads and system notifications only set
// flags; these timers are the one place where the deferred work starts.

#include "app/MainFrm.h"

#include <QCoreApplication>
#include <QTimer>

namespace app {

namespace {

QTimer* CreateTimer(QObject* owner, const char* name, int intervalMs)
{
    auto* timer = new QTimer(owner);
    timer->setObjectName(QLatin1String(name));
    timer->setInterval(intervalMs);
    return timer;
}

} // namespace

void TMainFormFM::BuildTimers()
{
    tmrThreadStatus = CreateTimer(this, "tmrThreadStatus", 80);
    tmrUpdateSystemFonts = CreateTimer(this, "tmrUpdateSystemFonts", 40);
    tmrUpdateFontItem = CreateTimer(this, "tmrUpdateFontItem", 50);
    tmrUpdateSelectionRelatedGUIElements = CreateTimer(this, "tmrUpdateSelectionRelatedGUIElements", 50);

    connect(tmrThreadStatus, &QTimer::timeout, this, &TMainFormFM::tmrThreadStatusTimer);
    connect(tmrUpdateSystemFonts, &QTimer::timeout, this, &TMainFormFM::tmrUpdateSystemFontsTimer);
    connect(tmrUpdateFontItem, &QTimer::timeout, this, &TMainFormFM::tmrUpdateFontItemTimer);
    connect(tmrUpdateSelectionRelatedGUIElements, &QTimer::timeout, this,
            &TMainFormFM::tmrUpdateSelectionRelatedGUIElementsTimer);

    // The selected-font refresh waits until a selection change enables it.
    tmrThreadStatus->start();
    tmrUpdateSystemFonts->start();
    tmrUpdateSelectionRelatedGUIElements->start();
}

void TMainFormFM::tmrThreadStatusTimer()
{
    // The tab icons animate while a tab's scanning thread runs; no scanning threads yet.
}

void TMainFormFM::tmrUpdateSystemFontsTimer()
{
    ReapFinishedThreads();
    std::erase_if(FRetiredBrowseThreads, [](const auto& thread) { return thread->isFinished(); });
    if (QCoreApplication::closingDown() || FFlags.PrintingOrExporting)
        return;
    if (FFlags.SystemFontsChanged && FFlags.ActiveFontsKnown && !FActiveFontsThread && !FTaskWindowOpen) {
        FFlags.SystemFontsChanged = false;
        IncrementalReEnumerationOfActiveFonts();
    }
    if (FFlags.BrowseFolderChanged && FFlags.BrowseScanningLive && !FBrowseFontsThread && !FFlags.FileRenameRunning) {
        FFlags.BrowseFolderChanged = false;
        StartBrowseFontsThread(FLastScannedFolder, false);
    }
    // The group rescans and the group rebuild start here once their threads exist.
}

void TMainFormFM::tmrUpdateSelectionRelatedGUIElementsTimer()
{
    tmrUpdateSelectionRelatedGUIElements->stop();
    UpdateFontCommands();
    tmrUpdateSelectionRelatedGUIElements->start();
}

} // namespace app
