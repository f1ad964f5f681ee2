#include "identity/executable_location.h"

#include <string_view>

namespace tresk {

std::string pathFromBuffer(std::span<const char> buffer) {
    std::string_view bytes(buffer.data(), buffer.size());
    // A path is bytes: repaired, it would name another file.
    return std::string(bytes.substr(0, bytes.find('\0')));
}

}  // namespace tresk
