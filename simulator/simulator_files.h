// Where the simulated platform keeps its files, and the trust it gives them:
// only a directory and files that are the user's own, never a link, kept
// private (directory 0700, files 0600). Each check answers with the problem,
// in words for a status text, or with nothing when all is well.
#pragma once

#include <optional>
#include <string>

namespace tresk::simulator {

// $XDG_DATA_HOME/tresk-simulator, else ~/.local/share/tresk-simulator.
std::string directory();

// Creates the directory (0700) and its parents when missing; refuses one
// that is a link, not a directory, or someone else's; makes the user's own
// private.
std::optional<std::string> ensureDirectory();

// The same for a file in it, created (0600) when missing. `writable` tells
// whether the user can write it: one on a read-only file system, or without
// the owner's write permission, is trusted for reading.
std::optional<std::string> ensurePrivateFile(const std::string& path, bool& writable);

// Appends `record` to a private file in one write, creating it when missing.
std::optional<std::string> appendPrivate(const std::string& path, const std::string& record);

// The device profile's text; none (and no problem) when there is no profile.
std::optional<std::string> readProfile(std::optional<std::string>& problem);

std::string keychainPath();
std::string profilePath();
std::string promptLogPath();

}  // namespace tresk::simulator
