#pragma once

// Owners of fontconfig objects, so every configuration, pattern and set the layer creates is
// released on every path out of a function.

#include <fontconfig/fontconfig.h>

#include <memory>

namespace platform::fc {

struct TConfigDeleter {
    void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};
struct TPatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
struct TObjectSetDeleter {
    void operator()(FcObjectSet* set) const { FcObjectSetDestroy(set); }
};
struct TFontSetDeleter {
    void operator()(FcFontSet* set) const { FcFontSetDestroy(set); }
};
struct TStrListDeleter {
    void operator()(FcStrList* list) const { FcStrListDone(list); }
};

using TConfigOwner = std::unique_ptr<FcConfig, TConfigDeleter>;
using TPatternOwner = std::unique_ptr<FcPattern, TPatternDeleter>;
using TObjectSetOwner = std::unique_ptr<FcObjectSet, TObjectSetDeleter>;
using TFontSetOwner = std::unique_ptr<FcFontSet, TFontSetDeleter>;
using TStrListOwner = std::unique_ptr<FcStrList, TStrListDeleter>;

} // namespace platform::fc
