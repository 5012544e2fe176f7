#include "platform/IcuTextServices.h"

#include <gtest/gtest.h>

#include <cstdlib>

using platform::TIcuTextServices;

namespace {

TEST(IcuTextServices, CodePageAndLocaleIdFromThePosixLocale)
{
    struct TCase {
        const char* Locale;
        unsigned CodePage;
        std::uint16_t LocaleId;
    };
    const TCase cases[] = {
        {"de_CH.UTF-8", 1252, 0x0807}, {"en_US.UTF-8", 1252, 0x0409}, {"ru_RU.UTF-8", 1251, 0x0419},
        {"ja_JP.UTF-8", 932, 0x0411},  {"ko_KR.UTF-8", 949, 0x0412},  {"el_GR.UTF-8", 1253, 0x0408},
        {"tr_TR.UTF-8", 1254, 0x041F}, {"he_IL.UTF-8", 1255, 0x040D}, {"ar_EG.UTF-8", 1256, 0x0C01},
        {"lt_LT.UTF-8", 1257, 0x0427}, {"lv_LV", 1257, 0x0426},       {"et_EE", 1257, 0x0425},
        {"th_TH.UTF-8", 874, 0x041E},  {"cs_CZ.UTF-8", 1250, 0x0405}, {"pl_PL", 1250, 0x0415},
        {"hu_HU", 1250, 0x040E},       {"ro_RO", 1250, 0x0418},       {"sk_SK", 1250, 0x041B},
        {"sl_SI", 1250, 0x0424},       {"hr_HR", 1250, 0x041A},       {"zh_CN.UTF-8", 936, 0x0804},
        {"zh_TW.UTF-8", 950, 0x0404},  {"fr_FR@euro", 1252, 0x040C},  {"de.UTF-8", 1252, 0x0407},
        {"C", 1252, 0x0409},           {"POSIX", 1252, 0x0409},       {"C.UTF-8", 1252, 0x0409},
        {"", 1252, 0x0409},            {"xx_YY", 1252, 0x0409},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Locale);
        TIcuTextServices services(c.Locale);
        EXPECT_EQ(services.AnsiCodePage(), c.CodePage);
        EXPECT_EQ(services.SystemLocaleId(), c.LocaleId);
    }
}

TEST(IcuTextServices, UserLocaleComesFromTheEnvironment)
{
    const char* saved[] = {std::getenv("LC_ALL"), std::getenv("LC_CTYPE"), std::getenv("LANG")};
    const std::string keep[] = {saved[0] ? saved[0] : "", saved[1] ? saved[1] : "", saved[2] ? saved[2] : ""};
    ::unsetenv("LC_ALL");
    ::unsetenv("LC_CTYPE");
    ::setenv("LANG", "ru_RU.UTF-8", 1);
    EXPECT_EQ(TIcuTextServices::UserPosixLocale(), "ru_RU.UTF-8");
    ::setenv("LC_ALL", "de_CH.UTF-8", 1);
    EXPECT_EQ(TIcuTextServices::UserPosixLocale(), "de_CH.UTF-8");
    const char* names[] = {"LC_ALL", "LC_CTYPE", "LANG"};
    for (int i = 0; i < 3; ++i) {
        if (saved[i])
            ::setenv(names[i], keep[i].c_str(), 1);
        else
            ::unsetenv(names[i]);
    }
}

TEST(IcuTextServices, MultiByteToWide)
{
    TIcuTextServices services("ru_RU.UTF-8");
    EXPECT_EQ(services.MultiByteToWide(0, "\xC0\xE1", true), u"\u0410\u0431");  // the ANSI code page: 1251
    EXPECT_EQ(services.MultiByteToWide(1252, "caf\xE9 \x80", true), u"caf\u00E9 \u20AC");
    EXPECT_EQ(services.MultiByteToWide(932, "\x82\xA0", true), u"\u3042");
    EXPECT_EQ(services.MultiByteToWide(1252, "", true), u"");
    // An invalid or cut sequence is refused when asked, else replaced.
    EXPECT_EQ(services.MultiByteToWide(932, "\x82", true), std::nullopt);
    EXPECT_EQ(services.MultiByteToWide(1253, "\xFF", true), std::nullopt);
    const auto replaced = services.MultiByteToWide(1253, "a\xFF" "b", false);
    ASSERT_TRUE(replaced);
    EXPECT_EQ(replaced->size(), 3u);
    EXPECT_EQ((*replaced)[0], u'a');
    EXPECT_EQ((*replaced)[2], u'b');
    EXPECT_EQ(services.MultiByteToWide(99999, "a", false), std::nullopt);  // no such code page
}

TEST(IcuTextServices, WideToMultiByte)
{
    TIcuTextServices services("en_US.UTF-8");
    EXPECT_EQ(services.WideToMultiByte(0, u"\u20AC"), "\x80");
    EXPECT_EQ(services.WideToMultiByte(1251, u"\u0410"), "\xC0");
    EXPECT_EQ(services.WideToMultiByte(932, u"\u3042"), "\x82\xA0");
    // No best-fit guesses: a character without a mapping gives no result.
    EXPECT_EQ(services.WideToMultiByte(1252, u"\u0410"), std::nullopt);
    EXPECT_EQ(services.WideToMultiByte(1252, std::u16string(1, char16_t(0xD800))), std::nullopt);
}

} // namespace
