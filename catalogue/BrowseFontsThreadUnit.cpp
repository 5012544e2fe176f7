#include "BrowseFontsThreadUnit.h"

#include "fontfile/GeneralFontInfo.h"
#include "support/LoggerUnit.h"

#include <QDir>
#include <QFileInfo>

#include <exception>

namespace catalogue {

namespace {

QString& LastScannedFolderValue()
{
    static QString folder;
    return folder;
}

QString WithTrailingSlash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

// A symbolic link counts as present while the link itself exists, wherever it points.
bool LinkExists(const QString& path)
{
    return QFileInfo(path).isSymLink() || QFileInfo::exists(path);
}

void StampFile(const QString& path, std::int64_t& size, std::int64_t& modifiedMs)
{
    const QFileInfo info(path);
    if (!info.isFile()) {
        size = -1;
        modifiedMs = 0;
        return;
    }
    size = info.size();
    modifiedMs = info.lastModified().toMSecsSinceEpoch();
}

// The entry's files as they are now. A shortcut is stamped with the file it leads to, so
// that a link pointed elsewhere reads as a changed entry.
TFontFileStamp StampOf(const TFontFileItem& item)
{
    TFontFileStamp stamp;
    if (item.ViaShortcut())
        stamp.Target = QFileInfo(item.ShortcutPath()).canonicalFilePath();
    StampFile(item.FontFile(), stamp.Size, stamp.ModifiedMs);
    if (!item.SecondFile().isEmpty())
        StampFile(item.SecondFile(), stamp.SecondSize, stamp.SecondModifiedMs);
    return stamp;
}

bool IsGone(const TFontFileItem& item)
{
    if (item.ViaShortcut())
        return !LinkExists(item.ShortcutPath());
    return !QFileInfo::exists(item.FontFile()) ||
           (!item.SecondFile().isEmpty() && !QFileInfo::exists(item.SecondFile()));
}

} // namespace

const QString& LastScannedFolder()
{
    return LastScannedFolderValue();
}

void SetLastScannedFolder(const QString& folder)
{
    LastScannedFolderValue() = folder;
}

TBrowseFontsThread::TBrowseFontsThread(TFontFileList& fileList, bool includeSubFolders, const QString& folder)
    : FFileList(fileList)
    , FIncludeSubFolders(includeSubFolders)
    , FFolder(folder)
{
    SetLastScannedFolder(folder);
}

void TBrowseFontsThread::Forget()
{
    FFileList.Clear();
}

void TBrowseFontsThread::Execute()
{
    setPriority(QThread::LowPriority);
    RemoveVanishedFiles();
    if (!Terminated() && !FFolder.isEmpty()) {
        FVisitedFolders.clear();
        FVisitedFolders.insert(QFileInfo(FFolder).canonicalFilePath());
        ScanFolder(WithTrailingSlash(FFolder));
    }
    DeliverAll();
    if (Terminated())
        KeepUndeliveredForTheNextScan();
}

void TBrowseFontsThread::KeepUndeliveredForTheNextScan()
{
    for (const auto& item : UndeliveredAdded())
        FFileList.Remove(item->ViaShortcut() ? item->ShortcutPath() : item->FontFile());
    QSet<QString> removedFiles;
    for (const auto& item : UndeliveredRemoved())
        removedFiles.insert(item->FontFile());
    for (auto& [path, entry] : FVanished) {
        if (entry && removedFiles.contains(entry->FontFile()) && !FFileList.Contains(path))
            FFileList.Insert(path, std::move(entry));
    }
    FVanished.clear();
}

// An entry whose files are gone leaves the list with its faces reported as removed. So does
// an entry whose files changed on disk since they were read: the scan that follows finds the
// file again and reads it afresh.
void TBrowseFontsThread::RemoveVanishedFiles()
{
    const QStringList paths = FFileList.Paths();
    for (qsizetype i = paths.size() - 1; i >= 0; --i) {
        if (Terminated())
            return;
        const TFontFileItem* item = FFileList.Find(paths.at(i));
        if (!item || (!IsGone(*item) && StampOf(*item) == item->Stamp()))
            continue;
        ReportFaces(*item, false);
        FVanished[paths.at(i)] = FFileList.Take(paths.at(i));
    }
}

void TBrowseFontsThread::ScanFolder(const QString& folder)
{
    const QDir dir(folder);
    const QFileInfoList files = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo& file : files) {
        if (Terminated())
            return;
        Yield();
        // Sockets, pipes and devices are no font files (reading a pipe would never end);
        // neither is a link that leads nowhere.
        if (!file.isFile())
            continue;
        ScanFile(folder + file.fileName());
    }
    if (!FIncludeSubFolders)
        return;

