#include "FreeTypeFace.h"

#include "fontfile/Type1OutlineHeader.h"

#include <cstdint>
#include <mutex>
#include <optional>
#include <span>

namespace platform {

namespace {

// Collections larger than this are not counted from their header.
constexpr std::uint32_t kMaxCollectionFaces = 4096;
constexpr std::size_t kSfntDirectoryHeaderSize = 12;

std::uint32_t BigEndian32(std::span<const std::byte> data, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = (value << 8) | static_cast<std::uint8_t>(data[at + i]);
    return value;
}

// The face count an SFNT file or collection declares; nothing for other formats or a header
// too short to hold what it declares.
std::optional<int> SfntFaceCount(std::span<const std::byte> data)
{
    if (data.size() < kSfntDirectoryHeaderSize)
        return std::nullopt;
    const std::uint32_t tag = BigEndian32(data, 0);
    if (tag == 0x00010000u || tag == 0x4F54544Fu /* OTTO */ || tag == 0x74727565u /* true */
        || tag == 0x74797031u /* typ1 */)
        return 1;
    if (tag != 0x74746366u /* ttcf */)
        return std::nullopt;
    const std::uint32_t count = BigEndian32(data, 8);
    if (count == 0 || count > kMaxCollectionFaces || (data.size() - kSfntDirectoryHeaderSize) / 4 < count)
        return std::nullopt;
    return static_cast<int>(count);
}

} // namespace

class TFreeTypeLibrary {
public:
    TFreeTypeLibrary()
    {
        if (FT_Init_FreeType(&FLibrary) != 0)
            FLibrary = nullptr;
    }
    ~TFreeTypeLibrary()
    {
        if (FLibrary)
            FT_Done_FreeType(FLibrary);
    }
    TFreeTypeLibrary(const TFreeTypeLibrary&) = delete;
    TFreeTypeLibrary& operator=(const TFreeTypeLibrary&) = delete;

    // Each face holds the library, so it is freed after the last face however late that is.
    static std::shared_ptr<TFreeTypeLibrary> Shared()
    {
        static const auto library = std::make_shared<TFreeTypeLibrary>();
        return library;
    }

    FT_Library Get() const { return FLibrary; }
    std::mutex& FaceLock() { return FFaceLock; }

private:
    FT_Library FLibrary = nullptr;
    std::mutex FFaceLock;
};

TFreeTypeFace::TFreeTypeFace(std::shared_ptr<TFreeTypeLibrary> library, TFontBytes bytes, FT_Face face)
    : FLibrary(std::move(library)), FBytes(std::move(bytes)), FFace(face)
{
}

TFreeTypeFace::~TFreeTypeFace()
{
    const std::lock_guard guard(FLibrary->FaceLock());
    FT_Done_Face(FFace);
}

std::unique_ptr<TFreeTypeFace> TFreeTypeFace::Open(const TFontBytes& bytes, long index)
{
    if (!bytes || bytes->Size() <= 0)
        return nullptr;
    std::shared_ptr<TFreeTypeLibrary> library = TFreeTypeLibrary::Shared();
    if (!library->Get())
        return nullptr;
    FT_Face face = nullptr;
    {
        const std::lock_guard guard(library->FaceLock());
        if (FT_New_Memory_Face(library->Get(), reinterpret_cast<const FT_Byte*>(bytes->Data()),
                               static_cast<FT_Long>(bytes->Size()), static_cast<FT_Long>(index), &face)
            != 0)
            return nullptr;
    }
    return std::unique_ptr<TFreeTypeFace>(new TFreeTypeFace(std::move(library), bytes, face));
}

int FreeTypeFaceCount(const TFontBytes& bytes)
{
    if (!bytes)
        return 0;
    const std::span<const std::byte> data = bytes->View();
    // FreeType opens a face to count them (it parses a whole Type 1 font to do so); SFNT files
    // and collections say their count in their first bytes, and a Type 1 file holds one face.
    if (const auto count = SfntFaceCount(data))
        return *count;
    if (fontfile::LooksLikeType1Outline(data))
        return 1;
    const auto face = TFreeTypeFace::Open(bytes, -1);
    return face ? static_cast<int>(face->Get()->num_faces) : 0;
}

} // namespace platform
