#include "FontEngineFreeType.h"

#include "FreeTypeGlyphs.h"
#include "Type1DisplayFont.h"

#include <QCoreApplication>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QPainter>
#include <QRawFont>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_SFNT_NAMES_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace platform {

namespace {

FT_ULong TagOf(std::string_view tag)
{
    char text[4] = {' ', ' ', ' ', ' '};
    std::copy_n(tag.begin(), std::min<std::size_t>(tag.size(), 4), text);
    return FT_MAKE_TAG(text[0], text[1], text[2], text[3]);
}

std::optional<QByteArray> LoadTable(FT_Face face, FT_ULong tag, qsizetype limit)
{
    FT_ULong length = 0;
    if (FT_Load_Sfnt_Table(face, tag, 0, nullptr, &length) != 0)
        return std::nullopt;
    if (length > static_cast<FT_ULong>(limit))
        return std::nullopt;
    QByteArray table(static_cast<qsizetype>(length), Qt::Uninitialized);
    if (length > 0
        && FT_Load_Sfnt_Table(face, tag, 0, reinterpret_cast<FT_Byte*>(table.data()), &length) != 0)
        return std::nullopt;
    return table;
}

void PutUInt16(QByteArray& out, quint32 value)
{
    out.append(static_cast<char>((value >> 8) & 0xFF));
    out.append(static_cast<char>(value & 0xFF));
}

void PutUInt32(QByteArray& out, quint32 value)
{
    PutUInt16(out, value >> 16);
    PutUInt16(out, value & 0xFFFF);
}

quint32 TableChecksum(const QByteArray& table)
{
    quint32 sum = 0;
    for (qsizetype i = 0; i < table.size(); i += 4) {
        quint32 word = 0;
        for (qsizetype k = 0; k < 4; ++k)
            word = (word << 8) | (i + k < table.size() ? static_cast<quint8>(table[i + k]) : 0u);
        sum += word;
    }
    return sum;
}

// One member of a collection as a font file of its own, made of the member's tables.
QByteArray MemberSfnt(FT_Face face, qsizetype limit)
{
    constexpr FT_ULong kMaxTables = 1024;
    FT_ULong count = 0;
    if (FT_Sfnt_Table_Info(face, 0, nullptr, &count) != 0 || count == 0 || count > kMaxTables)
        return {};
    struct TEntry {
        FT_ULong Tag = 0;
        QByteArray Data;
    };
    std::vector<TEntry> entries;
    for (FT_UInt i = 0; i < count; ++i) {
        FT_ULong tag = 0;
        FT_ULong length = 0;
        if (FT_Sfnt_Table_Info(face, i, &tag, &length) != 0)
            continue;
        if (auto data = LoadTable(face, tag, limit))
            entries.push_back({tag, std::move(*data)});
    }
    std::sort(entries.begin(), entries.end(), [](const TEntry& a, const TEntry& b) { return a.Tag < b.Tag; });
    const bool postScript = std::any_of(entries.begin(), entries.end(), [](const TEntry& e) {
        return e.Tag == FT_MAKE_TAG('C', 'F', 'F', ' ') || e.Tag == FT_MAKE_TAG('C', 'F', 'F', '2');
    });
    const auto n = static_cast<quint32>(entries.size());
    quint32 power = 1;
    quint32 selector = 0;
    while (power * 2 <= n) {
        power *= 2;
        ++selector;
    }
    QByteArray out;
    PutUInt32(out, postScript ? 0x4F54544Fu : 0x00010000u);
    PutUInt16(out, n);
    PutUInt16(out, power * 16);
    PutUInt16(out, selector);
    PutUInt16(out, n * 16 - power * 16);
    quint32 offset = 12 + 16 * n;
    for (const TEntry& entry : entries) {
        PutUInt32(out, static_cast<quint32>(entry.Tag));
        PutUInt32(out, TableChecksum(entry.Data));
        PutUInt32(out, offset);
        PutUInt32(out, static_cast<quint32>(entry.Data.size()));
        offset += (static_cast<quint32>(entry.Data.size()) + 3u) & ~3u;
    }
    for (const TEntry& entry : entries) {
        out.append(entry.Data);
        out.append(QByteArray((4 - entry.Data.size() % 4) % 4, '\0'));
    }
    return out;
}

bool IsCollection(const TFontBytes& bytes, FT_Face face)
{
    return face->num_faces > 1 || bytes->StartsWith("ttcf");
}

// Every full name (name ID 4) the face carries, in any language.
QStringList SfntFullNames(FT_Face face)
{
    QStringList names;
    const FT_UInt count = FT_Get_Sfnt_Name_Count(face);
    for (FT_UInt i = 0; i < count; ++i) {
        FT_SfntName name{};
        if (FT_Get_Sfnt_Name(face, i, &name) != 0 || name.name_id != 4)
            continue;
        if (name.platform_id == 3 || name.platform_id == 0) {
            QString text;
            for (FT_UInt k = 0; k + 1 < name.string_len; k += 2)
                text.append(QChar(static_cast<char16_t>((name.string[k] << 8) | name.string[k + 1])));
            names << text;
        } else if (name.platform_id == 1) {
            names << QString::fromLatin1(reinterpret_cast<const char*>(name.string),
                                         static_cast<qsizetype>(name.string_len));
        }
    }
    if (face->family_name)
        names << QString::fromUtf8(face->family_name) + QLatin1Char(' ')
                     + QString::fromUtf8(face->style_name ? face->style_name : "");
    return names;
}

bool SelectPixelSize(FT_Face face, int pixelHeight)
{
    if (FT_IS_SCALABLE(face))
        return FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelHeight)) == 0;
    if (face->num_fixed_sizes <= 0)
        return false;
    int best = 0;
    for (int i = 1; i < face->num_fixed_sizes; ++i) {
        if (std::abs(face->available_sizes[i].height - pixelHeight)
            < std::abs(face->available_sizes[best].height - pixelHeight))
            best = i;
    }
    return FT_Select_Size(face, best) == 0;
}

