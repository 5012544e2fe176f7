#include "IcuTextServices.h"

#include <unicode/ucnv.h>
#include <unicode/uloc.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <unordered_map>

namespace platform {

namespace {

constexpr unsigned kDefaultCodePage = 1252;
constexpr std::uint16_t kDefaultLocaleId = 0x0409;

struct TLanguageCodePage {
    std::string_view Language;
    unsigned CodePage;
};

// The Windows ANSI code page of each language that does not use 1252.
constexpr std::array<TLanguageCodePage, 33> kLanguageCodePages = {{
    {"ru", 1251}, {"uk", 1251}, {"be", 1251}, {"bg", 1251}, {"mk", 1251}, {"sr", 1251}, {"kk", 1251},
    {"ja", 932},  {"ko", 949},  {"el", 1253}, {"tr", 1254}, {"he", 1255}, {"iw", 1255}, {"ar", 1256},
    {"fa", 1256}, {"ur", 1256}, {"lt", 1257}, {"lv", 1257}, {"et", 1257}, {"th", 874},  {"cs", 1250},
    {"pl", 1250}, {"hu", 1250}, {"ro", 1250}, {"sk", 1250}, {"sl", 1250}, {"hr", 1250}, {"sq", 1250},
    {"bs", 1250}, {"vi", 1258}, {"zh", 936},  {"zh_TW", 950}, {"zh_HK", 950},
}};

std::string Canonical(const std::string& posixLocale)
{
    // ICU would read an empty identifier as its own default locale.
    if (posixLocale.empty())
        return {};
    std::array<char, ULOC_FULLNAME_CAPACITY> buffer{};
    UErrorCode error = U_ZERO_ERROR;
    uloc_canonicalize(posixLocale.c_str(), buffer.data(), static_cast<std::int32_t>(buffer.size()), &error);
    if (U_FAILURE(error))
        return {};
    return std::string(buffer.data());
}

std::string LanguageOf(const std::string& locale)
{
    std::array<char, ULOC_LANG_CAPACITY> buffer{};
    UErrorCode error = U_ZERO_ERROR;
    uloc_getLanguage(locale.c_str(), buffer.data(), static_cast<std::int32_t>(buffer.size()), &error);
    return U_FAILURE(error) ? std::string() : std::string(buffer.data());
}

std::string CountryOf(const std::string& locale)
{
    std::array<char, ULOC_COUNTRY_CAPACITY> buffer{};
    UErrorCode error = U_ZERO_ERROR;
    uloc_getCountry(locale.c_str(), buffer.data(), static_cast<std::int32_t>(buffer.size()), &error);
    return U_FAILURE(error) ? std::string() : std::string(buffer.data());
}

std::string WithLikelyCountry(const std::string& locale)
{
    std::array<char, ULOC_FULLNAME_CAPACITY> buffer{};
    UErrorCode error = U_ZERO_ERROR;
    uloc_addLikelySubtags(locale.c_str(), buffer.data(), static_cast<std::int32_t>(buffer.size()), &error);
    if (U_FAILURE(error))
        return locale;
    const std::string country = CountryOf(buffer.data());
    return country.empty() ? locale : LanguageOf(locale) + "_" + country;
}

struct TConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using TConverter = std::unique_ptr<UConverter, TConverterCloser>;

// ICU converters are not thread-safe; each thread keeps its own, opened on first use.
UConverter* ConverterFor(unsigned codePage)
{
    thread_local std::unordered_map<unsigned, TConverter> converters;
    auto found = converters.find(codePage);
    if (found == converters.end()) {
        const std::string name = "windows-" + std::to_string(codePage);
        UErrorCode error = U_ZERO_ERROR;
        TConverter converter(ucnv_open(name.c_str(), &error));
        if (U_FAILURE(error))
            converter.reset();
        found = converters.emplace(codePage, std::move(converter)).first;
    }
    return found->second.get();
}

} // namespace

TIcuTextServices::TIcuTextServices(const std::string& posixLocale)
    : FAnsiCodePage(AnsiCodePageOf(posixLocale))
    , FLocaleId(LocaleIdOf(posixLocale))
{
}

std::string TIcuTextServices::UserPosixLocale()
{
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return value;
    }
    return "C";
}

