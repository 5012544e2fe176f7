#include "app/ProgramEntry.h"

#include "app/AppIdentity.h"
#include "app/MainFrm.h"
#include "catalogue/DisplaySettings.h"
#include "catalogue/GlobalFontManagerUnit.h"
#include "platform/SingleInstance.h"
#include "platform/TerminationRequest.h"
#include "settings/FileVersionInfo.h"
#include "support/LoggerUnit.h"
#include "support/ProgramServices.h"

#include <QApplication>
#include <QIcon>
#include <QStringList>

namespace app {

namespace {

QStringList ArgumentsOf(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

// The main window lives from here to the end of the event loop; the channel answers for it.
int RunMainWindow(QApplication& application, platform::TSingleInstance& instance,
                  platform::TSingleInstance::TClaim claim)
{
    TMainFormFM form;
    QObject::connect(&form, &TMainFormFM::Closed, &application, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    // A logout or kill closes the window like its Exit command, so the state is saved.
    platform::TTerminationRequest termination;
    QObject::connect(&termination, &platform::TTerminationRequest::Requested, &form, [&form](int signalNumber) {
        support::LogGeneral(QStringLiteral("Termination signal %1 received").arg(signalNumber));
        form.RequestExit();
    });
    if (claim == platform::TSingleInstance::TClaim::First) {
        const bool listening = instance.Listen([&form](quint32 tag, const QByteArray& data) {
            return form.CopyDataReceived(tag, data);
        });
        if (!listening)
            support::LogError(QStringLiteral("Single instance: ") + instance.ErrorString());
    } else if (claim == platform::TSingleInstance::TClaim::Unavailable) {
        support::LogError(QStringLiteral("Single instance: ") + instance.ErrorString());
    }
    form.show();
    const int exitCode = application.exec();
    instance.StopListening();
    return exitCode;
}

} // namespace

int RunProgram(int argc, char** argv)
{
    platform::TSingleInstance instance(QString::fromLatin1(kMainWindowClassName));
    const auto claim = instance.Claim();
    if (claim == platform::TSingleInstance::TClaim::AlreadyRunning) {
        const QByteArray block = platform::EncodeArgumentBlock(ArgumentsOf(argc, argv));
        if (platform::HandOverToFirstInstance(instance.SocketPath(), kCopyDataArguments, block))
            return 0;
        // The running instance did not answer in time: this one starts on its own.
    }

    QApplication application(argc, argv);
    QCoreApplication::setOrganizationName(settings::FileVersionInfo().CompanyName);
    QCoreApplication::setApplicationName(settings::FileVersionInfo().ProductName);
    QCoreApplication::setApplicationVersion(settings::FileVersionInfo().ProductVersion);
    // The main window decides when the program ends (closing to the tray keeps it running).
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quillmark/quillmark.png")));

    // Worker threads size previews by the screen's resolution; read it once on this thread.
    catalogue::ScreenDpiY();
    const support::TProgramServices services(QString::fromLatin1(kApplicationTitle));
    // The font cache is read before the window exists and written after it is gone.
    const catalogue::TGlobalFontManagerScope fontManager;
    return RunMainWindow(application, instance, claim);
}

} // namespace app
