// quillmark-cli: the font readers and operations of Quillmark for scripts.

#include "CliCommand.h"

#include "fontfile/Environment.h"
#include "platform/IcuTextServices.h"
#include "platform/Places.h"
#include "support/FontfileLogBridge.h"
#include "support/LoggerUnit.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

int PrintUsage(const std::vector<std::unique_ptr<cli::TCliCommand>>& commands)
{
    QTextStream err(stderr);
    err << "Usage:\n";
    for (const auto& command : commands)
        err << "  quillmark-cli " << command->Name() << ' ' << command->Usage() << '\n';
    return cli::kUsageError;
}

// Logging stops on every way out of main.
struct TLoggingSession {
    TLoggingSession() { support::StartLogging(platform::places::LogFolder(), QStringLiteral("quillmark-cli")); }
    ~TLoggingSession() { support::StopLogging(); }
    TLoggingSession(const TLoggingSession&) = delete;
    TLoggingSession& operator=(const TLoggingSession&) = delete;
};

// The library's text services are the process's ICU services while main runs.
class TTextServicesInstall {
public:
    explicit TTextServicesInstall(const fontfile::ITextServices& services) { fontfile::SetTextServices(&services); }
    ~TTextServicesInstall() { fontfile::SetTextServices(nullptr); }
    TTextServicesInstall(const TTextServicesInstall&) = delete;
    TTextServicesInstall& operator=(const TTextServicesInstall&) = delete;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quillmark-cli"));

    const platform::TIcuTextServices textServices(platform::TIcuTextServices::UserPosixLocale());
    const TTextServicesInstall textServicesInstall(textServices);
    support::InstallFontfileLogBridge();
    const TLoggingSession logging;

    const auto commands = cli::AllCommands();
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    if (arguments.isEmpty())
        return PrintUsage(commands);
    const QString name = arguments.takeFirst();
    for (const auto& command : commands)
        if (command->Name() == name)
            return command->Run(arguments);
    QTextStream(stderr) << "Unknown command: " << name << '\n';
    return PrintUsage(commands);
}
