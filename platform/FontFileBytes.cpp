#include "FontFileBytes.h"

#include "FileDescriptor.h"

#include <QFile>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>

#include <cstring>

namespace platform {

TFontFileBytes::~TFontFileBytes()
{
    if (FMapping)
        ::munmap(FMapping, static_cast<std::size_t>(FSize));
}

std::shared_ptr<const TFontFileBytes> TFontFileBytes::Map(const QString& path)
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
    void* mapping = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd.Get(), 0);
    if (mapping == MAP_FAILED)
        return nullptr;
    std::shared_ptr<TFontFileBytes> bytes(new TFontFileBytes);
    bytes->FMapping = mapping;
    bytes->FData = static_cast<const char*>(mapping);
    bytes->FSize = static_cast<qsizetype>(size);
    return bytes;
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
