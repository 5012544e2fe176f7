#pragma once

// Putting the one or two files of a font into a folder: under their own names when free,
// reusing files that already hold exactly the same bytes, else under numbered names
// ("name0.ttf", "name1.ttf", ...), with the two files of a pair always numbered alike.

#include <QString>

namespace operations {

enum class TPlaceMode { Copy, Move };

struct TPlacedFiles {
    bool Success = false;
    QString File1;  // final destinations; empty for an empty source
    QString File2;
    bool Reused = false;  // identical files were already there: nothing was copied
};

// The highest number tried before giving up.
inline constexpr int kMaxPlaceNumber = 99999;

// folder ends with a separator. In move mode, reused destinations make the sources go to the
// Trash. A failed second file undoes the first, so that a failure leaves things as they were.
TPlacedFiles PlaceFiles(TPlaceMode mode, const QString& source1, const QString& source2, const QString& folder);

// fileName with number inserted before its extension: "a.ttf", 3 -> "a3.ttf".
QString NumberedFileName(const QString& fileName, int number);

// The first free path for a file of that name in folder: the name itself, then the numbered
// names. Empty when all are taken.
QString FreeFilePath(const QString& folder, const QString& fileName);

} // namespace operations
