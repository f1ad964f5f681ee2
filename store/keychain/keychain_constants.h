// The Security framework's numbers that the program uses, under its own
// names, defined once: by the logic, the simulator and the tests alike. The
// macOS code pins each one to the framework's constant at compile time.
#pragma once

#include <cstdint>

namespace tresk {

// The platform's signed 32-bit status of every Keychain call.
using OSStatus = std::int32_t;

namespace status {
inline constexpr OSStatus success = 0;                   // errSecSuccess
inline constexpr OSStatus diskFull = -34;                // errSecDiskFull
inline constexpr OSStatus io = -36;                      // errSecIO
inline constexpr OSStatus param = -50;                   // errSecParam
inline constexpr OSStatus allocate = -108;               // errSecAllocate
inline constexpr OSStatus userCanceled = -128;           // errSecUserCanceled
inline constexpr OSStatus notAvailable = -25291;         // errSecNotAvailable
inline constexpr OSStatus authFailed = -25293;           // errSecAuthFailed
inline constexpr OSStatus invalidKeychain = -25295;      // errSecInvalidKeychain
inline constexpr OSStatus duplicateItem = -25299;        // errSecDuplicateItem
inline constexpr OSStatus itemNotFound = -25300;         // errSecItemNotFound
inline constexpr OSStatus missingEntitlement = -34018;   // errSecMissingEntitlement
}  // namespace status

// SecAccessControlCreateFlags: what releasing an item asks of the user.
namespace accessControlFlag {
inline constexpr std::uint32_t userPresence = 1;        // kSecAccessControlUserPresence
inline constexpr std::uint32_t biometryAny = 2;         // kSecAccessControlBiometryAny
inline constexpr std::uint32_t biometryCurrentSet = 8;  // kSecAccessControlBiometryCurrentSet
}  // namespace accessControlFlag

}  // namespace tresk
