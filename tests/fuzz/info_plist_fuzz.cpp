// libFuzzer: Info.plist contents, as large as the reader accepts, through the
// platform's property-list parser and the version line. Nothing may crash or
// take long, and a version line is one line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "common/property_list.h"
#include "identity/version.h"
#include "text/unicode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto plist = tresk::parsePropertyList(std::span<const std::uint8_t>(data, size));
    if (!plist) return 0;
    auto line = tresk::versionLine(*plist);
    if (line && !tresk::text::isVisibleText(*line)) std::abort();
    return 0;
}
