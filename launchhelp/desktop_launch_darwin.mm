#import <AppKit/AppKit.h>

#include "launchhelp/desktop_launch.h"
#import "launchhelp/launch_help_delegate_darwin.h"

namespace tresk {

bool launchedFromDesktop() {
    @autoreleasepool {
        // LaunchServices records a launch date; a shell's fork and exec does not.
        return NSRunningApplication.currentApplication.launchDate != nil;
    }
}

void runLaunchHelp() {
    NSApplication* application = NSApplication.sharedApplication;
    // The application holds its delegate weakly; this reference keeps it, the
    // Copy button's target, for the life of the process.
    static LaunchHelpDelegate* const delegate = [[LaunchHelpDelegate alloc] init];
    application.delegate = delegate;
    [application run];
}

}  // namespace tresk
