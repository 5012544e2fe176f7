#include "platform/FontDirs.h"

#include "platform/Places.h"

#include <QDir>
#include <QFile>

#include "platform/FontconfigHandles.h"

#include <memory>

namespace platform {

namespace {

using ConfigOwner = fc::TConfigOwner;

} // namespace

QStringList PersistentFontFolders()
{
    QStringList folders{QDir::cleanPath(places::UserFontFolder())};
    // The configuration alone is enough: its folder list is known before any font is scanned.
    const ConfigOwner config(FcInitLoadConfig());
    if (!config)
        return folders;
    const fc::TStrListOwner dirs(FcConfigGetFontDirs(config.get()));
    if (!dirs)
        return folders;
    while (FcChar8* dir = FcStrListNext(dirs.get())) {
        const QString folder = QDir::cleanPath(QFile::decodeName(reinterpret_cast<const char*>(dir)));
        if (!folder.isEmpty() && !folders.contains(folder))
            folders.append(folder);
    }
    return folders;
}

bool RescanFontconfigCache(const QString& folder)
{
    const ConfigOwner config(FcInitLoadConfig());
    if (!config)
        return false;
    const QByteArray dir = QFile::encodeName(folder);
    // Forced: the folder is scanned and its cache written even when the old one looks valid
    // (a change within the same second as the last scan keeps the folder's time stamp).
    FcCache* cache = FcDirCacheRead(reinterpret_cast<const FcChar8*>(dir.constData()), FcTrue, config.get());
    if (!cache)
        return false;
    FcDirCacheUnload(cache);
    return true;
}

} // namespace platform
