#include "TableKern.h"

#include "StreamReaders.h"
#include "WarningCollector.h"

#include <unordered_set>

namespace fontfile {

namespace {

constexpr std::uint64_t kKernHeaderSize = 4;
constexpr std::uint64_t kSubtableHeaderSize = 6;
constexpr std::uint64_t kKerningPairSize = 6;

using std::to_string;

void CheckBinarySearchField(const char* field, std::uint32_t read, std::uint32_t expected)
{
    if (read != expected)
        AddWarning(std::string("Integrity: Kern SubtableFormat0 ") + field + " not correct (" + to_string(read) +
                   " should be " + to_string(expected) + ").");
}

} // namespace

TTableKern::TTableKern(const std::string& tag) : TFontTable(CheckedTag("TTableKern", "kern", tag)) {}

void TTableKern::Read(TFontStream& stream)
{
    FPairs.clear();
    const std::uint64_t start = stream.Position();
    FVersion = be::ReadUInt16(stream);
    const std::uint16_t subtableCount = be::ReadUInt16(stream);

    bool format0Read = false;
    std::uint64_t subtableStart = start + kKernHeaderSize;
    for (std::uint32_t j = 0; j < subtableCount; ++j) {
        // A subtable whose header is not in the stream ends the walk: a hostile count or
        // zero lengths cannot make it loop over nothing.
        if (subtableStart + kSubtableHeaderSize > stream.Size())
            break;
        stream.Seek(subtableStart);
        const std::uint16_t subtableVersion = be::ReadUInt16(stream);
        const std::uint16_t length = be::ReadUInt16(stream);
        const std::uint16_t coverage = be::ReadUInt16(stream);
        const unsigned format = coverage >> 8;

        if (format == 0 && subtableVersion == 0) {
            if (!format0Read) {
                ReadFormat0Pairs(stream);
                format0Read = true;
            }
        } else if (format == 0) {
            AddWarning("Unsupported Kern SubtableVersion: FormatType " + to_string(format) + " SubtableVersion " +
                       to_string(subtableVersion) + ".");
        } else if (format == 2) {
            AddWarning("Unsupported Kern FormatType " + to_string(format) + " Version " + to_string(subtableVersion) +
                       ".");
        } else {
            AddWarning("Unknown Kern FormatType " + to_string(format) + " Version " + to_string(subtableVersion) + ".");
        }
        // A length shorter than the header would find this subtable again and again.
        if (length < kSubtableHeaderSize)
            break;
        subtableStart += length;
    }
}

void TTableKern::ReadFormat0Pairs(TFontStream& stream)
{
    const std::uint16_t pairCount = be::ReadUInt16(stream);
    const std::uint16_t searchRange = be::ReadUInt16(stream);
    const std::uint16_t entrySelector = be::ReadUInt16(stream);
    const std::uint16_t rangeShift = be::ReadUInt16(stream);

    std::uint32_t power = 0;
    std::uint32_t log2 = 0;
    if (pairCount > 0) {
        power = 1;
        while (power * 2 <= pairCount) {
            power *= 2;
            ++log2;
        }
    }
    CheckBinarySearchField("SearchRange", searchRange, 6 * power);
    CheckBinarySearchField("EntrySelector", entrySelector, log2);
    CheckBinarySearchField("RangeShift", rangeShift, 6 * std::uint32_t{pairCount} - 6 * power);

    if (pairCount == 0)
        return;
    if (pairCount > kMaxKerningPairs) {
        AddWarning("Corrupted kern table. Too many kerning pairs " + to_string(pairCount) + " while " +
                   to_string(kMaxKerningPairs) + " is the maximum.");
        return;
    }

    const std::uint64_t present = stream.Remaining() / kKerningPairSize;
    FPairs.reserve(static_cast<std::size_t>(pairCount < present ? pairCount : present));
    std::unordered_set<std::uint32_t> seen;
    for (std::uint32_t i = 0; i < pairCount; ++i) {
        TKerningPair pair;
        pair.Left = be::ReadUInt16(stream);
        pair.Right = be::ReadUInt16(stream);
        pair.Value = be::ReadInt16(stream);
        if (!seen.insert((std::uint32_t{pair.Left} << 16) | pair.Right).second) {
            AddWarning("kern table has same kerning pair twice (or more).");
            return;
        }
        FPairs.push_back(pair);
    }
}

} // namespace fontfile
