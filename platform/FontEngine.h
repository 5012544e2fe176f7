#pragma once

// The font engine of the system, as the catalogue needs it: files held open while a face is
// shown, private loads for the program's own drawing, display fonts (drawing, text metrics,
// table data) and loads for the running session. One implementation per system; this one is
// fontconfig and FreeType.

#include <QByteArray>
#include <QPointF>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

class QPainter;

namespace platform {

// A description of the wanted font, the fields of a logical font.
struct TLogicalFont {
    int Height = 0;  // negative: the character height (em) in pixels
    int Width = 0;
    int Weight = 400;  // 0: the normal weight
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    std::uint8_t CharSet = 1;       // DEFAULT_CHARSET
    std::uint8_t OutPrecision = 0;  // 3 stroke, 4 TrueType, 5 device, 6 raster
    std::uint8_t ClipPrecision = 0;
    std::uint8_t Quality = 0;
    std::uint8_t PitchAndFamily = 0;
    QString FaceName;  // at most 31 characters

    bool operator==(const TLogicalFont&) const = default;
};

// Where a face lives, as far as its owner knows. With a font file the display font is that
// file's face and never a face of the same name from elsewhere.
struct TFaceLocation {
    QString FontFile;
    QString SecondFile;   // the outline file beside a Type 1 metrics file
    int FaceIndex = -1;   // member of a collection; -1 when unknown
    QString FullName;     // picks the member when the index is unknown
    // Where the system's enumeration found the face; drawn from there when the face has no
    // font file of its own. The index may name a variable font's instance in its upper half.
    QString SystemFile;
    int SystemIndex = -1;
};

// Text metrics of a display font, in pixels.
struct TTextMetrics {
    int Height = 0;           // cell height: ascent + descent
    int Ascent = 0;
    int Descent = 0;
    int InternalLeading = 0;  // cell height minus the em
    int ExternalLeading = 0;  // the line gap the font asks for
};

class TDisplayFont {
public:
    virtual ~TDisplayFont() = default;
    TDisplayFont(const TDisplayFont&) = delete;
    TDisplayFont& operator=(const TDisplayFont&) = delete;

    // One table by its four-character tag, or the whole font for an empty tag (for a
    // collection member: that member alone). Nothing when the face has no such data.
    virtual std::optional<QByteArray> FontData(std::string_view tag) const = 0;
    // The size FontData would answer, without reading the data.
    virtual std::optional<std::uint32_t> FontDataSize(std::string_view tag) const = 0;
    virtual TTextMetrics TextMetrics() const = 0;
    // Draws text on one line, its base line starting at origin, without layout or fallback
    // fonts. Needs a GUI application. False when the face turned out not to be drawable.
    virtual bool DrawText(QPainter& painter, const QPointF& origin, const QString& text) const = 0;
    // Width of text as DrawText draws it, in pixels.
    virtual double TextWidth(const QString& text) const = 0;

    // The file and member that the font was made from.
    virtual QString FontFile() const = 0;
    virtual int FaceIndex() const = 0;

protected:
    TDisplayFont() = default;
};

class TFontEngine {
public:
    virtual ~TFontEngine() = default;
    TFontEngine(const TFontEngine&) = delete;
    TFontEngine& operator=(const TFontEngine&) = delete;

    // Opens a font file for reading while a face is shown; -1 when it cannot be opened.
    virtual int OpenFontFile(const QString& path) = 0;
    virtual void CloseFontFile(int handle) = 0;

    // Loads the files of a resource string ("file" or "file|second file") for this program's
    // own drawing only; no other program and no enumeration sees them. Loads are counted per
    // resource string. Refused while one of the files is under operation.
    virtual bool AddPrivateFont(const QString& resource) = 0;
    // Removes one load of the resource string; false when it holds none.
    virtual bool RemovePrivateFont(const QString& resource) = 0;
    // Number of loads the resource string holds.
    virtual int PrivateLoadCount(const QString& resource) const = 0;
    // Number of resource strings holding loads.
    virtual int PrivateResourceCount() const = 0;

    // The face of location when it has a font file, else the best match of the system for
    // face name, weight and italic (none when the system has no face of that family).
    virtual std::unique_ptr<TDisplayFont> CreateDisplayFont(const TLogicalFont& font,
                                                            const TFaceLocation& location) = 0;

    // Adds the font of a resource string to the running session, where every program sees
    // it; one addition per call. Answers the number of faces added, 0 on failure (also while
    // one of the files is under operation).
    virtual int AddSessionFont(const QString& resource) = 0;
    // Removes one session addition of the resource string; false when there is none left.
    virtual bool RemoveSessionFont(const QString& resource) = 0;

protected:
    TFontEngine() = default;
};

// The process-wide engine.
TFontEngine& FontEngine();

// "file|second file" split into its files (one or two, never empty ones).
QStringList ResourceFiles(const QString& resource);

} // namespace platform
