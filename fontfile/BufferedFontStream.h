#pragma once

// A read window over another stream. The readers make many small reads (a directory entry
// field, a name record); over a file each would be a system call, so they are served from one
// window of the file read at a time.

#include "FontStream.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace fontfile {

class TBufferedFontStream final : public TFontStream {
public:
    static constexpr std::size_t kWindowSize = 64 * 1024;
    // The light readers need a few hundred bytes in three or four places of a file; a small
    // window keeps each miss from copying far more than they use.
    static constexpr std::size_t kLightReadWindowSize = 8 * 1024;
    // Windows start on this boundary, so that a short step back stays inside the window.
    static constexpr std::uint64_t kWindowAlignment = 4096;

    // Borrows source, which must outlive this stream; its position is undefined afterwards.
    // windowSize is rounded up to a multiple of kWindowAlignment, at least two of them.
    explicit TBufferedFontStream(TFontStream& source, std::size_t windowSize = kWindowSize);

    std::size_t Read(void* buffer, std::size_t count) override;
    void Seek(std::uint64_t position) override { FPosition = position; }
    std::uint64_t Position() const override { return FPosition; }
    std::uint64_t Size() const override { return FSize; }

private:
    void Fill(std::uint64_t position);

    TFontStream& FSource;
    const std::uint64_t FSize;
    const std::size_t FCapacity;  // the window's size, never more than the source
    std::uint64_t FPosition = 0;
    std::uint64_t FWindowStart = 0;
    std::size_t FWindowLength = 0;
    std::unique_ptr<std::uint8_t[]> FWindow;  // FCapacity bytes, allocated on the first fill
};

} // namespace fontfile
