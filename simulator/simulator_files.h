// Where the simulated platform keeps its files, created private to the user.
#pragma once

#include <optional>
#include <string>

namespace tresk::simulator {

// $XDG_DATA_HOME/tresk-simulator, else ~/.local/share/tresk-simulator.
std::string directory();

// Creates the directory (mode 0700) and its parents; false when it cannot.
bool ensureDirectory();

// Creates `path` with mode 0600 when missing; false when it cannot.
bool ensurePrivateFile(const std::string& path);

std::string keychainPath();
std::string profilePath();
std::string promptLogPath();

}  // namespace tresk::simulator