unsigned TIcuTextServices::AnsiCodePageOf(const std::string& posixLocale)
{
    const std::string locale = Canonical(posixLocale);
    if (locale.empty())
        return kDefaultCodePage;
    const std::string language = LanguageOf(locale);
    const std::string country = CountryOf(locale);
    // Serbian written in Latin letters uses the Central European code page.
    if (language == "sr" && locale.find("LATIN") != std::string::npos)
        return 1250;
    for (const auto& entry : kLanguageCodePages)
        if (entry.Language == language + "_" + country)
            return entry.CodePage;
    for (const auto& entry : kLanguageCodePages)
        if (entry.Language == language)
            return entry.CodePage;
    return kDefaultCodePage;
}

std::uint16_t TIcuTextServices::LocaleIdOf(const std::string& posixLocale)
{
    std::string locale = Canonical(posixLocale);
    if (locale.empty())
        return kDefaultLocaleId;
    std::uint32_t id = uloc_getLCID(locale.c_str());
    // A bare language ("de") names no sublanguage; the naming table lists full identifiers.
    if (id != 0 && id < 0x0400)
        if (const std::uint32_t full = uloc_getLCID(WithLikelyCountry(locale).c_str()); full != 0)
            id = full;
    return id == 0 ? kDefaultLocaleId : static_cast<std::uint16_t>(id);
}

std::optional<std::u16string> TIcuTextServices::MultiByteToWide(unsigned codePage, std::string_view bytes,
                                                                bool refuseInvalid) const
{
    UConverter* converter = ConverterFor(codePage == 0 ? FAnsiCodePage : codePage);
    if (!converter)
        return std::nullopt;
    if (bytes.empty())
        return std::u16string();
    UErrorCode error = U_ZERO_ERROR;
    ucnv_setToUCallBack(converter, refuseInvalid ? UCNV_TO_U_CALLBACK_STOP : UCNV_TO_U_CALLBACK_SUBSTITUTE,
                        nullptr, nullptr, nullptr, &error);
    // A byte of a Windows code page gives at most one UTF-16 unit; the second pass is a guard.
    std::u16string out(bytes.size() + 1, u'\0');
    for (int pass = 0; pass < 2; ++pass) {
        error = U_ZERO_ERROR;
        const std::int32_t length = ucnv_toUChars(converter, out.data(), static_cast<std::int32_t>(out.size()),
                                                  bytes.data(), static_cast<std::int32_t>(bytes.size()), &error);
        if (error == U_BUFFER_OVERFLOW_ERROR) {
            out.assign(static_cast<std::size_t>(length) + 1, u'\0');
            continue;
        }
        if (U_FAILURE(error) || length < 0)
            return std::nullopt;
        out.resize(static_cast<std::size_t>(length));
        return out;
    }
    return std::nullopt;
}

std::optional<std::string> TIcuTextServices::WideToMultiByte(unsigned codePage, std::u16string_view text) const
{
    UConverter* converter = ConverterFor(codePage == 0 ? FAnsiCodePage : codePage);
    if (!converter)
        return std::nullopt;
    if (text.empty())
        return std::string();
    UErrorCode error = U_ZERO_ERROR;
    ucnv_setFromUCallBack(converter, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &error);
    // A UTF-16 unit becomes at most two bytes in these code pages; the second pass is a guard.
    std::string out(text.size() * 2 + 1, '\0');
    for (int pass = 0; pass < 2; ++pass) {
        error = U_ZERO_ERROR;
        const std::int32_t length = ucnv_fromUChars(converter, out.data(), static_cast<std::int32_t>(out.size()),
                                                    text.data(), static_cast<std::int32_t>(text.size()), &error);
        if (error == U_BUFFER_OVERFLOW_ERROR) {
            out.assign(static_cast<std::size_t>(length) + 1, '\0');
            continue;
        }
        if (U_FAILURE(error) || length < 0)
            return std::nullopt;
        out.resize(static_cast<std::size_t>(length));
        return out;
    }
    return std::nullopt;
}

} // namespace platform
