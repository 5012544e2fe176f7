#include "FontItem.h"

#include "FontFamily.h"
#include "FontItemTexts.h"

#include "platform/FontEngine.h"
#include "support/LoggerUnit.h"

#include <QFileInfo>

namespace catalogue {

namespace {

bool IsOutlineKindOf(std::uint8_t kind) { return kind == 1 || kind == 2 || kind == 3; }

} // namespace

TFontItem::TFontItem(TFontFamilyItem* family, bool activeListItem)
    : FFamily(family)
    , FActiveListItem(activeListItem)
{
}

TFontItem::TFontItem(const QString& familyName, bool activeListItem)
    : FFamilyName(familyName)
    , FActiveListItem(activeListItem)
{
}

TFontItem::~TFontItem()
{
    if (FRefCount > 0 && FActivationAllowed)
        ReleaseResources();
}

void TFontItem::CopyFrom(const TFontItem& other)
{
    FFullName = other.FFullName;
    FStyleName = other.StyleText();
    FRegistryName = other.FRegistryName;
    FCacheNote = other.FCacheNote;
    FGdiTypeBits = other.FGdiTypeBits;
    FFontFile = other.FFontFile;
    FSecondFile = other.FSecondFile;
    FFaceIndex = other.FFaceIndex;
    FSystemFile = other.FSystemFile;
    FSystemIndex = other.FSystemIndex;
    FFontKind = other.FFontKind;
    FStatusFlags = other.FStatusFlags;
    FWeight = other.FWeight;
    FItalic = other.FItalic;
    FViaShortcut = other.FViaShortcut;
    FShortcutPath = other.FShortcutPath;
}

void TFontItem::SetStatus(std::uint8_t flag, bool on)
{
    FStatusFlags = static_cast<std::uint8_t>(on ? (FStatusFlags | flag) : (FStatusFlags & ~flag));
}

void TFontItem::SetTextMetrics(const TItemTextMetrics& value, std::uint8_t source)
{
    FTextMetrics = value;
    FMetricsSource = source;
}

// --- Derived texts

QString TFontItem::FamilyNameText() const
{
    if (!FFamilyName.isEmpty())
        return FFamilyName;
    if (FFamily)
        return FFamily->FamilyName();
    return QStringLiteral("Unknown Font");
}

QString TFontItem::StyleText() const
{
    if (FFontKind != 1 && FFontKind != 2)
        return FStyleName;
    const bool bold = FWeight >= 700;
    if (bold && FItalic)
        return QStringLiteral("Bold Italic");
    if (bold)
        return QStringLiteral("Bold");
    return FItalic ? QStringLiteral("Italic") : QStringLiteral("Regular");
}

QString TFontItem::DisplayName() const
{
    if (IsRegularFace())
        return FamilyNameText();
    return FamilyNameText() + QLatin1Char(' ') + StyleText();
}

QString TFontItem::TypeText() const { return FontKindText(FFontKind); }
QString TFontItem::ShortTypeText() const { return FontKindShortText(FFontKind); }
QString TFontItem::WeightText() const { return catalogue::WeightText(FWeight); }
QString TFontItem::WidthText() const { return catalogue::WidthText(FWidthClass); }
QString TFontItem::EmbeddingText() const { return catalogue::EmbeddingText(FEmbeddingBits); }
QString TFontItem::PanoseText() const { return catalogue::PanoseText(FPanose); }
QString TFontItem::VersionText() const { return catalogue::VersionText(FFontRevision); }
QString TFontItem::StatusText() const { return StatusCodeText(StatusCode()); }

QString TFontItem::FileListText() const
{
    return FSecondFile.isEmpty() ? FFontFile : FFontFile + QLatin1Char('|') + FSecondFile;
}

TFontStatusCode TFontItem::StatusCode() const
{
    const bool active = HasStatus(FontStatus::Loaded) || HasStatus(FontStatus::FileLoaded);
    if (HasStatus(FontStatus::Installed))
        return active ? TFontStatusCode::Installed : TFontStatusCode::InstalledNotLoaded;
    if (HasStatus(FontStatus::SimilarInstalled))
        return active ? TFontStatusCode::SimilarInstalled : TFontStatusCode::SimilarInstalledNotLoaded;
    if (active)
        return HasStatus(FontStatus::FileLoaded) || FActiveListItem ? TFontStatusCode::Loaded
                                                                    : TFontStatusCode::SimilarLoaded;
    return TFontStatusCode::NotInstalledNotLoaded;
}

// --- Tests

bool TFontItem::IsRegularFace() const
{
    if (IsOutlineKindOf(FFontKind))
        return FWeight <= 400 && !FItalic;
    return FOS2Read && FOS2Regular;
}

bool TFontItem::IsSystemFont() const
{
    const QString name = FamilyNameText();
    const auto is = [&](const char* systemName) {
        return name.compare(QLatin1String(systemName), Qt::CaseInsensitive) == 0;
    };
    if (FGdiTypeBits == 1)
        return is("Courier") || is("MS Sans Serif") || is("MS Serif") || is("System") || is("Terminal");
    if (FGdiTypeBits == 4)
        return is("Marlett");
    return false;
}

bool TFontItem::IsInstalledOnlyActiveItem() const
{
    return FActiveListItem && HasStatus(FontStatus::Installed) && !HasStatus(FontStatus::Loaded)
           && !HasStatus(FontStatus::FileLoaded);
}

bool TFontItem::IsVerticalWithoutFile() const
{
    return FamilyNameText().startsWith(QLatin1Char('@')) && FFontFile.isEmpty();
}

bool TFontItem::IsOpenTypeFamilyKind() const { return FFontKind >= 4 && FFontKind <= 7; }

bool TFontItem::IsCountable() const { return !IsInstalledOnlyActiveItem() && !IsVerticalWithoutFile(); }

// --- Reference counting and activation

void TFontItem::SetRefCount(int count)
{
    const int before = FRefCount;
    if (count < 0)
        support::LogError(QStringLiteral("SetRefCount from %1 to %2 for font %3 %4")
                              .arg(before)
                              .arg(count)
                              .arg(DisplayName(), FFontFile));
    if (count == before)
        return;
    if (FActivationAllowed) {
        if (count <= 0 && before > 0)
            ReleaseResources();
        else if (before <= 0 && count > 0)
            AcquireResources();
    }
    FRefCount = count;
}

void TFontItem::SetActive(bool active)
{
    support::LogGeneral((active ? QStringLiteral("SetActive to True for ") : QStringLiteral("SetActive to False for "))
                        + DisplayName());
    if (active == FActivationAllowed)
        return;
    FActivationAllowed = active;
    // A deactivated item holds nothing, so that its private load never reaches an
    // enumeration; a referenced item takes its files and load back when reactivated.
    if (FRefCount <= 0)
        return;
    if (active)
        AcquireResources();
    else
        ReleaseResources();
}

void TFontItem::AcquireResources()
{
    platform::TFontEngine& engine = platform::FontEngine();
    if (FFileHandle1 < 0 && !FFontFile.isEmpty())
        FFileHandle1 = engine.OpenFontFile(FFontFile);
    if (FFileHandle2 < 0 && !FSecondFile.isEmpty())
        FFileHandle2 = engine.OpenFontFile(FSecondFile);
    if (!FileListText().isEmpty() && !FPrivatelyLoaded)
        LoadPrivately();
}

void TFontItem::ReleaseResources()
{
    platform::TFontEngine& engine = platform::FontEngine();
    engine.CloseFontFile(FFileHandle1);
    FFileHandle1 = -1;
    engine.CloseFontFile(FFileHandle2);
    FFileHandle2 = -1;
    if (FPrivatelyLoaded)
        UnloadPrivately();
}

void TFontItem::LoadPrivately()
{
    const QString resource = FileListText();
    // Only a load that took place is remembered, so that releasing never removes a load
    // that another item holds.
    if (platform::FontEngine().AddPrivateFont(resource)) {
        FPrivatelyLoaded = true;
        FPrivateResourceString = resource;
        SetStatus(FontStatus::PrivatelyLoaded, true);
        SetStatus(FontStatus::NotDisplayable, false);
    } else {
        SetStatus(FontStatus::NotDisplayable, true);
    }
}

void TFontItem::UnloadPrivately()
{
    platform::FontEngine().RemovePrivateFont(FPrivateResourceString);
    FPrivateResourceString.clear();
    FPrivatelyLoaded = false;
    SetStatus(FontStatus::PrivatelyLoaded, false);
}

// --- Loading for this session

bool TFontItem::LoadFont()
{
    const QString resource = FileListText();
    return !FFontFile.isEmpty() && platform::FontEngine().AddSessionFont(resource) > 0;
}

TUnloadResult TFontItem::UnloadFont()
{
    const QString notFound = QStringLiteral("Failed to unload because the font file %1 not found.");
    if (FFontFile.isEmpty())
        return {false, QStringLiteral("Failed to unload because the font file is unknown.")};
    if (!QFileInfo::exists(FFontFile))
        return {false, notFound.arg(FFontFile)};
    if (!FSecondFile.isEmpty() && !QFileInfo::exists(FSecondFile))
        return {false, notFound.arg(FSecondFile)};
    // Each removal takes one addition away; a font added several times needs as many.
    constexpr int kMaxRemovals = 10;
    platform::TFontEngine& engine = platform::FontEngine();
    const QString resource = FileListText();
    for (int removal = 0; removal < kMaxRemovals && engine.RemoveSessionFont(resource); ++removal) {
    }
    return {true, {}};
}

} // namespace catalogue
