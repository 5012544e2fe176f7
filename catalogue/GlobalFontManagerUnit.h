#pragma once

// The program's index of the active fonts and its font cache. The index says which active
// face corresponds to a face read from a file, which gives browsed and grouped faces their
// status; the cache remembers the faces this program loaded or installed, with their files,
// across runs ("fontcache.dat"), so that active faces the installed-font view does not
// explain still get their files.
//
// The active index is the Active catalogue itself: the manager looks into it and owns
// nothing of it. The cache families and faces belong to the manager.
//
// Threads: the cache is pruned by the active enumeration's worker and changed by the font
// operation thread; the main thread reads it. The program never runs an operation and an
// enumeration at once, so there is no lock.

#include "catalogue/FontFamilyList.h"

#include <QString>

#include <memory>

namespace catalogue {

class TFontFamilyItem;
class TFontItem;

class TGlobalFontManager {
public:
    // A manager whose cache lives in cacheFile; an empty path keeps the cache in memory only.
    // The cache is read at once (a missing, foreign or damaged file gives an empty or partly
    // read cache).
    explicit TGlobalFontManager(const QString& cacheFile = QString());
    // Writes the cache back when it changed (failures are silent and leave the old file).
    ~TGlobalFontManager();
    TGlobalFontManager(const TGlobalFontManager&) = delete;
    TGlobalFontManager& operator=(const TGlobalFontManager&) = delete;

    // The process-wide manager: the one a TGlobalFontManagerScope installed, else one without
    // a cache file (tools and tests that need no persistence).
    static TGlobalFontManager& Instance();

    // "fontcache.dat" in the program's data folder.
    static QString DefaultCacheFile();

    // The Active catalogue the index looks into; nullptr empties the index.
    void SetActiveIndex(const TFontFamilyList* activeCatalogue) { FActiveIndex = activeCatalogue; }
    const TFontFamilyList* ActiveIndex() const { return FActiveIndex; }

    // Matching: same family key (the family name text), same full name (without regard to
    // case) and same GDI type bits; a face with the same two files is preferred, else the
    // first that qualifies.
    TFontItem* GetMatchingActiveFont(const TFontItem& face) const;
    TFontItem* MatchingCachedFont(const TFontItem& face) const;
    bool IsKnown(const TFontItem& face) const;
    // Whether folder lies within the folder of a file of any active face.
    bool FolderHoldsActiveFonts(const QString& folder) const;

    // Gives an active face the registry name and files of its cached face, and the file
    // loaded bit.
    void FillFromCache(TFontItem& activeFace) const;
    // The status of a browsed, grouped or listed face against the active fonts; active list
    // items are left alone.
    void UpdateStatusOfNonActiveFace(TFontItem& face) const;

    // Cache changes after operations.
    void AddAsInstalled(const TFontItem& face);
    void AddAsLoaded(const TFontItem& face);
    void Remove(const TFontItem& face);
    void FileMoved(const TFontItem& face, const TFontItem& newFace);
    // Drops every cached face that no active face with the same files confirms.
    void Prune();

    const TFontFamilyList& Cache() const { return FCache; }
    int CachedFaceCount() const { return FCache.ItemCount(); }

    // Reads the cache file again into an emptied cache; writes it now.
    void LoadCache();
    bool SaveCache() const;

private:
    TFontItem& FindOrCreateCachedFace(const TFontItem& face, bool& created);

    QString FCacheFile;
    TFontFamilyList FCache;
    bool FChanged = false;  // since the cache was read
    const TFontFamilyList* FActiveIndex = nullptr;
};

// Installs a manager as TGlobalFontManager::Instance() for its lifetime (program start to
// exit); the manager's cache is saved when the scope ends.
class TGlobalFontManagerScope {
public:
    explicit TGlobalFontManagerScope(const QString& cacheFile = TGlobalFontManager::DefaultCacheFile());
    ~TGlobalFontManagerScope();
    TGlobalFontManagerScope(const TGlobalFontManagerScope&) = delete;
    TGlobalFontManagerScope& operator=(const TGlobalFontManagerScope&) = delete;

    TGlobalFontManager& Manager() { return *FManager; }

private:
    std::unique_ptr<TGlobalFontManager> FManager;
    TGlobalFontManager* FPrevious;
};

} // namespace catalogue
