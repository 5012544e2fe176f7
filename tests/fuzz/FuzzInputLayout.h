#pragma once

// How the targets that need more than one file or name cut their input, shared by the
// targets and the seed writer so that seeds and targets agree.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace qmfuzz {

// Type 1 pair: a little-endian 16-bit length n, then n bytes of metrics file, then the
// outline file. An empty outline means that the outline file does not exist.
struct TType1Parts {
    std::span<const std::uint8_t> Metrics;
    std::span<const std::uint8_t> Outline;
};

inline TType1Parts SplitType1Input(std::span<const std::uint8_t> input)
{
    if (input.size() < 2)
        return {input, {}};
    const std::size_t wanted = input[0] | (std::size_t{input[1]} << 8);
    const auto rest = input.subspan(2);
    const std::size_t metricsSize = wanted < rest.size() ? wanted : rest.size();
    return {rest.first(metricsSize), rest.subspan(metricsSize)};
}

inline std::vector<std::uint8_t> JoinType1Input(const std::vector<std::uint8_t>& metrics,
                                                const std::vector<std::uint8_t>& outline)
{
    std::vector<std::uint8_t> out{static_cast<std::uint8_t>(metrics.size()),
                                  static_cast<std::uint8_t>(metrics.size() >> 8)};
    out.insert(out.end(), metrics.begin(), metrics.end());
    out.insert(out.end(), outline.begin(), outline.end());
    return out;
}

// Read request: one selector byte, then the file. Bits 0-2 pick the file's extension (modulo
// the list), bits 3-4 the kind hint (3 counts as 0).
inline constexpr std::array<std::string_view, 6> kRequestExtensions = {".ttf", ".otf", ".ttc", ".fon", ".pfm", ".dat"};

struct TRequestInput {
    std::size_t ExtensionIndex = 0;
    std::uint8_t KindHint = 0;
    std::span<const std::uint8_t> File;
};

inline TRequestInput SplitRequestInput(std::span<const std::uint8_t> input)
{
    if (input.empty())
        return {};
    const std::uint8_t selector = input[0];
    const auto hint = static_cast<std::uint8_t>((selector >> 3) & 3);
    return {(selector & 7u) % kRequestExtensions.size(), static_cast<std::uint8_t>(hint == 3 ? 0 : hint),
            input.subspan(1)};
}

inline std::vector<std::uint8_t> JoinRequestInput(std::size_t extensionIndex, std::uint8_t kindHint,
                                                  const std::vector<std::uint8_t>& file)
{
    std::vector<std::uint8_t> out{static_cast<std::uint8_t>((extensionIndex & 7u) | ((kindHint & 3u) << 3))};
    out.insert(out.end(), file.begin(), file.end());
    return out;
}

} // namespace qmfuzz
