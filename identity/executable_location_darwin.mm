#import <Foundation/Foundation.h>

#include <mach-o/dyld.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "common/cf_property_list_darwin.h"
#include "common/diagnostics.h"
#include "common/messages.h"
#include "identity/executable_location.h"

namespace tresk {

ExecutablePaths runningExecutableURL() {
    // The first call only asks for the size, terminating NUL included.
    std::uint32_t size = 0;
    (void)_NSGetExecutablePath(nullptr, &size);
    std::vector<char> buffer(size, '\0');
    // An empty buffer cannot hold even the NUL: the same failure the call would report.
    if (buffer.empty() || _NSGetExecutablePath(buffer.data(), &size) != 0) fail(messages::executableNotFound);
    const std::string reportedPath = pathFromBuffer(buffer);

    @autoreleasepool {
        // The path dyld reports may run through symbolic links; the bundle is
        // where the real file is. The path crosses as the file system's bytes,
        // never as UTF-8 text, so any name comes back as it is.
        NSString* reported = [NSFileManager.defaultManager stringWithFileSystemRepresentation:reportedPath.data()
                                                                                        length:reportedPath.size()];
        if (!reported) fail(messages::executableNotFound);
        NSURL* resolved = [NSURL fileURLWithPath:reported].URLByResolvingSymlinksInPath;
        const char* resolvedPath = resolved.fileSystemRepresentation;
        if (!resolvedPath) fail(messages::executableNotFound);
        std::string fileSystemPath(resolvedPath);
        // The shown path in the form the home directory's .path has too (the
        // file system's bytes are decomposed), so the one can prefix the other.
        std::string path = utf8FromCFString((__bridge CFStringRef)resolved.path).value_or(fileSystemPath);
        return {std::move(path), std::move(fileSystemPath)};
    }
}

}  // namespace tresk
