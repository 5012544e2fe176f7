#pragma once

// The per-user registry: one ".reg" file (see RegFile.h), shared by every running instance.
//
// Every change takes an exclusive lock (a lock file beside the store), reads the file afresh
// so that what other processes wrote meanwhile is kept, applies the one change, writes a new
// file, syncs it and renames it over the old one. A failed write raises RegistryHiveError and
// leaves the old file as it was. Reads take no lock: the file is only ever replaced whole.
//
// A file that cannot be parsed is moved aside ("<name>.damaged-<time stamp>"), reported
// through the problem reporter, and the store goes on as if it were empty.

#include "platform/RegFile.h"
#include "platform/RegistryHive.h"

#include <QString>

#include <functional>
#include <memory>
#include <mutex>

#include <sys/stat.h>
#include <sys/types.h>

namespace platform {

class UserRegistryStore : public RegistryHive {
public:
    // filePath: the store; its folder is created on the first write.
    explicit UserRegistryStore(QString filePath);

    // $XDG_CONFIG_HOME/quillmark/user.reg
    static QString DefaultFilePath();
    static std::shared_ptr<UserRegistryStore> Default();

    // Where the store reports problems it recovers from (a damaged file moved aside).
    using ProblemReporter = std::function<void(const QString& message)>;
    // Returns the reporter it replaces.
    static ProblemReporter SetProblemReporter(ProblemReporter reporter);

    // For tests: runs after the new file is written and synced, before it replaces the old
    // file. An exception thrown here aborts the write as a failed rename would.
    void SetBeforeReplaceHook(std::function<void()> hook);

    const QString& FilePath() const { return FFilePath; }

    bool KeyExists(const QString& key) override;
    void CreateKey(const QString& key) override;
    bool DeleteKey(const QString& key) override;
    std::optional<RegistryValue> QueryValue(const QString& key, const QString& name) override;
    void SetValue(const QString& key, const QString& name, const RegistryValue& value) override;
    bool DeleteValue(const QString& key, const QString& name) override;
    QStringList ValueNames(const QString& key) override;

private:
    struct FileStamp {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        long long mtimeNs = 0;
        bool operator==(const FileStamp&) const = default;
    };
    enum class FileState { Missing, Valid, Damaged };
    struct Snapshot {
        FileState state = FileState::Missing;
        regfile::RegDocument document;
        FileStamp stamp;
        QString problem;
    };

    static FileStamp StampOf(const struct stat& info);
    Snapshot ReadFile() const;
    // The current content; a damaged file is moved aside first.
    regfile::RegDocument Current();
    // Runs change on a fresh copy of the file under the lock, and writes the result when it
    // differs from what was read.
    void Modify(const std::function<void(regfile::RegDocument&)>& change);
    QString MoveAside(const Snapshot& damaged);
    FileStamp WriteReplacing(const regfile::RegDocument& document);
    QString LockFilePath() const;

    QString FFilePath;
    std::function<void()> FBeforeReplaceHook;
    std::mutex FMutex; // the cache below, and one writer of this process at a time
    regfile::RegDocument FCache;
    FileStamp FCacheStamp;
    bool FCacheValid = false;
};

} // namespace platform
