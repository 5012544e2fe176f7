#include "FontCacheFile.h"

#include <QDataStream>
#include <QIODevice>

#include <limits>

namespace catalogue {

namespace {

// The highest font kind a record may carry.
constexpr std::uint8_t kLastFontKind = 8;
constexpr qsizetype kMaxStringUnits = std::numeric_limits<std::uint16_t>::max() / 2;

bool ReadString(QDataStream& in, QString& text)
{
    quint16 bytes = 0;
    in >> bytes;
    if (in.status() != QDataStream::Ok || bytes % 2 != 0)
        return false;
    QByteArray raw(bytes, Qt::Uninitialized);
    if (bytes != 0 && in.readRawData(raw.data(), bytes) != bytes)
        return false;
    const auto* data = reinterpret_cast<const unsigned char*>(raw.constData());
    QString decoded(bytes / 2, Qt::Uninitialized);
    for (int i = 0; i < bytes / 2; ++i)
        decoded[i] = QChar(static_cast<char16_t>((data[2 * i] << 8) | data[2 * i + 1]));
    text = std::move(decoded);
    return true;
}

void WriteString(QDataStream& out, const QString& text)
{
    qsizetype units = std::min(text.size(), kMaxStringUnits);
    // Never leave half of a surrogate pair at the cut.
    if (units < text.size() && units > 0 && text.at(units - 1).isHighSurrogate())
        --units;
    out << static_cast<quint16>(units * 2);
    for (qsizetype i = 0; i < units; ++i)
        out << static_cast<quint16>(text.at(i).unicode());
}

bool ReadRecord(QDataStream& in, TFontCacheRecord& record, bool& usable)
{
    qint32 gdiTypeBits = 0;
    quint32 kind = 0;
    qint32 weight = 0;
    quint8 italic = 0;
    quint8 viaShortcut = 0;
    if (!ReadString(in, record.FamilyName) || !ReadString(in, record.FullName) || !ReadString(in, record.Style) ||
        !ReadString(in, record.RegistryName) || !ReadString(in, record.CacheNote))
        return false;
    in >> gdiTypeBits;
    if (!ReadString(in, record.FontFile) || !ReadString(in, record.SecondFile))
        return false;
    in >> kind >> weight >> italic >> viaShortcut;
    if (in.status() != QDataStream::Ok || !ReadString(in, record.ShortcutPath))
        return false;
    record.GdiTypeBits = gdiTypeBits;
    record.FontKind = static_cast<std::uint8_t>(kind & 0xFF);
    record.Weight = weight;
    record.Italic = italic != 0;
    record.ViaShortcut = viaShortcut != 0;
    // A kind the program does not know would make every text of the face wrong; the record's
    // length does not depend on it, so the records after it are still read.
    usable = record.FontKind <= kLastFontKind;
    return true;
}

} // namespace

std::vector<TFontCacheRecord> ReadFontCache(QIODevice& device)
{
    std::vector<TFontCacheRecord> records;
    QDataStream in(&device);
    in.setByteOrder(QDataStream::BigEndian);
    quint32 version = 0;
    qint32 count = 0;
    in >> version >> count;
    if (in.status() != QDataStream::Ok || (version >> 16) != (kFontCacheVersion >> 16) || count <= 0)
        return records;
    for (qint32 i = 0; i < count; ++i) {
        TFontCacheRecord record;
        bool usable = false;
        if (!ReadRecord(in, record, usable))
            break;
        if (usable)
            records.push_back(std::move(record));
    }
    return records;
}

QByteArray EncodeFontCache(const std::vector<TFontCacheRecord>& records)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::BigEndian);
    out << static_cast<quint32>(kFontCacheVersion) << static_cast<qint32>(records.size());
    for (const TFontCacheRecord& record : records) {
        WriteString(out, record.FamilyName);
        WriteString(out, record.FullName);
        WriteString(out, record.Style);
        WriteString(out, record.RegistryName);
        WriteString(out, record.CacheNote);
        out << static_cast<qint32>(record.GdiTypeBits);
        WriteString(out, record.FontFile);
        WriteString(out, record.SecondFile);
        out << static_cast<quint32>(record.FontKind) << static_cast<qint32>(record.Weight)
            << static_cast<quint8>(record.Italic ? 1 : 0) << static_cast<quint8>(record.ViaShortcut ? 1 : 0);
        WriteString(out, record.ShortcutPath);
    }
    return bytes;
}

} // namespace catalogue
