// The words and placeholders the catalogue shows for a face.

#include "catalogue/FontFamily.h"
#include "catalogue/FontItem.h"
#include "catalogue/FontItemTexts.h"

#include <gtest/gtest.h>

namespace {

using catalogue::TFontItem;
namespace FontStatus = catalogue::FontStatus;

TEST(FontItemTexts, WeightAndWidthNamesOrTheirNumber)
{
    const struct {
        int Value;
        const char* Weight;
        const char* Width;
    } cases[] = {
        {0, "0", "0"},
        {1, "1", "Ultra-condensed"},
        {5, "5", "Medium (normal)"},
        {9, "9", "Ultra-expanded"},
        {10, "10", "10"},
        {100, "Thin", "100"},
        {400, "Normal (Regular)", "400"},
        {450, "450", "450"},
        {600, "Semi-bold (Demi-bold)", "600"},
        {900, "Black (Heavy)", "900"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(catalogue::WeightText(c.Value), QString::fromUtf8(c.Weight)) << c.Value;
        EXPECT_EQ(catalogue::WidthText(c.Value), QString::fromUtf8(c.Width)) << c.Value;
    }
}

TEST(FontItemTexts, EmbeddingNamesTheKnownBitsInOrder)
{
    const struct {
        std::uint16_t Bits;
        const char* Text;
    } cases[] = {
        {0x0000, "Installable"},
        {0x0001, "Installable"},  // no named bit
        {0x0002, "Restricted License"},
        {0x0006, "Restricted License, Preview & Print"},
        {0x0308, "Editable, No subsetting, Bitmap embedding only"},
        {0xFCF1, "Installable"},  // only bits without a name
    };
    for (const auto& c : cases)
        EXPECT_EQ(catalogue::EmbeddingText(c.Bits), QString::fromUtf8(c.Text)) << c.Bits;
}

TEST(FontItemTexts, VersionHasThreeDecimalsOnlyWhenTheThirdIsNeeded)
{
    const struct {
        double Revision;
        const char* Text;
    } cases[] = {
        {1.5, "Version 1.50"},
        {1.005, "Version 1.005"},
        {2.0, "Version 2.00"},
        {1.25, "Version 1.25"},
        {0.001, "Version 0.001"},
        {2.37, "Version 2.37"},
        {1.0999, "Version 1.10"},  // 1100 thousandths, a multiple of ten
    };
    for (const auto& c : cases)
        EXPECT_EQ(catalogue::VersionText(c.Revision), QString::fromUtf8(c.Text)) << c.Revision;
}

TEST(FontItemTexts, PanoseIsUpperCaseHexWithoutSeparators)
{
    EXPECT_EQ(catalogue::PanoseText({2, 11, 6, 3, 3, 8, 4, 2, 2, 4}), QStringLiteral("2B63384224"));
    EXPECT_EQ(catalogue::PanoseText({0, 0, 0, 0, 0, 0, 0, 0, 0, 255}), QStringLiteral("000000000FF"));
}

TEST(FontItemTexts, KindTexts)
{
    const struct {
        std::uint8_t Kind;
        const char* Long;
        const char* Short;
    } cases[] = {
        {0, "Unknown font type", "?"},
        {1, "Raster font", "R"},
        {2, "Vector font", "V"},
        {3, "PostScript Type 1 font", "PS"},
        {4, "TrueType font Collection", "TTC"},
        {5, "TrueType font", "TT"},
        {6, "OpenType font with TrueType outlines", "OT(TT)"},
        {7, "OpenType font with PostScript outlines", "OT(PS)"},
        {8, "Unknown font type", "?"},
    };
    for (const auto& c : cases) {
        TFontItem item(QStringLiteral("F"), false);
        item.SetFontKind(c.Kind);
        EXPECT_EQ(item.TypeText(), QString::fromUtf8(c.Long));
        EXPECT_EQ(item.ShortTypeText(), QString::fromUtf8(c.Short));
    }
}

TEST(FontItemTexts, DisplayNameOmitsTheStyleOfTheRegularFace)
{
    const struct {
        const char* Case;
        std::uint8_t Kind;
        int Weight;
        bool Italic;
        bool OS2Read;
        bool OS2Regular;
        const char* Expected;
    } cases[] = {
        {"bold TrueType, regular bit clear", 5, 700, false, true, false, "Fam Bold"},
        {"TrueType with the regular bit", 5, 400, false, true, true, "Fam"},
        {"TrueType without OS/2", 5, 400, false, false, true, "Fam Book"},
        {"raster bold", 1, 700, false, false, false, "Fam Bold"},
        {"raster 400", 1, 400, false, false, false, "Fam"},
        {"raster italic", 1, 400, true, false, false, "Fam Italic"},
        {"vector 600 italic", 2, 600, true, false, false, "Fam Italic"},
        {"raster 800 italic", 1, 800, true, false, false, "Fam Bold Italic"},
        {"Type 1 at 400", 3, 400, false, false, false, "Fam"},
        {"Type 1 at 500", 3, 500, false, false, false, "Fam Book"},
    };
    for (const auto& c : cases) {
        TFontItem item(QStringLiteral("Fam"), false);
        item.SetFontKind(c.Kind);
        item.SetWeight(c.Weight);
        item.SetItalic(c.Italic);
        item.SetOS2Read(c.OS2Read);
        item.SetOS2Regular(c.OS2Regular);
        item.SetStyleName(c.Kind == 5 && c.Weight == 700 ? QStringLiteral("Bold") : QStringLiteral("Book"));
        EXPECT_EQ(item.DisplayName(), QString::fromUtf8(c.Expected)) << c.Case;
    }
}

TEST(FontItemTexts, FamilyNameFallsBackToTheFamilyThenToUnknown)
{
    catalogue::TFontFamilyItem family(QStringLiteral("Owner"));
    TFontItem attached(&family, false);
    EXPECT_EQ(attached.FamilyNameText(), QStringLiteral("Owner"));
    attached.SetFamilyName(QStringLiteral("Own"));
    EXPECT_EQ(attached.FamilyNameText(), QStringLiteral("Own"));
    TFontItem alone(QString(), false);
    EXPECT_EQ(alone.FamilyNameText(), QStringLiteral("Unknown Font"));
}

TEST(FontItemTexts, StatusTextAndCode)
{
    const struct {
        std::uint8_t Flags;
        bool ActiveListItem;
        int Code;
        const char* Text;
    } cases[] = {
        {FontStatus::Installed | FontStatus::Loaded, false, 1, "Installed"},
        {FontStatus::Installed | FontStatus::SimilarInstalled | FontStatus::FileLoaded, false, 1, "Installed"},
        {FontStatus::SimilarInstalled | FontStatus::Loaded, false, 2, "Similar font installed"},
        {FontStatus::Installed, true, 3, "Installed but not loaded"},
        {FontStatus::SimilarInstalled, false, 4, "Similar font installed but not loaded"},
        {FontStatus::Loaded, true, 5, "Loaded"},
        {FontStatus::FileLoaded, false, 5, "Loaded"},
        {FontStatus::Loaded, false, 6, "Similar font loaded"},
        {FontStatus::PrivatelyLoaded | FontStatus::NotDisplayable, false, 7, "Not installed and not loaded"},
        {0, true, 7, "Not installed and not loaded"},
    };
    for (const auto& c : cases) {
        TFontItem item(QStringLiteral("F"), c.ActiveListItem);
        item.SetStatusFlags(c.Flags);
        EXPECT_EQ(static_cast<int>(item.StatusCode()), c.Code) << int(c.Flags);
        EXPECT_EQ(item.StatusText(), QString::fromUtf8(c.Text)) << int(c.Flags);
    }
}

TEST(FontItemTexts, SystemFontsByTypeAndName)
{
    const struct {
        const char* Name;
        int GdiType;
        bool System;
    } cases[] = {
        {"terminal", 1, true}, {"MS Sans Serif", 1, true}, {"Courier", 1, true}, {"System", 1, true},
        {"MARLETT", 4, true},  {"System", 4, false},       {"Marlett", 1, false}, {"Courier New", 1, false},
        {"Terminal", 2, false},
    };
    for (const auto& c : cases) {
        TFontItem item(QString::fromUtf8(c.Name), true);
        item.SetGdiTypeBits(c.GdiType);
        EXPECT_EQ(item.IsSystemFont(), c.System) << c.Name << " " << c.GdiType;
    }
}

TEST(FontItemTexts, PlaceholdersInAnyCaseOnAType1Item)
{
    TFontItem item(QStringLiteral("Nimbus Roman"), false);
    item.SetFontKind(3);
    item.SetGdiTypeBits(2);
    item.SetWeight(400);
    item.SetStyleName(QStringLiteral("Regular"));
    item.SetFontFile(QStringLiteral("/fonts/metrics/NIMBUS.PFM"));
    item.SetSecondFile(QStringLiteral("/fonts/NIMBUS.PFB"));

    EXPECT_EQ(catalogue::ExpandFontPlaceholders(QStringLiteral("{font_name}: {FONT_FILE_NAMES_EX}"), item),
              QStringLiteral("Nimbus Roman: NIMBUS.PFM|NIMBUS.PFB"));
    EXPECT_EQ(catalogue::ExpandFontPlaceholders(
                  QStringLiteral("{FONT_FILE_NAME}+{FONT_FILE_NAMES}+{Font_File_Name_Ex}+{FONT_FILE_PATH}"), item),
              QStringLiteral("/fonts/metrics/NIMBUS.PFM+/fonts/metrics/NIMBUS.PFM|/fonts/NIMBUS.PFB+NIMBUS.PFM+/fonts/metrics/"));
    EXPECT_EQ(catalogue::ExpandFontPlaceholders(QStringLiteral("{FONT_TYPE} {FONT_TYPE_SHORT} {FONT_TYPE}"), item),
              QStringLiteral("PostScript Type 1 font PS PostScript Type 1 font"));
}

TEST(FontItemTexts, EveryPlaceholderOfATrueTypeItem)
{
    TFontItem item(QStringLiteral("Sans"), true);
    item.SetFontKind(5);
    item.SetGdiTypeBits(4);
    item.SetWeight(700);
    item.SetWidthClass(3);
    item.SetStyleName(QStringLiteral("Bold"));
    item.SetEmbeddingBits(0x0004);
    item.SetPanose({2, 11, 8, 3, 0, 0, 0, 0, 0, 0});
    item.SetStatusFlags(FontStatus::Loaded);
    fontfile::TAdditionalFontNameInfo names;
    names.Version = u"Version 2.37";
    item.SetNameInfo(names);
    item.SetFontFile(QStringLiteral("/usr/share/fonts/Sans-Bold.ttf"));

    const QString text = QStringLiteral(
        "{FONT_NAME}|{FONT_FAMILY_NAME}|{FONT_STYLE}|{FONT_VERSION_STRING}|{FONT_EMBEDDING}|{FONT_STATUS}|"
        "{FONT_PANOSE}|{FONT_WEIGHT}|{FONT_WIDTH}|{FONT_FILE_NAMES_EX}|{FONT_UNKNOWN}");
    EXPECT_EQ(catalogue::ExpandFontPlaceholders(text, item),
              QStringLiteral("Sans Bold|Sans|Bold|Version 2.37|Preview & Print|Loaded|2B83000000|Bold|Condensed|"
                             "Sans-Bold.ttf|{FONT_UNKNOWN}"));
    TFontItem noFile(QStringLiteral("X"), false);
    EXPECT_EQ(catalogue::ExpandFontPlaceholders(QStringLiteral("[{FONT_FILE_PATH}{FONT_FILE_NAMES}]"), noFile),
              QStringLiteral("[]"));
}

TEST(FontItem, NewItemsAndCopies)
{
    catalogue::TFontFamilyItem family(QStringLiteral("Fam"));
    TFontItem item(&family, true);
    EXPECT_EQ(item.Family(), &family);
    EXPECT_EQ(item.GdiTypeBits(), -1);
    EXPECT_EQ(item.FontKind(), 0);
    EXPECT_EQ(item.StatusFlags(), 0);
    EXPECT_EQ(item.RefCount(), 0);
    EXPECT_TRUE(item.ActivationAllowed());
    EXPECT_TRUE(item.ActiveListItem());
    EXPECT_FALSE(item.PrivatelyLoaded());
    EXPECT_EQ(item.FileHandle1(), -1);

    TFontItem raster(QStringLiteral("Terminal"), true);
    raster.SetFontKind(1);
    raster.SetGdiTypeBits(1);
    raster.SetWeight(700);
    raster.SetStyleName(QStringLiteral("ignored"));
    raster.SetFullName(QStringLiteral("Terminal Bold"));
    raster.SetFontFile(QStringLiteral("/f/term.fon"));
    raster.SetStatusFlags(FontStatus::Installed);
    raster.SetViaShortcut(true);
    raster.SetShortcutPath(QStringLiteral("/g/term.lnk"));
    raster.SetGlyphCount(99);

    TFontItem copy(QStringLiteral("Other"), false);
    copy.CopyFrom(raster);
    EXPECT_EQ(copy.StyleName(), QStringLiteral("Bold"));  // the other's style text
    EXPECT_EQ(copy.FullName(), QStringLiteral("Terminal Bold"));
    EXPECT_EQ(copy.FontFile(), QStringLiteral("/f/term.fon"));
    EXPECT_EQ(copy.GdiTypeBits(), 1);
    EXPECT_EQ(copy.StatusFlags(), FontStatus::Installed);
    EXPECT_TRUE(copy.ViaShortcut());
    EXPECT_EQ(copy.ShortcutPath(), QStringLiteral("/g/term.lnk"));
    EXPECT_EQ(copy.FamilyName(), QStringLiteral("Other"));  // not copied
    EXPECT_EQ(copy.GlyphCount(), 0);                        // details are not copied
    EXPECT_FALSE(copy.ActiveListItem());
}

TEST(FontItem, PreviewSizeFromTheCellThenTheMeasuredRatio)
{
    TFontItem item(QStringLiteral("F"), false);
    EXPECT_EQ(item.PreviewSize(12), 12);
    EXPECT_EQ(item.PreviewSize(5), 6);
    item.SetTextMetrics({20, 4, 1250}, catalogue::MetricsSource::Measured);
    EXPECT_EQ(item.PreviewSize(20), 16);
    item.SetUnitsPerEm(2048);
    item.SetWinAscent(1901);
    item.SetWinDescent(-483);  // held negated
    EXPECT_EQ(item.PreviewSize(12), 10);  // 12 * 2048 / 2384 = 10.3
    EXPECT_EQ(item.PreviewSize(100), 86);
    EXPECT_EQ(item.PreviewSize(3), 6);
}

TEST(FontItem, CountableFaces)
{
    const struct {
        const char* Case;
        const char* Family;
        bool Active;
        std::uint8_t Flags;
        const char* File;
        bool Countable;
    } cases[] = {
        {"installed only", "Sans", true, FontStatus::Installed, "/f/a.ttf", false},
        {"installed and loaded", "Sans", true, FontStatus::Installed | FontStatus::Loaded, "/f/a.ttf", true},
        {"installed, file loaded", "Sans", true, FontStatus::Installed | FontStatus::FileLoaded, "", true},
        {"installed browse item", "Sans", false, FontStatus::Installed, "/f/a.ttf", true},
        {"vertical without file", "@Gothic", true, FontStatus::Loaded, "", false},
        {"vertical with file", "@Gothic", false, 0, "/f/g.ttc", true},
    };
    for (const auto& c : cases) {
        TFontItem item(QString::fromUtf8(c.Family), c.Active);
        item.SetStatusFlags(c.Flags);
        item.SetFontFile(QString::fromUtf8(c.File));
        EXPECT_EQ(item.IsCountable(), c.Countable) << c.Case;
    }
}

} // namespace
