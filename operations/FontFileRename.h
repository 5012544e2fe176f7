#pragma once

// Renaming the file (or, for a Type 1 font, both files) of one font: the registry value and
// the session load follow the new names, and a rename that cannot be completed leaves both
// files under their old names.

#include "catalogue/FontItem.h"

#include <QString>

namespace operations {

class TFontRegistry;

enum class TRenameOutcome {
    Unchanged,   // the new name is the old one: nothing was done
    FileExists,  // a file of a new name exists already: nothing was done
    Failed,      // a move failed; the files are back under their old names
    Succeeded,
};

struct TFontFileRenameResult {
    TRenameOutcome Outcome = TRenameOutcome::Unchanged;
    QString ExistingFile;  // FileExists: the path that is taken
    // Succeeded, and the font is active (installed, loaded or file loaded, not similar
    // installed): other programs should hear of the change.
    bool FontsChanged = false;
};

// Renames item's font file to newFile and its second file to newSecondFile (ignored when the
// item has no second file; an empty or unchanged second path is not moved). The item is deactivated
// while its files move and takes the new names on success; its registry value and session
// load are restored under the names the files have at the end. The browse and group file
// lists of the global font manager take the new names.
TFontFileRenameResult RenameFontFiles(catalogue::TFontItem& item, const QString& newFile,
                                      const QString& newSecondFile, TFontRegistry& registry);

} // namespace operations
