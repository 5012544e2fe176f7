// The font cache is the global font manager's; the active enumeration prunes it at the end
// of every run and the Active catalogue reads files from it.

#include "ActiveFontsThreadExUnit.h"
#include "FontEnumBatches.h"
#include "GlobalFontManagerUnit.h"

namespace catalogue {

void TActiveFontsThreadEx::PruneFontCache()
{
    TGlobalFontManager::Instance().Prune();
}

TActiveCatalogueCache GlobalActiveCatalogueCache()
{
    return {
        [](TFontItem& face) { TGlobalFontManager::Instance().FillFromCache(face); },
        [](const TFontItem& face) { TGlobalFontManager::Instance().Remove(face); },
    };
}

} // namespace catalogue
