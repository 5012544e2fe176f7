#pragma once

// One face of one font: active in the system, found in a browsed folder or referenced by a
// group. Holds what the readers and the font engine tell about it, derives the texts the
// program shows, and holds the face's files and private load while it is referenced.

#include "platform/FontEngine.h"

#include "fontfile/TableName.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>

class QPainter;
class QRect;

namespace catalogue {

class TFontFamilyItem;

// Bits of the status flags.
namespace FontStatus {
inline constexpr std::uint8_t Loaded = 0x01;            // a face of this family and full name is active
inline constexpr std::uint8_t FileLoaded = 0x02;        // its file is known to be the active one
inline constexpr std::uint8_t PrivatelyLoaded = 0x04;   // loaded for display by this item
inline constexpr std::uint8_t Installed = 0x08;         // its file is registered
inline constexpr std::uint8_t SimilarInstalled = 0x10;  // the same names are installed from other files
inline constexpr std::uint8_t NotDisplayable = 0x20;    // no display font; previews use the fallback
} // namespace FontStatus

// Status codes of the font list columns.
enum class TFontStatusCode : int {
    Installed = 1,
    SimilarInstalled = 2,
    InstalledNotLoaded = 3,
    SimilarInstalledNotLoaded = 4,
    Loaded = 5,
    SimilarLoaded = 6,
    NotInstalledNotLoaded = 7,
};

// Where the text metrics of the item came from.
namespace MetricsSource {
inline constexpr std::uint8_t NotMeasured = 0;
inline constexpr std::uint8_t Measured = 4;
} // namespace MetricsSource

struct TItemTextMetrics {
    int CellHeight = 0;
    int InternalLeading = 0;
    int HeightRatio = 0;  // per mille: full line height to cell height
};

struct TUnloadResult {
    bool Success = false;
    QString FailureText;
};

class TFontItem {
public:
    // Attached to family (which may be null); GDI type bits -1, kind 0, no flags.
    TFontItem(TFontFamilyItem* family, bool activeListItem);
    // Not attached, with a family name.
    TFontItem(const QString& familyName, bool activeListItem);
    // Releases the files and the private load of an item still referenced.
    ~TFontItem();
    TFontItem(const TFontItem&) = delete;
    TFontItem& operator=(const TFontItem&) = delete;

    // Takes over the identity of other: full name, style (other's style text), registry
    // name, cache note, GDI type bits, files (with the system's location), kind, status flags,
    // weight, italic and shortcut.
    void CopyFrom(const TFontItem& other);

    // --- Derived texts
    QString FamilyNameText() const;
    QString StyleText() const;
    QString DisplayName() const;
    QString TypeText() const;
    QString ShortTypeText() const;
    QString StatusText() const;
    TFontStatusCode StatusCode() const;
    QString WeightText() const;
    QString WidthText() const;
    QString EmbeddingText() const;
    QString PanoseText() const;
    QString VersionText() const;
    // The font file, and "|" and the second file when there is one: also the resource string.
    QString FileListText() const;

    // --- Tests
    bool IsRegularFace() const;
    bool IsSystemFont() const;
    bool IsInstalledOnlyActiveItem() const;
    bool IsVerticalWithoutFile() const;
    bool IsOpenTypeFamilyKind() const;
    // Counted in the tab captions: neither installed-only active nor vertical without file.
    bool IsCountable() const;

    // --- Reference counting and activation
    int RefCount() const { return FRefCount; }
    void SetRefCount(int count);
    bool ActivationAllowed() const { return FActivationAllowed; }
    void SetActive(bool active);

    // --- Display
    // A display font at points, for items that are loaded, file loaded or privately loaded;
    // none for others. Remembers the description and whether it was created.
    std::unique_ptr<platform::TDisplayFont> CreateDisplayFont(int points);
    // The point size that makes the face's cell as high as points would be.
    int PreviewSize(int points) const;
    // Draws previewText in the face, or fallbackText in the interface font at 70 % when the
    // face cannot be shown. True when the face was used.
    bool DrawPreview(QPainter& painter, const QRect& rect, const QString& fallbackText,
                     const QString& previewText, int points);
    // Draws text in the face, vertically centred; false (and nothing drawn) without a face.
    bool DrawTextCentred(QPainter& painter, const QRect& rect, const QString& text, int points);

    // Reads the face's tables through the font engine and decides the font kind.
    void ReadDetails();

    // --- Loading for this session (the font operations)
    bool LoadFont();
    TUnloadResult UnloadFont();

