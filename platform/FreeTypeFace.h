#pragma once

// FreeType faces opened from shared font bytes. All faces of the process come from one
// FreeType library: opening and closing a face is serialised, and each face is used by one
// thread at a time (its owner's), which is what FreeType asks of a shared library.

#include "FontFileBytes.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>

namespace platform {

class TFreeTypeLibrary;

class TFreeTypeFace {
public:
    ~TFreeTypeFace();
    TFreeTypeFace(const TFreeTypeFace&) = delete;
    TFreeTypeFace& operator=(const TFreeTypeFace&) = delete;

    // Face index of bytes (-1 only tests the format: the face tells num_faces); nullptr when
    // FreeType cannot open it.
    static std::unique_ptr<TFreeTypeFace> Open(const TFontBytes& bytes, long index);

    FT_Face Get() const { return FFace; }
    const TFontBytes& Bytes() const { return FBytes; }

private:
    TFreeTypeFace(std::shared_ptr<TFreeTypeLibrary> library, TFontBytes bytes, FT_Face face);

    // Declared first so that it is released last: the face lives on the library and the bytes.
    std::shared_ptr<TFreeTypeLibrary> FLibrary;
    TFontBytes FBytes;
    FT_Face FFace;
};

// Number of faces in the bytes: as an SFNT header or collection header declares it, 1 for a
// Type 1 outline file, else as FreeType finds it; 0 when nothing reads them as a font.
int FreeTypeFaceCount(const TFontBytes& bytes);

} // namespace platform
