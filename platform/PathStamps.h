#pragma once

// What a set of files and folders looked like when something was read from them, so that a
// later reader can tell with one stat per path whether reading them again could give
// anything new: a path created, removed, replaced or written since gets another stamp (a
// folder's changes when an entry in it is added, removed or renamed).
//
// File times advance in clock ticks, so a path changed within a moment of being stamped may
// change again without a new time. Such a set is never taken as unchanged.

#include <QByteArray>
#include <QString>

#include <sys/types.h>

#include <vector>

namespace platform {

class TPathStamps {
public:
    // Stamps path as it is now (through symbolic links; a missing path is stamped as missing).
    void Add(const QByteArray& path);
    void Add(const QString& path);
    void Clear();

    // True when every stamped path still looks the same and none was changed just before it
    // was stamped.
    bool Unchanged() const;

private:
    struct TStamp {
        QByteArray Path;
        bool Exists = false;
        dev_t Device = 0;
        ino_t Inode = 0;
        off_t Size = 0;
        long long Modified = 0;  // nanoseconds
        long long Changed = 0;

        bool operator==(const TStamp&) const = default;
    };
    static TStamp StampOf(const QByteArray& path);

    std::vector<TStamp> FStamps;
    bool FRecentChange = false;
};

} // namespace platform
