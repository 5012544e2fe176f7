#include "platform/InstalledFontsHiveLinks.h"

#include "platform/RegistryHive.h"

#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

std::atomic<unsigned> GTemporaryNumber{0};

QString ErrnoText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString LinkFileName(const QString& name, const QString& target)
{
    const QString suffix = QFileInfo(target).suffix();
    return suffix.isEmpty() ? name : name + QLatin1Char('.') + suffix;
}

void CheckLinkFileName(const QString& name, const QString& fileName)
{
    const bool usable = !name.trimmed().isEmpty() && !name.contains(QLatin1Char('/')) &&
                        !name.contains(QChar(u'\0')) && name != QStringLiteral(".") && name != QStringLiteral("..") &&
                        QFile::encodeName(fileName).size() <= NAME_MAX;
    if (!usable)
        throw RegistryHiveError(QStringLiteral("\"%1\" cannot name a link to a font file").arg(name));
}

void CreateFolder(const QString& folder)
{
    std::error_code error;
    std::filesystem::create_directories(QFile::encodeName(folder).toStdString(), error);
    if (error)
        throw RegistryHiveError(QStringLiteral("Could not create the folder %1: %2")
                                    .arg(folder, QString::fromStdString(error.message())));
}

} // namespace

QString PlaceFontLink(const QString& folder, const QString& name, const QString& target)
{
    const QString fileName = LinkFileName(name, target);
    CheckLinkFileName(name, fileName);
    CreateFolder(folder);

    const QString linkPath = folder + QLatin1Char('/') + fileName;
    const QByteArray link = QFile::encodeName(linkPath);
    const QByteArray targetBytes = QFile::encodeName(target);
    struct stat existing {};
    if (::lstat(link.constData(), &existing) == 0) {
        if (!S_ISLNK(existing.st_mode))
            throw RegistryHiveError(QStringLiteral("%1 exists and is not a link").arg(linkPath));
        if (QFileInfo(linkPath).symLinkTarget() == target)
            return linkPath;
    }

    // A new link under a temporary name, then renamed over the old one: the name never points
    // nowhere in between.
    const QByteArray temporary = QFile::encodeName(
        folder + QStringLiteral("/.quillmark-link-%1-%2.tmp").arg(::getpid()).arg(++GTemporaryNumber));
    ::unlink(temporary.constData());
    if (::symlink(targetBytes.constData(), temporary.constData()) != 0) {
        const int error = errno;
        throw RegistryHiveError(QStringLiteral("Could not create the link %1: %2").arg(linkPath, ErrnoText(error)));
    }
    if (::rename(temporary.constData(), link.constData()) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        throw RegistryHiveError(QStringLiteral("Could not create the link %1: %2").arg(linkPath, ErrnoText(error)));
    }
    return linkPath;
}

void RemoveFontLink(const QString& linkPath)
{
    if (::unlink(QFile::encodeName(linkPath).constData()) != 0 && errno != ENOENT) {
        const int error = errno;
        throw RegistryHiveError(QStringLiteral("Could not remove the link %1: %2").arg(linkPath, ErrnoText(error)));
    }
}

} // namespace platform
