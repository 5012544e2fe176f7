#include "BufferedFontStream.h"

#include <algorithm>
#include <cstring>

namespace fontfile {

namespace {

std::size_t WindowCapacity(std::size_t windowSize, std::uint64_t sourceSize)
{
    // A window starts up to one alignment step before the position it is filled for, and a
    // read served from it may take half of it: two steps are the least that always cover it.
    const std::uint64_t alignment = TBufferedFontStream::kWindowAlignment;
    const std::uint64_t rounded = std::max<std::uint64_t>((windowSize + alignment - 1) / alignment, 2) * alignment;
    return static_cast<std::size_t>(std::min(rounded, sourceSize));
}

} // namespace

TBufferedFontStream::TBufferedFontStream(TFontStream& source, std::size_t windowSize)
    : FSource(source)
    , FSize(source.Size())
    , FCapacity(WindowCapacity(windowSize, FSize))
{
}

void TBufferedFontStream::Fill(std::uint64_t position)
{
    // Every byte of the window is overwritten by the source before it is served.
    if (!FWindow)
        FWindow = std::make_unique_for_overwrite<std::uint8_t[]>(FCapacity);
    FWindowStart = position - position % kWindowAlignment;
    const std::uint64_t available = FSize - FWindowStart;
    FSource.Seek(FWindowStart);
    FWindowLength = FSource.Read(FWindow.get(), static_cast<std::size_t>(std::min<std::uint64_t>(available, FCapacity)));
}

std::size_t TBufferedFontStream::Read(void* buffer, std::size_t count)
{
    if (FPosition >= FSize || count == 0)
        return 0;
    count = static_cast<std::size_t>(std::min<std::uint64_t>(count, FSize - FPosition));
    const bool inWindow = FPosition >= FWindowStart && FPosition + count <= FWindowStart + FWindowLength;
    if (!inWindow) {
        if (count > FCapacity / 2) {
            // Large reads go straight to the source.
            FSource.Seek(FPosition);
            const std::size_t got = FSource.Read(buffer, count);
            FPosition += got;
            return got;
        }
        Fill(FPosition);
    }
    const std::size_t offset = static_cast<std::size_t>(FPosition - FWindowStart);
    const std::size_t got = std::min(count, FWindowLength - std::min(offset, FWindowLength));
    if (got > 0)
        std::memcpy(buffer, FWindow.get() + offset, got);
    FPosition += got;
    return got;
}

} // namespace fontfile
