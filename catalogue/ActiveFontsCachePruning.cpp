// The font cache is the global font manager's; the active enumeration prunes it at the end
// of every run and the Active catalogue reads files from it.

#include "ActiveFontsThreadExUnit.h"
#include "FontEnumBatches.h"

namespace catalogue {

void TActiveFontsThreadEx::PruneFontCache()
{
}

TActiveCatalogueCache GlobalActiveCatalogueCache()
{
    return {};
}

} // namespace catalogue
