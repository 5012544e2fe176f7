#pragma once

// The scan of a folder (the Browse tab, and the folder of the selected group): every file of
// the folder, optionally with its sub-folders depth first, read by the program's own readers;
// faces of new files are handed to the main thread as added batches, faces of files that
// vanished (or changed on disk) as removed batches, with the protocol of TBaseFontsThreadEx.
//
// The file list persists between the scans of one tab (TGlobalFontManagerEx): a rescan of the
// same folder reports only what changed. Forget() empties it for a fresh scan.
//
// Symbolic links to font files are shortcuts: the face names the link's target as its font
// file and carries the link as its shortcut path; the list files it under the link.

#include "catalogue/BaseFontsThreadExUnit.h"
#include "catalogue/FontFileList.h"

#include <QSet>
#include <QString>

#include <map>
#include <memory>

namespace catalogue {

// The folder of the scan thread created last (Browse or group); the main window compares the
// folder tree's selection with it. Main thread only.
const QString& LastScannedFolder();
// Cleared (empty) when the user browses to a folder.
void SetLastScannedFolder(const QString& folder);

class TBrowseFontsThread : public TBaseFontsThreadEx {
public:
    // Created suspended (attach the events, then Resume) and freed when it ends, like every
    // scan thread. fileList must outlive the thread and is touched by nobody else while it
    // runs. Sets the last scanned folder. Main thread only.
    TBrowseFontsThread(TFontFileList& fileList, bool includeSubFolders, const QString& folder);

    // Empties the file list, so that the scan reports every file as new (before Resume).
    void Forget();

    const QString& Folder() const { return FFolder; }
    bool IncludeSubFolders() const { return FIncludeSubFolders; }
    TFontFileList& FileList() const { return FFileList; }

protected:
    void Execute() override;

private:
    void RemoveVanishedFiles();
    // After a stop: the file list forgets the files whose faces never reached the list, and
    // takes back the vanished files whose removal never did, so that the next scan reports
    // both again.
    void KeepUndeliveredForTheNextScan();
    void ScanFolder(const QString& folder);
    void ScanFile(const QString& path);
    void ReportFaces(const TFontFileItem& file, bool added);
    std::unique_ptr<TFontItem> ItemOf(const TFontFileItem& file, const TFontInfoItem& face, int faceIndex) const;

    TFontFileList& FFileList;
    const bool FIncludeSubFolders;
    const QString FFolder;
    QSet<QString> FVisitedFolders;  // canonical paths, against link cycles
    // Entries taken out of the file list for vanished or changed files, by path.
    std::map<QString, std::unique_ptr<TFontFileItem>> FVanished;
};

} // namespace catalogue
