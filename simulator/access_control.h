// The system's decision on a protected read: the item's access-control flags
// against the simulated Mac, with a prompt when the flags ask for one.
#pragma once

#include <string>

#include "simulator/device.h"
#include "simulator/item_store.h"
#include "store/keychain/keychain.h"

namespace tresk::simulator {

// Success when the user may have the item's value now; `reason` is the
// prompt's text. A prompt that cannot be recorded is not shown: the keychain
// is then not available, and the text says why.
KeychainStatus authorise(const ItemRow& item, const DeviceProfile& device, const std::string& reason);

}  // namespace tresk::simulator
