#include "fontfile/BufferedFontStream.h"

#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <vector>

using fontfile::TBufferedFontStream;
using fontfile::TMemoryFontStream;

namespace {

// Counts the reads that reach the source.
class TCountingStream final : public fontfile::TFontStream {
public:
    explicit TCountingStream(std::vector<std::uint8_t> bytes) : FInner(std::move(bytes)) {}
    std::size_t Read(void* buffer, std::size_t count) override
    {
        ++Reads;
        return FInner.Read(buffer, count);
    }
    void Seek(std::uint64_t position) override { FInner.Seek(position); }
    std::uint64_t Position() const override { return FInner.Position(); }
    std::uint64_t Size() const override { return FInner.Size(); }
    int Reads = 0;

private:
    TMemoryFontStream FInner;
};

std::vector<std::uint8_t> Pattern(std::size_t size)
{
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 131 + (i >> 8));
    return bytes;
}

TEST(BufferedFontStream, ReadsTheSameBytesAsItsSource)
{
    const auto bytes = Pattern(300000);
    TMemoryFontStream reference(bytes);
    TCountingStream source(bytes);
    TBufferedFontStream buffered(source);
    std::mt19937 random(7);
    for (int i = 0; i < 5000; ++i) {
        const std::uint64_t position = random() % (bytes.size() + 100);
        const std::size_t count = i % 50 == 0 ? random() % 100000 : random() % 64;
        std::vector<std::uint8_t> want(count), got(count);
        reference.Seek(position);
        buffered.Seek(position);
        const std::size_t wantCount = reference.Read(want.data(), count);
        ASSERT_EQ(buffered.Read(got.data(), count), wantCount) << position << " " << count;
        ASSERT_EQ(want, got) << position << " " << count;
        ASSERT_EQ(buffered.Position(), reference.Position());
    }
    EXPECT_EQ(buffered.Size(), bytes.size());
}

TEST(BufferedFontStream, SmallReadsShareOneSourceRead)
{
    TCountingStream source(Pattern(20000));
    TBufferedFontStream buffered(source);
    std::uint8_t byte = 0;
    for (std::uint64_t position = 0; position < 20000; position += 7) {
        buffered.Seek(position);
        buffered.Read(&byte, 1);
    }
    EXPECT_EQ(source.Reads, 1);
}

// Small windows: reads that start in one window and end in the next, reads at and past the
// end, steps back over a window start, and reads larger than half a window.
TEST(BufferedFontStream, SmallWindowsReadTheSameBytesAcrossTheirBoundaries)
{
    struct TCase {
        std::size_t FileSize;
        std::size_t WindowSize;
    };
    const TCase cases[] = {
        {300, TBufferedFontStream::kLightReadWindowSize},     // the whole file in one window
        {8192, TBufferedFontStream::kLightReadWindowSize},    // exactly one window
        {8193, TBufferedFontStream::kLightReadWindowSize},    // one byte past it
        {50000, TBufferedFontStream::kLightReadWindowSize},
        {50000, 1},                                           // rounded up to the alignment
        {50000, 10000},                                       // not a multiple of the alignment
    };
    for (const auto& c : cases) {
        const auto bytes = Pattern(c.FileSize);
        TMemoryFontStream reference(bytes);
        TCountingStream source(bytes);
        TBufferedFontStream buffered(source, c.WindowSize);
        std::mt19937 random(11);
        const std::uint64_t boundaries[] = {4095, 4096, 8191, 8192, 8193, 12288, 16383, c.FileSize - 1, c.FileSize};
        for (int i = 0; i < 3000; ++i) {
            std::uint64_t position = random() % (c.FileSize + 50);
            if (i % 3 == 0)
                position = boundaries[random() % std::size(boundaries)] - random() % 8;
            const std::size_t count = i % 40 == 0 ? random() % 20000 : random() % 32;
            std::vector<std::uint8_t> want(count), got(count);
            reference.Seek(position);
            buffered.Seek(position);
            const std::size_t wantCount = reference.Read(want.data(), count);
            ASSERT_EQ(buffered.Read(got.data(), count), wantCount)
                << c.FileSize << "/" << c.WindowSize << " at " << position << " count " << count;
            ASSERT_EQ(want, got) << c.FileSize << "/" << c.WindowSize << " at " << position << " count " << count;
            ASSERT_EQ(buffered.Position(), reference.Position());
        }
    }
}

TEST(BufferedFontStream, SmallWindowServesNearbyReadsFromOneSourceRead)
{
    TCountingStream source(Pattern(100000));
    TBufferedFontStream buffered(source, TBufferedFontStream::kLightReadWindowSize);
    std::uint8_t bytes[16] = {};
    // A directory at the start, then a table in the middle read field by field.
    for (std::uint64_t position = 0; position < 400; position += 16) {
        buffered.Seek(position);
        buffered.Read(bytes, sizeof bytes);
    }
    EXPECT_EQ(source.Reads, 1);
    for (std::uint64_t position = 50000; position < 53000; position += 2) {
        buffered.Seek(position);
        buffered.Read(bytes, 2);
    }
    EXPECT_EQ(source.Reads, 2);
}

} // namespace
