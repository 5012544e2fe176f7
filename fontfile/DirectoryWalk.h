#pragma once

// The walk over an SFNT table directory: checks that every entry lies inside the stream and
// creates, reads and keeps the tables that a selection rule asks for.

#include "FontStream.h"
#include "FontTable.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace fontfile {

constexpr std::uint64_t kOffsetTableSize = 12;
constexpr std::uint64_t kTableDirectoryEntrySize = 16;

struct TTableDirectoryEntry {
    std::string Tag;
    std::uint32_t Offset = 0;  // from the start of the file, also for collection members
    std::uint32_t Length = 0;  // in bytes
};

// Maps an entry and its catalogue kind to the table object to create and read, or to none.
// A rule may also note side effects (such as the font kind) for its caller.
using TTableSelectionRule = std::function<std::unique_ptr<TFontTable>(const TTableDirectoryEntry& entry, int kind)>;
// Sees every entry before its bounds are checked (the table list of the information panel).
using TTableEntryObserver = std::function<void(const TTableDirectoryEntry& entry)>;

// The stream stands on the first directory entry. Raises "This is not a valid font file."
// for an entry that reaches past the end of the stream. A table whose read raises is still
// added to the list before the exception goes on to the caller.
void WalkTableDirectory(TFontStream& stream, std::uint16_t numberOfTables, TFontTables& tables,
                        const TTableSelectionRule& rule, const TTableEntryObserver& observer = {});

// "OS/2" and "name" only: what the general information of a face is made from.
std::unique_ptr<TFontTable> SelectNameAndOS2(const TTableDirectoryEntry& entry, int kind);

} // namespace fontfile
