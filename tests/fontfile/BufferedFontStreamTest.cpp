#include "fontfile/BufferedFontStream.h"

#include <gtest/gtest.h>

#include <random>

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

} // namespace
