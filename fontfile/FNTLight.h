#pragma once

// A Windows font resource file (.FON): a 16-bit "NE" executable whose font directory lists
// bitmap or vector faces. One general information item per face of the directory.

#include "FontStream.h"
#include "GeneralFontInfo.h"

#include <string>

namespace fontfile {

class TFNTLight {
public:
    TFNTLight() = default;
    TFNTLight(const TFNTLight&) = delete;
    TFNTLight& operator=(const TFNTLight&) = delete;

    // True when the file holds at least one raster or vector face. Never raises.
    static bool IsValidFile(const std::string& fileName);

    // Reads the faces of the font directory into Items(), replacing what was there. Answers
    // true when at least one raster or vector face was found. Raises when the file cannot be
    // opened; items read before a failure stay in the list.
    bool LoadFromFile(const std::string& fileName);
    // The same on an open stream (the whole file), which stays the caller's.
    bool LoadFromStream(TFontStream& stream);

    TGeneralFontInfoList& Items() { return FItems; }
    const TGeneralFontInfoList& Items() const { return FItems; }

private:
    TGeneralFontInfoList FItems;
};

} // namespace fontfile
