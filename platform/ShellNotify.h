#pragma once

// Watches a folder (optionally with all its sub-folders) and tells what happened in it:
// files and folders created, deleted or renamed. Built on QFileSystemWatcher (inotify); the
// events arrive in the thread that owns the component, the main thread.
//
// inotify only says "this folder changed". The component keeps a listing of each watched
// folder and compares it with a fresh one, which gives the created, deleted, renamed (same
// inode under another name) and updated entries. An entry that came and went between two
// looks at the folder is not seen.
//
// Changing Path, Recursive or NotifyEvents deactivates the component: set them, then
// SetActive(true).

#include <QString>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <stdexcept>

namespace platform {

// The kinds of change. Only the named ones are produced on Linux (the others have no source
// in a file-system watch); they keep their numbers so that stored sets stay comparable.
enum class TNotifyEvent : int {
    neAssocChanged = 0,
    neAttributes = 1,
    neCreate = 2,
    neDelete = 3,
    neDriveAdd = 4,
    neDriveAddGUI = 5,
    neDriveRemoved = 6,
    neMediaInserted = 7,
    neMediaRemoved = 8,
    neMkDir = 9,
    neNetShare = 10,
    neNetUnshare = 11,
    neRenameFolder = 12,
    neRenameItem = 13,
    neRmDir = 14,
    neServerDisconnect = 15,
    neUpdateDir = 16,
    neUpdateImage = 17,
    neUpdateItem = 18,
    neOther = 19,
};

// A set of events; the empty set stands for every event.
class TNotifyEvents {
public:
    constexpr TNotifyEvents() = default;
    constexpr TNotifyEvents(std::initializer_list<TNotifyEvent> events)
    {
        for (TNotifyEvent event : events)
            FBits |= Bit(event);
    }

    constexpr bool Empty() const { return FBits == 0; }
    constexpr bool Contains(TNotifyEvent event) const { return (FBits & Bit(event)) != 0; }
    // Whether a watch of this set reports event (the empty set reports all).
    constexpr bool Watches(TNotifyEvent event) const { return Empty() || Contains(event); }
    constexpr std::uint32_t Bits() const { return FBits; }
    friend constexpr bool operator==(TNotifyEvents, TNotifyEvents) = default;

    // create, delete, make folder, rename folder, rename item, remove folder.
    static constexpr TNotifyEvents Default()
    {
        return {TNotifyEvent::neCreate, TNotifyEvent::neDelete, TNotifyEvent::neMkDir,
                TNotifyEvent::neRenameFolder, TNotifyEvent::neRenameItem, TNotifyEvent::neRmDir};
    }
    // What the main window's folder watches ask for: the default set and update folder.
    static constexpr TNotifyEvents FolderContents()
    {
        return {TNotifyEvent::neCreate, TNotifyEvent::neDelete, TNotifyEvent::neMkDir,
                TNotifyEvent::neRenameFolder, TNotifyEvent::neRenameItem, TNotifyEvent::neRmDir,
                TNotifyEvent::neUpdateDir};
    }

private:
    static constexpr std::uint32_t Bit(TNotifyEvent event) { return std::uint32_t{1} << static_cast<int>(event); }

    std::uint32_t FBits = 0;
};

// A watch that could not be registered (the folder is missing, or inotify's limits are
// reached).
class EShellNotifyError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TShellNotify {
public:
    // path1: the entry concerned; path2: its new path for the two rename events, else empty.
    using TNotifyHandler =
        std::function<void(TShellNotify& sender, TNotifyEvent event, const QString& path1, const QString& path2)>;

    TShellNotify();
    // Deactivates the component.
    ~TShellNotify();
    TShellNotify(const TShellNotify&) = delete;
    TShellNotify& operator=(const TShellNotify&) = delete;

    bool Active() const;
    // true starts watching Path (and its sub-folders when Recursive); raises EShellNotifyError
    // when the folder cannot be watched, and the component stays inactive. An empty Path
    // watches nothing. false stops watching.
    void SetActive(bool active);

    const QString& Path() const { return FPath; }
    void SetPath(const QString& path);
    bool Recursive() const { return FRecursive; }
    void SetRecursive(bool recursive);
    TNotifyEvents NotifyEvents() const { return FNotifyEvents; }
    // A set different from the current one deactivates the component.
    void SetNotifyEvents(TNotifyEvents events);

    TNotifyHandler OnNotify;

private:
    class TWatch;

    QString FPath;
    bool FRecursive = false;
    TNotifyEvents FNotifyEvents = TNotifyEvents::Default();
    bool FActive = false;
    std::unique_ptr<TWatch> FWatch;  // present while active on a non-empty path
};

} // namespace platform
