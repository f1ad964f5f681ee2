// The system's decision on a protected read: the item's access-control flags
// against the simulated Mac, with a prompt when the flags ask for one.
#pragma once

#include <string>

#include "simulator/device.h"
#include "simulator/item_store.h"
#include "store/keychain/keychain_constants.h"

namespace tresk::simulator {

// Success when the user may have the item's value now; `reason` is the
// prompt's text. A prompt that cannot be shown gives notAvailable and the
// problem in `problem`.
OSStatus authorise(const StoredItem& item, const DeviceProfile& device, const std::string& reason,
                   std::string& problem);

}  // namespace tresk::simulator
