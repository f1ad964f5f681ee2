// The `ln -s` command that puts the running executable on the user's PATH.
#pragma once

#include <string>
#include <string_view>

namespace tresk {

// Pure: touches no file system.
std::string makeSymlinkCommand(std::string_view executablePath, std::string_view homePath);

// The current user's home directory with its links resolved, no trailing slash.
std::string homeDirectoryPath();

}  // namespace tresk
