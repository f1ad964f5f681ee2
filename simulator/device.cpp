#include "simulator/device.h"

#include <optional>
#include <sstream>

#include "simulator/simulator_files.h"

namespace tresk::simulator {
namespace {

std::string trim(const std::string& s) {
    auto begin = s.find_first_not_of(" \t\r");
    if (begin == std::string::npos) return {};
    return s.substr(begin, s.find_last_not_of(" \t\r") - begin + 1);
}

std::optional<bool> yesNo(const std::string& v) {
    if (v == "yes") return true;
    if (v == "no") return false;
    return std::nullopt;
}

}  // namespace

Expected<DeviceProfile> parseProfile(const std::string& text) {
    DeviceProfile profile;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        line = trim(line.substr(0, line.find('#')));
        if (line.empty()) continue;
        auto eq = line.find('=');
        std::string where = "device profile line " + std::to_string(number);
        if (eq == std::string::npos) return Problem{where + ": expected NAME = VALUE"};
        std::string name = trim(line.substr(0, eq)), value = trim(line.substr(eq + 1));
        bool ok = true;
        if (name == "biometry") {
            if (value == "touch-id") profile.biometry = Biometry::TouchID;
            else if (value == "face-id") profile.biometry = Biometry::FaceID;
            else if (value == "none") profile.biometry = Biometry::None;
            else ok = false;
        } else if (name == "enrolled" || name == "password") {
            auto flag = yesNo(value);
            ok = flag.has_value();
            if (ok) (name == "enrolled" ? profile.enrolled : profile.loginPassword) = *flag;
        } else if (name == "answer") {
            if (value == "approve") profile.answer = Answer::Approve;
            else if (value == "cancel") profile.answer = Answer::Cancel;
            else ok = false;
        } else if (name == "entitlement") {
            if (value == "present") profile.entitlementMissing = false;
            else if (value == "missing") profile.entitlementMissing = true;
            else ok = false;
        } else if (name == "unentitled-reads") {
            if (value == "refused") profile.unentitledReads = UnentitledReads::Refused;
            else if (value == "not-found") profile.unentitledReads = UnentitledReads::NotFound;
            else ok = false;
        } else if (name == "enrollment") {
            profile.enrollment = value;
        } else {
            return Problem{where + ": unknown setting '" + name + "'"};
        }
        if (!ok) return Problem{where + ": '" + value + "' is not a value of " + name};
    }
    return profile;
}

Expected<DeviceProfile> loadProfile() {
    // A profile that is there but cannot be read or trusted is no licence to
    // approve: the caller fails with the problem.
    auto text = readProfile();
    if (!text) return text.problem();
    if (!*text) return DeviceProfile{};
    return parseProfile(**text);
}

}  // namespace tresk::simulator
