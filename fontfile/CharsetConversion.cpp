#include "CharsetConversion.h"

#include "Environment.h"

#include <array>
#include <string>
#include <utility>

namespace fontfile {

namespace {

constexpr std::array<std::pair<int, unsigned>, 12> kCharsetCodePages = {{
    {0, 1252},   {128, 932},  {129, 949},  {130, 1361}, {161, 1253}, {162, 1254},
    {177, 1255}, {178, 1256}, {186, 1257}, {204, 1251}, {222, 874},  {238, 1250},
}};

// The code pages tried after the system's own, in this order.
constexpr std::array<unsigned, 14> kSearchedCodePages = {1252, 1250, 1251, 1253, 1254, 1255, 1256,
                                                         1257, 874,  932,  936,  949,  950,  1361};

std::u16string Number(long long value)
{
    return Widen(std::to_string(value));
}

void Trace(std::u16string line)
{
    LogGeneral(line);
}

// One code page of the search: the character must become a single byte that converts back
// to the same character.
std::optional<std::uint8_t> SingleByteOf(unsigned codePage, char16_t character)
{
    const ITextServices& text = TextServices();
    const std::u16string wide(1, character);
    Trace(u"FromUnicodeToCodepoint Start " + wide);
    const auto bytes = text.WideToMultiByte(codePage, wide);
    Trace(u"FromUnicodeToCodepoint WideCharToMultiByte L " + Number(bytes ? static_cast<long long>(bytes->size()) : 0));
    std::optional<std::uint8_t> code;
    if (bytes && !bytes->empty()) {
        Trace(u"FromUnicodeToCodepoint TheMultiByteStr " + Widen(*bytes));
        const auto back = text.MultiByteToWide(codePage, *bytes, true);
        Trace(u"FromUnicodeToCodepoint MultiByteToWideChar L " + Number(back ? static_cast<long long>(back->size()) : 0));
        if (back) {
            Trace(u"FromUnicodeToCodepoint TheWideString " + *back);
            // A byte that only leads a two-byte character cannot stand for it alone.
            if (bytes->size() == 1 && (*bytes)[0] != '\0' && *back == wide)
                code = static_cast<std::uint8_t>((*bytes)[0]);
        }
    }
    Trace(u"FromUnicodeToCodepoint End " + Number(code ? *code : 0));
    return code;
}

} // namespace

unsigned CharsetToCodePage(int charset)
{
    for (const auto& [set, codePage] : kCharsetCodePages)
        if (set == charset)
            return codePage;
    return 0;
}

std::optional<int> CodePageToCharset(unsigned codePage)
{
    for (const auto& [set, page] : kCharsetCodePages)
        if (page == codePage)
            return set;
    return std::nullopt;
}

std::int32_t FromCodepointToUnicode(int charset, std::uint8_t code)
{
    const unsigned codePage = CharsetToCodePage(charset);
    const std::string byte(1, static_cast<char>(code));
    const auto wide = TextServices().MultiByteToWide(codePage, byte, true);
    const std::size_t length = wide ? wide->size() : 0;
    Trace(u"FromCodepointToUnicode MultiByteToWideChar L " + Number(static_cast<long long>(length)));
    if (length == 0)
        return -1;
    Trace(u"FromUnicodeToCodepoint TheWideString " + *wide);
    const std::int32_t result = (*wide)[0];
    Trace(u"FromCodepointToUnicode FOUND: Charset: " + Number(charset) + u"CodePage: " + Number(codePage)
          + u" WideChar: " + Number(result));
    return result;
}

std::optional<TCharsetCode> FromUnicodeCodepointToCodepageData(std::int32_t unicodeValue)
{
    const unsigned ansiCodePage = TextServices().AnsiCodePage();
    Trace(u"FromUnicodeCodepointToCodepageData TheUnicodeValue: " + Number(unicodeValue));
    Trace(u"TheCodepage: " + Number(ansiCodePage));
    if (unicodeValue < 0 || unicodeValue > 0xFFFF)
        return std::nullopt;
    if (unicodeValue <= 128)
        return TCharsetCode{0, static_cast<std::uint8_t>(unicodeValue)};

    const auto character = static_cast<char16_t>(unicodeValue);
    auto tryCodePage = [&](unsigned codePage) -> std::optional<TCharsetCode> {
        Trace(u"FromUnicodeToCodepointData CodePage: " + Number(codePage));
        const auto charset = CodePageToCharset(codePage);
        // Without a character set the answer could not be used; the conversion is still traced.
        const auto code = SingleByteOf(codePage, character);
        if (!code || !charset)
            return std::nullopt;
        Trace(u"FromUnicodeToCodepointData FOUND: Charset: " + Number(*charset) + u" Codepoint: " + Number(*code));
        return TCharsetCode{*charset, *code};
    };

    if (auto found = tryCodePage(ansiCodePage))
        return found;
    for (unsigned codePage : kSearchedCodePages)
        if (auto found = tryCodePage(codePage))
            return found;
    return std::nullopt;
}

} // namespace fontfile
