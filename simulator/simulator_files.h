// Where the simulated platform keeps its files, and its one trust rule: the
// directory and every file in it that the simulator or SQLite opens are the
// user's own (a directory and regular files, never a link), kept private
// (what others may do is taken away), and nothing else is there. Each check
// answers with the problem, in words for a status text.
#pragma once

#include <optional>
#include <string>

#include "common/problem.h"

namespace tresk::simulator {

// $XDG_DATA_HOME/tresk-simulator, else ~/.local/share/tresk-simulator.
std::string directory();

// Creates the directory (0700) and its missing parents (0700 too); refuses
// one that is a link, not a directory, or someone else's; makes the user's
// own private.
Expected<void> ensureDirectory();

enum class Access { ReadWrite, ReadOnly };

// Checks the store's files before SQLite opens any (SQLite follows a link,
// and waits on a FIFO, where it finds its journal): the directory holds only
// the simulator's files, and the database and the journal and WAL files
// SQLite keeps beside it, where they are, are trusted. The database is
// created (0600) when missing; one the user cannot write (on a read-only
// file system, or without the owner's write permission) is trusted for
// reading.
Expected<Access> trustStore();

// Appends `record` to a private file, creating it when missing.
Expected<void> appendPrivate(const std::string& path, const std::string& record);

// The device profile's text; none when there is no profile.
Expected<std::optional<std::string>> readProfile();

std::string keychainPath();
std::string profilePath();
std::string promptLogPath();

}  // namespace tresk::simulator
