#pragma once

// Seekable byte sources that every reader of the library works on: a font file opened
// read-only, or a memory buffer (for example one table fetched from the font engine).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace fontfile {

class TFontStream {
public:
    virtual ~TFontStream() = default;

    // Reads up to count bytes at the current position and advances past them.
    // Returns the number of bytes read; fewer than count only at the end of the stream.
    virtual std::size_t Read(void* buffer, std::size_t count) = 0;
    // Positions past the end are allowed; reads there return nothing.
    virtual void Seek(std::uint64_t position) = 0;
    virtual std::uint64_t Position() const = 0;
    virtual std::uint64_t Size() const = 0;

    std::uint64_t Remaining() const;
    void Skip(std::uint64_t count);

protected:
    TFontStream() = default;
    TFontStream(const TFontStream&) = delete;
    TFontStream& operator=(const TFontStream&) = delete;
};

// Raised when a file cannot be opened or read. The text follows the usual
// "Cannot open file "<name>". <reason>" form so that callers can show it as it is.
class FontStreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TFileFontStream final : public TFontStream {
public:
    // Opens the file for reading only; raises FontStreamError when it cannot.
    explicit TFileFontStream(const std::string& fileName);
    ~TFileFontStream() override;

    // Opens the file when it is a regular file (after symbolic links), never waiting on a
    // pipe or device of that name; nothing when it is not one or cannot be opened. One
    // lookup of the name where a check before the open would take two.
    static std::unique_ptr<TFileFontStream> OpenRegularFile(const std::string& fileName);

    std::size_t Read(void* buffer, std::size_t count) override;
    void Seek(std::uint64_t position) override;
    std::uint64_t Position() const override { return FPosition; }
    std::uint64_t Size() const override { return FSize; }
    const std::string& FileName() const { return FFileName; }

private:
    TFileFontStream(const std::string& fileName, int descriptor, std::uint64_t size);

    std::string FFileName;
    int FDescriptor = -1;
    std::uint64_t FSize = 0;
    std::uint64_t FPosition = 0;
};

class TMemoryFontStream final : public TFontStream {
public:
    explicit TMemoryFontStream(std::vector<std::uint8_t> bytes);
    // Copies the bytes.
    TMemoryFontStream(const void* data, std::size_t size);

    std::size_t Read(void* buffer, std::size_t count) override;
    void Seek(std::uint64_t position) override { FPosition = position; }
    std::uint64_t Position() const override { return FPosition; }
    std::uint64_t Size() const override { return FBytes.size(); }
    const std::vector<std::uint8_t>& Bytes() const { return FBytes; }

private:
    std::vector<std::uint8_t> FBytes;
    std::uint64_t FPosition = 0;
};

// Closing a file can be slow (network drives, virus scanners); the program hands streams it
// no longer needs to a background thread. The library calls this instead of deleting them.
// Without a disposer installed the stream is simply destroyed.
using TStreamDisposer = void (*)(std::unique_ptr<TFontStream> stream);
void SetStreamDisposer(TStreamDisposer disposer);
void DisposeStream(std::unique_ptr<TFontStream> stream);

} // namespace fontfile
