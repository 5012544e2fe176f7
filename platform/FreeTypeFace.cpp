#include "FreeTypeFace.h"

#include "fontfile/Type1OutlineHeader.h"

#include <mutex>
#include <span>

namespace platform {

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
    // FreeType parses a whole Type 1 font even to count its faces; such a file holds one.
    if (bytes && fontfile::LooksLikeType1Outline(std::span<const std::byte>(
                     reinterpret_cast<const std::byte*>(bytes->Data()), static_cast<std::size_t>(bytes->Size()))))
        return 1;
    const auto face = TFreeTypeFace::Open(bytes, -1);
    return face ? static_cast<int>(face->Get()->num_faces) : 0;
}

} // namespace platform
