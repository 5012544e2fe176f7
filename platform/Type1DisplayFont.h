#pragma once

// The display font of a PostScript Type 1 face, made without loading its outlines. FreeType
// decrypts and parses a whole Type 1 font when it opens one (about half a millisecond a
// face), where reading a face's details needs only its metrics: those come from the clear-text
// header, computed as FreeType computes them, and the face is opened when text is drawn or
// measured.

#include "FontEngine.h"
#include "FontFileBytes.h"

#include "fontfile/Type1OutlineHeader.h"

#include <memory>

namespace platform {

// Text metrics of a Type 1 face at pixelHeight as FreeType gives them; nothing for a header
// FreeType would refuse (a zero scale).
std::optional<TTextMetrics> Type1TextMetrics(const fontfile::TType1OutlineHeader& header, int pixelHeight);

// A display font for bytes when they are a Type 1 outline file with a readable header;
// nullptr otherwise (the caller opens the face itself).
std::unique_ptr<TDisplayFont> CreateType1DisplayFont(const TFontBytes& bytes, const QString& file, int faceIndex,
                                                     int pixelHeight);

} // namespace platform
