#pragma once

// What the information panel shows beyond the catalogue's data, read again from the font file
// when a face is selected.

#include <cstdint>
#include <string>

namespace fontfile {

struct TExtendedFontInfoRecord {
    // One line per table directory entry, "tag - description - length bytes", joined by CR LF.
    std::u16string TableList;
    // Number of kerning pairs; -1 while not known.
    std::int32_t KerningPairs = -1;
    // Filled by the information panel from the character mappings, never by a reader.
    std::u16string ActualUnicodeRanges;
    // The copyright field of a Type 1 metrics file.
    std::u16string CopyrightNotice;

    void Reset() { *this = TExtendedFontInfoRecord(); }
};

} // namespace fontfile
