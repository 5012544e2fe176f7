#pragma once

// FreeType faces over font bytes held in memory, and the display font made of one of them.
// Each face has its own FreeType library object, so faces may live on different threads.

#include "FontEngine.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

namespace platform {

// The bytes of one font file, shared between a private load and the display fonts made of it.
using TFontBytes = std::shared_ptr<const QByteArray>;

// Fonts larger than this are not read into memory.
inline constexpr qint64 kMaxFontFileBytes = qint64(512) << 20;

// Reads a whole font file, nothing when it cannot be read or is too large.
TFontBytes ReadFontFileBytes(const QString& path);

// Number of faces FreeType finds in the bytes; 0 when it cannot read them as a font.
int FreeTypeFaceCount(const TFontBytes& bytes);

// Index of the face whose full name (or family and style) equals fullName, without regard
// to case; nothing when no face has it.
std::optional<int> FreeTypeFaceIndexByName(const TFontBytes& bytes, const QString& fullName);

// A display font over a FreeType face; nullptr when the face cannot be opened or sized.
std::unique_ptr<TDisplayFont> CreateFreeTypeDisplayFont(const TFontBytes& bytes, const QString& file,
                                                        int faceIndex, int pixelHeight);

} // namespace platform
