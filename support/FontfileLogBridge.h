#pragma once

// Hands the font-file library's log lines to the program's error and general logs.

#include "fontfile/Environment.h"

namespace support {

class TFontfileLogBridge final : public fontfile::ILogSink {
public:
    void Error(const std::u16string& message) override;
    void General(const std::u16string& message) override;
};

// Installs one process-wide bridge as the library's log sink.
void InstallFontfileLogBridge();

} // namespace support
