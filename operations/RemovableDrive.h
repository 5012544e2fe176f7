#pragma once

// Whether a path lies on a removable medium (a USB stick, a card, an optical disc), judged by
// the block device of its mount and the file-system type. A path that does not exist yet is
// judged by its nearest existing parent folder.

#include <QString>

namespace operations {

bool IsRemovableOrCdRomDrive(const QString& path);

} // namespace operations
