#pragma once

// A file stream that goes to the background freeing thread when its owner is done with it,
// positioned back at its start, whether the read succeeded or not: closing a file can be slow.

#include "FontStream.h"

#include <memory>
#include <string>
#include <utility>

namespace fontfile {

class TDisposedFileStream {
public:
    // Opens the file; raises FontStreamError when it cannot.
    explicit TDisposedFileStream(const std::string& fileName)
        : FStream(std::make_unique<TFileFontStream>(fileName))
    {
    }
    // Takes over a stream already open.
    explicit TDisposedFileStream(std::unique_ptr<TFontStream> stream) : FStream(std::move(stream)) {}
    ~TDisposedFileStream()
    {
        if (!FStream)
            return;
        FStream->Seek(0);
        DisposeStream(std::move(FStream));
    }
    TDisposedFileStream(const TDisposedFileStream&) = delete;
    TDisposedFileStream& operator=(const TDisposedFileStream&) = delete;

    TFontStream& operator*() const { return *FStream; }

private:
    std::unique_ptr<TFontStream> FStream;
};

} // namespace fontfile
