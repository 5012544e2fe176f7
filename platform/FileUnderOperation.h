#pragma once

// The one font file that a font operation (uninstall, delete, move) is working on. While a
// file is marked, nothing loads it, neither for display nor for the session, so that the file
// is not held open while it is moved, renamed or deleted. Marks nest; the value is shared by
// every thread of the process.

#include <QString>

namespace platform {

// Stores the file and raises the nesting count.
void MarkFileUnderOperation(const QString& file);
// Lowers the nesting count; the file is forgotten when the count reaches zero. An unmark
// without a mark does nothing.
void UnmarkFileUnderOperation();
// True while file (a non-empty path) is the marked file.
bool IsFileUnderOperation(const QString& file);
// The marked file, empty when none.
QString FileUnderOperation();

// Marks a file for the lifetime of the object, whatever way the scope is left.
class TFileUnderOperationScope {
public:
    explicit TFileUnderOperationScope(const QString& file) { MarkFileUnderOperation(file); }
    ~TFileUnderOperationScope() { UnmarkFileUnderOperation(); }
    TFileUnderOperationScope(const TFileUnderOperationScope&) = delete;
    TFileUnderOperationScope& operator=(const TFileUnderOperationScope&) = delete;
};

} // namespace platform
