// Entry point: decide what the run is, then do exactly that.
#include <csignal>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "cli/dispatch.h"
#include "common/bytes.h"
#include "common/diagnostics.h"
#include "common/process_hardening.h"
#include "common/streams.h"
#include "identity/version.h"
#include "launchhelp/desktop_launch.h"
#include "store/commands.h"

namespace tresk {
namespace {

// Data on standard output that cannot be delivered is a failure, not a success.
void writeText(std::string_view text) {
    processConsole().writeOutput(bytesOf(text));
}

int run(int argc, char** argv) {
    forbidCoreDumps();
    // A closed pipe, or a write past the file-size limit, must surface as a
    // failed write the program answers for, not kill the process silently.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);

    // As the bytes were given: a name is never repaired into another name.
    std::vector<std::string> arguments(argv, argv + argc);

    Decision decision = decide(arguments, [] { return launchedFromDesktop(); });
    switch (decision.outcome) {
        case Outcome::LaunchHelp:
            runLaunchHelp();
            wipeAndExit(0);
        case Outcome::Version:
            writeText(versionDescription() + "\n");
            wipeAndExit(0);
        case Outcome::Usage:
            if (decision.invocation.showingHelp) {
                writeText(usageText(decision.invocation.program));
                wipeAndExit(0);
            }
            writeAllUnchecked(2, usageText(decision.invocation.program));
            wipeAndExit(1);
        case Outcome::ErrorLine:
            fail(decision.message);
        case Outcome::Command: {
            auto keychain = makeSystemKeychain();
            auto localAuthentication = makeSystemLocalAuthentication();
            Services services{*keychain, *localAuthentication, processConsole()};
            const Invocation& values = decision.invocation;
            decision.command->run(*decision.command, {values.key, values.policy}, services);
            return 0;
        }
    }
    return 1;
}

}  // namespace
}  // namespace tresk

int main(int argc, char** argv) {
    try {
        return tresk::run(argc, argv);
    } catch (const std::bad_alloc&) {
        tresk::failOutOfMemory();
    } catch (const std::length_error&) {
        tresk::failOutOfMemory();  // a size beyond what memory can hold
    }
}
