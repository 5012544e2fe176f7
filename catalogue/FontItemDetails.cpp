#include "FontItem.h"

#include "CmapCharacters.h"

#include "fontfile/FontStream.h"
#include "fontfile/GeneralFontInfo.h"
#include "fontfile/StreamReaders.h"
#include "fontfile/TableHead.h"
#include "fontfile/TableMaxp.h"
#include "fontfile/TableName.h"
#include "fontfile/TableOS_2.h"
#include "fontfile/TablePost.h"
#include "support/LoggerUnit.h"

#include <exception>

namespace catalogue {

namespace {

constexpr int kDetailsPointSize = 12;
constexpr qsizetype kMinimumDirectoryData = 500;
constexpr qsizetype kDirectoryProbeBytes = 1024;
constexpr std::uint32_t kSymbolCodePages = 0x80000000u;

template <class Table>
bool ReadTable(const platform::TDisplayFont& font, std::string_view tag, Table& table)
{
    const std::optional<QByteArray> data = font.FontData(tag);
    if (!data)
        return false;
    fontfile::TMemoryFontStream stream(data->constData(), static_cast<std::size_t>(data->size()));
    table.Read(stream);
    return true;
}

QDateTime SfntDateTime(std::int64_t storedSeconds)
{
    const fontfile::TSfntDateTime stamp = fontfile::SfntDateTimeFromSeconds(storedSeconds);
    const QDateTime epoch(QDate(1904, 1, 1), QTime(0, 0), Qt::UTC);
    return epoch.addDays(stamp.Days).addSecs(stamp.SecondsOfDay);
}

std::uint32_t BigEndian32(const QByteArray& bytes, qsizetype at)
{
    std::uint32_t value = 0;
    for (qsizetype i = 0; i < 4; ++i)
        value = (value << 8) | (at + i >= 0 && at + i < bytes.size() ? static_cast<std::uint8_t>(bytes[at + i]) : 0u);
    return value;
}

// The magic number of "head", found through the table directory of the whole font data.
bool HeadMagicOfDirectoryValid(const platform::TDisplayFont& font)
{
    const std::optional<QByteArray> whole = font.FontData({});
    if (!whole || whole->size() <= kMinimumDirectoryData)
        return false;
    const QByteArray directory = whole->left(kDirectoryProbeBytes);
    const std::uint32_t tableCount = BigEndian32(directory, 4) >> 16;
    for (std::uint32_t i = 0; i < tableCount; ++i) {
        const qsizetype entry = 12 + qsizetype(i) * 16;
        if (entry + 16 > directory.size())
            return false;
        if (directory.mid(entry, 4) == "head")
            return BigEndian32(*whole, qsizetype(BigEndian32(directory, entry + 8)) + 12) == fontfile::TTableHead::kMagicNumber;
    }
    return false;
}

} // namespace

void TFontItem::ReadDetails()
{
    const TFontItemReference reference(*this);
    if (HasStatus(FontStatus::NotDisplayable)) {
        FFontKind = fontfile::FontKind::NotDetermined;
        return;
    }
    switch (FGdiTypeBits) {
    case 0: FFontKind = fontfile::FontKind::Vector; break;
    case 1: FFontKind = fontfile::FontKind::Raster; break;
    case 2:
    case 4: ReadEngineTables(); break;
    default: FFontKind = fontfile::FontKind::Unreadable; break;
    }
    if (FGdiTypeBits == 2 && FFontKind == fontfile::FontKind::NotDetermined)
        FFontKind = FHasCFF || FHasCmap ? fontfile::FontKind::OpenTypePostScript : fontfile::FontKind::PostScriptType1;
    else if (FGdiTypeBits == 4 && FFontKind != fontfile::FontKind::TrueTypeCollection)
        FFontKind = FHasDSIG ? fontfile::FontKind::OpenTypeTrueType : fontfile::FontKind::TrueType;
}

void TFontItem::ReadEngineTables()
{
    const auto font = CreateDisplayFont(kDetailsPointSize);
    if (!font) {
        SetStatus(FontStatus::NotDisplayable, true);
        return;
    }
    try {
        ReadTables(*font);
    } catch (const std::exception& error) {
        // A damaged table leaves the facts read before it; the face is still shown.
        support::LogError(QStringLiteral("Reading the details of font %1 %2 failed: %3")
                              .arg(DisplayName(), FFontFile, QString::fromUtf8(error.what())));
    }
    if (FMetricsSource == MetricsSource::NotMeasured)
        MeasureTextMetrics(*font);
}

void TFontItem::ReadTables(const platform::TDisplayFont& font)
{
    fontfile::TTableOS_2 os2;
    if (ReadTable(font, "OS/2", os2)) {
        FOS2Read = true;
        FPanose = os2.Panose();
        FEmbeddingBits = os2.FsType();
        FWidthClass = os2.UsWidthClass();
        FWinAscent = os2.UsWinAscent();
        FWinDescent = static_cast<std::int16_t>(os2.UsWinDescent());
        FVendorID = QString::fromLatin1(os2.AchVendID().c_str());
        FOS2Regular = (os2.FsSelection() & 0x40) != 0;
        FNoOS2CodePages = os2.Version() == 0;
        if (!FNoOS2CodePages)
            FSymbol = os2.UlCodePageRange1() == kSymbolCodePages;
    }

    fontfile::TTableHead head;
    if (ReadTable(font, "head", head)) {
        FUnitsPerEm = head.UnitsPerEm();
        FFontRevision = head.FontRevision();
        FCreated = SfntDateTime(head.Created());
        FModified = SfntDateTime(head.Modified());
        FHeadMagicValid = head.MagicNumber() == fontfile::TTableHead::kMagicNumber;
    }
    if (FGdiTypeBits == 4 && FFontFile.isEmpty())
        FDirectoryHeadMagicValid = HeadMagicOfDirectoryValid(font);

    fontfile::TTableMaxp maxp;
    if (ReadTable(font, "maxp", maxp))
        FGlyphCount = maxp.NumGlyphs();

    fontfile::TTableName name;
    if (ReadTable(font, "name", name))
        FNameInfo = name.FillAdditionalNames();

    fontfile::TTablePost post;
    if (ReadTable(font, "post", post))
        FMonospaced = post.IsFixedPitch() != 0;

    const std::optional<QByteArray> cmap = font.FontData("cmap");
    FHasCmap = cmap.has_value();
    FCharacterCount = CmapCharacterCount(cmap.value_or(QByteArray()), FFontKind == fontfile::FontKind::PostScriptType1);
    if (FNoOS2CodePages && cmap)
        FSymbol = IsSymbolCmap(*cmap);

    FHasDSIG = font.FontDataSize("DSIG").has_value();
    FHasCFF = font.FontDataSize("CFF ").has_value();
}

} // namespace catalogue
