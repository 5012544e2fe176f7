#include "GlobalFontManagerUnit.h"

#include "FontCacheFile.h"
#include "FontFamily.h"
#include "FontItem.h"

#include "platform/Places.h"
#include "platform/SessionFontsRecord.h"
#include "support/LoggerUnit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <exception>
#include <vector>

namespace catalogue {

namespace {

std::atomic<TGlobalFontManager*> GInstalledManager{nullptr};

bool SameFileName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

bool SameFiles(const TFontItem& a, const TFontItem& b)
{
    return SameFileName(a.FontFile(), b.FontFile()) && SameFileName(a.SecondFile(), b.SecondFile());
}

// The face of family that matches face: same full name and GDI type bits, the one with the
// same files first.
TFontItem* MatchInFamily(const TFontFamilyList& list, const TFontItem& face)
{
    const TFontFamilyItem* family = list.FindFamily(face.FamilyNameText());
    if (!family)
        return nullptr;
    TFontItem* first = nullptr;
    for (TFontItem* candidate : family->Items()) {
        if (candidate->GdiTypeBits() != face.GdiTypeBits() ||
            candidate->FullName().compare(face.FullName(), Qt::CaseInsensitive) != 0)
            continue;
        if (SameFiles(*candidate, face))
            return candidate;
        if (!first)
            first = candidate;
    }
    return first;
}

TFontCacheRecord RecordOf(const TFontItem& face)
{
    TFontCacheRecord record;
    record.FamilyName = face.FamilyNameText();
    record.FullName = face.FullName();
    record.Style = face.StyleText();
    record.RegistryName = face.RegistryName();
    record.CacheNote = face.CacheNote();
    record.GdiTypeBits = face.GdiTypeBits();
    record.FontFile = face.FontFile();
    record.SecondFile = face.SecondFile();
    record.FontKind = face.FontKind();
    record.Weight = face.Weight();
    record.Italic = face.Italic();
    record.ViaShortcut = face.ViaShortcut();
    record.ShortcutPath = face.ShortcutPath();
    return record;
}

std::unique_ptr<TFontItem> FaceOf(const TFontCacheRecord& record)
{
    auto face = std::make_unique<TFontItem>(record.FamilyName, false);
    face->SetFullName(record.FullName);
    face->SetStyleName(record.Style);
    face->SetRegistryName(record.RegistryName);
    face->SetCacheNote(record.CacheNote);
    face->SetGdiTypeBits(record.GdiTypeBits);
    face->SetFontFile(record.FontFile);
    face->SetSecondFile(record.SecondFile);
    face->SetFontKind(record.FontKind);
    face->SetStatusFlags(0);
    face->SetWeight(record.Weight);
    face->SetItalic(record.Italic);
    face->SetViaShortcut(record.ViaShortcut);
    face->SetShortcutPath(record.ShortcutPath);
    return face;
}

} // namespace

TGlobalFontManager::TGlobalFontManager(const QString& cacheFile) : FCacheFile(cacheFile)
{
    LoadCache();
}

TGlobalFontManager::~TGlobalFontManager()
{
    FActiveIndex = nullptr;
    if (FChanged)
        SaveCache();
}

TGlobalFontManager& TGlobalFontManager::Instance()
{
    if (TGlobalFontManager* installed = GInstalledManager.load())
        return *installed;
    static TGlobalFontManager memoryOnly;
    return memoryOnly;
}

QString TGlobalFontManager::DefaultCacheFile()
{
    return platform::places::DataFolder() + QStringLiteral("/fontcache.dat");
}

TFontItem* TGlobalFontManager::GetMatchingActiveFont(const TFontItem& face) const
{
    if (!FActiveIndex)
        return nullptr;
    try {
        return MatchInFamily(*FActiveIndex, face);
    } catch (const std::exception& error) {
        support::LogError(QStringLiteral("In TGlobalFontManager.GetMatchingActiveFont - ") + QString::fromUtf8(error.what()));
    } catch (...) {
        support::LogError(QStringLiteral("In TGlobalFontManager.GetMatchingActiveFont - Unknown exception"));
    }
    return nullptr;
}

TFontItem* TGlobalFontManager::MatchingCachedFont(const TFontItem& face) const { return MatchInFamily(FCache, face); }

bool TGlobalFontManager::IsKnown(const TFontItem& face) const
{
    return GetMatchingActiveFont(face) != nullptr || MatchingCachedFont(face) != nullptr;
}

bool TGlobalFontManager::FolderHoldsActiveFonts(const QString& folder) const
{
    if (!FActiveIndex || folder.isEmpty())
        return false;
    const QString wanted = folder.toCaseFolded();
    const auto holds = [&](const QString& file) {
        return !file.isEmpty() && QFileInfo(file).absolutePath().toCaseFolded().contains(wanted);
    };
    for (int i = 0; i < FActiveIndex->Count(); ++i)
        for (const TFontItem* face : FActiveIndex->Family(i)->Items())
            if (holds(face->FontFile()) || holds(face->SecondFile()))
                return true;
    return false;
}

void TGlobalFontManager::FillFromCache(TFontItem& activeFace) const
{
    const TFontItem* cached = MatchingCachedFont(activeFace);
    if (!cached)
        return;
    activeFace.SetStatus(FontStatus::FileLoaded, true);
    activeFace.SetRegistryName(cached->RegistryName());
    activeFace.SetFontFile(cached->FontFile());
    activeFace.SetSecondFile(cached->SecondFile());
}

void TGlobalFontManager::UpdateStatusOfNonActiveFace(TFontItem& face) const
{
    if (face.ActiveListItem())
        return;
    using namespace FontStatus;
    const TFontItem* match = GetMatchingActiveFont(face);
    std::uint8_t flags = face.StatusFlags();
    if (!match) {
        flags &= static_cast<std::uint8_t>(~(Loaded | FileLoaded | Installed | SimilarInstalled));
    } else if (SameFiles(*match, face)) {
        flags = static_cast<std::uint8_t>(match->StatusFlags() | (flags & PrivatelyLoaded));
    } else {
        flags &= static_cast<std::uint8_t>(~(FileLoaded | Installed | SimilarInstalled));
        if (match->HasStatus(Installed))
            flags |= SimilarInstalled;
        if (match->HasStatus(Loaded))
            flags |= Loaded;
        if (!match->HasStatus(Loaded) && !match->HasStatus(FileLoaded))
            flags &= static_cast<std::uint8_t>(~(Loaded | FileLoaded));
    }
    face.SetStatusFlags(flags);
}

TFontItem& TGlobalFontManager::FindOrCreateCachedFace(const TFontItem& face, bool& created)
{
    if (TFontFamilyItem* family = FCache.FindFamily(face.FamilyNameText()))
        if (TFontItem* existing = family->FindFace(face.FullName(), face.GdiTypeBits())) {
            created = false;
            return *existing;
        }
    created = true;
    return FCache.AddItem(std::make_unique<TFontItem>(face.FamilyNameText(), false));
}

void TGlobalFontManager::AddAsInstalled(const TFontItem& face)
{
    bool created = false;
    TFontItem& cached = FindOrCreateCachedFace(face, created);
    cached.CopyFrom(face);
    cached.SetStatusFlags(FontStatus::Installed | FontStatus::FileLoaded);
    FChanged = true;
}

void TGlobalFontManager::AddAsLoaded(const TFontItem& face)
{
    bool created = false;
    TFontItem& cached = FindOrCreateCachedFace(face, created);
    FChanged = true;
    if (!created) {
        cached.SetStatus(FontStatus::FileLoaded, true);
        return;
    }
    cached.CopyFrom(face);
    cached.SetStatusFlags(FontStatus::FileLoaded);
}

void TGlobalFontManager::Remove(const TFontItem& face)
{
    TFontFamilyItem* family = FCache.FindFamily(face.FamilyNameText());
    if (!family)
        return;
    if (TFontItem* cached = family->FindFace(face.FullName(), face.GdiTypeBits())) {
        FCache.RemoveItem(cached);  // the family goes with its last face
        FChanged = true;
    }
}

void TGlobalFontManager::FileMoved(const TFontItem& face, const TFontItem& newFace)
{
    const auto follow = [&](TFontItem* match) {
        if (match && SameFiles(*match, face)) {
            match->SetFontFile(newFace.FontFile());
            match->SetSecondFile(newFace.SecondFile());
            return true;
        }
        return false;
    };
    follow(GetMatchingActiveFont(face));
    if (follow(MatchingCachedFont(face)))
        FChanged = true;
}

void TGlobalFontManager::Prune()
{
    // Without an index nothing can confirm a cached face; emptying the cache then would lose
    // every remembered file, so pruning waits for a run that fills the index.
    if (!FActiveIndex)
        return;
    std::vector<TFontItem*> doomed;
    for (int f = FCache.Count() - 1; f >= 0; --f) {
        const auto& faces = FCache.Family(f)->Items();
        for (auto face = faces.rbegin(); face != faces.rend(); ++face) {
            const TFontItem* match = GetMatchingActiveFont(**face);
            if (!match || !SameFiles(*match, **face))
                doomed.push_back(*face);
        }
    }
    for (TFontItem* face : doomed)
        FCache.RemoveItem(face);
    if (!doomed.empty())
        FChanged = true;
}

void TGlobalFontManager::LoadCache()
{
    FCache.Clear();
    FChanged = false;
    if (FCacheFile.isEmpty())
        return;
    try {
        QFile file(FCacheFile);
        if (!file.exists() || !file.open(QIODevice::ReadOnly))
            return;
        for (const TFontCacheRecord& record : ReadFontCache(file)) {
            const std::unique_ptr<TFontItem> face = FaceOf(record);
            AddAsLoaded(*face);
        }
    } catch (...) {
        // What was read stays; the program starts with it.
    }
    FChanged = false;
}

bool TGlobalFontManager::SaveCache() const
{
    if (FCacheFile.isEmpty())
        return false;
    try {
        if (!QDir().mkpath(QFileInfo(FCacheFile).absolutePath()))
            return false;
        std::vector<const TFontFamilyItem*> families;
        for (int i = 0; i < FCache.Count(); ++i)
            families.push_back(FCache.Family(i));
        std::stable_sort(families.begin(), families.end(), [](const TFontFamilyItem* a, const TFontFamilyItem* b) {
            return a->FamilyName().compare(b->FamilyName(), Qt::CaseInsensitive) < 0;
        });
        std::vector<TFontCacheRecord> records;
        for (const TFontFamilyItem* family : families)
            for (const TFontItem* face : family->Items())
                records.push_back(RecordOf(*face));
        return platform::WriteFileAtomically(FCacheFile, EncodeFontCache(records));
    } catch (...) {
        return false;
    }
}

TGlobalFontManagerScope::TGlobalFontManagerScope(const QString& cacheFile)
    : FManager(std::make_unique<TGlobalFontManager>(cacheFile)), FPrevious(GInstalledManager.exchange(FManager.get()))
{
}

TGlobalFontManagerScope::~TGlobalFontManagerScope()
{
    GInstalledManager.store(FPrevious);
    FManager.reset();
}

} // namespace catalogue
