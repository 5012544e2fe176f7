#pragma once

// Notices that the system's fonts may have changed: file-system watches of the persistent font
// folders (with their sub-folders), the session font folder and fontconfig's configuration
// folders. Activation of the application is the caller's second source.

#include <QObject>
#include <QStringList>

#include <functional>

class QFileSystemWatcher;

namespace platform {

class TFontChangeWatcher : public QObject {
public:
    explicit TFontChangeWatcher(std::function<void()> onChange, QObject* parent = nullptr);

    // Watches the folders as they are now (folders made since are added).
    void Refresh();
    QStringList WatchedFolders() const;

    // The folders watched: the font folders and their sub-folders, the session font folder,
    // and the folders of fontconfig's configuration.
    static QStringList FoldersToWatch();

private:
    void Changed();

    std::function<void()> FOnChange;
    QFileSystemWatcher* FWatcher;
};

} // namespace platform
