#pragma once

// The display font made of a FreeType face of a font file's bytes.

#include "FontEngine.h"
#include "FontFileBytes.h"
#include "FreeTypeFace.h"

#include <QString>

#include <memory>
#include <optional>

namespace platform {

// Index of the face whose full name (or family and style) equals fullName, without regard
// to case; nothing when no face has it.
std::optional<int> FreeTypeFaceIndexByName(const TFontBytes& bytes, const QString& fullName);

// A display font over a FreeType face; nullptr when the face cannot be opened or sized.
std::unique_ptr<TDisplayFont> CreateFreeTypeDisplayFont(const TFontBytes& bytes, const QString& file,
                                                        int faceIndex, int pixelHeight);
// The same over a face already open.
std::unique_ptr<TDisplayFont> CreateFreeTypeDisplayFont(std::unique_ptr<TFreeTypeFace> face, const QString& file,
                                                        int faceIndex, int pixelHeight);

} // namespace platform
