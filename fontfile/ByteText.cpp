#include "ByteText.h"

#include "Environment.h"

#include <vector>

namespace fontfile {

std::string ReadZeroTerminated(TFontStream& stream, std::size_t maxLength)
{
    const auto start = stream.Position();
    // One read for the whole field: file streams pay a system call per read.
    std::vector<char> buffer(maxLength + 1);
    const std::size_t got = stream.Read(buffer.data(), buffer.size());
    std::size_t length = 0;
    while (length < got && length < maxLength && buffer[length] != '\0')
        ++length;
    const bool endsWithZero = length < got && buffer[length] == '\0';
    stream.Seek(start + length + (endsWithZero ? 1 : 0));
    return std::string(buffer.data(), length);
}

std::string UpToFirstZero(std::string_view field)
{
    return std::string(field.substr(0, field.find('\0')));
}

std::u16string AnsiToWide(std::string_view bytes)
{
    if (auto wide = TextServices().MultiByteToWide(0, bytes, false))
        return *wide;
    return Widen(bytes);
}

} // namespace fontfile
