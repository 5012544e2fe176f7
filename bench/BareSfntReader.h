#pragma once

// The yardstick of the scan benchmark: the least a reader of SFNT fonts can do to name a face.
// It reads the offset table, the directory, "name" (family, style and full name of the
// Windows English records) and "OS/2" (weight, selection bits) with one read call per
// structure, and nothing else: no checks beyond bounds, no fallbacks, no other formats.

#include <cstddef>
#include <string>

namespace bench {

// The number of faces found (0 for a file that is not an SFNT font or collection). Files of
// other formats have their first block read, so that each file costs at least an open and a
// read as it does for the real reader.
std::size_t ReadBareFaces(const std::string& fileName);

} // namespace bench
