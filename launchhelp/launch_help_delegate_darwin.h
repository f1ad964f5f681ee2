// The application delegate of a desktop launch: one alert that explains how
// to reach the program from a terminal, then the application ends.
#pragma once

// Objective-C only; a C++ translation unit that includes this sees nothing.
#ifdef __OBJC__
#import <AppKit/AppKit.h>

@interface LaunchHelpDelegate : NSObject <NSApplicationDelegate>
@end
#endif
