// The `ln -s` command that puts the running executable on the user's PATH.
#pragma once

#include <string>
#include <string_view>

namespace tresk {

// Pure: touches no file system.
std::string makeSymlinkCommand(std::string_view executablePath, std::string_view homePath);

// Whether the executable runs from a translocated copy: an app opened where
// it was unpacked, still quarantined, runs from a randomized read-only mount
// (…/AppTranslocation/<UUID>/d/Tresk.app) that is gone once it quits, so a
// link into it would dangle. Pure, like the command.
bool isTranslocated(std::string_view executablePath);

// The current user's home directory with its links resolved, no trailing
// slash. macOS only: the dialog is its one caller.
std::string homeDirectoryPath();

}  // namespace tresk
