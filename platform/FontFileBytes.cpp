#include "FontFileBytes.h"

#include "FileDescriptor.h"

#include <QFile>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {

TFontFileBytes::~TFontFileBytes()
{
    if (FMapping)
        ::munmap(FMapping, static_cast<std::size_t>(FSize));
}

std::shared_ptr<const TFontFileBytes> TFontFileBytes::Open(const QString& path)
{
    if (path.isEmpty())
        return nullptr;
    // O_NONBLOCK: a pipe named like a font must not stop the caller; only regular files pass.
    const TFileDescriptor fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.Get() < 0)
        return nullptr;
    struct stat status {};
    if (::fstat(fd.Get(), &status) != 0 || !S_ISREG(status.st_mode) || status.st_size <= 0
        || status.st_size > kMaxFontFileBytes)
        return nullptr;
    const auto size = static_cast<std::size_t>(status.st_size);
    // Only a file this user may write can be rewritten in place under a mapping; the system's
    // own fonts are replaced by new files (packages), which leaves a mapping intact.
    const QByteArray name = QFile::encodeName(path);
    const bool writable = ::faccessat(AT_FDCWD, name.constData(), W_OK, AT_EACCESS) == 0;
    if (writable && status.st_size <= kMaxCopiedFontBytes)
        return ReadWhole(fd.Get(), size);
    void* mapping = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd.Get(), 0);
    if (mapping == MAP_FAILED)
        return nullptr;
    std::shared_ptr<TFontFileBytes> bytes(new TFontFileBytes);
    bytes->FMapping = mapping;
    bytes->FData = static_cast<const char*>(mapping);
    bytes->FSize = static_cast<qsizetype>(size);
    return bytes;
}

std::shared_ptr<const TFontFileBytes> TFontFileBytes::ReadWhole(int fd, std::size_t size)
{
    QByteArray data(static_cast<qsizetype>(size), Qt::Uninitialized);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t count = ::pread(fd, data.data() + done, size - done, static_cast<off_t>(done));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            break;  // cut short by a writer: what was read is the file as it is now
        done += static_cast<std::size_t>(count);
    }
    data.truncate(static_cast<qsizetype>(done));
    return FromData(std::move(data));
}

std::shared_ptr<const TFontFileBytes> TFontFileBytes::FromData(QByteArray data)
{
    if (data.isEmpty())
        return nullptr;
    std::shared_ptr<TFontFileBytes> bytes(new TFontFileBytes);
    bytes->FOwned = std::move(data);
    bytes->FData = bytes->FOwned.constData();
    bytes->FSize = bytes->FOwned.size();
    return bytes;
}

bool TFontFileBytes::StartsWith(const char* magic) const
{
    const std::size_t length = std::strlen(magic);
    return static_cast<std::size_t>(FSize) >= length && std::memcmp(FData, magic, length) == 0;
}

} // namespace platform
