// The order of `list`: NFC, then code points, stable.
#pragma once

#include <string>
#include <vector>

namespace tresk {

void sortListing(std::vector<std::string>& entries);

}  // namespace tresk
