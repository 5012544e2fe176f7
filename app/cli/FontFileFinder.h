#pragma once

// Which files of a folder the command-line tool reads: font files by extension, without
// regard to case. An outline file (.pfb) is read through its metrics file, never alone.

#include <QString>
#include <QStringList>

namespace cli {

bool IsListedFontFile(const QString& fileName);

// The font files of folder (and of its sub-folders when recursive), in sorted order.
// Symbolic links to folders are not followed, so a loop of links cannot trap the walk.
QStringList FindFontFiles(const QString& folder, bool recursive);

} // namespace cli
