#pragma once

// The folder scan of one tab (Browse, or the selected group): at most one TBrowseFontsThread
// at a time on the tab's file list; fresh scans that forget the list; incremental rescans
// after the folder changed, started once no scan runs; and batches of a replaced thread kept
// away from the receiver. Main thread only.

#include "catalogue/BrowseFontsThreadUnit.h"

#include <QPointer>
#include <QString>

#include <functional>

namespace catalogue {

class TBrowseScanSlot {
public:
    using TFinishedEvent = std::function<void(bool completed)>;

    explicit TBrowseScanSlot(TFontFileList& fileList);
    // Stops a running scan.
    ~TBrowseScanSlot();
    TBrowseScanSlot(const TBrowseScanSlot&) = delete;
    TBrowseScanSlot& operator=(const TBrowseScanSlot&) = delete;

    // Stops a running scan and starts one that forgets the file list, so that every file of
    // folder is reported. Drops a pending change.
    void StartFresh(const QString& folder, bool includeSubFolders);
    // Remembers that the folder changed (a notification); Poll starts the rescan.
    void FolderChanged() { FChangePending = true; }
    // Starts an incremental rescan (same folder and list, nothing forgotten: only vanished,
    // changed and new files are reported) when a change is pending and no scan runs. True when
    // it started one.
    bool Poll();
    // Stops the running scan (the rows found so far stay) and drops a pending change.
    void Stop();

    bool Running() const { return !FThread.isNull(); }
    bool ChangePending() const { return FChangePending; }
    const QString& Folder() const { return FFolder; }
    bool IncludeSubFolders() const { return FIncludeSubFolders; }
    TFontFileList& FileList() const { return FFileList; }
    // The running thread, or nullptr.
    TBrowseFontsThread* Thread() const { return FThread.data(); }

    // The events of the running thread (as TBaseFontsThreadEx has them); those of a thread
    // that was replaced or stopped never arrive.
    TBaseFontsThreadEx::TBatchEvent OnAdded;
    TBaseFontsThreadEx::TBatchEvent OnRemoved;
    TBaseFontsThreadEx::TBatchEvent OnChanged;
    TBaseFontsThreadEx::TErrorEvent OnError;
    TFinishedEvent OnFinished;

private:
    void Start(bool forget);
    void StopThread();
    TBaseFontsThreadEx::TBatchEvent Forward(TBaseFontsThreadEx::TBatchEvent TBrowseScanSlot::*event);
    bool IsCurrent(const TBaseFontsThreadEx& thread) const { return &thread == FThread.data(); }

    TFontFileList& FFileList;
    QString FFolder;
    bool FIncludeSubFolders = false;
    bool FChangePending = false;
    QPointer<TBrowseFontsThread> FThread;  // frees itself when it ends
};

} // namespace catalogue
