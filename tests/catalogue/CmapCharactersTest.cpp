// The character count and the symbol test of a face's cmap, on tables built here.

#include "catalogue/CmapCharacters.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

namespace {

using TRange = std::pair<std::uint32_t, std::uint32_t>;

void Put16(QByteArray& out, std::uint32_t value)
{
    out.append(static_cast<char>((value >> 8) & 0xFF));
    out.append(static_cast<char>(value & 0xFF));
}

void Put32(QByteArray& out, std::uint32_t value)
{
    Put16(out, value >> 16);
    Put16(out, value & 0xFFFF);
}

// A format 4 subtable of the ranges, the 0xFFFF terminator added.
QByteArray Format4(std::vector<TRange> ranges, int segCountOverride = -1)
{
    ranges.push_back({0xFFFF, 0xFFFF});
    const auto segCount = static_cast<std::uint32_t>(segCountOverride >= 0 ? segCountOverride : int(ranges.size()));
    QByteArray out;
    Put16(out, 4);                                           // format
    Put16(out, static_cast<std::uint32_t>(16 + 8 * ranges.size()));  // length
    Put16(out, 0);                                           // language
    Put16(out, segCount * 2);                                // segCountX2
    Put16(out, 0);                                           // searchRange (not used)
    Put16(out, 0);                                           // entrySelector
    Put16(out, 0);                                           // rangeShift
    for (const auto& range : ranges) Put16(out, range.second);  // endCode
    Put16(out, 0);                                           // reservedPad
    for (const auto& range : ranges) Put16(out, range.first);   // startCode
    for (std::size_t i = 0; i < ranges.size(); ++i) Put16(out, 0);  // idDelta: glyph 0 still counts
    for (std::size_t i = 0; i < ranges.size(); ++i) Put16(out, 0);  // idRangeOffset
    return out;
}

QByteArray Format12(const std::vector<TRange>& groups, std::uint32_t groupCountOverride = 0)
{
    QByteArray out;
    Put16(out, 12);                                           // format
    Put16(out, 0);                                            // reserved
    Put32(out, static_cast<std::uint32_t>(16 + 12 * groups.size()));  // length
    Put32(out, 0);                                            // language
    Put32(out, groupCountOverride ? groupCountOverride : static_cast<std::uint32_t>(groups.size()));
    for (const auto& group : groups) {
        Put32(out, group.first);   // startCharCode
        Put32(out, group.second);  // endCharCode
        Put32(out, 1);             // startGlyphID
    }
    return out;
}

struct TSubtable {
    std::uint32_t Platform;
    std::uint32_t Encoding;
    QByteArray Data;
};

QByteArray Cmap(const std::vector<TSubtable>& subtables)
{
    QByteArray out;
    Put16(out, 0);  // version
    Put16(out, static_cast<std::uint32_t>(subtables.size()));
    std::uint32_t offset = 4 + 8 * static_cast<std::uint32_t>(subtables.size());
    for (const TSubtable& subtable : subtables) {
        Put16(out, subtable.Platform);
        Put16(out, subtable.Encoding);
        Put32(out, offset);
        offset += static_cast<std::uint32_t>(subtable.Data.size());
    }
    for (const TSubtable& subtable : subtables)
        out.append(subtable.Data);
    return out;
}

TEST(CmapCharacters, CountsAndKinds)
{
    const struct {
        const char* Case;
        QByteArray Cmap;
        int Kind;
        bool Symbol;
        std::int32_t Count;
    } cases[] = {
        {"no cmap", QByteArray(), 0, false, 256},
        {"Unicode BMP", Cmap({{3, 1, Format4({{0x20, 0x7E}, {0xA0, 0xFF}})}}), 1, false, 95 + 96},
        {"full repertoire wins over BMP",
         Cmap({{3, 1, Format4({{0x20, 0x7E}})}, {3, 10, Format12({{0x20, 0x7E}, {0x1F600, 0x1F64F}})}}), 2, false,
         95 + 80},
        {"symbol only", Cmap({{3, 0, Format4({{0xF020, 0xF0FF}})}}), 3, true, 224},
        {"symbol beside Unicode", Cmap({{3, 0, Format4({{0xF020, 0xF0FF}})}, {3, 1, Format4({{0x41, 0x5A}})}}), 1,
         false, 26},
        {"Macintosh only", Cmap({{1, 0, Format4({{0x20, 0x7E}})}}), 0, false, 256},
        {"format 12 in a BMP record is not walked", Cmap({{3, 1, Format12({{0x20, 0x7E}})}}), 1, false, 0},
        {"reversed segment", Cmap({{3, 1, Format4({{0x50, 0x40}, {0x60, 0x61}})}}), 1, false, 2},
        {"segment count beyond the table", Cmap({{3, 1, Format4({{0x20, 0x7E}}, 30000)}}), 1, false, 0},
        {"group beyond the last code point", Cmap({{3, 10, Format12({{0x10FFF0, 0xFFFFFFFF}})}}), 2, false, 16},
        {"group count beyond the table", Cmap({{3, 10, Format12({{0x20, 0x21}}, 0xFFFFFFFF)}}), 2, false, 2},
        {"record offset outside", QByteArray::fromHex("0000000100030001FFFFFF00"), 1, false, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(catalogue::CmapKind(c.Cmap), c.Kind) << c.Case;
        EXPECT_EQ(catalogue::IsSymbolCmap(c.Cmap), c.Symbol) << c.Case;
        EXPECT_EQ(catalogue::CmapCharacterCount(c.Cmap, false), c.Count) << c.Case;
    }
    EXPECT_EQ(catalogue::CmapCharacterCount(QByteArray(), true), 245);
}

TEST(CmapCharacters, EveryPrefixOfATableIsReadSafely)
{
    const QByteArray cmap = Cmap({{3, 1, Format4({{0x20, 0x7E}})}, {3, 10, Format12({{0x20, 0x7E}})}});
    for (qsizetype length = 0; length <= cmap.size(); ++length) {
        const QByteArray prefix = cmap.left(length);
        EXPECT_LE(catalogue::CmapCharacterCount(prefix, false), 256) << length;
    }
}

} // namespace
