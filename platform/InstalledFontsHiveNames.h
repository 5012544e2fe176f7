#pragma once

// The registry names of installed font files, read through the font-file library's read
// request and kept in memory by path, size, modification time and file identity, so that
// listing the installed fonts again reads only files that are new or changed.

#include <QString>

#include <cstdint>
#include <map>

#include <sys/types.h>

namespace platform {

struct InstalledFontNames {
    // False when the readers found no face in the file (not a font they know).
    bool HasFaces = false;
    // The registry name of the file's first face (a collection's faces share one); empty
    // when the file yields only a nameless placeholder or its reader failed.
    QString RegistryName;
    // Type 1: the outline file the read request found beside the metrics file.
    QString OutlineFile;
};

class InstalledFontNameCache {
public:
    // A TrueType/OpenType font, collection or bitmap font file.
    InstalledFontNames ReadFontFile(const QString& path);
    // A printer font metrics file with the outline file the read request looks for.
    InstalledFontNames ReadType1Metrics(const QString& path);

    // Entries not asked for since the last call are dropped (their files went away).
    void DropUnused();

    // Files read through the read request so far (for tests of the cache).
    std::uint64_t FileReads() const { return FFileReads; }

private:
    struct Stamp {
        dev_t Device = 0;
        ino_t Inode = 0;
        off_t Size = 0;
        long long MtimeNs = 0;
        bool operator==(const Stamp&) const = default;
    };
    struct Entry {
        Stamp FileStamp;
        InstalledFontNames Names;
        bool Used = true;
    };

    template <typename Reader>
    InstalledFontNames Cached(const QString& path, Reader read);

    std::map<QString, Entry> FEntries;
    std::uint64_t FFileReads = 0;
};

} // namespace platform
