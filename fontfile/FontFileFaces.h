#pragma once

// The one operation by which the catalogue reads a font file: given one or two file names and
// a kind hint, the records of all faces in the file, or a placeholder when nothing can be read.

#include "GeneralFontInfo.h"

#include <cstdint>
#include <string>

namespace fontfile {

enum class TFontKindHint : std::uint8_t {
    Unknown = 0,
    SfntOrBitmap = 1,  // a TrueType/OpenType font, a collection or a bitmap font file
    Type1 = 2,         // a printer font metrics file with its outline file
};

struct TFontReadRequest {
    std::string FirstFile;
    // The outline file of a Type 1 font; may be empty, and is filled in when the reading
    // finds the outline file itself.
    std::string SecondFile;
    TFontKindHint KindHint = TFontKindHint::Unknown;
};

// A reader's failure is not lost: the faces it concerns carry font kind 8, and the text of the
// first such failure is kept for whoever wants to show it.
struct TFontReadResult {
    TGeneralFontInfoList Items;
    std::string FailureText;
};

// Reads the faces of the request's file. A collection that fails to load is the one failure
// that reaches the caller (FontException, or FontStreamError when the file cannot be read).
TFontReadResult ReadFontFileFaces(TFontReadRequest& request);

} // namespace fontfile
