#include "FontChangeWatcher.h"

#include "platform/FontDirs.h"
#include "platform/Places.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QSet>

#include <cstdlib>

namespace platform {

namespace {

// Watches are a limited resource of the system; a font tree deeper than this is watched in part.
constexpr int kMaximumFolders = 512;

void AddTree(QStringList& folders, QSet<QString>& seen, const QString& root)
{
    const QString clean = QDir::cleanPath(root);
    if (!QFileInfo(clean).isDir() || seen.contains(clean) || folders.size() >= kMaximumFolders)
        return;
    seen.insert(clean);
    folders << clean;
    QDirIterator it(clean, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext() && folders.size() < kMaximumFolders) {
        const QString folder = QDir::cleanPath(it.next());
        if (!seen.contains(folder)) {
            seen.insert(folder);
            folders << folder;
        }
    }
}

void AddFolder(QStringList& folders, QSet<QString>& seen, const QString& folder)
{
    const QString clean = QDir::cleanPath(folder);
    if (!QFileInfo(clean).isDir() || seen.contains(clean) || folders.size() >= kMaximumFolders)
        return;
    seen.insert(clean);
    folders << clean;
}

} // namespace

TFontChangeWatcher::TFontChangeWatcher(std::function<void()> onChange, QObject* parent)
    : QObject(parent), FOnChange(std::move(onChange)), FWatcher(new QFileSystemWatcher(this))
{
    connect(FWatcher, &QFileSystemWatcher::directoryChanged, this, [this](const QString&) { Changed(); });
    connect(FWatcher, &QFileSystemWatcher::fileChanged, this, [this](const QString&) { Changed(); });
    Refresh();
}

QStringList TFontChangeWatcher::FoldersToWatch()
{
    QStringList folders;
    QSet<QString> seen;
    for (const QString& folder : PersistentFontFolders())
        AddTree(folders, seen, folder);
    AddFolder(folders, seen, places::SessionFontFolder());
    AddFolder(folders, seen, places::SessionFolder());
    const QString configHome = places::XdgConfigHome() + QStringLiteral("/fontconfig");
    AddFolder(folders, seen, configHome);
    AddFolder(folders, seen, configHome + QStringLiteral("/conf.d"));
    if (const char* file = std::getenv("FONTCONFIG_FILE"); file && *file)
        AddFolder(folders, seen, QFileInfo(QString::fromLocal8Bit(file)).absolutePath());
    AddFolder(folders, seen, QStringLiteral("/etc/fonts"));
    AddFolder(folders, seen, QStringLiteral("/etc/fonts/conf.d"));
    return folders;
}

void TFontChangeWatcher::Refresh()
{
    const QStringList wanted = FoldersToWatch();
    const QStringList watched = FWatcher->directories();
    QStringList gone;
    for (const QString& folder : watched)
        if (!wanted.contains(folder))
            gone << folder;
    if (!gone.isEmpty())
        FWatcher->removePaths(gone);
    QStringList added;
    for (const QString& folder : wanted)
        if (!watched.contains(folder))
            added << folder;
    if (!added.isEmpty())
        FWatcher->addPaths(added);
}

QStringList TFontChangeWatcher::WatchedFolders() const
{
    return FWatcher->directories();
}

void TFontChangeWatcher::Changed()
{
    // New sub-folders (and a session folder made by a first load) are watched from now on.
    Refresh();
    if (FOnChange)
        FOnChange();
}

} // namespace platform
