#pragma once

// What the installed-font view shows: the font files of the persistent font folders as the
// values of the Fonts key (one per file) and of the Type 1 key (one per metrics file with its
// outline file). Links in the folder of links the program places are named by their own
// names; every other file by the name it had before, else by the registry name its reader
// gives it. Names are unique per key
// (compared without regard to case): a repeated name gets " (0)", " (1)", ... as the font
// registry's own free-name search would have given it.

#include "platform/InstalledFontsHiveNames.h"
#include "platform/PathStamps.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

namespace platform {

struct InstalledFontValue {
    QString Name;
    // The name the file gives itself (before numbering).
    QString OwnName;
    // The entry in the font folder: the file itself, or a symbolic link to it.
    QString Location;
    bool IsLink = false;
    // The value's data: the font file (for a link, the file it points at).
    QString File;
    // Type 1 only: the outline file, the same way.
    QString OutlineLocation;
    bool OutlineIsLink = false;
    QString OutlineFile;
};

// A name a file had before. It keeps it while it is free and the file still gives itself the
// same own name (a name written for the file holds whatever the file says).
struct InstalledFontKeptName {
    QString Name;
    QString OwnName;
    bool AnyOwnName = false;
};

struct InstalledFontsListing {
    std::vector<InstalledFontValue> Fonts;
    std::vector<InstalledFontValue> Type1;
    // Case-folded value name -> position, for each list.
    QHash<QString, std::size_t> FontIndex;
    QHash<QString, std::size_t> Type1Index;
    // The folders walked and the files and links found: while they look the same, a new
    // walk would list the same values.
    TPathStamps Sources;

    // The value of that name (without regard to case), or nullptr.
    const InstalledFontValue* Find(bool type1, const QString& name) const;
};

// Walks every existing folder recursively (symbolic links followed, each folder once, hidden
// entries skipped as fontconfig skips them). linkedFontsFolder is the folder whose links are
// named by their file names; keptNames (by location) are the names files had before.
InstalledFontsListing ScanInstalledFonts(const QStringList& folders, const QString& linkedFontsFolder,
                                         InstalledFontNameCache& names,
                                         const QHash<QString, InstalledFontKeptName>& keptNames);

// The absolute path a symbolic link points at (its first step), or empty when it is no link.
QString SymbolicLinkTarget(const QString& linkPath);

} // namespace platform
