#include "DirectoryWalk.h"

#include "FontException.h"
#include "StreamReaders.h"
#include "TableCatalogue.h"
#include "TableName.h"
#include "TableOS_2.h"

namespace fontfile {

void WalkTableDirectory(TFontStream& stream, std::uint16_t numberOfTables, TFontTables& tables,
                        const TTableSelectionRule& rule, const TTableEntryObserver& observer)
{
    const std::uint64_t first = stream.Position();
    // Entries past the end of the stream would read as zeros; a count larger than the
    // remaining bytes can hold is cut to the entries that are really there.
    const std::uint64_t present = stream.Remaining() / kTableDirectoryEntrySize;
    const std::uint64_t count = numberOfTables < present ? numberOfTables : present;
    const std::uint64_t streamSize = stream.Size();

    for (std::uint64_t i = 0; i < count; ++i) {
        stream.Seek(first + kTableDirectoryEntrySize * i);
        TTableDirectoryEntry entry;
        entry.Tag = be::ReadTag(stream);
        stream.Skip(4);  // checksum, never verified
        entry.Offset = be::ReadUInt32(stream);
        entry.Length = be::ReadUInt32(stream);
        if (observer)
            observer(entry);

        if (std::uint64_t{entry.Offset} + entry.Length > streamSize)
            throw FontException("This is not a valid font file.");

        stream.Seek(entry.Offset);
        std::unique_ptr<TFontTable> table = rule(entry, TableKind(entry.Tag));
        if (!table)
            continue;
        try {
            table->Read(stream);
        } catch (...) {
            tables.Add(std::move(table));
            throw;
        }
        tables.Add(std::move(table));
    }
}

std::unique_ptr<TFontTable> SelectNameAndOS2(const TTableDirectoryEntry& entry, int kind)
{
    if (kind == kTableKindName)
        return std::make_unique<TTableName>("name", TTableName::StringBudgetFor(entry.Length));
    if (kind == kTableKindOS2)
        return std::make_unique<TTableOS_2>();
    return nullptr;
}

} // namespace fontfile
