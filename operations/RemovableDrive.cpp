#include "RemovableDrive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

namespace operations {

namespace {

QString NearestExistingFolder(const QString& path)
{
    QFileInfo info(path);
    QString folder = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
    while (!QFileInfo::exists(folder) && folder != QLatin1String("/"))
        folder = QFileInfo(folder).absolutePath();
    return folder;
}

// "/dev/sdb1" -> "sdb"; "/dev/mmcblk0p1" -> "mmcblk0"; follows /dev/disk/by-* links.
QString BlockDeviceName(const QByteArray& device)
{
    QString name = QFileInfo(QFileInfo(QString::fromLocal8Bit(device)).canonicalFilePath()).fileName();
    if (name.isEmpty())
        return {};
    const QString partitionLink = QStringLiteral("/sys/class/block/%1/partition").arg(name);
    if (QFileInfo::exists(partitionLink)) {
        const QString parent = QFileInfo(QFileInfo(QStringLiteral("/sys/class/block/%1").arg(name)).canonicalFilePath()).absolutePath();
        name = QFileInfo(parent).fileName();
    }
    return name;
}

bool SysBlockSaysRemovable(const QString& blockName)
{
    if (blockName.isEmpty())
        return false;
    QFile file(QStringLiteral("/sys/block/%1/removable").arg(blockName));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return file.read(4).trimmed() == "1";
}

} // namespace

bool IsRemovableOrCdRomDrive(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QStorageInfo storage(NearestExistingFolder(path));
    if (!storage.isValid())
        return false;
    const QByteArray type = storage.fileSystemType().toLower();
    if (type == "iso9660" || type == "udf")
        return true;
    return SysBlockSaysRemovable(BlockDeviceName(storage.device()));
}

} // namespace operations
