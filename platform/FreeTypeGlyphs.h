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

// Glyph of a character; for a symbol map the private-use alias U+F000 + code is tried too.
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
