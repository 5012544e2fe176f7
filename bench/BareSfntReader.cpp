#include "BareSfntReader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace bench {

namespace {

constexpr std::uint32_t kMaxMembers = 1024;
constexpr std::uint32_t kMaxNameTableSize = 1u << 20;

class TFile {
public:
    explicit TFile(const std::string& fileName) : FDescriptor(open(fileName.c_str(), O_RDONLY | O_CLOEXEC))
    {
        struct stat status {};
        if (FDescriptor >= 0 && fstat(FDescriptor, &status) == 0)
            FSize = static_cast<std::uint64_t>(status.st_size);
    }
    ~TFile()
    {
        if (FDescriptor >= 0)
            close(FDescriptor);
    }
    TFile(const TFile&) = delete;
    TFile& operator=(const TFile&) = delete;

    bool IsOpen() const { return FDescriptor >= 0; }
    std::uint64_t Size() const { return FSize; }

    // Exactly count bytes at offset, or nothing.
    bool ReadAt(std::uint64_t offset, std::size_t count, std::vector<std::uint8_t>& out) const
    {
        if (offset > FSize || count > FSize - offset)
            return false;
        out.resize(count);
        return pread(FDescriptor, out.data(), count, static_cast<off_t>(offset)) == static_cast<ssize_t>(count);
    }

private:
    int FDescriptor;
    std::uint64_t FSize = 0;
};

std::uint16_t U16(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    return at + 2 <= bytes.size() ? static_cast<std::uint16_t>(bytes[at] << 8 | bytes[at + 1]) : 0;
}

std::uint32_t U32(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    return static_cast<std::uint32_t>(U16(bytes, at)) << 16 | U16(bytes, at + 2);
}

struct TBareFace {
    std::u16string Family, Style, Full;
    std::uint16_t Weight = 0;
    std::uint16_t FsSelection = 0;
};

void ReadNames(const TFile& file, std::uint32_t offset, std::uint32_t length, TBareFace& face)
{
    std::vector<std::uint8_t> table;
    if (!file.ReadAt(offset, std::min(length, kMaxNameTableSize), table))
        return;
    const std::uint16_t count = U16(table, 2);
    const std::uint16_t storage = U16(table, 4);
    for (std::size_t i = 0; i < count && 6 + 12 * (i + 1) <= table.size(); ++i) {
        const std::size_t record = 6 + 12 * i;
        if (U16(table, record) != 3 || U16(table, record + 2) != 1 || U16(table, record + 4) != 0x0409)
            continue;
        const std::uint16_t nameId = U16(table, record + 6);
        std::u16string* target = nameId == 1 ? &face.Family : nameId == 2 ? &face.Style : nameId == 4 ? &face.Full : nullptr;
        if (!target)
            continue;
        const std::size_t start = std::size_t{storage} + U16(table, record + 10);
        const std::size_t end = std::min(start + U16(table, record + 8), table.size());
        target->clear();
        for (std::size_t at = start; at + 1 < end; at += 2)
            target->push_back(static_cast<char16_t>(U16(table, at)));
    }
}

void ReadOs2(const TFile& file, std::uint32_t offset, TBareFace& face)
{
    std::vector<std::uint8_t> table;
    if (!file.ReadAt(offset, 64, table))
        return;
    face.Weight = U16(table, 4);
    face.FsSelection = U16(table, 62);
}

// One font at the offset table at offset: true when it was an SFNT font.
bool ReadFace(const TFile& file, std::uint64_t offset, TBareFace& face)
{
    std::vector<std::uint8_t> header;
    if (!file.ReadAt(offset, 12, header))
        return false;
    const std::uint32_t version = U32(header, 0);
    if (version != 0x00010000 && version != 0x4F54544F && version != 0x74727565)  // 1.0, "OTTO", "true"
        return false;
    const std::uint16_t tables = U16(header, 4);
    std::vector<std::uint8_t> directory;
    if (!file.ReadAt(offset + 12, std::size_t{16} * tables, directory))
        return false;
    for (std::size_t i = 0; i < tables; ++i) {
        const std::uint32_t tag = U32(directory, 16 * i);
        const std::uint32_t tableOffset = U32(directory, 16 * i + 8);
        const std::uint32_t length = U32(directory, 16 * i + 12);
        if (tag == 0x6E616D65)  // "name"
            ReadNames(file, tableOffset, length, face);
        else if (tag == 0x4F532F32)  // "OS/2"
            ReadOs2(file, tableOffset, face);
    }
    return true;
}

} // namespace

std::size_t ReadBareFaces(const std::string& fileName)
{
    const TFile file(fileName);
    if (!file.IsOpen())
        return 0;
    std::vector<std::uint8_t> header;
    if (!file.ReadAt(0, std::min<std::uint64_t>(file.Size(), 4096), header) || header.size() < 12)
        return 0;
    // The results are kept until the end of the file, as a reader's items would be.
    std::vector<TBareFace> faces;
    if (U32(header, 0) == 0x74746366) {  // "ttcf"
        const std::uint32_t members = std::min(U32(header, 8), kMaxMembers);
        std::vector<std::uint8_t> offsets;
        if (!file.ReadAt(12, std::size_t{4} * members, offsets))
            return 0;
        for (std::uint32_t i = 0; i < members; ++i) {
            TBareFace face;
            if (ReadFace(file, U32(offsets, 4 * i), face))
                faces.push_back(std::move(face));
        }
    } else {
        TBareFace face;
        if (ReadFace(file, 0, face))
            faces.push_back(std::move(face));
    }
    return faces.size();
}

} // namespace bench
