#pragma once

// Questions about the fonts fontconfig offers, each asked of a configuration loaded afresh so
// that fonts installed after the program started are seen.

#include <QString>

#include <optional>
#include <vector>

namespace platform {

struct TFontconfigFace {
    QString Family;   // the family value that matched
    QString Style;
    int Weight = 400; // 100..900, as in the OS/2 table
    bool Italic = false; // italic or oblique
    QString File;
    int Index = 0;
};

// Every face whose family names include `family` (fontconfig compares without regard to case
// and blanks). Faces of variable fonts without a fixed weight are left out; their named
// instances are listed. nullopt when fontconfig cannot load its configuration.
std::optional<std::vector<TFontconfigFace>> FacesOfFamily(const QString& family);

} // namespace platform
