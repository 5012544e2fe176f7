#pragma once

// TrueType collection files ("ttcf"): the header, its members, and one general information
// item per member.

#include "FontStream.h"
#include "FontTable.h"
#include "GeneralFontInfo.h"

#include <cstdint>
#include <string>

namespace fontfile {

// The work one collection may cost, shared by its members: members may all point at the
// same large directory or naming table, so limits per member alone would not bound a file.
struct TCollectionReadBudget {
    std::uint64_t DirectoryEntries = 1u << 16;
    std::uint64_t NameStringBytes = 16u << 20;
};

// One member of a collection: its offset table, directory and the tables the item needs.
class TTrueTypeCollectionFont {
public:
    TTrueTypeCollectionFont() = default;
    TTrueTypeCollectionFont(const TTrueTypeCollectionFont&) = delete;
    TTrueTypeCollectionFont& operator=(const TTrueTypeCollectionFont&) = delete;

    // The stream stands on the member's offset table. Appends the member's item to items
    // unless the read raises. With a budget, the member's share is taken from it and a
    // member that would exceed it raises "This is not a valid font file."
    void Read(TFontStream& stream, TGeneralFontInfoList& items, TCollectionReadBudget* budget = nullptr);

    std::uint32_t SfntVersion() const { return FSfntVersion; }
    const TFontTables& Tables() const { return FTables; }

private:
    std::uint32_t FSfntVersion = 0;
    TFontTables FTables;
};

class TTrueTypeCollection {
public:
    static constexpr std::uint64_t kMinimumFileSize = 200;
    static constexpr std::uint32_t kVersion1 = 0x00010000;
    static constexpr std::uint32_t kVersion2 = 0x00020000;
    // Real collections hold a few dozen faces; a larger count is taken as damage, so that
    // a hostile header cannot make the reader walk the same member a million times.
    static constexpr std::uint32_t kMaxFonts = 1024;
    // The longest value name the system font registry can hold.
    static constexpr std::size_t kMaxRegistryNameLength = 16383;

    TTrueTypeCollection() = default;
    TTrueTypeCollection(const TTrueTypeCollection&) = delete;
    TTrueTypeCollection& operator=(const TTrueTypeCollection&) = delete;

    // Reads headers only; never raises.
    static bool IsValidFile(const std::string& fileName);
    // The same on an open stream (the whole file); its position is undefined afterwards.
    static bool IsValidStream(TFontStream& stream);

    // Fills Items() with one item per member in member order. Raises FontStreamError when
    // the file cannot be read and FontException for a damaged member.
    void LoadFromFile(const std::string& fileName);
    // The same on an open stream (the whole file).
    void LoadFromStream(TFontStream& stream);

    std::uint64_t FileSize() const { return FFileSize; }
    const TGeneralFontInfoList& Items() const { return FItems; }
    TGeneralFontInfoList& Items() { return FItems; }

private:
    void SetRegistryNames();

    std::uint64_t FFileSize = 0;
    TGeneralFontInfoList FItems;
};

} // namespace fontfile
