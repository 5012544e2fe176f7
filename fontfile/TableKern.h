#pragma once

// The "kern" table in its Windows form: the pairs of the first format-0 subtable.

#include "FontTable.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fontfile {

struct TKerningPair {
    std::uint16_t Left = 0;   // left glyph index
    std::uint16_t Right = 0;  // right glyph index
    std::int16_t Value = 0;   // adjustment in font units

    bool operator==(const TKerningPair&) const = default;
};

class TTableKern final : public TFontTable {
public:
    // The largest pair count whose subtable length, 14 + 6 * nPairs, fits in 16 bits.
    static constexpr std::uint32_t kMaxKerningPairs = 10920;

    explicit TTableKern(const std::string& tag = "kern");

    void Read(TFontStream& stream) override;
    bool IsEmpty() const override { return FPairs.empty(); }

    std::uint16_t Version() const { return FVersion; }
    std::size_t PairCount() const { return FPairs.size(); }
    const TKerningPair& Pair(std::size_t index) const { return FPairs.at(index); }
    const std::vector<TKerningPair>& Pairs() const { return FPairs; }

private:
    void ReadFormat0Pairs(TFontStream& stream);

    std::uint16_t FVersion = 0;
    std::vector<TKerningPair> FPairs;
};

} // namespace fontfile
