#pragma once

// Shared pieces of the reader tests: a scratch folder per test, a log sink that records the
// library's lines, and UTF-8 views of wide text for readable failure messages.

#include "IsolatedEnvironment.h"

#include "fontfile/Environment.h"

#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

namespace qmtest {

// A fresh folder below the scratch folder, removed with the rest of the test environment.
inline std::string FreshFolder(const std::string& name)
{
    const std::string path = IsolatedEnvironment::Global().Scratch() + "/" + name;
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
    return path;
}

inline std::string Utf8(const std::u16string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size())
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        if (c < 0x80)
            out += static_cast<char>(c);
        else if (c < 0x800)
            out += {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
        else if (c < 0x10000)
            out += {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                    static_cast<char>(0x80 | (c & 0x3F))};
        else
            out += {static_cast<char>(0xF0 | (c >> 18)), static_cast<char>(0x80 | ((c >> 12) & 0x3F)),
                    static_cast<char>(0x80 | ((c >> 6) & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
    }
    return out;
}

// Installed for the lifetime of the object.
class TRecordingLogSink final : public fontfile::ILogSink {
public:
    TRecordingLogSink() { fontfile::SetLogSink(this); }
    ~TRecordingLogSink() override { fontfile::SetLogSink(nullptr); }
    TRecordingLogSink(const TRecordingLogSink&) = delete;
    TRecordingLogSink& operator=(const TRecordingLogSink&) = delete;

    void Error(const std::u16string& message) override
    {
        std::lock_guard lock(FLock);
        FErrors.push_back(Utf8(message));
    }
    void General(const std::u16string& message) override
    {
        std::lock_guard lock(FLock);
        FGeneral.push_back(Utf8(message));
    }
    std::vector<std::string> Errors() const
    {
        std::lock_guard lock(FLock);
        return FErrors;
    }
    std::vector<std::string> General() const
    {
        std::lock_guard lock(FLock);
        return FGeneral;
    }

private:
    mutable std::mutex FLock;
    std::vector<std::string> FErrors;
    std::vector<std::string> FGeneral;
};

} // namespace qmtest
