#include "FontconfigFontEngine.h"

#include "FileUnderOperation.h"
#include "SessionFonts.h"

#include <QFile>

#include "fontfile/Type1OutlineHeader.h"

#include "platform/FontconfigHandles.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>

namespace platform {

namespace {

// Pixel height of a logical font without a height: 12 points at 96 dots per inch.
constexpr int kDefaultPixelHeight = 16;
// Collections are searched by name only up to this many members.
constexpr int kMaxNamedMembers = 1024;

using TPattern = fc::TPatternOwner;

// The configuration display fonts are matched in; loaded again when fontconfig says that
// its files or font folders changed. This process's current configuration (used by Qt) is
// left alone.
class TMatchConfig {
public:
    ~TMatchConfig()
    {
        if (FConfig)
            FcConfigDestroy(FConfig);
    }

    FcConfig* UpToDate()
    {
        if (FConfig && !FcConfigUptoDate(FConfig)) {
            FcConfigDestroy(FConfig);
            FConfig = nullptr;
        }
        if (!FConfig)
            FConfig = FcInitLoadConfigAndFonts();
        return FConfig;
    }

private:
    FcConfig* FConfig = nullptr;
};

std::mutex& MatchLock()
{
    static std::mutex lock;
    return lock;
}

TMatchConfig& MatchConfig()
{
    static TMatchConfig config;
    return config;
}

QString StringOf(FcPattern* pattern, const char* object, int index = 0)
{
    FcChar8* value = nullptr;
    if (FcPatternGetString(pattern, object, index, &value) != FcResultMatch || !value)
        return {};
    return QString::fromUtf8(reinterpret_cast<const char*>(value));
}

bool HasFamily(FcPattern* pattern, const QString& family)
{
    for (int i = 0;; ++i) {
        const QString value = StringOf(pattern, FC_FAMILY, i);
        if (value.isEmpty())
            return false;
        if (value.compare(family, Qt::CaseInsensitive) == 0)
            return true;
    }
}

// The first file of files that FreeType opens as a font, with its bytes, its face count and
// its first face (kept for the display font that will want it). A Type 1 file, which FreeType
// would parse whole to open it, is taken on its header and comes without a face.
TFontBytes FirstFontOf(const QStringList& files, QString& faceFile, int& faceCount,
                               std::unique_ptr<TFreeTypeFace>& firstFace)
{
    for (const QString& file : files) {
        TFontBytes bytes = TFontFileBytes::Open(file);
        if (!bytes)
            continue;
        if (fontfile::LooksLikeType1Outline(bytes->View())) {
            faceFile = file;
            faceCount = 1;
            return bytes;
        }
        auto face = TFreeTypeFace::Open(bytes, 0);
        if (face && face->Get()->num_faces > 0) {
            faceFile = file;
            faceCount = static_cast<int>(face->Get()->num_faces);
            firstFace = std::move(face);
            return bytes;
        }
    }
    return nullptr;
}

int PixelHeightOf(const TLogicalFont& font)
{
    return font.Height == 0 ? kDefaultPixelHeight : std::abs(font.Height);
}

} // namespace

int TFontconfigFontEngine::OpenFontFile(const QString& path)
{
    if (path.isEmpty())
        return -1;
    return ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
}

void TFontconfigFontEngine::CloseFontFile(int handle)
{
    if (handle >= 0)
        ::close(handle);
}

bool TFontconfigFontEngine::AddPrivateFont(const QString& resource)
{
    const QStringList files = ResourceFiles(resource);
    if (files.isEmpty())
        return false;
    for (const QString& file : files) {
        if (IsFileUnderOperation(file))
            return false;
    }
    {
        const std::lock_guard guard(FLock);
        const auto found = FPrivateLoads.find(resource);
        if (found != FPrivateLoads.end()) {
            ++found->second.Count;
            return true;
        }
    }
    TPrivateLoad load;
    load.Files = files;
    load.Bytes = FirstFontOf(files, load.FaceFile, load.FaceCount, load.SpareFace);
    if (!load.Bytes)
        return false;
    const std::lock_guard guard(FLock);
    auto [position, added] = FPrivateLoads.try_emplace(resource, std::move(load));
    if (added)
        position->second.Count = 1;
    else
        ++position->second.Count;
    return true;
}

bool TFontconfigFontEngine::RemovePrivateFont(const QString& resource)
{
    const std::lock_guard guard(FLock);
    const auto found = FPrivateLoads.find(resource);
    if (found == FPrivateLoads.end())
        return false;
    if (--found->second.Count <= 0)
        FPrivateLoads.erase(found);
    return true;
}

int TFontconfigFontEngine::PrivateLoadCount(const QString& resource) const
{
    const std::lock_guard guard(FLock);
    const auto found = FPrivateLoads.find(resource);
    return found == FPrivateLoads.end() ? 0 : found->second.Count;
}

int TFontconfigFontEngine::PrivateResourceCount() const
{
    const std::lock_guard guard(FLock);
    return static_cast<int>(FPrivateLoads.size());
}

TFontBytes TFontconfigFontEngine::PrivateBytesOf(const QString& file, QString& faceFile, int& faceCount) const
{
    const std::lock_guard guard(FLock);
    for (const auto& [resource, load] : FPrivateLoads) {
        if (load.Files.contains(file)) {
            faceFile = load.FaceFile;
            faceCount = load.FaceCount;
            return load.Bytes;
        }
    }
    return nullptr;
}

std::unique_ptr<TFreeTypeFace> TFontconfigFontEngine::TakeSpareFace(const QString& file)
{
    const std::lock_guard guard(FLock);
    for (auto& [resource, load] : FPrivateLoads) {
        if (load.Files.contains(file))
            return std::move(load.SpareFace);
    }
    return nullptr;
}

std::unique_ptr<TDisplayFont> TFontconfigFontEngine::CreateDisplayFont(const TLogicalFont& font,
                                                                       const TFaceLocation& location)
{
    const int pixelHeight = PixelHeightOf(font);
    if (!location.FontFile.isEmpty())
        return DisplayFontOfFile(location, pixelHeight);
    if (!location.SystemFile.isEmpty() && location.SystemIndex >= 0) {
        // The file may have gone since the enumeration; the system's match is the next best.
        if (auto displayFont = DisplayFontOfSystemFile(location, pixelHeight))
            return displayFont;
    }
    return DisplayFontByName(font, pixelHeight);
}

std::unique_ptr<TDisplayFont> TFontconfigFontEngine::DisplayFontOfFile(const TFaceLocation& location,
                                                                       int pixelHeight)
{
    QString faceFile;
    int count = 0;
    std::unique_ptr<TFreeTypeFace> firstFace;
    TFontBytes bytes = PrivateBytesOf(location.FontFile, faceFile, count);
    if (!bytes) {
        QStringList files{location.FontFile};
        if (!location.SecondFile.isEmpty())
            files << location.SecondFile;
        bytes = FirstFontOf(files, faceFile, count, firstFace);
    }
    if (!bytes)
        return nullptr;
    int index = 0;
    if (location.FaceIndex >= 0 && location.FaceIndex < count)
        index = location.FaceIndex;
    else if (count > 1 && count <= kMaxNamedMembers)
        index = FreeTypeFaceIndexByName(bytes, location.FullName).value_or(0);
    // The first face is open already (the private load's, or the one just opened).
    if (index == 0 && !firstFace)
        firstFace = TakeSpareFace(location.FontFile);
    if (index == 0 && firstFace)
        return CreateFreeTypeDisplayFont(std::move(firstFace), faceFile, index, pixelHeight);
    return CreateFreeTypeDisplayFont(bytes, faceFile, index, pixelHeight);
}

std::unique_ptr<TDisplayFont> TFontconfigFontEngine::DisplayFontOfSystemFile(const TFaceLocation& location,
                                                                             int pixelHeight) const
{
    return CreateFreeTypeDisplayFont(TFontFileBytes::Open(location.SystemFile), location.SystemFile,
                                     location.SystemIndex, pixelHeight);
}

std::unique_ptr<TDisplayFont> TFontconfigFontEngine::DisplayFontByName(const TLogicalFont& font,
                                                                       int pixelHeight) const
{
    if (font.FaceName.isEmpty())
        return nullptr;
    QString file;
    int index = 0;
    {
        const std::lock_guard guard(MatchLock());
        FcConfig* config = MatchConfig().UpToDate();
        if (!config)
            return nullptr;
        const TPattern pattern(FcPatternCreate());
        if (!pattern)
            return nullptr;
        const QByteArray family = font.FaceName.toUtf8();
        FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.constData()));
        FcPatternAddDouble(pattern.get(), FC_WEIGHT, FcWeightFromOpenTypeDouble(font.Weight > 0 ? font.Weight : 400));
        FcPatternAddInteger(pattern.get(), FC_SLANT, font.Italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
        FcDefaultSubstitute(pattern.get());
        FcResult result = FcResultNoMatch;
        const TPattern match(FcFontMatch(config, pattern.get(), &result));
        // A face of another family is a substitute, not this font.
        if (!match || !HasFamily(match.get(), font.FaceName))
            return nullptr;
        file = StringOf(match.get(), FC_FILE);
        if (FcPatternGetInteger(match.get(), FC_INDEX, 0, &index) != FcResultMatch)
            index = 0;
    }
    const TFontBytes bytes = TFontFileBytes::Open(file);
    if (!bytes)
        return nullptr;
    return CreateFreeTypeDisplayFont(bytes, file, index, pixelHeight);
}

int TFontconfigFontEngine::AddSessionFont(const QString& resource)
{
    return TSessionFonts::Add(ResourceFiles(resource));
}

bool TFontconfigFontEngine::RemoveSessionFont(const QString& resource)
{
    return TSessionFonts::Remove(ResourceFiles(resource));
}

} // namespace platform
