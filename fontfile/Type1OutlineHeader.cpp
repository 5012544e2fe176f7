#include "Type1OutlineHeader.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string_view>

namespace fontfile {

namespace {

constexpr std::uint8_t kSegmentMarker = 0x80;
constexpr std::uint8_t kAsciiSegment = 1;
constexpr std::size_t kSegmentHeaderSize = 6;
// Font units and matrix entries of real fonts are far below this; larger ones are not read.
constexpr double kMaxHeaderNumber = 1e6;

std::string_view AsText(std::span<const std::byte> data)
{
    return {reinterpret_cast<const char*>(data.data()), data.size()};
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\0';
}

// Characters that end a PostScript name.
bool IsDelimiter(char c)
{
    return IsSpace(c) || c == '[' || c == ']' || c == '{' || c == '}' || c == '(' || c == ')' || c == '<'
           || c == '>' || c == '/' || c == '%';
}

// The clear text: the first segment of a .pfb file, or the text of a .pfa/.t1 file, cut at
// "eexec" and at the size limit.
std::string_view ClearText(std::span<const std::byte> data)
{
    std::string_view text;
    if (data.size() >= kSegmentHeaderSize && static_cast<std::uint8_t>(data[0]) == kSegmentMarker) {
        if (static_cast<std::uint8_t>(data[1]) != kAsciiSegment)
            return {};
        std::uint32_t length = 0;
        for (int i = 5; i >= 2; --i)
            length = (length << 8) | static_cast<std::uint8_t>(data[static_cast<std::size_t>(i)]);
        // A segment claiming more than the file holds is read as far as the file goes.
        const std::size_t available = data.size() - kSegmentHeaderSize;
        text = AsText(data.subspan(kSegmentHeaderSize, std::min<std::size_t>(length, available)));
    } else {
        text = AsText(data);
    }
    text = text.substr(0, kMaxType1HeaderBytes);
    const std::size_t eexec = text.find("eexec");
    return eexec == std::string_view::npos ? text : text.substr(0, eexec);
}

// The position just after the first "/key" that is a whole name outside comments.
std::optional<std::size_t> FindKey(std::string_view text, std::string_view key)
{
    bool inComment = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inComment) {
            inComment = c != '\n' && c != '\r';
            continue;
        }
        if (c == '%') {
            inComment = true;
            continue;
        }
        if (c != '/' || text.compare(i + 1, key.size(), key) != 0)
            continue;
        const std::size_t end = i + 1 + key.size();
        if (end >= text.size() || IsDelimiter(text[end]))
            return end;
    }
    return std::nullopt;
}

void SkipSpace(std::string_view text, std::size_t& at)
{
    while (at < text.size() && IsSpace(text[at]))
        ++at;
}

// A PostScript number (integer or real, with an optional exponent); radix numbers and
// anything else fail.
std::optional<double> ReadNumber(std::string_view text, std::size_t& at)
{
    std::size_t end = at;
    while (end < text.size() && !IsDelimiter(text[end]))
        ++end;
    std::string_view token = text.substr(at, end - at);
    if (token.empty())
        return std::nullopt;
    if (token.front() == '+')
        token.remove_prefix(1);
    double value = 0;
    const auto [last, error] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (error != std::errc() || last != token.data() + token.size() || !std::isfinite(value)
        || std::fabs(value) > kMaxHeaderNumber)
        return std::nullopt;
    at = end;
    return value;
}

template <std::size_t N>
std::optional<std::array<double, N>> ReadArray(std::string_view text, std::string_view key)
{
    const auto found = FindKey(text, key);
    if (!found)
        return std::nullopt;
    std::size_t at = *found;
    SkipSpace(text, at);
    if (at >= text.size() || (text[at] != '[' && text[at] != '{'))
        return std::nullopt;
    const char close = text[at] == '[' ? ']' : '}';
    ++at;
    std::array<double, N> values{};
    for (double& value : values) {
        SkipSpace(text, at);
        const auto number = ReadNumber(text, at);
        if (!number)
            return std::nullopt;
        value = *number;
    }
    SkipSpace(text, at);
    if (at >= text.size() || text[at] != close)
        return std::nullopt;
    return values;
}

} // namespace

bool LooksLikeType1Outline(std::span<const std::byte> data)
{
    if (data.size() >= kSegmentHeaderSize && static_cast<std::uint8_t>(data[0]) == kSegmentMarker
        && static_cast<std::uint8_t>(data[1]) == kAsciiSegment)
        data = data.subspan(kSegmentHeaderSize);
    const std::string_view text = AsText(data);
    return text.starts_with("%!PS-AdobeFont") || text.starts_with("%!FontType1");
}

std::optional<TType1OutlineHeader> ReadType1OutlineHeader(std::span<const std::byte> data)
{
    if (!LooksLikeType1Outline(data))
        return std::nullopt;
    const std::string_view text = ClearText(data);
    const auto matrix = ReadArray<6>(text, "FontMatrix");
    const auto box = ReadArray<4>(text, "FontBBox");
    if (!matrix || !box)
        return std::nullopt;
    return TType1OutlineHeader{*matrix, *box};
}

} // namespace fontfile
