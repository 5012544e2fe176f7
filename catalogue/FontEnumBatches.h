#pragma once

// Applies the batches of the active enumeration to the Active catalogue: removed faces go,
// added faces join their families, changed faces take the new data. The font cache gives
// files to faces the registered files do not explain.

#include "catalogue/BaseFontsThreadExUnit.h"
#include "catalogue/FontFamilyList.h"

#include <functional>

namespace catalogue {

struct TActiveCatalogueCache {
    // Gives a matching cached face's files (and the file loaded bit) to an active face.
    std::function<void(TFontItem& face)> FillFromCache;
    // Forgets the cached face of these names.
    std::function<void(const TFontItem& face)> RemoveFromCache;
};

// The cache of the global font manager.
TActiveCatalogueCache GlobalActiveCatalogueCache();

class TActiveCatalogueBatches {
public:
    explicit TActiveCatalogueBatches(TFontFamilyList& catalogue, TActiveCatalogueCache cache = GlobalActiveCatalogueCache());

    // Each takes what it keeps out of items. One item's failure is logged and the others are
    // still applied.
    void ApplyRemoved(TFontItems& items);
    void ApplyAdded(TFontItems& items);
    void ApplyChanged(TFontItems& items);

private:
    void Remove(const TFontItem& removed);

    TFontFamilyList& FCatalogue;
    TActiveCatalogueCache FCache;
};

} // namespace catalogue
