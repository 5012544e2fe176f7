#include "Win32ApiWide.h"

#include "platform/Places.h"

#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QTime>

#include <cerrno>

namespace support {

namespace {

// Longer chains than the kernel follows (40) are loops.
constexpr int kMaxLinkChain = 40;
constexpr int kSearchableAttributes = faHidden | faSysFile | faVolumeID | faDirectory;

QString WithTrailingSeparator(const QString& folder)
{
    if (folder.isEmpty())
        return {};
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

bool HasWildcards(const QString& name)
{
    return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

// "*" any run of characters, "?" one character; letters compared case-folded.
bool WildcardMatches(QStringView pattern, QStringView name)
{
    qsizetype p = 0, n = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == QLatin1Char('*')) {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == QLatin1Char('?') || pattern[p].toCaseFolded() == name[n].toCaseFolded())) {
            ++p;
            ++n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}

QString FollowLinkChain(const QString& fileName)
{
    QString current = fileName;
    for (int step = 0; step < kMaxLinkChain; ++step) {
        const QFileInfo info(current);
        if (!info.isSymLink())
            return current;
        current = info.symLinkTarget();
        if (current.isEmpty())
            return {};
    }
    return {};
}

int AttributesOf(const QFileInfo& info)
{
    int attr = 0;
    if (info.isDir())
        attr |= faDirectory;
    else
        attr |= faArchive;
    if (info.fileName().startsWith(QLatin1Char('.')))
        attr |= faHidden;
    if (!info.isWritable())
        attr |= faReadOnly;
    return attr;
}

// Regular files, folders and links (dangling ones too); never sockets, pipes or devices,
// which a reader could block on.
bool IsListable(const QFileInfo& info)
{
    return info.isFile() || info.isDir() || info.isSymLink();
}

void Fill(TSearchRecWide& rec, const QFileInfo& info)
{
    rec.Attr = AttributesOf(info);
    rec.Name = info.fileName();
    rec.Size = info.isDir() || !info.exists() ? 0 : info.size();
    rec.Time = DateTimeToFileDate(info.lastModified());
    rec.FindData.FullPath = info.absoluteFilePath();
    rec.FindData.Size = rec.Size;
    rec.FindData.LastWriteTime = info.lastModified();
    rec.FindData.LastAccessTime = info.lastRead();
    rec.FindData.IsSymLink = info.isSymLink();
}

void ClearEntry(TSearchRecWide& rec)
{
    rec.Time = 0;
    rec.Size = 0;
    rec.Attr = 0;
    rec.Name.clear();
    rec.FindData = {};
}

} // namespace

struct TFindHandleState {
    QString NamePattern;
    // Null for a name without wildcards: the one entry has been returned already.
    std::unique_ptr<QDirIterator> Entries;
};

TSearchRecWide::TSearchRecWide() = default;
TSearchRecWide::~TSearchRecWide() = default;
TSearchRecWide::TSearchRecWide(TSearchRecWide&&) noexcept = default;
TSearchRecWide& TSearchRecWide::operator=(TSearchRecWide&&) noexcept = default;

bool IsNTFamily()
{
    return true;
}

bool IsWindows2000OrLater()
{
    return true;
}

bool FileExistsWide(const QString& fileName)
{
    if (fileName.isEmpty())
        return false;
    const QFileInfo info(fileName);
    return info.exists() && !info.isDir();
}

bool DirectoryExistsWide(const QString& folder)
{
    return !folder.isEmpty() && QFileInfo(folder).isDir();
}

qint64 GetFileSizeWide(const QString& fileName)
{
    TSearchRecWide rec;
    if (FindFirstWide(fileName, faAnyFile, rec) != 0)
        return -1;
    const qint64 size = rec.Size;
    FindCloseWide(rec);
    return size;
}

bool TouchFileWide(const QString& fileName)
{
    if (!FileExistsWide(fileName))
        return false;
    // Read and write together: opening for writing alone would truncate.
    QFile file(fileName);
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
        return false;
    const QDateTime now = QDateTime::currentDateTime();
    return file.setFileTime(now, QFileDevice::FileAccessTime) &&
           file.setFileTime(now, QFileDevice::FileModificationTime);
}

bool IsNetworkFileSystemType(const QByteArray& type)
{
    static const char* const kNetworkTypes[] = {
        "nfs", "nfs4", "cifs", "smb3", "smbfs", "smb", "sshfs", "fuse.sshfs", "9p", "afs",
        "ncpfs", "coda", "ceph", "fuse.ceph", "glusterfs", "fuse.glusterfs", "lustre", "davfs",
        "fuse.davfs2", "fuse.rclone", "fuse.s3fs", "gpfs", "beegfs", "orangefs", "pvfs2",
    };
    for (const char* known : kNetworkTypes)
        if (type == known)
            return true;
    return false;
}

bool IsRemoteDrive(const QString& path)
{
    if (path.isEmpty())
        return false;
    QString existing = QFileInfo(path).absoluteFilePath();
    while (!QFileInfo::exists(existing) && existing != QLatin1String("/"))
        existing = QFileInfo(existing).absolutePath();
    const QStorageInfo storage(existing);
    return storage.isValid() && IsNetworkFileSystemType(storage.fileSystemType());
}

QString GetSpecialFolderWide(int folderId)
{
    switch (folderId) {
    case CSIDL_COMMON_APPDATA:
        return WithTrailingSeparator(platform::places::XdgDataHome());
    case CSIDL_PERSONAL:
        return WithTrailingSeparator(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    case CSIDL_FONTS:
        return WithTrailingSeparator(platform::places::UserFontFolder());
    default:
        return {};
    }
}

bool ResolveShortcutWide(const QString& fileName, QString& targetPath)
{
    if (fileName.isEmpty() || !QFileInfo(fileName).isSymLink())
        return false;
    const QString target = FollowLinkChain(fileName);
    if (target.isEmpty())
        return false;
    const QFileInfo info(target);
    const bool namedAsShortcut = fileName.endsWith(QLatin1String(".lnk"), Qt::CaseInsensitive);
    if (!(info.isFile() || (namedAsShortcut && info.isDir())))
        return false;
    targetPath = info.absoluteFilePath();
    return true;
}

namespace {

// The next entry of an open wildcard search that matches and is not excluded.
int NextMatch(TSearchRecWide& rec)
{
    QDirIterator& entries = *rec.FindHandle->Entries;
    while (entries.hasNext()) {
        entries.next();
        const QFileInfo info = entries.fileInfo();
        if (!IsListable(info) || !WildcardMatches(rec.FindHandle->NamePattern, info.fileName()))
            continue;
        if (AttributesOf(info) & rec.ExcludeAttr)
            continue;
        Fill(rec, info);
        return 0;
    }
    return ENOENT;
}

} // namespace

int FindFirstWide(const QString& pathPattern, int attributes, TSearchRecWide& searchRec)
{
    FindCloseWide(searchRec);
    ClearEntry(searchRec);
    searchRec.ExcludeAttr = ~attributes & kSearchableAttributes;

    const qsizetype slash = pathPattern.lastIndexOf(QLatin1Char('/'));
    const QString folder = slash < 0 ? QStringLiteral(".") : (slash == 0 ? QStringLiteral("/") : pathPattern.left(slash));
    QString name = slash < 0 ? pathPattern : pathPattern.mid(slash + 1);
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return ENOENT;

    if (!HasWildcards(name)) {
        const QFileInfo info(folder + QLatin1Char('/') + name);
        if (!info.exists() && !info.isSymLink())
            return ENOENT;
        if (!IsListable(info) || (AttributesOf(info) & searchRec.ExcludeAttr))
            return ENOENT;
        searchRec.FindHandle = std::make_unique<TFindHandleState>();
        Fill(searchRec, info);
        return 0;
    }

    const QFileInfo folderInfo(folder);
    if (!folderInfo.isDir())
        return ENOENT;
    if (!folderInfo.isReadable())
        return EACCES;
    if (name == QLatin1String("*.*"))
        name = QStringLiteral("*");

    auto state = std::make_unique<TFindHandleState>();
    state->NamePattern = name;
    state->Entries = std::make_unique<QDirIterator>(
        folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    searchRec.FindHandle = std::move(state);
    const int result = NextMatch(searchRec);
    if (result != 0)
        FindCloseWide(searchRec);
    return result;
}

int FindNextWide(TSearchRecWide& searchRec)
{
    if (!searchRec.FindHandle)
        return EBADF;
    if (!searchRec.FindHandle->Entries)
        return ENOENT;
    return NextMatch(searchRec);
}

void FindCloseWide(TSearchRecWide& searchRec)
{
    searchRec.FindHandle.reset();
}

quint32 DateTimeToFileDate(const QDateTime& dateTime)
{
    if (!dateTime.isValid())
        return 0;
    const QDateTime local = dateTime.toLocalTime();
    QDate date = local.date();
    QTime time = local.time();
    if (date.year() < 1980) {
        date = QDate(1980, 1, 1);
        time = QTime(0, 0, 0);
    } else if (date.year() > 2107) {
        date = QDate(2107, 12, 31);
        time = QTime(23, 59, 58);
    }
    const quint32 packedDate = static_cast<quint32>(((date.year() - 1980) << 9) | (date.month() << 5) | date.day());
    const quint32 packedTime = static_cast<quint32>((time.hour() << 11) | (time.minute() << 5) | (time.second() / 2));
    return (packedDate << 16) | packedTime;
}

QDateTime FileDateToDateTime(quint32 fileDate)
{
    const quint32 packedDate = fileDate >> 16;
    const quint32 packedTime = fileDate & 0xFFFF;
    const QDate date(static_cast<int>(packedDate >> 9) + 1980, static_cast<int>((packedDate >> 5) & 0x0F),
                     static_cast<int>(packedDate & 0x1F));
    const QTime time(static_cast<int>(packedTime >> 11), static_cast<int>((packedTime >> 5) & 0x3F),
                     static_cast<int>(packedTime & 0x1F) * 2);
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time);
}

} // namespace support
