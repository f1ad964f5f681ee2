#include "simulator/prompt_log.h"

#include "simulator/simulator_files.h"
#include "text/unicode.h"

namespace tresk::simulator {
namespace {

const char* kindName(PromptKind kind) {
    switch (kind) {
        case PromptKind::TouchID: return "touch-id";
        case PromptKind::TouchIDOrPassword: return "touch-id-or-password";
        case PromptKind::Password: return "password";
    }
    return "";
}

}  // namespace

std::string loggedReason(const std::string& reason) {
    std::string doubled;
    for (char c : reason) {
        if (c == '\\') doubled += '\\';
        doubled += c;
    }
    return text::visibleText(doubled);
}

Expected<void> recordPrompt(PromptKind kind, const std::string& reason) {
    return appendPrivate(promptLogPath(), std::string(kindName(kind)) + "\t" + loggedReason(reason) + "\n");
}

}  // namespace tresk::simulator
