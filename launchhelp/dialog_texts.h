// The texts of the launch help dialog, shared so Linux tests can reach them.
#pragma once

#include <string_view>

namespace tresk::dialog {

inline constexpr std::string_view introduction = "Tresk is a command line utility. Run it from your terminal.";
inline constexpr std::string_view symlinkHint =
    "To get started, create a symlink in a directory on your PATH, for example:";
inline constexpr std::string_view helpHint = "Then run tresk --help to see available commands.";
inline constexpr std::string_view helpCommand = "tresk --help";  // set in the monospaced font within helpHint
inline constexpr std::string_view copyTitle = "Copy";
inline constexpr std::string_view copiedTitle = "Copied";
inline constexpr std::string_view okTitle = "OK";

// Sizes in points.
inline constexpr double bodyFontSize = 13;
inline constexpr double monospacedFontSize = 12;
inline constexpr double bodyWidth = 540;
inline constexpr double commandWidth = 450;
inline constexpr double copyButtonWidth = 78;
inline constexpr double rowSpacing = 12;
inline constexpr double stackSpacing = 16;

}  // namespace tresk::dialog
