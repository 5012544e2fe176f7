#include "FontFileMover.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>

namespace operations {

namespace {

constexpr qint64 kCompareBlock = 1 << 16;

// Removes a file this code created; never a user's file.
void RemoveOwnCopy(const QString& fileName) { QFile::remove(fileName); }

bool CopyLink(const QString& source, const QString& destination)
{
    const QString target = QFileInfo(source).symLinkTarget();
    return !target.isEmpty() && QFile::link(target, destination);
}

bool IsSymLink(const QString& path) { return QFileInfo(path).isSymLink(); }

} // namespace

bool PathEntryExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

bool FilesIdentical(const QString& first, const QString& second)
{
    QFile a(first);
    QFile b(second);
    if (!a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly))
        return false;
    if (a.size() != b.size())
        return false;
    while (!a.atEnd()) {
        const QByteArray blockA = a.read(kCompareBlock);
        const QByteArray blockB = b.read(kCompareBlock);
        if (blockA.isEmpty() && a.error() != QFileDevice::NoError)
            return false;
        if (blockA != blockB)
            return false;
    }
    return b.atEnd();
}

bool CopyFileVerified(const QString& source, const QString& destination)
{
    if (source.isEmpty() || destination.isEmpty() || PathEntryExists(destination))
        return false;
    if (IsSymLink(source))
        return CopyLink(source, destination);
    if (!QFile::copy(source, destination))
        return false;
    if (!FilesIdentical(source, destination)) {
        RemoveOwnCopy(destination);
        return false;
    }
    return true;
}

bool MoveFileVerified(const QString& source, const QString& destination)
{
    if (source.isEmpty() || destination.isEmpty() || !PathEntryExists(source) || PathEntryExists(destination))
        return false;
    // link() then unlink() would refuse links on some file systems; rename is atomic within one.
    const QByteArray from = QFile::encodeName(source);
    const QByteArray to = QFile::encodeName(destination);
    if (std::rename(from.constData(), to.constData()) == 0)
        return true;
    if (errno != EXDEV)
        return false;
    if (!CopyFileVerified(source, destination))
        return false;
    if (!QFile::remove(source)) {
        // The source stays; the copy goes, so that the file is in one place only.
        RemoveOwnCopy(destination);
        return false;
    }
    return true;
}

bool MoveFileToTrash(const QString& fileName)
{
    if (!PathEntryExists(fileName))
        return false;
    QFile file(fileName);
    return file.moveToTrash();
}

} // namespace operations
