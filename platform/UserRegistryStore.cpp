#include "platform/UserRegistryStore.h"

#include "platform/FileDescriptor.h"
#include "platform/Places.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

const QString kRootName = QStringLiteral("HKEY_CURRENT_USER");
// A settings file is a few kilobytes; anything this large is not ours.
constexpr off_t kMaxFileSize = 64 * 1024 * 1024;
// A writer holds the lock for one small write; a lock held this long belongs to a stuck process.
constexpr auto kLockTimeout = std::chrono::seconds(30);

std::mutex GReporterLock;
UserRegistryStore::ProblemReporter GReporter;

void Report(const QString& message)
{
    std::lock_guard guard(GReporterLock);
    if (GReporter)
        GReporter(message);
}

QString ErrnoText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The exclusive lock of every writer of one store, across processes (flock on a lock file).
class StoreLock {
public:
    explicit StoreLock(const QString& lockPath)
        : FFd(::open(QFile::encodeName(lockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644))
    {
        if (FFd.Get() < 0)
            throw RegistryHiveError(QStringLiteral("Cannot create the lock file %1: %2").arg(lockPath, ErrnoText(errno)));
        const auto deadline = std::chrono::steady_clock::now() + kLockTimeout;
        while (::flock(FFd.Get(), LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK && errno != EINTR)
                throw RegistryHiveError(QStringLiteral("Cannot lock %1: %2").arg(lockPath, ErrnoText(errno)));
            if (std::chrono::steady_clock::now() > deadline)
                throw RegistryHiveError(QStringLiteral("The settings file is locked by another process (%1)").arg(lockPath));
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    // Closing the descriptor releases the lock.

private:
    TFileDescriptor FFd;
};

void WriteAll(int fd, const QByteArray& bytes, const QString& path)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            throw RegistryHiveError(QStringLiteral("Cannot write %1: %2").arg(path, ErrnoText(errno)));
        }
        data += written;
        left -= written;
    }
}

void SyncFolder(const QString& folder)
{
    TFileDescriptor fd(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Get() >= 0)
        ::fsync(fd.Get());
}

} // namespace

UserRegistryStore::FileStamp UserRegistryStore::StampOf(const struct stat& info)
{
    return {info.st_dev, info.st_ino, info.st_size,
            static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec};
}

UserRegistryStore::UserRegistryStore(QString filePath)
    : FFilePath(std::move(filePath))
{
}

QString UserRegistryStore::DefaultFilePath()
{
    return places::ConfigFolder() + QStringLiteral("/user.reg");
}

std::shared_ptr<UserRegistryStore> UserRegistryStore::Default()
{
    static const std::shared_ptr<UserRegistryStore> store = std::make_shared<UserRegistryStore>(DefaultFilePath());
    return store;
}

UserRegistryStore::ProblemReporter UserRegistryStore::SetProblemReporter(ProblemReporter reporter)
{
    std::lock_guard guard(GReporterLock);
    std::swap(GReporter, reporter);
    return reporter;
}

void UserRegistryStore::SetBeforeReplaceHook(std::function<void()> hook)
{
    std::lock_guard guard(FMutex);
    FBeforeReplaceHook = std::move(hook);
}

QString UserRegistryStore::LockFilePath() const
{
    return FFilePath + QStringLiteral(".lock");
}

