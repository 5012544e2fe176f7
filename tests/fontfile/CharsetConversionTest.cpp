#include "ReaderTestSupport.h"

#include "fontfile/CharsetConversion.h"
#include "platform/IcuTextServices.h"

#include <gtest/gtest.h>

#include <algorithm>

using fontfile::CharsetToCodePage;
using fontfile::CodePageToCharset;
using fontfile::FromCodepointToUnicode;
using fontfile::FromUnicodeCodepointToCodepageData;
using fontfile::TCharsetCode;

namespace {

// The conversions run on the real ICU services of a chosen locale.
class CharsetConversion : public ::testing::Test {
protected:
    void Use(const std::string& locale)
    {
        FServices = std::make_unique<platform::TIcuTextServices>(locale);
        fontfile::SetTextServices(FServices.get());
    }
    void SetUp() override { Use("en_US.UTF-8"); }
    void TearDown() override { fontfile::SetTextServices(nullptr); }

    std::unique_ptr<platform::TIcuTextServices> FServices;
};

TEST_F(CharsetConversion, CharsetTableBothWays)
{
    const std::pair<int, unsigned> table[] = {{0, 1252},   {128, 932},  {129, 949},  {130, 1361},
                                              {161, 1253}, {162, 1254}, {177, 1255}, {178, 1256},
                                              {186, 1257}, {204, 1251}, {222, 874},  {238, 1250}};
    for (const auto& [charset, codePage] : table) {
        EXPECT_EQ(CharsetToCodePage(charset), codePage);
        EXPECT_EQ(CodePageToCharset(codePage), charset);
    }
    EXPECT_EQ(CharsetToCodePage(1), 0u);
    EXPECT_EQ(CharsetToCodePage(2), 0u);
    EXPECT_EQ(CodePageToCharset(936), std::nullopt);
    EXPECT_EQ(CodePageToCharset(950), std::nullopt);
}

TEST_F(CharsetConversion, ByteToUnicode)
{
    struct TCase {
        int Charset;
        std::uint8_t Code;
        std::int32_t Expected;
    };
    const TCase cases[] = {
        {204, 0xC0, 0x0410},  // Cyrillic A
        {0, 0x80, 0x20AC},    // euro sign
        {161, 0xC1, 0x0391},  // Greek Alpha
        {238, 0xA3, 0x0141},  // L with stroke
        {1, 0x41, 0x41},      // default character set: the ANSI code page
        {128, 0x82, -1},      // a lead byte alone is no character
        {161, 0xFF, -1},      // unassigned in 1253
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Charset << "/" << int(c.Code));
        EXPECT_EQ(FromCodepointToUnicode(c.Charset, c.Code), c.Expected);
    }
}

TEST_F(CharsetConversion, ByteToUnicodeTraceLines)
{
    qmtest::TRecordingLogSink log;
    FromCodepointToUnicode(204, 0xC0);
    const auto lines = log.General();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "FromCodepointToUnicode MultiByteToWideChar L 1");
    EXPECT_EQ(lines[1], "FromUnicodeToCodepoint TheWideString \xD0\x90");
    EXPECT_EQ(lines[2], "FromCodepointToUnicode FOUND: Charset: 204CodePage: 1251 WideChar: 1040");
}

TEST_F(CharsetConversion, UnicodeToCharsetAndCode)
{
    struct TCase {
        std::int32_t Value;
        std::optional<TCharsetCode> Expected;
    };
    const TCase cases[] = {
        {0x20AC, TCharsetCode{0, 128}},    // euro in 1252
        {0x41, TCharsetCode{0, 0x41}},
        {128, TCharsetCode{0, 128}},       // 0..128 answer themselves
        {0x0410, TCharsetCode{204, 0xC0}}, // Cyrillic A: 1251
        {0x0141, TCharsetCode{238, 0xA3}}, // L with stroke: 1250
        {0x05D0, TCharsetCode{177, 0xE0}}, // Hebrew alef: 1255
        {0x0E01, TCharsetCode{222, 0xA1}}, // Thai ko kai: 874
        {0xFF71, TCharsetCode{128, 0xB1}}, // half-width katakana: one byte in 932
        {0x3042, std::nullopt},            // hiragana takes two bytes everywhere
        {0x10000, std::nullopt},
        {-1, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Value);
        EXPECT_EQ(FromUnicodeCodepointToCodepageData(c.Value), c.Expected);
    }
}

TEST_F(CharsetConversion, SystemCodePageIsTriedFirst)
{
    // S with cedilla is 0xAA in 1250 (searched early) and 0xDE in 1254.
    EXPECT_EQ(FromUnicodeCodepointToCodepageData(0x015E), (TCharsetCode{238, 0xAA}));
    Use("tr_TR.UTF-8");
    EXPECT_EQ(FromUnicodeCodepointToCodepageData(0x015E), (TCharsetCode{162, 0xDE}));
}

TEST_F(CharsetConversion, UnicodeToByteTraceLines)
{
    qmtest::TRecordingLogSink log;
    FromUnicodeCodepointToCodepageData(0x20AC);
    const std::vector<std::string> expected = {
        "FromUnicodeCodepointToCodepageData TheUnicodeValue: 8364",
        "TheCodepage: 1252",
        "FromUnicodeToCodepointData CodePage: 1252",
        "FromUnicodeToCodepoint Start \xE2\x82\xAC",
        "FromUnicodeToCodepoint WideCharToMultiByte L 1",
        "FromUnicodeToCodepoint TheMultiByteStr \xC2\x80",
        "FromUnicodeToCodepoint MultiByteToWideChar L 1",
        "FromUnicodeToCodepoint TheWideString \xE2\x82\xAC",
        "FromUnicodeToCodepoint End 128",
        "FromUnicodeToCodepointData FOUND: Charset: 0 Codepoint: 128",
    };
    EXPECT_EQ(log.General(), expected);
}

} // namespace
