#include "launchhelp/desktop_launch.h"

namespace tresk {

// Linux has no desktop launch of this program: every run comes from a shell.
bool launchedFromDesktop() { return false; }

void runLaunchHelp() {}

}  // namespace tresk
