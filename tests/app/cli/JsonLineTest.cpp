#include "app/cli/JsonLine.h"

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>

using cli::JsonString;
using cli::TJsonLine;

namespace {

TEST(JsonLine, KeysKeepTheirOrder)
{
    TJsonLine line;
    line.String("z", u"last first").Number("a", -5).Boolean("m", true).String("b", QStringLiteral("x"));
    EXPECT_EQ(line.Text(), R"({"z": "last first", "a": -5, "m": true, "b": "x"})");
    EXPECT_EQ(TJsonLine().Text(), "{}");
}

TEST(JsonLine, StringsAreEscapedAndSurviveAParser)
{
    struct TCase {
        std::u16string Text;
        const char* Json;
    };
    const TCase cases[] = {
        {u"plain", "\"plain\""},
        {u"quote \" and \\ backslash", R"("quote \" and \\ backslash")"},
        {u"tab\tline\r\n", R"("tab\tline\r\n")"},
        {std::u16string(u"nul\0end", 7), R"("nul\u0000end")"},
        {u"\u00E9\u20AC", "\"\xC3\xA9\xE2\x82\xAC\""},
        {u"\U0001F600", "\"\xF0\x9F\x98\x80\""},
        {std::u16string(1, char16_t(0xD800)) + u"x", R"("\ud800x")"},  // a lone surrogate stays visible
    };
    for (const auto& c : cases) {
        EXPECT_EQ(JsonString(c.Text), c.Json);
        if (c.Text.find(char16_t(0xD800)) != std::u16string::npos)
            continue;
        TJsonLine line;
        line.String("v", c.Text);
        const auto document = QJsonDocument::fromJson(QByteArray::fromStdString(line.Text()));
        ASSERT_TRUE(document.isObject());
        EXPECT_EQ(document.object().value("v").toString().toStdU16String(), c.Text);
    }
}

} // namespace
