#pragma once

// The font engine on a fontconfig and FreeType desktop. Private loads are font bytes this
// process holds for its own drawing (fontconfig never hears of them); display fonts are
// FreeType faces of the face's own file, or of fontconfig's best match when no file is known;
// session loads go through TSessionFonts.

#include "FontEngine.h"
#include "FontEngineFreeType.h"

#include <map>
#include <mutex>

namespace platform {

class TFontconfigFontEngine final : public TFontEngine {
public:
    TFontconfigFontEngine() = default;

    int OpenFontFile(const QString& path) override;
    void CloseFontFile(int handle) override;

    bool AddPrivateFont(const QString& resource) override;
    bool RemovePrivateFont(const QString& resource) override;
    int PrivateLoadCount(const QString& resource) const override;
    int PrivateResourceCount() const override;

    std::unique_ptr<TDisplayFont> CreateDisplayFont(const TLogicalFont& font,
                                                    const TFaceLocation& location) override;

    int AddSessionFont(const QString& resource) override;
    bool RemoveSessionFont(const QString& resource) override;

private:
    struct TPrivateLoad {
        int Count = 0;
        QStringList Files;
        QString FaceFile;  // the file of Files that FreeType reads as a font
        int FaceCount = 0;
        TFontBytes Bytes;
        // The first face, opened to check the load, until a display font takes it.
        std::unique_ptr<TFreeTypeFace> SpareFace;
    };

    // The bytes of a privately loaded resource holding file, or none.
    TFontBytes PrivateBytesOf(const QString& file, QString& faceFile, int& faceCount) const;
    // The first face of the private load holding file, once.
    std::unique_ptr<TFreeTypeFace> TakeSpareFace(const QString& file);
    std::unique_ptr<TDisplayFont> DisplayFontOfFile(const TFaceLocation& location, int pixelHeight);
    std::unique_ptr<TDisplayFont> DisplayFontOfSystemFile(const TFaceLocation& location, int pixelHeight) const;
    std::unique_ptr<TDisplayFont> DisplayFontByName(const TLogicalFont& font, int pixelHeight) const;

    mutable std::mutex FLock;
    std::map<QString, TPrivateLoad> FPrivateLoads;
};

} // namespace platform
