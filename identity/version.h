// The version line, read from the Info.plist of the running executable's bundle.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/property_list.h"

namespace tresk {

// Ends the run with the version-metadata message on failure.
std::string versionDescription();

// Shared pieces, exercised on every platform.
std::string infoPlistPath(std::string_view executablePath);
// The version line for a parsed Info.plist, or none when its shape is wrong.
std::optional<std::string> versionLine(const PropertyList& infoPlist);

}  // namespace tresk
