#pragma once

// The small file-system and shell services that the program calls instead of the operating
// system directly: platform flags, file and folder queries, special folders, shortcut
// resolution and a file search with wildcard patterns. Everything keeps no state and may be
// called from any thread.

#include <QDateTime>
#include <QString>
#include <QtGlobal>

#include <memory>

namespace support {

// The program runs on the equivalent of the NT family only: wide names everywhere.
bool IsNTFamily();
bool IsWindows2000OrLater();

// An existing entry that is not a folder; an empty name is never a file. Symbolic links
// count as what they point at.
bool FileExistsWide(const QString& fileName);
bool DirectoryExistsWide(const QString& folder);
// The size found by a search for exactly that name with all attributes allowed; -1 when the
// search fails.
qint64 GetFileSizeWide(const QString& fileName);
// Sets the last-access and last-write times of an existing file to now (the creation time
// cannot be set on Linux). Needs write access to the file, like the same call on Windows.
bool TouchFileWide(const QString& fileName);
// True when the path lies on a network file system (NFS, SMB, sshfs, 9p, AFS, ...).
// A path that does not exist yet is judged by its nearest existing parent folder.
bool IsRemoteDrive(const QString& path);
// The file-system type names (as the mount table gives them) counted as network drives.
bool IsNetworkFileSystemType(const QByteArray& type);

// Shell special folder identifiers the program asks for.
inline constexpr int CSIDL_PERSONAL = 5;
inline constexpr int CSIDL_FONTS = 20;
inline constexpr int CSIDL_COMMON_APPDATA = 35;

// The folder with a trailing "/", or empty text (no separator) when the identifier is not
// known or the folder cannot be found:
//   CSIDL_COMMON_APPDATA: the per-user data folder ($XDG_DATA_HOME) that holds the program's
//     own data folder (installs are per user here);
//   CSIDL_PERSONAL: the documents folder;
//   CSIDL_FONTS: the user font folder, the install target.
QString GetSpecialFolderWide(int folderId);

// Shortcuts are symbolic links. A link named "*.lnk" (any case) resolves to whatever it points
// at, file or folder, as a shell link would; a link with any other name resolves only when it
// points at a file, so that linked sub-folders stay folders when browsing. The target is the
// end of the link chain. False for anything that is not a symbolic link, for a dangling link
// and for a chain that loops; targetPath is left alone then.
bool ResolveShortcutWide(const QString& fileName, QString& targetPath);

// File attributes of a search entry.
inline constexpr int faReadOnly = 0x01;  // not writable by this user
inline constexpr int faHidden = 0x02;    // name starts with "."
inline constexpr int faSysFile = 0x04;   // never set here
inline constexpr int faVolumeID = 0x08;  // never set here
inline constexpr int faDirectory = 0x10;
inline constexpr int faArchive = 0x20;   // regular files (and dangling links)
inline constexpr int faAnyFile = 0x3F;

// Details of the current entry beyond what the record's own fields hold.
struct TFindDataWide {
    QString FullPath;
    qint64 Size = 0;
    QDateTime LastWriteTime;
    QDateTime LastAccessTime;
    bool IsSymLink = false;
};

struct TFindHandleState;

struct TSearchRecWide {
    TSearchRecWide();
    ~TSearchRecWide();
    TSearchRecWide(TSearchRecWide&&) noexcept;
    TSearchRecWide& operator=(TSearchRecWide&&) noexcept;

    // Last-write time, local, packed as the FAT date (high word) and time (low word).
    quint32 Time = 0;
    // Full 64-bit size; folders have size 0.
    qint64 Size = 0;
    int Attr = 0;
    QString Name;
    int ExcludeAttr = 0;
    // Empty when no search is open.
    std::unique_ptr<TFindHandleState> FindHandle;
    TFindDataWide FindData;
};

// Error codes of the search: 0 on success, else an errno value.
// pathPattern is a folder followed by a name that may hold "*" and "?" (matched without
// regard to case, "*.*" matches every name); a name without wildcards finds exactly that
// entry. "." and ".." are never returned, nor sockets, pipes and devices. Entries whose
// attributes intersect ExcludeAttr (hidden, system, volume and folder bits not asked for)
// are skipped. A failing find first leaves no search open.
int FindFirstWide(const QString& pathPattern, int attributes, TSearchRecWide& searchRec);
// ENOENT when no more entries match; EBADF when no search is open.
int FindNextWide(TSearchRecWide& searchRec);
// Closes the search; may be called any number of times.
void FindCloseWide(TSearchRecWide& searchRec);

// The packed FAT date and time of a local date and time; clamped to 1980-01-01 00:00:00 ..
// 2107-12-31 23:59:58 (the range the form can hold); 0 for an invalid date and time.
quint32 DateTimeToFileDate(const QDateTime& dateTime);
// The local date and time of a packed value (seconds even); invalid when the value is not a date.
QDateTime FileDateToDateTime(quint32 fileDate);

} // namespace support
