// Where the running executable really lies, and the version line read from
// its bundle's Info.plist.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "common/property_list.h"

namespace tresk {

// The running executable's location: absolute, no symbolic link in it.
struct FileURL {
    std::string path;            // as the platform's URL gives it (.path): what is shown and composed
    std::string fileSystemPath;  // the file system's bytes for the same file: what is opened
};

// Ends the run with "Could not locate the running executable." on failure.
FileURL runningExecutableURL();

// Ends the run with the version-metadata message on failure.
std::string versionDescription();

// Shared pieces, exercised on every platform.
std::string infoPlistPath(std::string_view executablePath);
// The version line for a parsed Info.plist, or none when its shape is wrong.
std::optional<std::string> versionLine(const PropertyList& infoPlist);
// The bytes up to the first NUL, unchanged.
std::string pathFromBuffer(std::span<const char> buffer);

}  // namespace tresk
