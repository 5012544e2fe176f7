#pragma once

// What the font-file library needs from the program around it, given to it at start-up:
// the text and locale services (the system ANSI code page, the locale identifier that the
// naming table is matched against, code-page conversions) and the two logs. The library has
// working defaults (code page 1252, locale 0x0409, no logging), so it can be used alone.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fontfile {

class ITextServices {
public:
    virtual ~ITextServices() = default;

    // The code page of the user's locale (1252, 1251, 932, ...).
    virtual unsigned AnsiCodePage() const = 0;
    // The Windows locale identifier of the user's locale (0x0409 when unknown).
    virtual std::uint16_t SystemLocaleId() const = 0;
    // Converts bytes of a Windows code page (0 means AnsiCodePage()) to UTF-16. With
    // refuseInvalid an invalid or unmapped byte sequence gives no result; without it such
    // bytes become U+FFFD.
    virtual std::optional<std::u16string> MultiByteToWide(unsigned codePage, std::string_view bytes,
                                                          bool refuseInvalid) const = 0;
    // Converts UTF-16 to a Windows code page; no result when a character has no mapping.
    virtual std::optional<std::string> WideToMultiByte(unsigned codePage, std::u16string_view text) const = 0;
};

class ILogSink {
public:
    virtual ~ILogSink() = default;
    virtual void Error(const std::u16string& message) = 0;
    virtual void General(const std::u16string& message) = 0;
};

// Both pointers are borrowed and must outlive every use of the library; nullptr restores
// the defaults. Set them before reader threads start.
void SetTextServices(const ITextServices* services);
const ITextServices& TextServices();

void SetLogSink(ILogSink* sink);
void LogError(const std::u16string& message);
void LogGeneral(const std::u16string& message);

// ASCII/UTF-8 literal helpers for messages.
std::u16string Widen(std::string_view ascii);

} // namespace fontfile
