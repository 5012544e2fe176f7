#include "Places.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <unistd.h>

namespace platform::places {

namespace {

QString Env(const char* name)
{
    return QString::fromLocal8Bit(qgetenv(name));
}

// An XDG variable counts only when it holds an absolute path (the basedir rules).
QString XdgOrDefault(const char* name, const char* relativeToHome)
{
    const QString value = Env(name);
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    return QDir::cleanPath(HomeFolder() + QLatin1Char('/') + QLatin1String(relativeToHome));
}

constexpr const char* kInstalledDataFolder = QUILLMARK_INSTALL_DATADIR;

} // namespace

QString HomeFolder()
{
    const QString home = Env("HOME");
    return home.isEmpty() ? QDir::homePath() : QDir::cleanPath(home);
}

QString XdgDataHome() { return XdgOrDefault("XDG_DATA_HOME", ".local/share"); }
QString XdgConfigHome() { return XdgOrDefault("XDG_CONFIG_HOME", ".config"); }
QString XdgStateHome() { return XdgOrDefault("XDG_STATE_HOME", ".local/state"); }
QString XdgCacheHome() { return XdgOrDefault("XDG_CACHE_HOME", ".cache"); }

QString UserFontFolder()
{
    if (::geteuid() == 0 && Env("XDG_DATA_HOME").isEmpty())
        return QStringLiteral("/usr/local/share/fonts");
    return XdgDataHome() + QStringLiteral("/fonts");
}

QString SessionFolder()
{
    const QString runtime = Env("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime))
        return QDir::cleanPath(runtime) + QStringLiteral("/quillmark");
    return QStringLiteral("/tmp/quillmark-%1").arg(::getuid());
}

QString SessionFontFolder() { return SessionFolder() + QStringLiteral("/fonts"); }
QString DataFolder() { return XdgDataHome() + QStringLiteral("/quillmark"); }
QString ConfigFolder() { return XdgConfigHome() + QStringLiteral("/quillmark"); }
QString StateFolder() { return XdgStateHome() + QStringLiteral("/quillmark"); }

QString ExecutableFolder()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(QLatin1Char('/'), 0, -2);
}

QString ProgramFolder(const QString& probe)
{
    const QString beside = ExecutableFolder();
    if (QFileInfo::exists(beside + QLatin1Char('/') + probe))
        return beside;
    return QString::fromUtf8(kInstalledDataFolder);
}

QString LogFolder()
{
    const QString beside = ExecutableFolder() + QStringLiteral("/log");
    const QFileInfo info(beside);
    if (info.isDir() && info.isWritable())
        return beside;
    return StateFolder() + QStringLiteral("/log");
}

} // namespace platform::places
