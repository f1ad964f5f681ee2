// Where the running executable really lies, every symbolic link resolved.
#pragma once

#include <span>
#include <string>

namespace tresk {

// The running executable's location: absolute, no symbolic link in it.
struct ExecutableLocation {
    std::string path;            // as the platform's file URL gives it (.path): what is shown and composed
    std::string fileSystemPath;  // the file system's bytes for the same file: what is opened
};

// Ends the run with "Could not locate the running executable." on failure.
ExecutableLocation runningExecutableURL();

// The bytes up to the first NUL, unchanged.
std::string pathFromBuffer(std::span<const char> buffer);

}  // namespace tresk
