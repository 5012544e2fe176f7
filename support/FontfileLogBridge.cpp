#include "FontfileLogBridge.h"

#include "LoggerUnit.h"

#include <QString>

namespace support {

void TFontfileLogBridge::Error(const std::u16string& message)
{
    LogError(QString::fromStdU16String(message));
}

void TFontfileLogBridge::General(const std::u16string& message)
{
    LogGeneral(QString::fromStdU16String(message));
}

void InstallFontfileLogBridge()
{
    static TFontfileLogBridge bridge;
    fontfile::SetLogSink(&bridge);
}

} // namespace support