UserRegistryStore::Snapshot UserRegistryStore::ReadFile() const
{
    Snapshot snapshot;
    TFileDescriptor fd(::open(QFile::encodeName(FFilePath).constData(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) {
        if (errno == ENOENT)
            return snapshot;
        snapshot.state = FileState::Damaged;
        snapshot.problem = QStringLiteral("cannot open it: %1").arg(ErrnoText(errno));
        return snapshot;
    }
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        snapshot.state = FileState::Damaged;
        snapshot.problem = QStringLiteral("it is not a regular file");
        return snapshot;
    }
    snapshot.stamp = StampOf(info);
    snapshot.state = FileState::Damaged;
    if (info.st_size > kMaxFileSize) {
        snapshot.problem = QStringLiteral("it is larger than %1 bytes").arg(kMaxFileSize);
        return snapshot;
    }
    QByteArray bytes(static_cast<qsizetype>(info.st_size), '\0');
    qsizetype got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd.Get(), bytes.data() + got, static_cast<size_t>(bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += n;
    }
    bytes.truncate(got);
    try {
        snapshot.document = regfile::ParseRegText(regfile::DecodeRegFile(bytes), kRootName);
        snapshot.state = FileState::Valid;
    } catch (const regfile::RegFormatError& error) {
        snapshot.problem = QString::fromUtf8(error.what());
    }
    return snapshot;
}

QString UserRegistryStore::MoveAside(const Snapshot& damaged)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = FFilePath + QStringLiteral(".damaged-") + stamp;
    for (int n = 1; QFileInfo::exists(aside); ++n)
        aside = FFilePath + QStringLiteral(".damaged-") + stamp + QLatin1Char('-') + QString::number(n);
    if (::rename(QFile::encodeName(FFilePath).constData(), QFile::encodeName(aside).constData()) != 0) {
        const QString reason = ErrnoText(errno);
        Report(QStringLiteral("The settings file %1 cannot be read (%2) and cannot be moved aside (%3); "
                              "the defaults are used and nothing is saved.")
                   .arg(FFilePath, damaged.problem, reason));
        throw RegistryHiveError(QStringLiteral("Cannot move the damaged settings file %1 aside: %2").arg(FFilePath, reason));
    }
    Report(QStringLiteral("The settings file %1 cannot be read (%2); it was moved to %3 and the defaults are used.")
               .arg(FFilePath, damaged.problem, aside));
    return aside;
}

regfile::RegDocument UserRegistryStore::Current()
{
    std::lock_guard guard(FMutex);
    struct stat info {};
    if (FCacheValid && ::stat(QFile::encodeName(FFilePath).constData(), &info) == 0 && StampOf(info) == FCacheStamp)
        return FCache;
    Snapshot snapshot = ReadFile();
    if (snapshot.state == FileState::Damaged) {
        // Move it aside under the writers' lock, unless a writer replaced it meanwhile.
        bool reported = false;
        try {
            QDir().mkpath(QFileInfo(FFilePath).absolutePath());
            StoreLock lock(LockFilePath());
            snapshot = ReadFile();
            if (snapshot.state == FileState::Damaged) {
                reported = true;
                MoveAside(snapshot);
                snapshot = Snapshot();
            }
        } catch (const RegistryHiveError& error) {
            if (!reported)
                Report(QStringLiteral("The settings file %1 cannot be read (%2) and is left as it is (%3); "
                                      "the defaults are used.")
                           .arg(FFilePath, snapshot.problem, error.Message()));
            // The defaults stand in for this file until it changes; it is reported once.
            FCache = regfile::RegDocument();
            FCacheStamp = snapshot.stamp;
            FCacheValid = true;
            return FCache;
        }
    }
    FCacheValid = snapshot.state == FileState::Valid;
    FCacheStamp = snapshot.stamp;
    FCache = snapshot.document;
    return std::move(snapshot.document);
}

