#import <Foundation/Foundation.h>

#include <mach-o/dyld.h>

#include <cstdint>
#include <vector>

#include "common/diagnostics.h"
#include "common/messages.h"
#include "common/cf_property_list_darwin.h"
#include "identity/version.h"

namespace tresk {

FileURL runningExecutableURL() {
    // The first call only asks for the size, terminating NUL included.
    std::uint32_t size = 0;
    (void)_NSGetExecutablePath(nullptr, &size);
    std::vector<char> buffer(size, '\0');
    // An empty buffer cannot hold even the NUL: the same failure the call would report.
    if (buffer.empty() || _NSGetExecutablePath(buffer.data(), &size) != 0) fail(messages::executableNotFound);
    const std::string path = pathFromBuffer(buffer);

    @autoreleasepool {
        // The path dyld reports may run through symbolic links; the bundle is where the real file is.
        NSString* reported = (__bridge_transfer NSString*)cfString(path).release();
        if (!reported) fail(messages::executableNotFound);
        NSURL* resolved = [NSURL fileURLWithPath:reported].URLByResolvingSymlinksInPath;
        auto resolvedPath = utf8Text((__bridge CFStringRef)resolved.path);
        if (!resolvedPath) fail(messages::executableNotFound);
        return {*resolvedPath};
    }
}

}  // namespace tresk