    // --- Fields
    TFontFamilyItem* Family() const { return FFamily; }
    void SetFamily(TFontFamilyItem* family) { FFamily = family; }
    const QString& FamilyName() const { return FFamilyName; }
    void SetFamilyName(const QString& value) { FFamilyName = value; }
    bool DisplayFontCreated() const { return FDisplayFontCreated; }
    bool Monospaced() const { return FMonospaced; }
    void SetMonospaced(bool value) { FMonospaced = value; }
    const std::array<std::uint8_t, 10>& Panose() const { return FPanose; }
    void SetPanose(const std::array<std::uint8_t, 10>& value) { FPanose = value; }
    bool Symbol() const { return FSymbol; }
    void SetSymbol(bool value) { FSymbol = value; }
    bool NoOS2CodePages() const { return FNoOS2CodePages; }
    std::uint16_t EmbeddingBits() const { return FEmbeddingBits; }
    void SetEmbeddingBits(std::uint16_t value) { FEmbeddingBits = value; }
    std::uint16_t UnitsPerEm() const { return FUnitsPerEm; }
    void SetUnitsPerEm(std::uint16_t value) { FUnitsPerEm = value; }
    std::int16_t WinAscent() const { return FWinAscent; }
    void SetWinAscent(std::int16_t value) { FWinAscent = value; }
    // Held negated, as minus usWinDescent.
    std::int16_t WinDescent() const { return FWinDescent; }
    void SetWinDescent(std::int16_t value) { FWinDescent = value; }
    bool HasCFF() const { return FHasCFF; }
    void SetHasCFF(bool value) { FHasCFF = value; }
    bool HasDSIG() const { return FHasDSIG; }
    void SetHasDSIG(bool value) { FHasDSIG = value; }
    const QString& StyleName() const { return FStyleName; }
    void SetStyleName(const QString& value) { FStyleName = value; }
    const QString& RegistryName() const { return FRegistryName; }
    void SetRegistryName(const QString& value) { FRegistryName = value; }
    int FileHandle1() const { return FFileHandle1; }
    int FileHandle2() const { return FFileHandle2; }
    bool HeadMagicValid() const { return FHeadMagicValid; }
    bool ActiveListItem() const { return FActiveListItem; }
    bool DirectoryHeadMagicValid() const { return FDirectoryHeadMagicValid; }
    const fontfile::TAdditionalFontNameInfo& NameInfo() const { return FNameInfo; }
    void SetNameInfo(const fontfile::TAdditionalFontNameInfo& value) { FNameInfo = value; }
    std::int32_t GlyphCount() const { return FGlyphCount; }
    void SetGlyphCount(std::int32_t value) { FGlyphCount = value; }
    std::int32_t CharacterCount() const { return FCharacterCount; }
    void SetCharacterCount(std::int32_t value) { FCharacterCount = value; }
    double FontRevision() const { return FFontRevision; }
    void SetFontRevision(double value) { FFontRevision = value; }
    const QDateTime& Modified() const { return FModified; }
    void SetModified(const QDateTime& value) { FModified = value; }
    const QDateTime& Created() const { return FCreated; }
    void SetCreated(const QDateTime& value) { FCreated = value; }
    const QString& VendorID() const { return FVendorID; }
    void SetVendorID(const QString& value) { FVendorID = value; }
    bool PrivatelyLoaded() const { return FPrivatelyLoaded; }
    const QString& PrivateResourceString() const { return FPrivateResourceString; }
    bool HasCmap() const { return FHasCmap; }
    void SetHasCmap(bool value) { FHasCmap = value; }
    bool ViaShortcut() const { return FViaShortcut; }
    void SetViaShortcut(bool value) { FViaShortcut = value; }
    const QString& ShortcutPath() const { return FShortcutPath; }
    void SetShortcutPath(const QString& value) { FShortcutPath = value; }
    std::uint8_t StatusFlags() const { return FStatusFlags; }
    void SetStatusFlags(std::uint8_t value) { FStatusFlags = value; }
    bool HasStatus(std::uint8_t flag) const { return (FStatusFlags & flag) != 0; }
    void SetStatus(std::uint8_t flag, bool on);
    const QString& FontFile() const { return FFontFile; }
    void SetFontFile(const QString& value) { FFontFile = value; }
    const QString& SecondFile() const { return FSecondFile; }
    void SetSecondFile(const QString& value) { FSecondFile = value; }
    const platform::TLogicalFont& DisplayFontDescription() const { return FDisplayFontDescription; }
    std::uint8_t MetricsSource() const { return FMetricsSource; }
    const TItemTextMetrics& TextMetrics() const { return FTextMetrics; }
    // Restores measured metrics (the font cache).
    void SetTextMetrics(const TItemTextMetrics& value, std::uint8_t source);
    std::int32_t GdiTypeBits() const { return FGdiTypeBits; }
    void SetGdiTypeBits(std::int32_t value) { FGdiTypeBits = value; }
    std::int32_t Weight() const { return FWeight; }
    void SetWeight(std::int32_t value) { FWeight = value; }
    std::uint16_t WidthClass() const { return FWidthClass; }
    void SetWidthClass(std::uint16_t value) { FWidthClass = value; }
    bool Italic() const { return FItalic; }
    void SetItalic(bool value) { FItalic = value; }
    std::uint8_t FontKind() const { return FFontKind; }
    void SetFontKind(std::uint8_t value) { FFontKind = value; }
    bool OS2Read() const { return FOS2Read; }
    void SetOS2Read(bool value) { FOS2Read = value; }
    bool OS2Regular() const { return FOS2Regular; }
    void SetOS2Regular(bool value) { FOS2Regular = value; }
    const QString& CacheNote() const { return FCacheNote; }
    void SetCacheNote(const QString& value) { FCacheNote = value; }
    const QString& FullName() const { return FFullName; }
    void SetFullName(const QString& value) { FFullName = value; }
    // Member of a collection file, when the scan knows it (-1 unknown: found by full name).
    int FaceIndex() const { return FFaceIndex; }
    void SetFaceIndex(int value) { FFaceIndex = value; }
    // Where the system's enumeration found an active face (drawn from there while the item
    // names no file); empty for faces of folders and groups.
    const QString& SystemFile() const { return FSystemFile; }
    int SystemIndex() const { return FSystemIndex; }
    void SetSystemLocation(const QString& file, int index)
    {
        FSystemFile = file;
        FSystemIndex = index;
    }

private:
    void AcquireResources();
    void ReleaseResources();
    void LoadPrivately();
    void UnloadPrivately();
    void MeasureTextMetrics(const platform::TDisplayFont& font);
    void ReadEngineTables();
    void ReadTables(const platform::TDisplayFont& font);

