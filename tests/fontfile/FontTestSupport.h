#pragma once

// Small helpers shared by the font-file tests: a stand-in for the system locale, a view of
// the warnings added during one test, and scratch files holding built fonts.

#include "SfntBuilder.h"

#include "IsolatedEnvironment.h"
#include "fontfile/Environment.h"
#include "fontfile/FontStream.h"
#include "fontfile/WarningCollector.h"

#include <filesystem>
#include <string>
#include <vector>

namespace fonttest {

// Reports another system locale (and optionally code page) while it lives; conversions go
// to the services that were installed before.
class TScopedSystemLocale final : public fontfile::ITextServices {
public:
    explicit TScopedSystemLocale(std::uint16_t localeId, unsigned codePage = 0)
        : FPrevious(fontfile::TextServices()), FLocaleId(localeId), FCodePage(codePage)
    {
        fontfile::SetTextServices(this);
    }
    ~TScopedSystemLocale() override { fontfile::SetTextServices(&FPrevious); }
    TScopedSystemLocale(const TScopedSystemLocale&) = delete;
    TScopedSystemLocale& operator=(const TScopedSystemLocale&) = delete;

    unsigned AnsiCodePage() const override { return FCodePage ? FCodePage : FPrevious.AnsiCodePage(); }
    std::uint16_t SystemLocaleId() const override { return FLocaleId; }
    std::optional<std::u16string> MultiByteToWide(unsigned codePage, std::string_view bytes,
                                                  bool refuseInvalid) const override
    {
        return FPrevious.MultiByteToWide(codePage, bytes, refuseInvalid);
    }
    std::optional<std::string> WideToMultiByte(unsigned codePage, std::u16string_view text) const override
    {
        return FPrevious.WideToMultiByte(codePage, text);
    }

private:
    const fontfile::ITextServices& FPrevious;
    std::uint16_t FLocaleId;
    unsigned FCodePage;
};

// The warnings added since construction.
class TWarningWatch {
public:
    TWarningWatch() : FStart(fontfile::TWarningCollector::Instance().TotalCount()) {}
    std::vector<std::string> Added() const { return fontfile::TWarningCollector::Instance().Since(FStart); }

private:
    std::uint64_t FStart;
};

inline std::string ScratchFile(const std::string& name, const sfnttest::TByteVector& bytes)
{
    const std::string folder = qmtest::IsolatedEnvironment::Global().Scratch() + "/fontfile";
    std::filesystem::create_directories(folder);
    const std::string path = folder + "/" + name;
    sfnttest::WriteFile(path, bytes);
    return path;
}

inline fontfile::TMemoryFontStream MemoryStream(const sfnttest::TByteVector& bytes)
{
    return fontfile::TMemoryFontStream(bytes);
}

} // namespace fonttest
