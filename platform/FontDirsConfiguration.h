#pragma once

// The font folder list fed from a fontconfig configuration that another part of the layer
// loaded anyway (the enumeration), so that the configuration is parsed once.

#include <fontconfig/fontconfig.h>

namespace platform {

// config: loaded, its fonts not scanned yet. Used when the kept folder list is out of date.
void OfferFontconfigConfiguration(FcConfig* config);

} // namespace platform
