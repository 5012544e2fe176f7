#include "DirectoryWalk.h"

#include "FontException.h"
#include "StreamReaders.h"
#include "TableCatalogue.h"
#include "TableName.h"
#include "TableOS_2.h"

#include <vector>

namespace fontfile {

namespace {

std::uint32_t BigEndian32(const std::uint8_t* bytes)
{
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) | (std::uint32_t{bytes[2]} << 8) | bytes[3];
}

// A tag ends at its first zero byte, as be::ReadTag reads it.
std::string TagOf(const std::uint8_t* bytes)
{
    std::string tag;
    for (std::size_t i = 0; i < 4 && bytes[i] != 0; ++i)
        tag.push_back(static_cast<char>(bytes[i]));
    return tag;
}

} // namespace

void WalkTableDirectory(TFontStream& stream, std::uint16_t numberOfTables, TFontTables& tables,
                        const TTableSelectionRule& rule, const TTableEntryObserver& observer)
{
    // Entries past the end of the stream would read as zeros; a count larger than the
    // remaining bytes can hold is cut to the entries that are really there.
    const std::uint64_t present = stream.Remaining() / kTableDirectoryEntrySize;
    const std::size_t count = static_cast<std::size_t>(numberOfTables < present ? numberOfTables : present);
    const std::uint64_t streamSize = stream.Size();

    // The whole directory in one read: the tables lie elsewhere in the file, and going back
    // to the directory after each of them would read its part of the file again.
    std::vector<std::uint8_t> directory(count * kTableDirectoryEntrySize);
    ReadPadded(stream, directory.data(), directory.size());

    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* field = directory.data() + kTableDirectoryEntrySize * i;
        TTableDirectoryEntry entry;
        entry.Tag = TagOf(field);
        // field + 4: the checksum, never verified
        entry.Offset = BigEndian32(field + 8);
        entry.Length = BigEndian32(field + 12);
        if (observer)
            observer(entry);

        if (std::uint64_t{entry.Offset} + entry.Length > streamSize)
            throw FontException("This is not a valid font file.");

        std::unique_ptr<TFontTable> table = rule(entry, TableKind(entry.Tag));
        if (!table)
            continue;
        stream.Seek(entry.Offset);
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
