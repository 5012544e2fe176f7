#include "FontStream.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fontfile {

std::uint64_t TFontStream::Remaining() const
{
    const auto size = Size();
    const auto position = Position();
    return position < size ? size - position : 0;
}

void TFontStream::Skip(std::uint64_t count)
{
    Seek(Position() + count);
}

namespace {

std::string OpenErrorText(const std::string& fileName, int error)
{
    return "Cannot open file \"" + fileName + "\". " + std::strerror(error);
}

} // namespace

TFileFontStream::TFileFontStream(const std::string& fileName)
    : FFileName(fileName)
{
    FDescriptor = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (FDescriptor < 0)
        throw FontStreamError(OpenErrorText(fileName, errno));
    struct stat info {};
    if (::fstat(FDescriptor, &info) != 0 || S_ISDIR(info.st_mode)) {
        const int error = S_ISDIR(info.st_mode) ? EISDIR : errno;
        ::close(FDescriptor);
        throw FontStreamError(OpenErrorText(fileName, error));
    }
    FSize = static_cast<std::uint64_t>(info.st_size);
}

TFileFontStream::TFileFontStream(const std::string& fileName, int descriptor, std::uint64_t size)
    : FFileName(fileName), FDescriptor(descriptor), FSize(size)
{
}

std::unique_ptr<TFileFontStream> TFileFontStream::OpenRegularFile(const std::string& fileName)
{
    // Without O_NONBLOCK, opening a pipe for reading waits for a writer; on a regular file
    // the flag changes nothing.
    const int descriptor = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0)
        return nullptr;
    struct stat info {};
    if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(descriptor);
        return nullptr;
    }
    return std::unique_ptr<TFileFontStream>(
        new TFileFontStream(fileName, descriptor, static_cast<std::uint64_t>(info.st_size)));
}

TFileFontStream::~TFileFontStream()
{
    if (FDescriptor >= 0)
        ::close(FDescriptor);
}

std::size_t TFileFontStream::Read(void* buffer, std::size_t count)
{
    std::size_t done = 0;
    auto* out = static_cast<unsigned char*>(buffer);
    while (done < count && FPosition < FSize) {
        const ssize_t got = ::pread(FDescriptor, out + done, count - done, static_cast<off_t>(FPosition));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw FontStreamError("Read error in file \"" + FFileName + "\". " + std::strerror(errno));
        }
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
        FPosition += static_cast<std::uint64_t>(got);
    }
    return done;
}

void TFileFontStream::Seek(std::uint64_t position)
{
    FPosition = position;
}

TMemoryFontStream::TMemoryFontStream(std::vector<std::uint8_t> bytes)
    : FBytes(std::move(bytes))
{
}

TMemoryFontStream::TMemoryFontStream(const void* data, std::size_t size)
    : FBytes(static_cast<const std::uint8_t*>(data), static_cast<const std::uint8_t*>(data) + size)
{
}

std::size_t TMemoryFontStream::Read(void* buffer, std::size_t count)
{
    if (FPosition >= FBytes.size())
        return 0;
    const std::size_t available = FBytes.size() - static_cast<std::size_t>(FPosition);
    const std::size_t n = count < available ? count : available;
    if (n > 0)
        std::memcpy(buffer, FBytes.data() + FPosition, n);
    FPosition += n;
    return n;
}

namespace {
std::atomic<TStreamDisposer> GStreamDisposer{nullptr};
}

void SetStreamDisposer(TStreamDisposer disposer)
{
    GStreamDisposer.store(disposer);
}

void DisposeStream(std::unique_ptr<TFontStream> stream)
{
    if (!stream)
        return;
    if (auto disposer = GStreamDisposer.load())
        disposer(std::move(stream));
}

} // namespace fontfile
