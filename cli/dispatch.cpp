#include "cli/dispatch.h"

#include <cstddef>

#include "common/messages.h"
#include "text/unicode.h"

namespace tresk {

namespace {
constexpr std::string_view helpFlags[] = {"--help", "-h"};

// "-psn_0_2282029": what macOS passes, as the sole argument, when the user
// opens a quarantined app from the Finder and confirms it.
bool isProcessSerialNumber(std::string_view word) { return word.starts_with("-psn_"); }

bool isHelpFlag(std::string_view word) {
    for (auto flag : helpFlags) {
        if (word == flag) return true;
    }
    return false;
}
}  // namespace

std::string programName(std::string_view path) {
    std::size_t end = path.find_last_not_of('/');
    if (end == std::string_view::npos) return path.empty() ? "" : "/";
    std::string_view trimmed = path.substr(0, end + 1);
    std::size_t slash = trimmed.rfind('/');
    return std::string(slash == std::string_view::npos ? trimmed : trimmed.substr(slash + 1));
}

std::string usageText(std::string_view program) {
    std::string text = "Usage: ";
    text += program;
    text += messages::usageFixedText;
    return text;
}

Decision decide(const std::vector<std::string>& arguments, const std::function<bool()>& launchedFromDesktop) {
    const std::size_t n = arguments.size();
    Decision decision{Outcome::Usage, {}, {}};
    Invocation& values = decision.invocation;

    // The launch date is asked for only when there are no arguments of the
    // user's: none at all, or only the process serial number that the
    // desktop adds on a first launch from the Finder.
    const bool desktopArgumentsOnly = n == 1 || (n == 2 && isProcessSerialNumber(arguments[1]));
    if (desktopArgumentsOnly && launchedFromDesktop()) {
        decision.outcome = Outcome::LaunchHelp;
        return decision;
    }
    if (n == 0) return decision;  // no element 0: usage with an empty name

    values.program = text::visibleText(programName(arguments[0]));
    if (n == 2 && arguments[1] == "--version") {
        decision.outcome = Outcome::Version;
        return decision;
    }
    values.showingHelp = n == 2 && isHelpFlag(arguments[1]);
    if (values.showingHelp) return decision;
    if (n < 2 || n > 5) return decision;  // no shape with a command word here
    // Bytes of the command word that are not UTF-8 stay as they are: they
    // match no command, and an error line shows them as escapes.
    const std::string word = text::toLower(arguments[1]);
    const Command* command = findCommand(word);
    // Any word with NAMESPACE/KEY, or with NAMESPACE/KEY and an option, is
    // judged further; a word alone only when it is a whole command line.
    const bool shapeAccepted = n == 3 || n == 5 || (n == 2 && command && command->standsAlone);
    if (!shapeAccepted) return decision;

    values.action = word;
    if (n >= 3) values.key = arguments[2];
    values.policy = AuthenticationPolicy::biometryAny;

    decision.outcome = Outcome::ErrorLine;
    // The policy rule is judged before the command word.
    if (n == 5) {
        if (!command || !command->takesPolicy || arguments[3] != "--policy") {
            decision.message = messages::policyOnlyForAdd;
            return decision;
        }
        auto policy = policyFromRawValue(arguments[4]);
        if (!policy) {
            decision.message = messages::unknownPolicy;
            return decision;
        }
        values.policy = *policy;
    }
    if (!command) {
        decision.message = messages::unknownCommand(values.action);
        return decision;
    }
    decision.outcome = Outcome::Command;
    decision.command = command;
    return decision;
}

}  // namespace tresk
