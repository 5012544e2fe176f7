#pragma once

// "fontcache.dat": the faces the program loaded or installed, with their files, kept between
// runs. Big-endian throughout: a version (0x00010000), a signed record count, then the
// records back to back. Strings are a 16-bit byte length followed by UTF-16 code units.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

class QIODevice;

namespace catalogue {

inline constexpr std::uint32_t kFontCacheVersion = 0x00010000;

struct TFontCacheRecord {
    QString FamilyName;
    QString FullName;
    QString Style;
    QString RegistryName;
    QString CacheNote;
    std::int32_t GdiTypeBits = -1;
    QString FontFile;
    QString SecondFile;
    std::uint8_t FontKind = 0;
    std::int32_t Weight = 0;
    bool Italic = false;
    bool ViaShortcut = false;
    QString ShortcutPath;

    bool operator==(const TFontCacheRecord&) const = default;
};

// The records of a cache file. A foreign major version or a count below one gives none; a
// damaged or short file gives the records before the damage. Never reads more than the
// device holds, whatever the counts say.
std::vector<TFontCacheRecord> ReadFontCache(QIODevice& device);

// The whole file for these records. A string too long for its 16-bit length is cut at the
// last whole character that fits.
QByteArray EncodeFontCache(const std::vector<TFontCacheRecord>& records);

} // namespace catalogue
