#include "support/SystemUtilsUnit.h"

#include <gtest/gtest.h>

#include <QLocale>

using namespace support;

namespace {

// Sets the user's locale for one test and puts the previous one back.
class ScopedLocale {
public:
    explicit ScopedLocale(QLocale::Language language, QLocale::Territory territory)
    {
        QLocale::setDefault(QLocale(language, territory));
    }
    ~ScopedLocale() { QLocale::setDefault(FPrevious); }
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;

private:
    QLocale FPrevious;
};

} // namespace

TEST(SizeTexts, KilobytesShortAndExact)
{
    const ScopedLocale english(QLocale::English, QLocale::UnitedStates);
    struct Case { qint64 size; const char* kilobytes; const char* shortText; const char* exact; };
    const Case cases[] = {
        {-1, "0 KB", "-1 bytes", "-1 bytes"},
        {0, "0 KB", "0 bytes", "0 bytes"},
        {1, "1 KB", "1 byte", "1 byte"},
        {2, "1 KB", "2 bytes", "2 bytes"},
        {1023, "1 KB", "1,023 bytes", "1,023 bytes"},
        {1024, "1 KB", "1 KB", "1,024 bytes"},
        {1025, "2 KB", "1 KB", "1,025 bytes"},
        {12345, "13 KB", "12 KB", "12,345 bytes"},
        {3500000, "3,418 KB", "3 MB", "3,500,000 bytes"},
        {1073741824, "1,048,576 KB", "1 GB", "1,073,741,824 bytes"},
        {5368709121, "5,242,881 KB", "5 GB", "5,368,709,121 bytes"},
        {9007199254740993, "8,796,093,022,209 KB", "8388608 GB", "9,007,199,254,740,993 bytes"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        EXPECT_EQ(SizeInKilobytesText(c.size).toStdString(), c.kilobytes);
        EXPECT_EQ(ShortOrExactSizeText(false, 0, c.size).toStdString(), c.shortText);
        EXPECT_EQ(ShortOrExactSizeText(true, 0, c.size).toStdString(), c.exact);
    }
}

TEST(SizeTexts, ShortSizeDecimalsFollowTheUserLocaleExactSizesDoNot)
{
    struct Case { QLocale::Language language; QLocale::Territory territory; const char* megabytes; const char* gigabytes; };
    const Case cases[] = {
        {QLocale::English, QLocale::UnitedStates, "3.3 MB", "3.26 GB"},
        {QLocale::German, QLocale::Germany, "3,3 MB", "3,26 GB"},
    };
    for (const auto& c : cases) {
        const ScopedLocale locale(c.language, c.territory);
        EXPECT_EQ(ShortOrExactSizeText(false, 1, 3500000).toStdString(), c.megabytes);
        EXPECT_EQ(ShortOrExactSizeText(false, 2, 3500000000).toStdString(), c.gigabytes);
        // Sizes in lists and the exact size keep the fixed format.
        EXPECT_EQ(ShortOrExactSizeText(true, 1, 3500000).toStdString(), "3,500,000 bytes");
        EXPECT_EQ(SizeInKilobytesText(3500000).toStdString(), "3,418 KB");
    }
}

TEST(FixedNumberFormat, ThousandsAndDecimals)
{
    struct Case { double value; int decimals; const char* expected; };
    const Case cases[] = {
        {0, 0, "0"},
        {999, 0, "999"},
        {1000, 0, "1,000"},
        {1234567.891, 2, "1,234,567.89"},
        {-1234.6, 0, "-1,235"},
        {-0.001, 2, "0.00"},
        {0.5, 3, "0.500"},
        {12.0, -4, "12"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatNumberN(c.value, c.decimals).toStdString(), c.expected) << c.value;
    EXPECT_EQ(FormatIntegerN(-1234567).toStdString(), "-1,234,567");
    EXPECT_EQ(FormatNumberF(1234567.24, 1, FixedFormatSettings()).toStdString(), "1234567.2");
}

TEST(PercentageText, AcceptedForms)
{
    const ScopedLocale english(QLocale::English, QLocale::UnitedStates);
    struct Case { const char* text; double expected; };
    const Case cases[] = {
        {"75%", 75}, {" 75 ", 75}, {"75 %", 75}, {"\t75%\r\n", 75}, {"12.5%", 12.5}, {"-10", -10}, {"0%", 0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(PercentageTextToNumber(QString::fromLatin1(c.text)), c.expected) << c.text;
}

TEST(PercentageText, UserDecimalSeparatorAndPointBothWork)
{
    const ScopedLocale german(QLocale::German, QLocale::Germany);
    EXPECT_DOUBLE_EQ(PercentageTextToNumber(QStringLiteral("12,5%")), 12.5);
    EXPECT_DOUBLE_EQ(PercentageTextToNumber(QStringLiteral("12.5%")), 12.5);
}

TEST(PercentageText, NonNumbersRaise)
{
    const ScopedLocale english(QLocale::English, QLocale::UnitedStates);
    for (const char* text : {"", "%", "   ", "abc", "75%%", "nan", "inf", "7 5"})
        EXPECT_THROW(PercentageTextToNumber(QString::fromLatin1(text)), EConvertError) << text;
}
