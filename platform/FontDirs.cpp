#include "platform/FontDirs.h"
#include "platform/FontDirsConfiguration.h"

#include "platform/Places.h"

#include <QDir>
#include <QFile>

#include "platform/FontconfigHandles.h"
#include "platform/PathStamps.h"

#include <cstdlib>
#include <memory>
#include <mutex>

namespace platform {

namespace {

using ConfigOwner = fc::TConfigOwner;

QByteArray Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? QByteArray(value) : QByteArray();
}

// Places where configuration may appear that a configuration without them does not name.
QList<QByteArray> ConfigurationCandidates()
{
    const QByteArray configHome = QFile::encodeName(places::XdgConfigHome());
    const QByteArray home = Environment("HOME");
    return {configHome + "/fontconfig",        configHome + "/fontconfig/fonts.conf",
            configHome + "/fontconfig/conf.d", home + "/.fonts.conf",
            home + "/.fonts.conf.d",           QFile::encodeName(places::SessionFolder())};
}

// The folder list of the last configuration loaded, kept while none of the files and folders
// it was read from (and none of the places a new one could come from) changed: loading a
// configuration parses some fifty XML files, and the folders are asked for at every
// enumeration.
class TFontFolderCache {
public:
    QStringList Folders()
    {
        const std::lock_guard guard(FLock);
        if (!FValid || !StillCurrent())
            Load();
        return FFolders;
    }

    // A configuration loaded elsewhere (before its fonts were scanned) serves when the list
    // is out of date, so that it is not parsed twice.
    void Offer(FcConfig* config)
    {
        const std::lock_guard guard(FLock);
        if (FValid && StillCurrent())
            return;
        StampCandidates();
        ReadFrom(config);
    }

private:
    QList<QByteArray> Key() const
    {
        return {Environment("FONTCONFIG_FILE"), Environment("FONTCONFIG_PATH"), Environment("FONTCONFIG_SYSROOT"),
                QFile::encodeName(places::UserFontFolder())};
    }

    bool StillCurrent() const { return Key() == FKey && FStamps.Unchanged(); }

    void StampCandidates()
    {
        FKey = Key();
        FStamps.Clear();
        for (const QByteArray& candidate : ConfigurationCandidates())
            FStamps.Add(candidate);
        FFolders = QStringList{QDir::cleanPath(places::UserFontFolder())};
        FValid = false;
    }

    void Load()
    {
        StampCandidates();
        // The configuration alone is enough: its folder list is known before any font is scanned.
        const ConfigOwner config(FcInitLoadConfig());
        if (config)
            ReadFrom(config.get());
    }

    // The folders of a configuration whose fonts were not scanned yet (after a scan the list
    // holds every sub-folder too).
    void ReadFrom(FcConfig* config)
    {
        if (const fc::TStrListOwner files(FcConfigGetConfigFiles(config)); files) {
            while (FcChar8* file = FcStrListNext(files.get()))
                FStamps.Add(QByteArray(reinterpret_cast<const char*>(file)));
        }
        const fc::TStrListOwner dirs(FcConfigGetFontDirs(config));
        if (!dirs)
            return;
        while (FcChar8* dir = FcStrListNext(dirs.get())) {
            const QString folder = QDir::cleanPath(QFile::decodeName(reinterpret_cast<const char*>(dir)));
            if (!folder.isEmpty() && !FFolders.contains(folder))
                FFolders.append(folder);
        }
        FValid = true;
    }

    std::mutex FLock;
    bool FValid = false;
    QList<QByteArray> FKey;
    TPathStamps FStamps;
    QStringList FFolders;
};

TFontFolderCache& FontFolderCache()
{
    static TFontFolderCache cache;
    return cache;
}

} // namespace

QStringList PersistentFontFolders()
{
    return FontFolderCache().Folders();
}

void OfferFontconfigConfiguration(FcConfig* config)
{
    if (config)
        FontFolderCache().Offer(config);
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
