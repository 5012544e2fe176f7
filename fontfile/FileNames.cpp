#include "FileNames.h"

#include <cctype>
#include <filesystem>
#include <system_error>

namespace fontfile {

namespace {

std::size_t NameStart(std::string_view fileName)
{
    const auto slash = fileName.find_last_of('/');
    return slash == std::string_view::npos ? 0 : slash + 1;
}

std::string LowerCased(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

} // namespace

std::string FileExtension(std::string_view fileName)
{
    const auto start = NameStart(fileName);
    const auto dot = fileName.find_last_of('.');
    if (dot == std::string_view::npos || dot < start)
        return {};
    return std::string(fileName.substr(dot));
}

std::string UpperCased(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

bool HasExtension(std::string_view fileName, std::string_view upperExtension)
{
    return UpperCased(FileExtension(fileName)) == upperExtension;
}

std::string ChangeFileExtension(std::string_view fileName, std::string_view newExtension)
{
    const auto extension = FileExtension(fileName);
    std::string out(fileName.substr(0, fileName.size() - extension.size()));
    out += newExtension;
    return out;
}

std::string FolderOf(std::string_view fileName)
{
    const auto start = NameStart(fileName);
    if (start == 0)
        return {};
    if (start == 1)
        return "/";
    return std::string(fileName.substr(0, start - 1));
}

std::string NameOf(std::string_view fileName)
{
    return std::string(fileName.substr(NameStart(fileName)));
}

std::u16string FileNameToWide(std::string_view fileName)
{
    std::u16string out;
    out.reserve(fileName.size());
    std::size_t i = 0;
    while (i < fileName.size()) {
        const auto lead = static_cast<unsigned char>(fileName[i]);
        const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        char32_t code = length == 1 ? lead : length == 2 ? (lead & 0x1F) : length == 3 ? (lead & 0x0F) : (lead & 0x07);
        bool valid = length > 0 && i + length <= fileName.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(fileName[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        constexpr char32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
        if (valid && (code < kMinimum[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)))
            valid = false;
        if (!valid) {
            out.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else
            out.push_back(static_cast<char16_t>(code));
        i += length;
    }
    return out;
}

bool IsExistingFile(const std::string& fileName)
{
    if (fileName.empty())
        return false;
    std::error_code error;
    return std::filesystem::is_regular_file(fileName, error);
}

std::string FindFileWithExtension(const std::string& folder, const std::string& stem,
                                  std::string_view extension)
{
    const std::string prefix = folder.empty() ? std::string() : (folder == "/" ? folder : folder + "/");
    for (const auto& spelling : {UpperCased(extension), LowerCased(extension)}) {
        const auto candidate = prefix + stem + spelling;
        if (IsExistingFile(candidate))
            return candidate;
    }
    // Linux names are case-sensitive; a mixed-case ".Pfb" is only found by listing the folder.
    std::error_code error;
    std::filesystem::directory_iterator entries(folder.empty() ? "." : folder, error);
    if (error)
        return {};
    const std::string wanted = UpperCased(extension);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        const std::string name = entries->path().filename().string();
        if (name.size() != stem.size() + extension.size() || name.compare(0, stem.size(), stem) != 0)
            continue;
        if (UpperCased(std::string_view(name).substr(stem.size())) == wanted && IsExistingFile(prefix + name))
            return prefix + name;
    }
    return {};
}

} // namespace fontfile
