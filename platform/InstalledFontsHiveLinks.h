#pragma once

// The symbolic links by which the installed-font view installs font files that lie outside
// every font folder. Failures raise RegistryHiveError with the reason.

#include <QString>

namespace platform {

// Places (or replaces) the link folder/<name><extension of target> pointing at target and
// answers its path. The folder and its parents are created when missing. An existing entry of
// that name that is not a symbolic link is never replaced.
QString PlaceFontLink(const QString& folder, const QString& name, const QString& target);

// Removes the link; a link that is already gone is no failure.
void RemoveFontLink(const QString& linkPath);

} // namespace platform
