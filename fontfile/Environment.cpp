#include "Environment.h"

#include <array>
#include <atomic>

namespace fontfile {

namespace {

// Windows-1252 bytes 0x80..0x9F; 0 marks the five undefined bytes.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The stand-alone default: Windows-1252 only, US English.
class TDefaultTextServices final : public ITextServices {
public:
    unsigned AnsiCodePage() const override { return 1252; }
    std::uint16_t SystemLocaleId() const override { return 0x0409; }

    std::optional<std::u16string> MultiByteToWide(unsigned codePage, std::string_view bytes,
                                                  bool refuseInvalid) const override
    {
        if (codePage != 0 && codePage != 1252)
            return std::nullopt;
        std::u16string out;
        out.reserve(bytes.size());
        for (unsigned char b : bytes) {
            char16_t c = b;
            if (b >= 0x80 && b <= 0x9F)
                c = kCp1252High[b - 0x80];
            if (c == 0 && b != 0) {
                if (refuseInvalid)
                    return std::nullopt;
                c = 0xFFFD;
            }
            out.push_back(c);
        }
        return out;
    }

    std::optional<std::string> WideToMultiByte(unsigned codePage, std::u16string_view text) const override
    {
        if (codePage != 0 && codePage != 1252)
            return std::nullopt;
        std::string out;
        for (char16_t c : text) {
            if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
                out.push_back(static_cast<char>(c));
                continue;
            }
            bool found = false;
            for (std::size_t i = 0; i < kCp1252High.size(); ++i)
                if (kCp1252High[i] == c && c != 0) {
                    out.push_back(static_cast<char>(0x80 + i));
                    found = true;
                    break;
                }
            if (!found)
                return std::nullopt;
        }
        return out;
    }
};

const TDefaultTextServices GDefaultTextServices;
std::atomic<const ITextServices*> GTextServices{nullptr};
std::atomic<ILogSink*> GLogSink{nullptr};

} // namespace

void SetTextServices(const ITextServices* services) { GTextServices.store(services); }

const ITextServices& TextServices()
{
    const ITextServices* services = GTextServices.load();
    return services ? *services : GDefaultTextServices;
}

void SetLogSink(ILogSink* sink) { GLogSink.store(sink); }

void LogError(const std::u16string& message)
{
    if (auto* sink = GLogSink.load())
        sink->Error(message);
}

void LogGeneral(const std::u16string& message)
{
    if (auto* sink = GLogSink.load())
        sink->General(message);
}

std::u16string Widen(std::string_view ascii)
{
    std::u16string out;
    out.reserve(ascii.size());
    for (unsigned char c : ascii)
        out.push_back(c);
    return out;
}

} // namespace fontfile
