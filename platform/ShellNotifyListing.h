#pragma once

// The listings behind TShellNotify: what a folder held at one moment, and the events that
// turn one listing into the next.

#include "platform/ShellNotify.h"

#include <QString>

#include <cstdint>
#include <map>
#include <vector>

namespace platform {

struct TListingEntry {
    bool Folder = false;  // a real folder; a link to a folder is an item
    std::uint64_t Inode = 0;
    std::int64_t Size = 0;
    std::int64_t ModifiedNs = 0;
};

// Entry name → entry, hidden entries included, without "." and "..".
using TFolderListing = std::map<QString, TListingEntry>;

// False when the folder cannot be read (it is gone, or it is no folder).
bool ListFolder(const QString& folder, TFolderListing& listing);

struct TListingChange {
    TNotifyEvent Event;
    QString Name;     // the entry concerned (for a rename, its old name)
    QString NewName;  // for a rename only
};

// Renames (an entry that left and one that came with the same inode) first, then deletions
// and removed folders, then creations and new folders, then updated files; each group by
// name. An entry that kept its name but not its inode was deleted and created anew.
std::vector<TListingChange> CompareListings(const TFolderListing& before, const TFolderListing& now);

} // namespace platform
