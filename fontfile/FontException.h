#pragma once

// The one exception type of the font-file library: raised for format errors of a font file,
// carrying a fixed message text that callers show or log as it is.

#include <stdexcept>
#include <string>

namespace fontfile {

class FontException : public std::runtime_error {
public:
    explicit FontException(const std::string& message);

    std::string Message() const { return what(); }
};

} // namespace fontfile
