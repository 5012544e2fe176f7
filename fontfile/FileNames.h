#pragma once

// File-name helpers of the readers: extensions with their dot, compared without regard to
// case, and plain existence tests that never raise.

#include <string>
#include <string_view>

namespace fontfile {

// The extension with its dot ("" when the name has none); only the last path component counts.
std::string FileExtension(std::string_view fileName);
// ASCII upper case, for extension comparisons.
std::string UpperCased(std::string_view text);
bool HasExtension(std::string_view fileName, std::string_view upperExtension);
// fileName with its extension replaced by newExtension (which carries its dot).
std::string ChangeFileExtension(std::string_view fileName, std::string_view newExtension);
// The folder part without its trailing separator ("" for a bare name).
std::string FolderOf(std::string_view fileName);
std::string NameOf(std::string_view fileName);

// Wide text of a file name (UTF-8 on this system; invalid bytes become U+FFFD), for messages.
std::u16string FileNameToWide(std::string_view fileName);

// True for an existing file that is not a folder (symbolic links are followed).
bool IsExistingFile(const std::string& fileName);

// The existing file in folder whose name is stem + an extension equal to extension without
// regard to case; "" when there is none. Exact spellings are tried before the folder is listed.
std::string FindFileWithExtension(const std::string& folder, const std::string& stem,
                                  std::string_view extension);

} // namespace fontfile
