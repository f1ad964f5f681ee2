// libFuzzer: argument vectors (NUL-separated, element 0 first) through the
// decision of the front end and the addressing of the commands, with the
// error line each would write. Nothing here may crash, hang, or let a control
// character into a line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "cli/dispatch.h"
#include "common/diagnostics.h"
#include "store/address.h"
#include "text/unicode.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

// One line, and nothing in it but visible text before its line feed.
void checkLine(const std::string& line) {
    require(!line.empty() && line.back() == '\n');
    require(tresk::text::isVisibleText(std::string_view(line).substr(0, line.size() - 1)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> arguments;
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    for (;;) {
        const std::size_t end = rest.find('\0');
        arguments.emplace_back(rest.substr(0, end));
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 1);
    }
    bool askedForLaunchDate = false;
    const tresk::Decision decision = tresk::decide(arguments, [&] {
        askedForLaunchDate = true;
        return false;
    });
    // Asked only without the user's arguments: none, or the desktop's process serial number.
    require(!askedForLaunchDate || arguments.size() == 1 ||
            (arguments.size() == 2 && arguments[1].starts_with("-psn_")));
    require(tresk::text::isVisibleText(decision.invocation.program));  // it heads the usage text

    switch (decision.outcome) {
        case tresk::Outcome::ErrorLine:
            checkLine(tresk::errorLine(decision.message));
            break;
        case tresk::Outcome::Command: {
            require(decision.command != nullptr);
            auto address = tresk::fullAddress(decision.invocation.key);
            if (address) {
                require(!address->service.empty() && address->account && !address->account->empty());
                require(tresk::text::isVisibleText(address->service + *address->account));
                require(*decision.invocation.key == address->service + "/" + *address->account);
            }
            if (decision.invocation.key) {
                checkLine(tresk::errorLine("Failed.", tresk::StatusDetail{-34018, *decision.invocation.key, true}));
            }
            break;
        }
        default:
            break;
    }
    return 0;
}