    TFontFamilyItem* FFamily = nullptr;
    QString FFamilyName;
    int FRefCount = 0;
    bool FDisplayFontCreated = false;
    bool FMonospaced = false;
    std::array<std::uint8_t, 10> FPanose{};
    bool FSymbol = false;
    bool FNoOS2CodePages = false;
    std::uint16_t FEmbeddingBits = 0;
    std::uint16_t FUnitsPerEm = 0;
    std::int16_t FWinAscent = 0;
    std::int16_t FWinDescent = 0;
    bool FHasCFF = false;
    bool FHasDSIG = false;
    QString FStyleName;
    QString FRegistryName;
    int FFileHandle1 = -1;
    int FFileHandle2 = -1;
    bool FHeadMagicValid = false;
    bool FActiveListItem = false;
    bool FDirectoryHeadMagicValid = false;
    bool FActivationAllowed = true;
    fontfile::TAdditionalFontNameInfo FNameInfo;
    std::int32_t FGlyphCount = 0;
    std::int32_t FCharacterCount = 0;
    double FFontRevision = 0;
    QDateTime FModified;
    QDateTime FCreated;
    QString FVendorID;
    bool FPrivatelyLoaded = false;
    QString FPrivateResourceString;
    bool FHasCmap = false;
    bool FViaShortcut = false;
    QString FShortcutPath;
    std::uint8_t FStatusFlags = 0;
    QString FFontFile;
    QString FSecondFile;
    platform::TLogicalFont FDisplayFontDescription;
    std::uint8_t FMetricsSource = MetricsSource::NotMeasured;
    TItemTextMetrics FTextMetrics;
    std::int32_t FGdiTypeBits = -1;
    std::int32_t FWeight = 0;
    std::uint16_t FWidthClass = 0;
    bool FItalic = false;
    std::uint8_t FFontKind = 0;
    bool FOS2Read = false;
    bool FOS2Regular = false;
    QString FCacheNote;
    QString FFullName;
    int FFaceIndex = -1;
    QString FSystemFile;
    int FSystemIndex = -1;
};

// Holds a reference of an item for a scope.
class TFontItemReference {
public:
    explicit TFontItemReference(TFontItem& item) : FItem(item) { FItem.SetRefCount(FItem.RefCount() + 1); }
    ~TFontItemReference() { FItem.SetRefCount(FItem.RefCount() - 1); }
    TFontItemReference(const TFontItemReference&) = delete;
    TFontItemReference& operator=(const TFontItemReference&) = delete;

private:
    TFontItem& FItem;
};

} // namespace catalogue
