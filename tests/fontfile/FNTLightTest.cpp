#include "LegacyFontBuilder.h"
#include "ReaderTestSupport.h"

#include "fontfile/FNTLight.h"

#include <gtest/gtest.h>

using fontfile::TFNTLight;
using qmtest::BuildNeFont;
using qmtest::TFntFace;
using qmtest::TFntFields;
using qmtest::Utf8;

namespace {

std::string WriteFont(const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    const std::string file = qmtest::FreshFolder("fnt-" + name) + "/font.fon";
    qmtest::WriteFile(file, bytes);
    return file;
}

TFntFields WithFaces(std::vector<TFntFace> faces)
{
    TFntFields fields;
    fields.Faces = std::move(faces);
    return fields;
}

TEST(FNTLight, FaceTypesDecideTypeBitsAndTheCheck)
{
    struct TCase {
        const char* Name;
        std::uint8_t Type;
        std::int32_t TypeBits;
        bool Counts;
    };
    const TCase cases[] = {
        {"raster", 0, 1, true},
        {"vector", 1, 0, true},
        {"TrueType entry", 3, 4, false},
        {"unknown type", 2, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TFntFace face;
        face.Type = c.Type;
        const std::string file = WriteFont("types", BuildNeFont(WithFaces({face})));
        EXPECT_EQ(TFNTLight::IsValidFile(file), c.Counts);
        TFNTLight reader;
        EXPECT_EQ(reader.LoadFromFile(file), c.Counts);
        ASSERT_EQ(reader.Items().Count(), 1u);
        EXPECT_EQ(reader.Items()[0].GdiTypeBits(), c.TypeBits);
        EXPECT_EQ(reader.Items()[0].FontKind(), 0);
    }
}

TEST(FNTLight, ItemsCarryDescriptionNamesAndDerivedStyle)
{
    TFntFace bold{0, 0, 700, "", "Test Sans"};
    TFntFace italic{0, 1, 400, "", "Test Sans"};
    TFntFace device{0, 0, 400, "DEV", "Face"};
    const std::string file = WriteFont("items", BuildNeFont(WithFaces({bold, italic, device})));
    TFNTLight reader;
    ASSERT_TRUE(reader.LoadFromFile(file));
    ASSERT_EQ(reader.Items().Count(), 3u);
    const auto& first = reader.Items()[0];
    // The text after the first colon, without its leading blank.
    EXPECT_EQ(Utf8(first.RegistryName()), "Test Sans 8,10,12");
    EXPECT_EQ(Utf8(first.FamilyName()), "Test Sans");
    EXPECT_EQ(Utf8(first.FaceFullName()), "Test Sans");
    EXPECT_EQ(Utf8(first.StyleName()), "Bold");
    EXPECT_FALSE(first.IsRegular());
    EXPECT_EQ(first.WeightClass(), 700);
    EXPECT_EQ(Utf8(reader.Items()[1].StyleName()), "Italic");
    EXPECT_TRUE(reader.Items()[1].Italic());
    // Device name and face name form one text.
    EXPECT_EQ(Utf8(reader.Items()[2].FamilyName()), "DEVFace");
    EXPECT_EQ(Utf8(reader.Items()[2].StyleName()), "Regular");
    EXPECT_TRUE(reader.Items()[2].IsRegular());
}

TEST(FNTLight, DescriptionWithoutColonIsTakenWhole)
{
    TFntFields fields;
    fields.ModuleDescription = "  Plain description \t";
    TFNTLight reader;
    ASSERT_TRUE(reader.LoadFromFile(WriteFont("nocolon", BuildNeFont(fields))));
    EXPECT_EQ(Utf8(reader.Items()[0].RegistryName()), "Plain description");
}

TEST(FNTLight, DamagedHeadersYieldNothing)
{
    struct TCase {
        const char* Name;
        std::size_t At;
        std::uint32_t Value;
        int Width;  // 1 or 2 bytes
    };
    const TCase cases[] = {
        {"no MZ", 0, 0x4D5A, 2},
        {"relocation offset 63", 24, 63, 1},
        {"new header offset 62", 60, 62, 2},
        {"new header offset beyond the file", 60, 0xFFF0, 2},
        {"no NE", 0x40, 0x4550, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        qmtest::TLittleEndianBytes bytes;
        for (auto b : BuildNeFont())
            bytes.U8(b);
        if (c.Width == 1)
            bytes.PutU8(c.At, c.Value);
        else
            bytes.PutU16(c.At, c.Value);
        const std::string file = WriteFont("damaged", bytes.Bytes());
        EXPECT_FALSE(TFNTLight::IsValidFile(file));
        TFNTLight reader;
        EXPECT_FALSE(reader.LoadFromFile(file));
        EXPECT_TRUE(reader.Items().Empty());
    }
    EXPECT_FALSE(TFNTLight::IsValidFile(WriteFont("short", std::vector<std::uint8_t>(61, 'M'))));
    EXPECT_FALSE(TFNTLight::IsValidFile("/nonexistent/font.fon"));
    TFNTLight reader;
    EXPECT_THROW(reader.LoadFromFile("/nonexistent/font.fon"), std::exception);
}

TEST(FNTLight, DirectoryOutsideTheFileIsNotRead)
{
    auto bytes = BuildNeFont();
    bytes.resize(bytes.size() - 1);  // the resource now reaches one byte past the end
    TFNTLight reader;
    EXPECT_FALSE(reader.LoadFromFile(WriteFont("outside", bytes)));
    EXPECT_TRUE(reader.Items().Empty());
}

TEST(FNTLight, HostileResourceTableCannotMultiplyFaces)
{
    // Thousands of resource entries that all point at the same directory.
    qmtest::TLittleEndianBytes b;
    for (auto byte : BuildNeFont())
        b.U8(byte);
    const std::size_t resourceTable = 0x80;
    const std::size_t entryCount = 5000;
    const std::size_t newTable = b.Size();
    b.U16(4).U16(0x8007).U16(entryCount).U32(0);
    const std::uint32_t offset = b.Bytes()[resourceTable + 10] | (b.Bytes()[resourceTable + 11] << 8);
    const std::uint32_t length = b.Bytes()[resourceTable + 12] | (b.Bytes()[resourceTable + 13] << 8);
    for (std::size_t i = 0; i < entryCount; ++i)
        b.U16(offset).U16(length).U16(0).U16(0).U16(0).U16(0);
    b.U16(0);
    b.PutU16(0x40 + 36, newTable - 0x40);
    TFNTLight reader;
    EXPECT_TRUE(reader.LoadFromFile(WriteFont("hostile", b.Bytes())));
    EXPECT_LE(reader.Items().Count(), 1024u);
}

TEST(FNTLight, EveryPrefixReadsWithoutFault)
{
    const auto bytes = BuildNeFont(WithFaces({TFntFace{}, TFntFace{1, 1, 700, "D", "F"}}));
    for (std::size_t size = 0; size <= bytes.size(); ++size) {
        const std::string file = WriteFont("prefix", std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(size)));
        TFNTLight reader;
        reader.LoadFromFile(file);
    }
}

} // namespace
