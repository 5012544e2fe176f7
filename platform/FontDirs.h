#pragma once

// The persistent font folders of the desktop, as fontconfig is configured with them, and
// bringing fontconfig's cache of a folder up to date after the program changed it.

#include <QString>
#include <QStringList>

namespace platform {

// fontconfig's font folders of the current configuration (loaded again whenever one of the
// files it was read from, or a place where a user configuration could appear, changed),
// cleaned, without repeats, the user font folder always first. Folders that do not exist are
// included; callers skip them.
QStringList PersistentFontFolders();

// Scans the folder again and writes its fontconfig cache, so that other programs see what
// changed there at their next check. False when fontconfig could not do it (the folder is
// then scanned by the next program that looks).
bool RescanFontconfigCache(const QString& folder);

} // namespace platform
