#pragma once

// Facts of a face's "cmap" table that reading its details needs: which Windows subtable
// family it uses, whether it is a symbol font, and how many characters it maps. Every read
// is bounded by the table's bytes.

#include <QByteArray>

#include <cstdint>

namespace catalogue {

// 0 none, 1 Unicode BMP (3, 1), 2 Unicode full repertoire (3, 10), 3 symbol (3, 0),
// 4 ShiftJIS (3, 2). The last platform-3 record in table order decides.
int CmapKind(const QByteArray& cmap);

// A subtable for platform 3 encoding 0 and none for platform 3 encodings 1, 10 or 2.
bool IsSymbolCmap(const QByteArray& cmap);

// Number of characters of the face: the code points inside the segments (format 4) or groups
// (format 12) of the chosen family's subtables, whatever glyph they map to. Without a cmap a
// Type 1 face has its 245 standard characters and any other face the 256 of the ANSI set.
std::int32_t CmapCharacterCount(const QByteArray& cmap, bool type1Face);

} // namespace catalogue