class TFreeTypeDisplayFont final : public TDisplayFont {
public:
    TFreeTypeDisplayFont(std::unique_ptr<TFreeTypeFace> face, QString file, int faceIndex, int pixelHeight)
        : FFace(std::move(face)), FFile(std::move(file)), FFaceIndex(faceIndex), FPixelHeight(pixelHeight)
    {
        ChooseCharacterMap(FFace->Get());
    }

    std::optional<QByteArray> FontData(std::string_view tag) const override
    {
        FT_Face face = FFace->Get();
        if (!FT_IS_SFNT(face))
            return std::nullopt;
        const TFontBytes& bytes = FFace->Bytes();
        if (tag.empty()) {
            if (IsCollection(bytes, face))
                return MemberSfnt(face, bytes->Size());
            return bytes->ToByteArray();
        }
        return LoadTable(face, TagOf(tag), bytes->Size());
    }

    std::optional<std::uint32_t> FontDataSize(std::string_view tag) const override
    {
        FT_Face face = FFace->Get();
        if (!FT_IS_SFNT(face))
            return std::nullopt;
        const TFontBytes& bytes = FFace->Bytes();
        if (tag.empty()) {
            if (IsCollection(bytes, face))
                return static_cast<std::uint32_t>(MemberSfnt(face, bytes->Size()).size());
            return static_cast<std::uint32_t>(bytes->Size());
        }
        FT_ULong length = 0;
        if (FT_Load_Sfnt_Table(face, TagOf(tag), 0, nullptr, &length) != 0)
            return std::nullopt;
        return static_cast<std::uint32_t>(length);
    }

