#include <climits>
#include <cstdlib>
#include <memory>

#include "common/diagnostics.h"
#include "common/messages.h"
#include "identity/executable_location.h"

namespace tresk {

ExecutablePaths runningExecutableURL() {
    // The kernel's link names the file itself; realpath settles any link left in it.
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath("/proc/self/exe", nullptr), &std::free);
    if (!resolved) fail(messages::executableNotFound);
    return {resolved.get(), resolved.get()};  // Linux names are bytes; shown and opened alike
}

}  // namespace tresk
