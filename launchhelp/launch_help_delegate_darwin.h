// The application delegate of a desktop launch: one alert that explains how
// to reach the program from a terminal, then the application ends.
#pragma once

// Objective-C only; a C++ translation unit that includes this sees nothing.
#ifdef __OBJC__
#import <AppKit/AppKit.h>

#include <string>

@interface LaunchHelpDelegate : NSObject <NSApplicationDelegate>

// The alert, built and not shown: `versionLine` as its message, and the link
// to `executablePath` (shortened under `homePath`) with a Copy button that
// sends copyCommand: to this delegate, which keeps the command; for a
// translocated copy, the way out of translocation instead. Needs the shared
// application. applicationDidFinishLaunching: gathers the three, then runs it.
- (NSAlert*)alertWithVersionLine:(const std::string&)versionLine
                  executablePath:(const std::string&)executablePath
                        homePath:(const std::string&)homePath;

@end
#endif