    TTextMetrics TextMetrics() const override
    {
        const FT_Size_Metrics& size = FFace->Get()->size->metrics;
        TTextMetrics metrics;
        metrics.Ascent = static_cast<int>((size.ascender + 63) >> 6);
        metrics.Descent = static_cast<int>((-size.descender + 63) >> 6);
        metrics.Height = metrics.Ascent + metrics.Descent;
        const int em = static_cast<int>(size.y_ppem);
        metrics.InternalLeading = std::max(0, metrics.Height - em);
        metrics.ExternalLeading = std::max(0, static_cast<int>(size.height >> 6) - metrics.Height);
        return metrics;
    }

    double TextWidth(const QString& text) const override { return GlyphTextWidth(FFace->Get(), text); }

    bool DrawText(QPainter& painter, const QPointF& origin, const QString& text) const override
    {
        if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()) || text.isEmpty())
            return true;
        // On screen the face's own glyph images are drawn; printers and scaled painters get
        // outlines through Qt.
        if (PaintsDevicePixels(painter)) {
            DrawGlyphText(painter, FFace->Get(), origin, text);
            return true;
        }
        DrawOutlines(painter, origin, text);
        return true;
    }

    QString FontFile() const override { return FFile; }
    int FaceIndex() const override { return FFaceIndex; }

private:
    void DrawOutlines(QPainter& painter, const QPointF& origin, const QString& text) const
    {
        const QRawFont& raw = RawFont();
        if (!raw.isValid())
            return;
        const QList<quint32> glyphs = raw.glyphIndexesForString(text);
        const QList<QPointF> advances = raw.advancesForGlyphIndexes(glyphs);
        QList<QPointF> positions;
        positions.reserve(glyphs.size());
        QPointF pen(0, 0);
        for (const QPointF& advance : advances) {
            positions.append(pen);
            pen += advance;
        }
        QGlyphRun run;
        run.setRawFont(raw);
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        painter.drawGlyphRun(origin, run);
    }

    const QRawFont& RawFont() const
    {
        std::call_once(FRawOnce, [this] {
            FT_Face face = FFace->Get();
            const TFontBytes& bytes = FFace->Bytes();
            const QByteArray data = FT_IS_SFNT(face) && IsCollection(bytes, face) ? MemberSfnt(face, bytes->Size())
                                                                                  : bytes->ToByteArray();
            FRaw.loadFromData(data, FPixelHeight, QFont::PreferDefaultHinting);
        });
        return FRaw;
    }

    std::unique_ptr<TFreeTypeFace> FFace;
    QString FFile;
    int FFaceIndex;
    int FPixelHeight;
    mutable std::once_flag FRawOnce;
    mutable QRawFont FRaw;
};

} // namespace

std::optional<int> FreeTypeFaceIndexByName(const TFontBytes& bytes, const QString& fullName)
{
    if (fullName.isEmpty())
        return std::nullopt;
    const int count = FreeTypeFaceCount(bytes);
    for (int index = 0; index < count; ++index) {
        const auto face = TFreeTypeFace::Open(bytes, index);
        if (face && SfntFullNames(face->Get()).contains(fullName, Qt::CaseInsensitive))
            return index;
    }
    return std::nullopt;
}

std::unique_ptr<TDisplayFont> CreateFreeTypeDisplayFont(const TFontBytes& bytes, const QString& file,
                                                        int faceIndex, int pixelHeight)
{
    if (auto type1 = CreateType1DisplayFont(bytes, file, faceIndex, pixelHeight))
        return type1;
    return CreateFreeTypeDisplayFont(TFreeTypeFace::Open(bytes, faceIndex), file, faceIndex, pixelHeight);
}

std::unique_ptr<TDisplayFont> CreateFreeTypeDisplayFont(std::unique_ptr<TFreeTypeFace> face, const QString& file,
                                                        int faceIndex, int pixelHeight)
{
    if (!face || pixelHeight <= 0 || !SelectPixelSize(face->Get(), pixelHeight))
        return nullptr;
    return std::make_unique<TFreeTypeDisplayFont>(std::move(face), file, faceIndex, pixelHeight);
}

} // namespace platform
