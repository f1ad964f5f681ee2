#include "launchhelp/symlink_command.h"

#include <memory>

#include <unicode/regex.h>
#include <unicode/unistr.h>

namespace tresk {
namespace {

// Text that a POSIX shell reads back unchanged without quotes.
bool isShellSafe(std::string_view candidate) {
    UErrorCode status = U_ZERO_ERROR;
    static const std::unique_ptr<icu::RegexPattern> pattern(
        icu::RegexPattern::compile(icu::UnicodeString(u"\\A[A-Za-z0-9_./-]+\\z"), 0, status));
    if (!pattern) return false;  // quoting is always safe
    icu::UnicodeString text = icu::UnicodeString::fromUTF8(
        icu::StringPiece(candidate.data(), static_cast<int32_t>(candidate.size())));
    status = U_ZERO_ERROR;
    std::unique_ptr<icu::RegexMatcher> matcher(pattern->matcher(text, status));
    return U_SUCCESS(status) && matcher->find(status) && U_SUCCESS(status);
}

std::string singleQuoted(std::string_view candidate) {
    std::string quoted = "'";
    for (char c : candidate) {
        if (c == '\'') quoted += "'\"'\"'";
        else quoted += c;
    }
    return quoted + "'";
}

}  // namespace

std::string makeSymlinkCommand(std::string_view executablePath, std::string_view homePath) {
    const std::string homePrefix = std::string(homePath) + "/";
    const bool shortened = executablePath.starts_with(homePrefix);
    std::string_view candidate = shortened ? executablePath.substr(homePrefix.size()) : executablePath;

    std::string target = isShellSafe(candidate) ? std::string(candidate) : singleQuoted(candidate);
    // "~/" stays outside the quotes so the shell still expands it.
    if (shortened) target = "~/" + target;
    return "ln -s " + target + " ~/.local/bin/tresk";
}

}  // namespace tresk
