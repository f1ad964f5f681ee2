// The test program started with this sole argument prints where it runs, as
// runningExecutableURL finds it (the path, then the file system's bytes, a
// line each), and ends: the identity test starts it through links.
#pragma once

#include <string_view>

namespace tresk::macos {

inline constexpr std::string_view printLocationArgument = "--print-running-executable";

}  // namespace tresk::macos
