#pragma once

// Text drawn with FreeType's own glyph images: the characters of the text mapped through the
// face's character map, one glyph after the other on the base line, without layout or
// fallback fonts (a preview shows the face, never a substitute). The painter gets one image
// per text, in its pen colour.

#include <ft2build.h>
#include FT_FREETYPE_H

#include <QPointF>
#include <QString>

class QPainter;

namespace platform {

// Makes a character map current when FreeType chose none (a symbol font has no Unicode map).
void ChooseCharacterMap(FT_Face face);

// Glyph of a character through the Unicode map; a character below U+0100 that it lacks is
// looked up in the font's own encodings (a symbol map's U+F000 + code aliases, a Type 1
// font's built-in encoding), as a symbol font expects.
FT_UInt GlyphOfCharacter(FT_Face face, char32_t code);

// Width in pixels of text as DrawGlyphText draws it at the face's current size.
double GlyphTextWidth(FT_Face face, const QString& text);

// True when the painter draws on a pixel device without scaling or rotation, where glyph
// images of the face's pixel size are what a person sees. Printers and scaled painters need
// outlines instead.
bool PaintsDevicePixels(const QPainter& painter);

// Draws text with its base line starting at origin, at the face's current size.
void DrawGlyphText(QPainter& painter, FT_Face face, const QPointF& origin, const QString& text);

} // namespace platform
