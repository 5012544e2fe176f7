#pragma once

// The text and locale services of the font-file library on Linux: the ANSI code page and the
// Windows locale identifier that the user's POSIX locale stands for, and conversions between
// the Windows code pages and UTF-16 through ICU's converters.

#include "fontfile/Environment.h"

#include <cstdint>
#include <string>

namespace platform {

class TIcuTextServices final : public fontfile::ITextServices {
public:
    // posixLocale as in LANG ("de_CH.UTF-8"); "C" or an unknown locale gives 1252 and 0x0409.
    explicit TIcuTextServices(const std::string& posixLocale);
    // The locale of the environment: LC_ALL, else LC_CTYPE, else LANG.
    static std::string UserPosixLocale();

    unsigned AnsiCodePage() const override { return FAnsiCodePage; }
    std::uint16_t SystemLocaleId() const override { return FLocaleId; }
    std::optional<std::u16string> MultiByteToWide(unsigned codePage, std::string_view bytes,
                                                  bool refuseInvalid) const override;
    std::optional<std::string> WideToMultiByte(unsigned codePage, std::u16string_view text) const override;

    static unsigned AnsiCodePageOf(const std::string& posixLocale);
    static std::uint16_t LocaleIdOf(const std::string& posixLocale);

private:
    unsigned FAnsiCodePage;
    std::uint16_t FLocaleId;
};

} // namespace platform
