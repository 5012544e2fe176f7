#include "ShellNotifyListing.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

namespace platform {

namespace {

struct TDirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

bool SameEntry(const TListingEntry& a, const TListingEntry& b)
{
    return a.Folder == b.Folder && a.Inode == b.Inode;
}

} // namespace

bool ListFolder(const QString& folder, TFolderListing& listing)
{
    listing.clear();
    const QByteArray name = QFile::encodeName(folder);
    const std::unique_ptr<DIR, TDirCloser> dir(opendir(name.constData()));
    if (!dir)
        return false;
    const int dirFd = dirfd(dir.get());
    while (const dirent* entry = readdir(dir.get())) {
        const QByteArray entryName(entry->d_name);
        if (entryName == "." || entryName == "..")
            continue;
        struct stat info {};
        TListingEntry item;
        item.Inode = entry->d_ino;
        if (fstatat(dirFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0) {
            item.Folder = S_ISDIR(info.st_mode);
            item.Inode = info.st_ino;
            item.Size = info.st_size;
            item.ModifiedNs = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
        }
        // An entry that went between reading the folder and looking at it stays with what
        // the folder said of it; the next change notices it gone.
        listing[QFile::decodeName(entryName)] = item;
    }
    return true;
}

std::vector<TListingChange> CompareListings(const TFolderListing& before, const TFolderListing& now)
{
    std::vector<QString> gone;
    std::vector<QString> came;
    std::vector<TListingChange> updated;
    for (const auto& [name, entry] : before) {
        const auto found = now.find(name);
        if (found == now.end() || !SameEntry(entry, found->second))
            gone.push_back(name);
        else if (!entry.Folder && (entry.Size != found->second.Size || entry.ModifiedNs != found->second.ModifiedNs))
            updated.push_back({TNotifyEvent::neUpdateItem, name, {}});
    }
    for (const auto& [name, entry] : now) {
        const auto found = before.find(name);
        if (found == before.end() || !SameEntry(entry, found->second))
            came.push_back(name);
    }

    std::vector<TListingChange> changes;
    // A rename keeps the inode; match each departed entry with an arrived one.
    std::vector<bool> cameMatched(came.size(), false);
    std::vector<QString> deleted;
    for (const QString& oldName : gone) {
        const TListingEntry& old = before.at(oldName);
        bool renamed = false;
        for (std::size_t i = 0; i < came.size() && !renamed; ++i) {
            if (cameMatched[i] || !SameEntry(old, now.at(came[i])))
                continue;
            cameMatched[i] = true;
            renamed = true;
            changes.push_back({old.Folder ? TNotifyEvent::neRenameFolder : TNotifyEvent::neRenameItem, oldName,
                               came[i]});
        }
        if (!renamed)
            deleted.push_back(oldName);
    }
    for (const QString& name : deleted)
        changes.push_back({before.at(name).Folder ? TNotifyEvent::neRmDir : TNotifyEvent::neDelete, name, {}});
    for (std::size_t i = 0; i < came.size(); ++i)
        if (!cameMatched[i])
            changes.push_back({now.at(came[i]).Folder ? TNotifyEvent::neMkDir : TNotifyEvent::neCreate, came[i], {}});
    changes.insert(changes.end(), updated.begin(), updated.end());
    return changes;
}

} // namespace platform