UserRegistryStore::FileStamp UserRegistryStore::WriteReplacing(const regfile::RegDocument& document)
{
    const QString folder = QFileInfo(FFilePath).absolutePath();
    const QString temporary = FFilePath + QStringLiteral(".new");
    const QByteArray tempName = QFile::encodeName(temporary);
    const QByteArray bytes = regfile::EncodeRegFile(regfile::FormatRegText(document, kRootName));

    TFileDescriptor fd(::open(tempName.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (fd.Get() < 0)
        throw RegistryHiveError(QStringLiteral("Cannot create %1: %2").arg(temporary, ErrnoText(errno)));
    try {
        struct stat old {};
        if (::stat(QFile::encodeName(FFilePath).constData(), &old) == 0)
            ::fchmod(fd.Get(), old.st_mode & 07777);
        WriteAll(fd.Get(), bytes, temporary);
        if (::fsync(fd.Get()) != 0)
            throw RegistryHiveError(QStringLiteral("Cannot sync %1: %2").arg(temporary, ErrnoText(errno)));
        struct stat info {};
        ::fstat(fd.Get(), &info);
        if (!fd.Close())
            throw RegistryHiveError(QStringLiteral("Cannot write %1: %2").arg(temporary, ErrnoText(errno)));
        if (FBeforeReplaceHook)
            FBeforeReplaceHook();
        if (::rename(tempName.constData(), QFile::encodeName(FFilePath).constData()) != 0)
            throw RegistryHiveError(QStringLiteral("Cannot replace %1: %2").arg(FFilePath, ErrnoText(errno)));
        SyncFolder(folder);
        return StampOf(info);
    } catch (...) {
        ::unlink(tempName.constData());
        throw;
    }
}

void UserRegistryStore::Modify(const std::function<void(regfile::RegDocument&)>& change)
{
    std::lock_guard guard(FMutex);
    const QString folder = QFileInfo(FFilePath).absolutePath();
    if (!QDir().mkpath(folder))
        throw RegistryHiveError(QStringLiteral("Cannot create the folder %1").arg(folder));
    StoreLock lock(LockFilePath());
    Snapshot snapshot = ReadFile();
    if (snapshot.state == FileState::Damaged) {
        MoveAside(snapshot);
        snapshot = Snapshot();
    }
    regfile::RegDocument document = snapshot.document;
    change(document);
    if (document == snapshot.document) {
        FCacheValid = snapshot.state == FileState::Valid;
        FCacheStamp = snapshot.stamp;
        FCache = std::move(document);
        return;
    }
    FCacheValid = false;
    const FileStamp written = WriteReplacing(document);
    FCache = std::move(document);
    FCacheStamp = written;
    FCacheValid = true;
}

namespace {

QString KeyOrRaise(const QString& key)
{
    const auto path = regfile::NormalizeKeyPath(key);
    if (!path)
        throw RegistryHiveError(QStringLiteral("Invalid key name \"%1\"").arg(key));
    return *path;
}

} // namespace

bool UserRegistryStore::KeyExists(const QString& key)
{
    const auto path = regfile::NormalizeKeyPath(key);
    return path && Current().KeyExists(*path);
}

void UserRegistryStore::CreateKey(const QString& key)
{
    const QString path = KeyOrRaise(key);
    if (Current().KeyExists(path))
        return;
    Modify([&](regfile::RegDocument& document) { document.CreateKey(path); });
}

bool UserRegistryStore::DeleteKey(const QString& key)
{
    const auto path = regfile::NormalizeKeyPath(key);
    if (!path || path->isEmpty())
        return false;
    bool deleted = false;
    Modify([&](regfile::RegDocument& document) { deleted = document.DeleteKey(*path); });
    return deleted;
}

std::optional<RegistryValue> UserRegistryStore::QueryValue(const QString& key, const QString& name)
{
    const auto path = regfile::NormalizeKeyPath(key);
    if (!path)
        return std::nullopt;
    const regfile::RegDocument document = Current();
    if (const RegistryValue* value = document.FindValue(*path, name))
        return *value;
    return std::nullopt;
}

void UserRegistryStore::SetValue(const QString& key, const QString& name, const RegistryValue& value)
{
    const QString path = KeyOrRaise(key);
    if (!regfile::IsStorableValueName(name))
        throw RegistryHiveError(QStringLiteral("Invalid value name \"%1\"").arg(name));
    Modify([&](regfile::RegDocument& document) { document.SetValue(path, name, value); });
}

bool UserRegistryStore::DeleteValue(const QString& key, const QString& name)
{
    const auto path = regfile::NormalizeKeyPath(key);
    if (!path)
        return false;
    bool deleted = false;
    Modify([&](regfile::RegDocument& document) { deleted = document.DeleteValue(*path, name); });
    return deleted;
}

QStringList UserRegistryStore::ValueNames(const QString& key)
{
    const auto path = regfile::NormalizeKeyPath(key);
    return path ? Current().ValueNames(*path) : QStringList();
}

} // namespace platform
