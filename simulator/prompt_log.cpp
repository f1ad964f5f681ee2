#include "simulator/prompt_log.h"

#include <string>

#include <fcntl.h>
#include <unistd.h>

#include "simulator/simulator_files.h"

namespace tresk::simulator {
namespace {

// One record per line: the reason is escaped so a key with a newline stays on it.
std::string escape(const std::string& reason) {
    std::string out;
    for (char c : reason) {
        if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else out += c;
    }
    return out;
}

const char* kindName(PromptKind kind) {
    switch (kind) {
        case PromptKind::TouchID: return "touch-id";
        case PromptKind::TouchIDOrPassword: return "touch-id-or-password";
        case PromptKind::Password: return "password";
    }
    return "";
}

}  // namespace

Answer prompt(const DeviceProfile& profile, PromptKind kind, const std::string& reason) {
    if (ensureDirectory()) {
        std::string record = std::string(kindName(kind)) + "\t" + escape(reason) + "\n";
        int fd = ::open(promptLogPath().c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd >= 0) {
            (void)!::write(fd, record.data(), record.size());  // O_APPEND: one record per write
            ::close(fd);
        }
    }
    return profile.answer;
}

}  // namespace tresk::simulator
