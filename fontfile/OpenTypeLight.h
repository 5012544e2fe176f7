#pragma once

// A single TrueType or OpenType font file: a quick validity check, the general information of
// its face, and for the information panel the list of its tables and its kerning pair count.

#include "ExtendedFontInfo.h"
#include "FontStream.h"
#include "FontTable.h"
#include "GeneralFontInfo.h"

#include <cstdint>
#include <string>

namespace fontfile {

class TOpenTypeLight {
public:
    static constexpr std::uint64_t kMinimumFileSize = 200;
    static constexpr std::uint32_t kTrueTypeVersion = 0x00010000;
    static constexpr std::uint32_t kOpenTypeVersion = 0x4F54544F;  // "OTTO"
    // Outside ".ttf" and ".otf" a file must also look like a font in its header.
    static constexpr std::uint16_t kStrictMinTables = 6;
    static constexpr std::uint16_t kStrictMaxTables = 40;

    TOpenTypeLight() = default;
    TOpenTypeLight(const TOpenTypeLight&) = delete;
    TOpenTypeLight& operator=(const TOpenTypeLight&) = delete;

    // Reads the header and the directory up to the "head" entry; never raises.
    static bool IsValidFile(const std::string& fileName);
    // The same on an open stream (the whole file); fileName decides only how strict the
    // header check is. The stream's position is undefined afterwards.
    static bool IsValidStream(TFontStream& stream, const std::string& fileName);

    // Fills Item(). Raises FontException for a damaged font and FontStreamError when the file
    // cannot be read; the item then keeps what was filled before the failure.
    void LoadFromFile(const std::string& fileName);
    // The same on an open stream (the whole file), which stays the caller's.
    void LoadFromStream(TFontStream& stream);

    // Writes TableList and KerningPairs into record. On a failure the lines of the entries
    // met so far are already in the record's table list when the exception leaves.
    void ReadTableList(const std::string& fileName, TExtendedFontInfoRecord& record);

    std::uint64_t FileSize() const { return FFileSize; }
    std::uint32_t SfntVersion() const { return FSfntVersion; }
    const TFontTables& Tables() const { return FTables; }
    TGeneralFontInfoItem& Item() { return FItem; }
    const TGeneralFontInfoItem& Item() const { return FItem; }

private:
    std::uint64_t FFileSize = 0;
    std::uint32_t FSfntVersion = 0;
    TFontTables FTables;
    TGeneralFontInfoItem FItem;
};

} // namespace fontfile
