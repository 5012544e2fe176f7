#include "CmapCharacters.h"

#include <algorithm>
#include <limits>

namespace catalogue {

namespace {

constexpr std::int32_t kAnsiCharacterCount = 256;
constexpr std::int32_t kStandardType1CharacterCount = 245;
constexpr std::uint32_t kLastCodePoint = 0x10FFFF;

// Big-endian reads that answer 0 past the end.
class TBytes {
public:
    explicit TBytes(const QByteArray& bytes) : FBytes(bytes) {}

    qsizetype Size() const { return FBytes.size(); }
    std::uint32_t U8(qsizetype at) const
    {
        return at >= 0 && at < FBytes.size() ? static_cast<std::uint8_t>(FBytes[at]) : 0u;
    }
    std::uint32_t U16(qsizetype at) const { return (U8(at) << 8) | U8(at + 1); }
    std::uint32_t U32(qsizetype at) const { return (U16(at) << 16) | U16(at + 2); }

private:
    const QByteArray& FBytes;
};

struct TRecord {
    std::uint32_t Platform = 0;
    std::uint32_t Encoding = 0;
    std::uint32_t Offset = 0;
};

template <class Visit>
void ForEachRecord(const TBytes& bytes, Visit visit)
{
    const std::uint32_t count = bytes.U16(2);
    for (std::uint32_t i = 0; i < count; ++i) {
        const qsizetype at = 4 + qsizetype(i) * 8;
        if (at + 8 > bytes.Size())
            return;
        visit(TRecord{bytes.U16(at), bytes.U16(at + 2), bytes.U32(at + 4)});
    }
}

bool RecordOfKind(const TRecord& record, int kind)
{
    if (record.Platform != 3)
        return false;
    switch (kind) {
    case 1: return record.Encoding == 1;
    case 2: return record.Encoding == 10;
    case 3: return record.Encoding == 0;
    case 4: return record.Encoding == 2;
    default: return false;
    }
}

std::int64_t Format4Count(const TBytes& bytes, qsizetype at)
{
    const qsizetype segCount = bytes.U16(at + 6) / 2;
    if (segCount <= 1)
        return 0;
    const qsizetype ends = at + 14;
    const qsizetype starts = ends + 2 * segCount + 2;
    if (starts + 2 * segCount > bytes.Size())
        return 0;
    std::int64_t count = 0;
    for (qsizetype i = 0; i + 1 < segCount; ++i) {  // the last segment is the 0xFFFF terminator
        const std::uint32_t end = bytes.U16(ends + 2 * i);
        const std::uint32_t start = bytes.U16(starts + 2 * i);
        if (end >= start)
            count += end - start + 1;
    }
    return count;
}

std::int64_t Format12Count(const TBytes& bytes, qsizetype at)
{
    const qsizetype groups = at + 16;
    const std::int64_t available = std::max<qsizetype>(0, bytes.Size() - groups) / 12;
    const std::int64_t groupCount = std::min<std::int64_t>(bytes.U32(at + 12), available);
    std::int64_t count = 0;
    for (std::int64_t i = 0; i < groupCount; ++i) {
        const qsizetype group = groups + qsizetype(i) * 12;
        const std::uint32_t start = bytes.U32(group);
        const std::uint32_t end = std::min(bytes.U32(group + 4), kLastCodePoint);
        if (end >= start)
            count += end - start + 1;
    }
    return count;
}

} // namespace

int CmapKind(const QByteArray& cmap)
{
    if (cmap.isEmpty())
        return 0;
    int kind = 0;
    ForEachRecord(TBytes(cmap), [&](const TRecord& record) {
        if (record.Platform != 3)
            return;
        switch (record.Encoding) {
        case 1: kind = 1; break;
        case 0: kind = 3; break;
        case 10: kind = 2; break;
        case 2: kind = 4; break;
        default: break;
        }
    });
    return kind;
}

bool IsSymbolCmap(const QByteArray& cmap)
{
    bool symbol = false;
    bool unicodeOrShiftJis = false;
    ForEachRecord(TBytes(cmap), [&](const TRecord& record) {
        if (record.Platform != 3)
            return;
        symbol = symbol || record.Encoding == 0;
        unicodeOrShiftJis = unicodeOrShiftJis || record.Encoding == 1 || record.Encoding == 10 || record.Encoding == 2;
    });
    return symbol && !unicodeOrShiftJis;
}

std::int32_t CmapCharacterCount(const QByteArray& cmap, bool type1Face)
{
    const int kind = CmapKind(cmap);
    if (kind == 0)
        return type1Face ? kStandardType1CharacterCount : kAnsiCharacterCount;
    const TBytes bytes(cmap);
    std::int64_t count = 0;
    ForEachRecord(bytes, [&](const TRecord& record) {
        if (!RecordOfKind(record, kind) || record.Offset >= static_cast<std::uint32_t>(bytes.Size()))
            return;
        const qsizetype at = record.Offset;
        const std::uint32_t format = bytes.U16(at);
        if (format == 4)
            count += Format4Count(bytes, at);
        else if (format == 12 && (kind == 2 || kind == 4))
            count += Format12Count(bytes, at);
    });
    return static_cast<std::int32_t>(std::min<std::int64_t>(count, std::numeric_limits<std::int32_t>::max()));
}

} // namespace catalogue
