#include "support/ProgramServices.h"

#include "fontfile/Environment.h"
#include "platform/InstalledFontsHive.h"
#include "platform/Places.h"
#include "support/FontfileLogBridge.h"
#include "support/LoggerUnit.h"

namespace support {

TProgramServices::TProgramServices(const QString& applicationTitle)
    : FTextServices(platform::TIcuTextServices::UserPosixLocale())
{
    fontfile::SetTextServices(&FTextServices);
    InstallFontfileLogBridge();
    StartLogging(platform::places::LogFolder(), applicationTitle);
    // The installed fonts (the persistent font folders) behind HKEY_LOCAL_MACHINE.
    platform::InstallInstalledFontsHive();
}

TProgramServices::~TProgramServices()
{
    // Streams still queued are closed by the freeing thread's scope after this body; the
    // library must not log into freed loggers or convert through freed services meanwhile.
    fontfile::SetLogSink(nullptr);
    StopLogging();
    fontfile::SetTextServices(nullptr);
}

} // namespace support
