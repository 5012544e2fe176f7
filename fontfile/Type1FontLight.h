#pragma once

// A PostScript Type 1 font, read from its printer font metrics file (.PFM) beside its outline
// file (.PFB). Only the metrics file is read; the outline file must merely exist.

#include "ExtendedFontInfo.h"
#include "GeneralFontInfo.h"

#include <string>

namespace fontfile {

class TType1FontLight {
public:
    TType1FontLight() = default;
    TType1FontLight(const TType1FontLight&) = delete;
    TType1FontLight& operator=(const TType1FontLight&) = delete;

    // True when metricsFile is a printer font metrics file of a PostScript font and
    // outlineFile exists as a file. Never raises.
    static bool IsValidPair(const std::string& metricsFile, const std::string& outlineFile);

    // Fills Item() from the metrics file; raises when the file cannot be opened.
    void LoadFromFile(const std::string& metricsFile);
    // Kerning pair count and copyright notice; leaves the record alone when the file has no
    // names. Raises when the file cannot be opened.
    void ReadExtendedInfo(const std::string& metricsFile, TExtendedFontInfoRecord& record);

    TGeneralFontInfoItem& Item() { return FItem; }
    const TGeneralFontInfoItem& Item() const { return FItem; }

private:
    TGeneralFontInfoItem FItem;
};

} // namespace fontfile
