// Where the running executable really lies, every symbolic link resolved.
#pragma once

#include <span>
#include <string>

namespace tresk {

// The running executable's two paths, both absolute, no symbolic link in them.
struct ExecutablePaths {
    std::string path;            // as the platform's file URL gives it (.path): what is shown and composed
    std::string fileSystemPath;  // the file system's bytes for the same file: what is opened
};

// Named for the file URL the platform resolves the executable through; what
// it returns is that URL's paths. Ends the run with "Could not locate the
// running executable." on failure.
ExecutablePaths runningExecutableURL();

// The bytes up to the first NUL, unchanged.
std::string pathFromBuffer(std::span<const char> buffer);

}  // namespace tresk
