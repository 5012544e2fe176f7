#pragma once

// Copying, moving and trashing of font files, each checked so that no file is lost: a copy is
// compared with its source before it counts, a move across file systems removes the source
// only after the copy is verified, and deleting means moving to the Trash.

#include <QString>

namespace operations {

// Copies source to destination, failing when destination exists. The copy is compared byte
// for byte with the source; a copy that differs is removed again. A symbolic link is copied
// as a link with the same target.
bool CopyFileVerified(const QString& source, const QString& destination);

// Moves source to destination, failing when destination exists. Within one file system it is
// a rename; across file systems a verified copy, and only then the source goes.
bool MoveFileVerified(const QString& source, const QString& destination);

// Moves a file (or a symbolic link itself, never its target) to the Trash.
bool MoveFileToTrash(const QString& fileName);

// True when both files exist and hold exactly the same bytes.
bool FilesIdentical(const QString& first, const QString& second);

// An entry of that name exists, a dangling symbolic link included.
bool PathEntryExists(const QString& path);

} // namespace operations
