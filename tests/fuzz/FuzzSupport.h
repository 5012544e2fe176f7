#pragma once

// What every fuzz target shares: files in a per-process scratch folder (the readers take file
// names, not buffers), the text services the program runs with, and the one place that says
// which exceptions a reader may raise for bad input. Anything else escapes and is a finding.

#include "fontfile/FontException.h"
#include "fontfile/FontStream.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace qmfuzz {

using TInput = std::span<const std::uint8_t>;

// A file of the scratch folder, opened once and rewritten in place for every input, so that
// a run costs one write and one truncate instead of creating a file.
class TScratchFile {
public:
    // name: a bare file name ("font.ttf"); the extension matters to the readers.
    explicit TScratchFile(const std::string& name);
    ~TScratchFile();
    TScratchFile(const TScratchFile&) = delete;
    TScratchFile& operator=(const TScratchFile&) = delete;

    const std::string& Path() const { return FPath; }
    void Write(TInput bytes);
    // Takes the file away (a missing outline file); the next Write brings it back.
    void Remove();
    // A second name for the same file, with another extension (the readers' strict checks).
    std::string AddLink(const std::string& linkName) const;

private:
    void Open();

    std::string FPath;
    int FDescriptor = -1;
};

// The scratch folder of this process, created on first use and removed at exit.
std::string ScratchFolder();

// Installs the ICU text services once, with a double-byte ANSI code page so that name
// decoding goes through the multi-byte paths too.
void InstallTextServices();

// Runs a reader call; the reader's documented failures for damaged input are swallowed.
template <class TCall>
void IgnoringFontErrors(TCall&& call)
{
    try {
        call();
    } catch (const fontfile::FontException&) {
    } catch (const fontfile::FontStreamError&) {
    }
}

} // namespace qmfuzz
