#include "simulator/status_texts.h"

#include <string_view>

namespace tresk::simulator {
namespace {

struct StatusText {
    OSStatus status;
    std::string_view text;
};

constexpr StatusText texts[] = {
    {status::diskFull, "The disk holding the keychain is full."},
    {status::io, "The keychain database could not be read or written."},
    {status::param, "The keychain was asked something it does not understand."},
    {status::allocate, "There was not enough memory for the keychain."},
    {status::userCanceled, "The user canceled the operation."},
    {status::notAvailable, "The keychain is not available."},
    {status::authFailed, "The item's access control could not be satisfied."},
    {status::invalidKeychain, "The keychain database is damaged or is not a keychain."},
    {status::duplicateItem, "The item already exists in the keychain."},
    {status::itemNotFound, "The item could not be found in the keychain."},
    {status::missingEntitlement, "A required entitlement is missing."},
};

}  // namespace

KeychainStatus withText(OSStatus status) {
    for (const StatusText& row : texts) {
        if (row.status == status) return {status, std::string(row.text)};
    }
    return {status, std::nullopt};
}

KeychainStatus unavailable(const Problem& problem) {
    return {status::notAvailable, "The keychain is not available: " + problem.text + "."};
}

}  // namespace tresk::simulator
