#include "FontException.h"

namespace fontfile {

FontException::FontException(const std::string& message) : std::runtime_error(message) {}

} // namespace fontfile
