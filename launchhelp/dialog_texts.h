// The texts of the launch help dialog, shared so Linux tests can reach them.
#pragma once

#include <string_view>

namespace tresk::dialog {

inline constexpr std::string_view introduction = "Tresk is a command line utility. Run it from your terminal.";
inline constexpr std::string_view symlinkHint =
    "To get started, create a symlink in a directory on your PATH, for example:";
// In place of symlinkHint and the command row when the app runs from a
// translocated copy, which a link must not point into.
inline constexpr std::string_view translocatedHint =
    "macOS runs this copy of Tresk from a temporary, read-only location, so a symlink to it would stop working "
    "once it quits.";
inline constexpr std::string_view moveHint =
    "Move Tresk.app to your Applications folder with the Finder, then open it again to see the command that puts "
    "tresk on your PATH.";
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
