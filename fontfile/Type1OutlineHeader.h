#pragma once

// The clear-text part of a PostScript Type 1 outline file (.pfb segments, or .pfa/.t1 text):
// the font matrix and the font bounding box, found without decrypting the private part.
// Enough to know a face's vertical metrics without loading its outlines.

#include <array>
#include <cstddef>
#include <optional>
#include <span>

namespace fontfile {

struct TType1OutlineHeader {
    std::array<double, 6> FontMatrix{};  // [a b c d tx ty]
    std::array<double, 4> FontBBox{};    // xMin yMin xMax yMax in font units
};

// Looks only at the first clear-text segment (up to "eexec"), at most this many bytes.
inline constexpr std::size_t kMaxType1HeaderBytes = 64 * 1024;

// True when data starts like a Type 1 outline file (a .pfb segment marker or "%!PS-AdobeFont" /
// "%!FontType1").
bool LooksLikeType1Outline(std::span<const std::byte> data);

// The header's matrix and box; nothing when data is not a Type 1 outline file or either entry
// is missing or not a plain array of numbers. Never raises.
std::optional<TType1OutlineHeader> ReadType1OutlineHeader(std::span<const std::byte> data);

} // namespace fontfile
