#include "BufferedFontStream.h"

#include <algorithm>
#include <cstring>

namespace fontfile {

TBufferedFontStream::TBufferedFontStream(TFontStream& source)
    : FSource(source)
    , FSize(source.Size())
{
}

void TBufferedFontStream::Fill(std::uint64_t position)
{
    FWindowStart = position - position % kWindowAlignment;
    const std::uint64_t available = FSize - FWindowStart;
    FWindow.resize(static_cast<std::size_t>(std::min<std::uint64_t>(available, kWindowSize)));
    FSource.Seek(FWindowStart);
    FWindow.resize(FSource.Read(FWindow.data(), FWindow.size()));
}

std::size_t TBufferedFontStream::Read(void* buffer, std::size_t count)
{
    if (FPosition >= FSize || count == 0)
        return 0;
    count = static_cast<std::size_t>(std::min<std::uint64_t>(count, FSize - FPosition));
    const bool inWindow = FPosition >= FWindowStart && FPosition + count <= FWindowStart + FWindow.size();
    if (!inWindow) {
        if (count > kWindowSize / 2) {
            // Large reads go straight to the source.
            FSource.Seek(FPosition);
            const std::size_t got = FSource.Read(buffer, count);
            FPosition += got;
            return got;
        }
        Fill(FPosition);
    }
    const std::size_t offset = static_cast<std::size_t>(FPosition - FWindowStart);
    const std::size_t got = std::min(count, FWindow.size() - std::min(offset, FWindow.size()));
    if (got > 0)
        std::memcpy(buffer, FWindow.data() + offset, got);
    FPosition += got;
    return got;
}

} // namespace fontfile
