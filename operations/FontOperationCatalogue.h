#pragma once

// What the operation engine asks of the program's font index and font cache: the active or
// cached face that matches a font, and the cache changes after an operation. The engine
// works on copies of what it finds, so the index may change meanwhile without harm.

#include "catalogue/FontItem.h"

#include <memory>

namespace operations {

class TFontOperationCatalogue {
public:
    virtual ~TFontOperationCatalogue() = default;

    // A copy of the matching active face, else of the matching cached face; none when both
    // find nothing.
    virtual std::unique_ptr<catalogue::TFontItem> MatchingFont(const catalogue::TFontItem& item) = 0;
    virtual void AddAsInstalled(const catalogue::TFontItem& item) = 0;
    virtual void AddAsLoaded(const catalogue::TFontItem& item) = 0;
    virtual void Remove(const catalogue::TFontItem& item) = 0;
    virtual void FileMoved(const catalogue::TFontItem& oldItem, const catalogue::TFontItem& newItem) = 0;
};

// The catalogue of the process: the global font manager's active index and font cache.
std::unique_ptr<TFontOperationCatalogue> CreateGlobalFontOperationCatalogue();

// A detached copy of item (its family name text, identity, files and flags).
std::unique_ptr<catalogue::TFontItem> DetachedCopy(const catalogue::TFontItem& item);

} // namespace operations
