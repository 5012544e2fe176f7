#pragma once

// The folder picker of the commands that ask for a folder (move and copy to a folder, the
// options, the favourites, the export): file-system folders only, starting at the given
// folder when it exists.

#include <QString>

class QWidget;

namespace app {

// folder: in, the folder to start at (cleared when it does not exist); out, the chosen one.
// root: where the dialog starts when folder is empty (may be empty). True when the user
// chose a folder.
bool BrowseForFolder(QWidget* owner, const QString& title, const QString& root, QString& folder);

} // namespace app
