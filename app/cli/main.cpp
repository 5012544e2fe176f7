// quillmark-cli: the font readers and operations of Quillmark for scripts.

#include "CliCommand.h"

#include "catalogue/GlobalFontManagerUnit.h"
#include "support/ProgramServices.h"

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

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quillmark-cli"));

    const support::TProgramServices services(QStringLiteral("quillmark-cli"));
    // The program's font cache: what it loaded, with the files.
    const catalogue::TGlobalFontManagerScope fontManager;

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
