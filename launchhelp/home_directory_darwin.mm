#import <Foundation/Foundation.h>

#include "common/cf_property_list_darwin.h"
#include "launchhelp/symlink_command.h"

namespace tresk {

std::string homeDirectoryPath() {
    @autoreleasepool {
        NSURL* home = NSFileManager.defaultManager.homeDirectoryForCurrentUser.URLByResolvingSymlinksInPath;
        // A home that cannot be read back as UTF-8 shortens nothing: no path starts with "//".
        return utf8FromCFString((__bridge CFStringRef)home.path).value_or("/");
    }
}

}  // namespace tresk
