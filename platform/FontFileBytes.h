#pragma once

// The bytes of one font file, mapped into memory read-only and shared between a private load
// and the display fonts made of it. Pages are read when FreeType touches them, so opening a
// face of a large collection costs what the face needs, not the whole file.

#include <QByteArray>
#include <QString>

#include <memory>

namespace platform {

class TFontFileBytes {
public:
    ~TFontFileBytes();
    TFontFileBytes(const TFontFileBytes&) = delete;
    TFontFileBytes& operator=(const TFontFileBytes&) = delete;

    // Maps a regular font file; nullptr when it cannot be opened, is empty or is too large.
    static std::shared_ptr<const TFontFileBytes> Map(const QString& path);
    // Bytes held in memory (tests, fonts made on the fly).
    static std::shared_ptr<const TFontFileBytes> FromData(QByteArray data);

    const char* Data() const { return FData; }
    qsizetype Size() const { return FSize; }
    bool StartsWith(const char* magic) const;
    // A copy of all bytes.
    QByteArray ToByteArray() const { return QByteArray(FData, FSize); }

private:
    TFontFileBytes() = default;

    const char* FData = nullptr;
    qsizetype FSize = 0;
    void* FMapping = nullptr;  // munmap'ed when set
    QByteArray FOwned;
};

using TFontBytes = std::shared_ptr<const TFontFileBytes>;

// Fonts larger than this are not opened.
inline constexpr qint64 kMaxFontFileBytes = qint64(512) << 20;

} // namespace platform