    const QFileInfoList subFolders = dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
    for (const QFileInfo& subFolder : subFolders) {
        if (Terminated())
            return;
        // A folder reached twice (through a link, perhaps to one of its own parents) is
        // scanned once.
        const QString canonical = subFolder.canonicalFilePath();
        if (canonical.isEmpty() || FVisitedFolders.contains(canonical))
            continue;
        FVisitedFolders.insert(canonical);
        ScanFolder(folder + subFolder.fileName() + QLatin1Char('/'));
    }
}

void TBrowseFontsThread::ScanFile(const QString& path)
{
    if (FFileList.Contains(path))
        return;
    try {
        const QFileInfo info(path);
        auto item = std::make_unique<TFontFileItem>(info.isSymLink() ? info.canonicalFilePath() : path, QString(),
                                                    FileTypeHint::Undecided);
        if (info.isSymLink()) {
            item->SetViaShortcut(true);
            item->SetShortcutPath(path);
        }
        try {
            item->ReadFaces();
        } catch (...) {
            support::LogError(QStringLiteral("Error porcessing file: ") + path);
            return;
        }
        if (item->Faces().empty())
            return;
        // Stamped after reading, when a Type 1 metrics file has found its outline file.
        item->SetStamp(StampOf(*item));
        const TFontFileItem& entry = FFileList.Insert(path, std::move(item));
        ReportFaces(entry, true);
    } catch (...) {
        support::LogError(QStringLiteral("Error processing file: ") + path);
    }
}

void TBrowseFontsThread::ReportFaces(const TFontFileItem& file, bool added)
{
    const std::vector<TFontInfoItem>& faces = file.Faces();
    for (std::size_t i = 0; i < faces.size(); ++i) {
        std::unique_ptr<TFontItem> item = ItemOf(file, faces[i], static_cast<int>(i));
        if (added) {
            ReportAdded(std::move(item));
        } else {
            item->SetViaShortcut(false);
            item->SetShortcutPath(QString());
            ReportRemoved(std::move(item));
        }
    }
}

std::unique_ptr<TFontItem> TBrowseFontsThread::ItemOf(const TFontFileItem& file, const TFontInfoItem& face,
                                                      int faceIndex) const
{
    auto item = std::make_unique<TFontItem>(face.FamilyName, false);
    item->SetWeight(face.Weight);
    item->SetItalic(face.Italic);
    item->SetStyleName(face.StyleName);
    item->SetRegistryName(face.RegistryName);
    item->SetFullName(face.FullName);
    item->SetGdiTypeBits(face.GdiTypeBits);
    item->SetFontKind(face.FontKind);
    item->SetFontFile(file.FontFile());
    item->SetSecondFile(file.SecondFile());
    item->SetViaShortcut(file.ViaShortcut());
    item->SetShortcutPath(file.ShortcutPath());
    // Members of a collection come in file order; other files hold one face.
    if (face.FontKind == fontfile::FontKind::TrueTypeCollection)
        item->SetFaceIndex(faceIndex);
    return item;
}

} // namespace catalogue
