#pragma once

// The bytes of one font file, shared between a private load and the display fonts made of it.
// A file this user may write, of up to kMaxCopiedFontBytes, is read into memory, so that
// another program writing it in place (a font editor saving over it, cp onto it) cannot pull
// the bytes from under FreeType: a mapped file cut short ends the process. Other files (the
// system's fonts, which only packages replace, by renaming; large CJK collections) are mapped
// read-only: their pages are read when FreeType touches them, so opening one face costs what
// that face needs, not the whole file.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <memory>
#include <span>

namespace platform {

class TFontFileBytes {
public:
    ~TFontFileBytes();
    TFontFileBytes(const TFontFileBytes&) = delete;
    TFontFileBytes& operator=(const TFontFileBytes&) = delete;

    // Reads or maps a regular font file; nullptr when it cannot be opened, is empty or is too
    // large.
    static std::shared_ptr<const TFontFileBytes> Open(const QString& path);
    // Bytes held in memory (tests, fonts made on the fly).
    static std::shared_ptr<const TFontFileBytes> FromData(QByteArray data);

    const char* Data() const { return FData; }
    qsizetype Size() const { return FSize; }
    std::span<const std::byte> View() const
    {
        return {reinterpret_cast<const std::byte*>(FData), static_cast<std::size_t>(FSize)};
    }
    bool StartsWith(const char* magic) const;
    // A copy of all bytes.
    QByteArray ToByteArray() const { return QByteArray(FData, FSize); }

private:
    TFontFileBytes() = default;
    static std::shared_ptr<const TFontFileBytes> ReadWhole(int fd, std::size_t size);

    const char* FData = nullptr;
    qsizetype FSize = 0;
    void* FMapping = nullptr;  // munmap'ed when set
    QByteArray FOwned;
};

using TFontBytes = std::shared_ptr<const TFontFileBytes>;

// Fonts larger than this are not opened.
inline constexpr qint64 kMaxFontFileBytes = qint64(512) << 20;
// Fonts up to this size are copied into memory; larger ones are mapped.
inline constexpr qint64 kMaxCopiedFontBytes = qint64(8) << 20;

} // namespace platform
