// The desktop side of a run: was the process launched by the desktop, and
// the launch help dialog that such a launch gets.
#pragma once

namespace tresk {

// The running application has a launch date (LaunchServices started it).
bool launchedFromDesktop();

// Hands the main thread to the application event loop with the launch help
// delegate; returns only if that loop ever does.
void runLaunchHelp();

}  // namespace tresk
