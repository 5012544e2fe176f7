#include "ShellNotify.h"

#include "ShellNotifyListing.h"

#include <QDir>
#include <QFileSystemWatcher>
#include <QObject>

#include <map>
#include <vector>

namespace platform {

namespace {

struct TPendingEvent {
    TNotifyEvent Event;
    QString Path1;
    QString Path2;
};

QString ChildPath(const QString& folder, const QString& name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

bool IsBelow(const QString& path, const QString& folder)
{
    return path.startsWith(folder + QLatin1Char('/'));
}

} // namespace

// The registered state of an active component: the watcher and the last listing of every
// watched folder.
class TShellNotify::TWatch {
public:
    TWatch(TShellNotify& owner, const QString& root, bool recursive)
        : FOwner(owner)
        , FRoot(root)
        , FRecursive(recursive)
        , FWatcher(new QFileSystemWatcher)
        , FAlive(std::make_shared<bool>(true))
    {
        TFolderListing listing;
        if (!ListFolder(root, listing) || !FWatcher->addPath(root)) {
            delete FWatcher;
            throw EShellNotifyError("The folder cannot be watched: " + root.toStdString());
        }
        FListings[root] = std::move(listing);
        if (FRecursive)
            WatchSubFolders(root);
        QObject::connect(FWatcher, &QFileSystemWatcher::directoryChanged, FWatcher,
                         [this](const QString& folder) { FolderChanged(folder); });
    }

    ~TWatch()
    {
        *FAlive = false;
        FWatcher->disconnect();
        // Within the watcher's own signal (a handler deactivated the component) the watcher
        // goes once control is back in the event loop.
        if (FInSignal)
            FWatcher->deleteLater();
        else
            delete FWatcher;
    }

    TWatch(const TWatch&) = delete;
    TWatch& operator=(const TWatch&) = delete;

private:
    void WatchSubFolders(const QString& folder)
    {
        const auto found = FListings.find(folder);
        if (found == FListings.end())
            return;
        std::vector<QString> subFolders;
        for (const auto& [name, entry] : found->second)
            if (entry.Folder)
                subFolders.push_back(ChildPath(folder, name));
        for (const QString& subFolder : subFolders)
            WatchFolderTree(subFolder);
    }

    // Sub-folders that cannot be watched (gone meanwhile, or inotify's limits reached) are
    // passed over; the rest of the tree is still watched.
    void WatchFolderTree(const QString& folder)
    {
        if (FListings.count(folder) != 0)
            return;
        TFolderListing listing;
        if (!ListFolder(folder, listing) || !FWatcher->addPath(folder))
            return;
        FListings[folder] = std::move(listing);
        WatchSubFolders(folder);
    }

    void UnwatchFolderTree(const QString& folder)
    {
        for (auto it = FListings.begin(); it != FListings.end();) {
            if (it->first == folder || IsBelow(it->first, folder)) {
                FWatcher->removePath(it->first);
                it = FListings.erase(it);
            } else {
                ++it;
            }
        }
    }

    void FolderChanged(const QString& folder)
    {
        FInSignal = true;
        const std::shared_ptr<bool> alive = FAlive;
        FolderChangedInSignal(folder);
        if (*alive)
            FInSignal = false;
    }

    void FolderChangedInSignal(const QString& folder)
    {
        const auto found = FListings.find(folder);
        if (found == FListings.end())
            return;
        std::vector<TPendingEvent> events;
        TFolderListing now;
        if (!ListFolder(folder, now)) {
            // A watched sub-folder that went is reported by its parent's listing.
            UnwatchFolderTree(folder);
            if (folder == FRoot)
                events.push_back({TNotifyEvent::neRmDir, folder, {}});
        } else {
            const TFolderListing before = std::move(found->second);
            found->second = now;
            Compare(folder, before, now, events);
        }
        Emit(events);
    }

    void Compare(const QString& folder, const TFolderListing& before, const TFolderListing& now,
                 std::vector<TPendingEvent>& events)
    {
        std::vector<TListingChange> changes = CompareListings(before, now);
        for (const TListingChange& change : changes) {
            const QString path1 = ChildPath(folder, change.Name);
            const QString path2 = change.NewName.isEmpty() ? QString() : ChildPath(folder, change.NewName);
            events.push_back({change.Event, path1, path2});
            if (!FRecursive)
                continue;
            switch (change.Event) {
            case TNotifyEvent::neMkDir:
                WatchFolderTree(path1);
                break;
            case TNotifyEvent::neRmDir:
                UnwatchFolderTree(path1);
                break;
            case TNotifyEvent::neRenameFolder:
                UnwatchFolderTree(path1);
                WatchFolderTree(path2);
                break;
            default:
                break;
            }
        }
        if (changes.empty())
            events.push_back({TNotifyEvent::neUpdateDir, folder, {}});
    }

    // The handler may deactivate or destroy the component: nothing of this object is touched
    // once it is gone.
    void Emit(const std::vector<TPendingEvent>& events)
    {
        const std::shared_ptr<bool> alive = FAlive;
        TShellNotify& owner = FOwner;
        const TNotifyEvents watched = owner.FNotifyEvents;
        for (const TPendingEvent& event : events) {
            if (!*alive)
                return;
            if (!watched.Watches(event.Event))
                continue;
            const TNotifyHandler handler = owner.OnNotify;
            if (handler)
                handler(owner, event.Event, event.Path1, event.Path2);
        }
    }

    TShellNotify& FOwner;
    const QString FRoot;
    const bool FRecursive;
    QFileSystemWatcher* FWatcher;
    std::shared_ptr<bool> FAlive;
    bool FInSignal = false;
    std::map<QString, TFolderListing> FListings;
};

TShellNotify::TShellNotify() = default;

TShellNotify::~TShellNotify()
{
    SetActive(false);
}

bool TShellNotify::Active() const
{
    return FActive;
}

void TShellNotify::SetActive(bool active)
{
    if (active == FActive)
        return;
    if (!active) {
        FWatch.reset();
        FActive = false;
        return;
    }
    // An empty path watches nothing, but the component counts as registered.
    if (!FPath.isEmpty())
        FWatch = std::make_unique<TWatch>(*this, QDir::cleanPath(FPath), FRecursive);
    FActive = true;
}

void TShellNotify::SetPath(const QString& path)
{
    SetActive(false);
    FPath = path;
}

void TShellNotify::SetRecursive(bool recursive)
{
    SetActive(false);
    FRecursive = recursive;
}

void TShellNotify::SetNotifyEvents(TNotifyEvents events)
{
    if (events == FNotifyEvents)
        return;
    SetActive(false);
    FNotifyEvents = events;
}

} // namespace platform
